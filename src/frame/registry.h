// CTQVSDKArray: the process-wide registry of camera handles. A handle is the address of its
// backend; the registry holds one reference to each backend, in order of creation.
#pragma once

#include <vector>

#include "interface/ITQVSDK.h"
#include "zel/zel.h"

class CTQVSDKArray {
 public:
  CTQVSDKArray() = default;
  CTQVSDKArray(const CTQVSDKArray&) = delete;
  CTQVSDKArray& operator=(const CTQVSDKArray&) = delete;

  // A new reference to the backend of a registered handle; empty when the handle is unknown.
  zel::TSharedPtr<ITQVSDK> Resolve(void* handle);
  // Registers a backend (the registry takes ownership) and returns its handle.
  void* Add(ITQVSDK* backend);
  // Drops the registry's reference; false when the handle is unknown.
  bool Remove(void* handle);

  // The first registered backend of type T (in creation order) for which match(backend) holds;
  // null if none. The search runs under the lock.
  template <typename T, typename Match>
  T* FindFirst(Match match) {
    zel::CAutoLock hold(m_lock);
    for (const zel::TSharedPtr<ITQVSDK>& entry : m_entries) {
      if (T* backend = dynamic_cast<T*>(entry.get()); backend && match(*backend)) return backend;
    }
    return nullptr;
  }
  // Runs `use` on the registered backend of type T with that handle, under the lock; false when
  // the handle is unknown or of another type.
  template <typename T, typename Use>
  bool WithBackend(void* handle, Use use) {
    zel::CAutoLock hold(m_lock);
    for (const zel::TSharedPtr<ITQVSDK>& entry : m_entries) {
      if (entry.get() == handle) {
        T* backend = dynamic_cast<T*>(entry.get());
        if (!backend) return false;
        use(*backend);
        return true;
      }
    }
    return false;
  }

  u32 Count();

 private:
  // The position of a handle's entry, found through a small open-addressing index so that a call
  // costs the same with thousands of handles as with one. Handles are unique in the registry, so
  // the first match the index finds is the first match in creation order.
  struct Slot {
    void* handle;
    u32 position;
  };
  bool Find(void* handle, u32* position) const;
  void Index(void* handle, u32 position);
  void Reindex();

  zel::CCriticalSection m_lock;
  zel::TArray<zel::TSharedPtr<ITQVSDK>> m_entries;
  std::vector<Slot> m_index;  // a power of two in size, at most half full
};

// The registry, created on first use and destroyed at process exit (which releases every handle
// still registered).
CTQVSDKArray& sdks();

// The result code of a GenICam library exception (time-out 1, access 170, invalid argument or
// out of range 166, other run-time or logic errors 165, anything else 0xFFFFFFFF).
u32 TranslateException(const std::exception& error);
