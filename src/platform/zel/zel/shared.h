// zel::TSharedPtr<T>: a reference-counted pointer of three words: the object, its counter and a
// deleter. When the last reference goes the object is deleted: a null deleter deletes through the
// virtual destructor, the all-ones deleter (NoDelete) leaves the object alone, any other deleter
// is called with the object.
#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "zel/base.h"

namespace zel {

class ZEL_API CReferenceCounter {
 public:
  // A new counter holding one reference.
  static CReferenceCounter* Create();
  void AddRef() { m_count.fetch_add(1, std::memory_order_relaxed); }
  // Drops one reference; true when it was the last one (the caller then destroys the counter).
  bool Release() { return m_count.fetch_sub(1, std::memory_order_acq_rel) == 1; }
  void Destroy();
  u32 GetCount() const { return m_count.load(std::memory_order_relaxed); }

 private:
  CReferenceCounter() = default;
  std::atomic<u32> m_count{1};
};

using Deleter = void (*)(void*);

// The deleter word that means "never delete the object".
inline Deleter NoDelete() { return reinterpret_cast<Deleter>(~std::uintptr_t{0}); }

template <typename T>
class TSharedPtr {
 public:
  TSharedPtr() = default;
  TSharedPtr(std::nullptr_t) {}  // NOLINT(google-explicit-constructor)
  // Takes ownership; when no counter can be allocated the object is released by the deleter rule
  // before the allocation failure propagates.
  explicit TSharedPtr(T* object, Deleter deleter = nullptr) : m_object(object), m_deleter(deleter) {
    if (!object) return;
    try {
      m_counter = CReferenceCounter::Create();
    } catch (...) {
      DeleteObject();
      throw;
    }
  }
  TSharedPtr(const TSharedPtr& other) noexcept {
    Assign(other.m_object, other.m_counter, other.m_deleter);
  }
  TSharedPtr(TSharedPtr&& other) noexcept { Take(other); }
  template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  TSharedPtr(const TSharedPtr<U>& other) noexcept {  // NOLINT(google-explicit-constructor)
    Assign(other.get(), other.counter(), other.deleter());
  }
  ~TSharedPtr() { Reset(); }

  TSharedPtr& operator=(const TSharedPtr& other) noexcept {
    if (this != &other) {
      TSharedPtr copy(other);
      Swap(copy);
    }
    return *this;
  }
  TSharedPtr& operator=(TSharedPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      Take(other);
    }
    return *this;
  }

  void Reset() noexcept {
    if (m_counter && m_counter->Release()) {
      m_counter->Destroy();
      DeleteObject();
    }
    m_object = nullptr;
    m_counter = nullptr;
    m_deleter = nullptr;
  }

  T* get() const { return m_object; }
  T* operator->() const { return m_object; }
  T& operator*() const { return *m_object; }
  explicit operator bool() const { return m_object != nullptr; }
  bool operator==(const TSharedPtr& other) const { return m_object == other.m_object; }

  CReferenceCounter* counter() const { return m_counter; }
  Deleter deleter() const { return m_deleter; }

  // A pointer of another type sharing this one's count; empty when the run-time type test fails.
  template <typename U>
  TSharedPtr<U> DynamicCast() const {
    TSharedPtr<U> result;
    if (U* cast = dynamic_cast<U*>(m_object)) result.Assign(cast, m_counter, m_deleter);
    return result;
  }

 private:
  template <typename U>
  friend class TSharedPtr;

  void DeleteObject() noexcept {
    if (m_deleter == nullptr) {
      delete m_object;
    } else if (m_deleter != NoDelete()) {
      m_deleter(const_cast<std::remove_const_t<T>*>(m_object));
    }
  }
  void Assign(T* object, CReferenceCounter* counter, Deleter deleter) noexcept {
    m_object = object;
    m_counter = counter;
    m_deleter = deleter;
    if (m_counter) m_counter->AddRef();
  }
  void Take(TSharedPtr& other) noexcept {
    m_object = other.m_object;
    m_counter = other.m_counter;
    m_deleter = other.m_deleter;
    other.m_object = nullptr;
    other.m_counter = nullptr;
    other.m_deleter = nullptr;
  }
  void Swap(TSharedPtr& other) noexcept {
    std::swap(m_object, other.m_object);
    std::swap(m_counter, other.m_counter);
    std::swap(m_deleter, other.m_deleter);
  }

  T* m_object = nullptr;
  CReferenceCounter* m_counter = nullptr;
  Deleter m_deleter = nullptr;
};

}  // namespace zel
