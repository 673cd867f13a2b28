// zel::TArray<T>: a growable array. Capacity grows by doubling from 1; indexing past the count
// raises through ThrowOutOfRangeException, exhausted memory through ThrowBadAllocException.
#pragma once

#include <new>
#include <utility>

#include "zel/base.h"

namespace zel {

template <typename T>
class TArray {
 public:
  TArray() = default;
  TArray(const TArray& other) { CopyFrom(other); }
  TArray(TArray&& other) noexcept
      : m_data(other.m_data), m_capacity(other.m_capacity), m_count(other.m_count) {
    other.m_data = nullptr;
    other.m_capacity = other.m_count = 0;
  }
  virtual ~TArray() { Release(); }

  TArray& operator=(const TArray& other) {
    if (this != &other) {
      TArray copy(other);
      Swap(copy);
    }
    return *this;
  }
  TArray& operator=(TArray&& other) noexcept {
    if (this != &other) {
      Release();
      Swap(other);
    }
    return *this;
  }

  u32 GetCount() const { return m_count; }
  u32 GetCapacity() const { return m_capacity; }
  bool IsEmpty() const { return m_count == 0; }
  T* GetData() { return m_data; }
  const T* GetData() const { return m_data; }

  T& operator[](u32 index) {
    if (index >= m_count) ThrowOutOfRangeException("TArray: index out of range.");
    return m_data[index];
  }
  const T& operator[](u32 index) const {
    if (index >= m_count) ThrowOutOfRangeException("TArray: index out of range.");
    return m_data[index];
  }

  T* begin() { return m_data; }
  T* end() { return m_data + m_count; }
  const T* begin() const { return m_data; }
  const T* end() const { return m_data + m_count; }

  void Add(const T& value) {
    if (m_count == m_capacity) {
      T copy(value);  // `value` may live in the block that Grow frees
      Grow(m_count + 1);
      new (m_data + m_count) T(std::move(copy));
    } else {
      new (m_data + m_count) T(value);
    }
    ++m_count;
  }
  void Add(T&& value) {
    if (m_count == m_capacity) {
      T moved(std::move(value));
      Grow(m_count + 1);
      new (m_data + m_count) T(std::move(moved));
    } else {
      new (m_data + m_count) T(std::move(value));
    }
    ++m_count;
  }

  // Removes one element, keeping the order of the others.
  void RemoveAt(u32 index) {
    if (index >= m_count) ThrowOutOfRangeException("TArray: index out of range.");
    for (u32 i = index; i + 1 < m_count; ++i)
      m_data[i] = std::move(m_data[i + 1]);
    m_data[--m_count].~T();
  }

  // Shrinks (destroying the tail) or grows (value-initialising new elements) to `count`.
  void SetCount(u32 count) {
    while (m_count > count)
      m_data[--m_count].~T();
    if (count > m_capacity) Grow(count);
    while (m_count < count)
      new (m_data + m_count++) T();
  }
  void Clear() { SetCount(0); }

 private:
  void Grow(u32 needed) {
    u32 capacity = m_capacity ? m_capacity : 1;
    while (capacity < needed) {
      if (capacity > 0x7FFFFFFFu) ThrowBadAllocException();
      capacity *= 2;
    }
    T* block = static_cast<T*>(Alloc(sizeof(T) * static_cast<std::size_t>(capacity)));
    if (!block) ThrowBadAllocException();
    for (u32 i = 0; i < m_count; ++i) {
      new (block + i) T(std::move(m_data[i]));
      m_data[i].~T();
    }
    Free(m_data);
    m_data = block;
    m_capacity = capacity;
  }
  void CopyFrom(const TArray& other) {
    if (other.m_count == 0) return;
    Grow(other.m_count);
    for (u32 i = 0; i < other.m_count; ++i) {
      new (m_data + i) T(other.m_data[i]);
      ++m_count;
    }
  }
  void Release() {
    for (u32 i = 0; i < m_count; ++i)
      m_data[i].~T();
    Free(m_data);
    m_data = nullptr;
    m_capacity = m_count = 0;
  }
  void Swap(TArray& other) noexcept {
    std::swap(m_data, other.m_data);
    std::swap(m_capacity, other.m_capacity);
    std::swap(m_count, other.m_count);
  }

  T* m_data = nullptr;
  u32 m_capacity = 0;
  u32 m_count = 0;
};

}  // namespace zel
