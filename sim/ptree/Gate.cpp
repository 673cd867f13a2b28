#include "Gate.h"

#include <chrono>

namespace sim::ptree {

bool Gate::FreeFor(std::thread::id self) const {
  return m_owner == std::thread::id() || m_owner == self;
}

bool Gate::QuietFor(std::thread::id self) const {
  auto own = m_active.find(self);
  std::size_t mine = own == m_active.end() ? 0 : own->second;
  return m_activeTotal == mine;
}

template <typename Pred>
bool Gate::WaitUntil(std::unique_lock<std::mutex>& lock, std::uint32_t timeoutMs, Pred ready) {
  if (ready()) return true;
  ++m_waiting;
  m_changed.notify_all();
  bool ok = m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  --m_waiting;
  m_changed.notify_all();
  return ok;
}

bool Gate::Enter(std::uint32_t timeoutMs) {
  const std::thread::id self = std::this_thread::get_id();
  std::unique_lock<std::mutex> lock(m_mutex);
  if (!WaitUntil(lock, timeoutMs, [&] { return FreeFor(self); })) return false;
  ++m_active[self];
  ++m_activeTotal;
  return true;
}

void Gate::Leave() {
  const std::thread::id self = std::this_thread::get_id();
  std::lock_guard<std::mutex> lock(m_mutex);
  auto own = m_active.find(self);
  if (own == m_active.end()) return;
  if (--own->second == 0) m_active.erase(own);
  --m_activeTotal;
  m_changed.notify_all();
}

bool Gate::Acquire(std::uint32_t timeoutMs, std::uint32_t* depth) {
  const std::thread::id self = std::this_thread::get_id();
  std::unique_lock<std::mutex> lock(m_mutex);
  if (!WaitUntil(lock, timeoutMs, [&] { return FreeFor(self) && QuietFor(self); })) return false;
  m_owner = self;
  *depth = ++m_depth;
  return true;
}

bool Gate::Release(std::uint32_t* depth) {
  const std::thread::id self = std::this_thread::get_id();
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_owner != self || m_depth == 0) return false;
  if (--m_depth == 0) m_owner = std::thread::id();
  *depth = m_depth;
  m_changed.notify_all();
  return true;
}

void Gate::ReleaseFor(std::thread::id thread, std::uint32_t levels) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_owner != thread) return;
  m_depth = levels >= m_depth ? 0 : m_depth - levels;
  if (m_depth == 0) m_owner = std::thread::id();
  m_changed.notify_all();
}

std::uint32_t Gate::Depth() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_depth;
}

std::size_t Gate::Waiting() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_waiting;
}

bool Gate::WaitForWaiting(std::size_t count, std::uint32_t limitMs) const {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_changed.wait_for(lock, std::chrono::milliseconds(limitMs),
                            [&] { return m_waiting >= count; });
}

}  // namespace sim::ptree
