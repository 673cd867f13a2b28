// CTQVSDKArray: the process-wide registry of camera handles. A handle is the address of its
// backend; the registry holds one reference to each backend, in order of creation, and each call
// in flight holds one more for its duration.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "interface/ITQVSDK.h"
#include "zel/zel.h"

class CTQVSDKArray {
  struct Record;

 public:
  // A call's hold on a registered backend: while it lives, the backend is not deleted, even when
  // its handle is destroyed meanwhile. Empty when the handle was unknown.
  class Ref {
   public:
    Ref() = default;
    Ref(Ref&& other) noexcept : m_record(other.m_record) { other.m_record = nullptr; }
    Ref& operator=(Ref&& other) noexcept {
      if (this != &other) {
        Reset();
        m_record = other.m_record;
        other.m_record = nullptr;
      }
      return *this;
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() { Reset(); }

    void Reset() {
      if (m_record) Unpin(m_record);
      m_record = nullptr;
    }
    explicit operator bool() const { return m_record != nullptr; }
    ITQVSDK* get() const { return m_record ? m_record->backend.get() : nullptr; }
    ITQVSDK* operator->() const { return get(); }
    ITQVSDK& operator*() const { return *get(); }
    // A shared pointer of its own to the backend (one more reference), which may outlive the hold.
    operator zel::TSharedPtr<ITQVSDK>() const {  // NOLINT(google-explicit-constructor)
      return m_record ? m_record->backend : zel::TSharedPtr<ITQVSDK>();
    }

   private:
    friend class CTQVSDKArray;
    explicit Ref(Record* record) : m_record(record) {}
    Record* m_record = nullptr;
  };

  CTQVSDKArray() = default;
  ~CTQVSDKArray();
  CTQVSDKArray(const CTQVSDKArray&) = delete;
  CTQVSDKArray& operator=(const CTQVSDKArray&) = delete;

  // A hold on the backend of a registered handle; empty when the handle is unknown. Takes no
  // lock: calls on different handles touch no shared line of memory.
  Ref Resolve(void* handle);
  // Registers a backend (the registry takes ownership) and returns its handle. All or nothing:
  // when memory runs out, std::bad_alloc leaves the registry as it was and the backend deleted.
  void* Add(ITQVSDK* backend);
  // Drops the registry's reference; false when the handle is unknown. The backend is deleted
  // here, after the lock is released, unless a call in flight still holds it; then the last
  // call deletes it.
  bool Remove(void* handle);

  // The first registered backend of type T (in creation order) for which match(backend) holds;
  // null if none. The search runs under the lock.
  template <typename T, typename Match>
  T* FindFirst(Match match) {
    zel::CAutoLock hold(m_lock);
    for (Record* record : m_entries) {
      if (T* backend = dynamic_cast<T*>(record->backend.get()); backend && match(*backend)) {
        return backend;
      }
    }
    return nullptr;
  }
  // Runs `use` on the registered backend of type T with that handle, under the lock; false when
  // the handle is unknown or of another type.
  template <typename T, typename Use>
  bool WithBackend(void* handle, Use use) {
    zel::CAutoLock hold(m_lock);
    Record* record = Lookup(handle);
    T* backend = record ? dynamic_cast<T*>(record->backend.get()) : nullptr;
    if (!backend) return false;
    use(*backend);
    return true;
  }

  u32 Count();

 private:
  // One registered backend. Records are never freed while the registry lives, only reused, so a
  // reader that found one through a slot that has changed since still touches a record: it pins
  // it only while it is in use and then checks that it still serves the handle.
  // A cache line each, so that calls on two handles never write to the same line.
  struct alignas(64) Record {
    CTQVSDKArray* owner = nullptr;
    std::atomic<void*> handle{nullptr};  // the handle served, or null while free
    std::atomic<u32> pins{0};            // 1 for the registry while registered, 1 per call
    zel::TSharedPtr<ITQVSDK> backend;    // the registry's reference
    Record* nextFree = nullptr;
  };
  // The index: open addressing with linear probing, a power of two in size and at most half full,
  // so that a call costs the same with thousands of handles as with one.
  struct Slot {
    std::atomic<void*> handle{nullptr};
    std::atomic<Record*> record{nullptr};
  };
  struct Table {
    explicit Table(std::size_t size) : mask(size - 1), slots(new Slot[size]) {}
    std::size_t mask;
    std::unique_ptr<Slot[]> slots;
  };

  static bool Pin(Record* record);
  static void Unpin(Record* record) {
    if (record->pins.fetch_sub(1, std::memory_order_acq_rel) == 1) record->owner->Retire(record);
  }
  // Called by whoever drops a record's last pin: deletes the backend and frees the record.
  void Retire(Record* record);
  // The record of a handle in the current table (without checking it).
  Record* Lookup(void* handle) const;
  static void Insert(const Table& table, void* handle, Record* record);
  void Erase(void* handle);
  // A free record; a new block of them when none is left (may throw std::bad_alloc).
  Record* TakeRecord();
  void GiveBack(Record* record);

  // Guards every change and the lookups' searches; Resolve never takes it.
  zel::CCriticalSection m_lock;
  zel::TArray<Record*> m_entries;  // in creation order
  // Odd while a removal moves slots of the current table: a reader that found nothing then asks
  // again. Growth publishes a complete new table instead; old tables are kept (they are few, each
  // half the size of the next) because a reader may still be probing one.
  std::atomic<u32> m_version{0};
  std::atomic<Table*> m_table{nullptr};
  std::vector<std::unique_ptr<Table>> m_tables;
  std::vector<std::unique_ptr<Record[]>> m_blocks;
  std::mutex m_freeLock;  // the last pin may go on any thread
  Record* m_free = nullptr;
};

// The registry, created on first use and destroyed at process exit (which releases every handle
// still registered).
CTQVSDKArray& sdks();

// The result code of a GenICam library exception (time-out 1, access 170, invalid argument or
// out of range 166, other run-time or logic errors 165, anything else 0xFFFFFFFF).
u32 TranslateException(const std::exception& error);
