// zel::CCriticalSection and its scoped holder zel::CAutoLock.
#pragma once

#include <mutex>

#include "zel/base.h"

namespace zel {

class ZEL_API CCriticalSection {
 public:
  CCriticalSection() = default;
  CCriticalSection(const CCriticalSection&) = delete;
  CCriticalSection& operator=(const CCriticalSection&) = delete;
  void Lock() { m_mutex.lock(); }
  void Unlock() { m_mutex.unlock(); }

 private:
  std::mutex m_mutex;
};

class CAutoLock {
 public:
  explicit CAutoLock(CCriticalSection& section) : m_section(section) { m_section.Lock(); }
  ~CAutoLock() { m_section.Unlock(); }
  CAutoLock(const CAutoLock&) = delete;
  CAutoLock& operator=(const CAutoLock&) = delete;

 private:
  CCriticalSection& m_section;
};

}  // namespace zel
