// The camera's acquire lock. resAcquire gives one thread the camera until its matching
// resRelease (acquisitions nest); meanwhile other threads' calls wait at the gate, and an
// acquisition itself waits until other threads' calls in flight have ended.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace sim::ptree {

class Gate {
 public:
  // Lets a call in: at once when no other thread holds the camera, else after it is released.
  // False when that takes longer than `timeoutMs`.
  bool Enter(std::uint32_t timeoutMs);
  void Leave();

  // False on time-out; otherwise the calling thread holds the camera one level deeper.
  bool Acquire(std::uint32_t timeoutMs, std::uint32_t* depth);
  // False when the calling thread does not hold the camera.
  bool Release(std::uint32_t* depth);
  // Gives up `levels` of a thread's acquisition (a connection closed while holding it).
  void ReleaseFor(std::thread::id thread, std::uint32_t levels);

  std::uint32_t Depth() const;
  std::size_t Waiting() const;
  bool WaitForWaiting(std::size_t count, std::uint32_t limitMs) const;

 private:
  bool FreeFor(std::thread::id self) const;
  bool QuietFor(std::thread::id self) const;
  template <typename Pred>
  bool WaitUntil(std::unique_lock<std::mutex>& lock, std::uint32_t timeoutMs, Pred ready);

  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::thread::id m_owner;  // default id: nobody
  std::uint32_t m_depth = 0;
  std::unordered_map<std::thread::id, std::uint32_t> m_active;  // calls in flight per thread
  std::size_t m_activeTotal = 0;
  std::size_t m_waiting = 0;
};

// A call's pass through the gate for its whole duration.
class GatePass {
 public:
  GatePass(Gate& gate, std::uint32_t timeoutMs) : m_gate(gate), m_in(gate.Enter(timeoutMs)) {}
  ~GatePass() {
    if (m_in) m_gate.Leave();
  }
  GatePass(const GatePass&) = delete;
  GatePass& operator=(const GatePass&) = delete;
  bool in() const { return m_in; }

 private:
  Gate& m_gate;
  bool m_in;
};

}  // namespace sim::ptree
