// The optics both simulated cameras share, in simulated milliseconds: motorised axes that travel
// at a speed, an autofocus that searches in phases, parts that take a while to move (the flag,
// the lens cover) and a temperature that settles. Each keeps only when and from where its last
// change began, so what a host reads is computed at the moment it reads.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace sim::lens {

using i64 = std::int64_t;
using u64 = std::uint64_t;

// A motorised axis (focus or zoom) between two limits. It moves from where it was towards its
// target at a constant speed in steps per second.
class Axis {
 public:
  Axis() = default;
  Axis(i64 minimum, i64 maximum, i64 position)
      : m_minimum(minimum), m_maximum(std::max(minimum, maximum)) {
    m_from = m_target = Clamp(position);
  }

  i64 Minimum() const { return m_minimum; }
  i64 Maximum() const { return m_maximum; }
  i64 Clamp(i64 position) const { return std::clamp(position, m_minimum, m_maximum); }
  // Where the axis is heading (where it is, once arrived).
  i64 Target() const { return m_target; }

  i64 PositionAt(u64 now) const {
    if (m_speed <= 0.0 || now <= m_start) return m_speed <= 0.0 ? m_target : m_from;
    const double travelled = m_speed * static_cast<double>(now - m_start) / 1000.0;
    const i64 distance = m_target - m_from;
    if (travelled >= static_cast<double>(std::llabs(distance))) return m_target;
    const i64 steps = static_cast<i64>(travelled);
    return distance > 0 ? m_from + steps : m_from - steps;
  }
  bool MovingAt(u64 now) const { return PositionAt(now) != m_target; }

  // A move from where the axis is now to `target`, kept within the limits. A speed of 0 or less
  // arrives at once.
  void MoveTo(i64 target, double stepsPerSecond, u64 now) {
    m_from = PositionAt(now);
    m_start = now;
    m_target = Clamp(target);
    m_speed = stepsPerSecond;
  }
  // Runs towards the maximum (direction above 0) or the minimum (below 0) until it gets there or
  // is stopped; direction 0 stops where the axis is.
  void Run(int direction, double stepsPerSecond, u64 now) {
    if (direction == 0) {
      MoveTo(PositionAt(now), 0.0, now);
    } else {
      MoveTo(direction > 0 ? m_maximum : m_minimum, stepsPerSecond, now);
    }
  }

 private:
  i64 m_minimum = 0;
  i64 m_maximum = 0;
  i64 m_from = 0;
  i64 m_target = 0;
  u64 m_start = 0;
  double m_speed = 0.0;
};

// A code and its text, as the camera reports the autofocus's status and result.
struct Report {
  int code;
  const char* text;
};

// An autofocus: a coarse search, then a fine one, then done (status code 1). The result tells
// whether it found focus. Before any search the status is 1 as well: there is nothing to wait for.
class AutoFocus {
 public:
  static constexpr u64 kFullMs = 1800;
  static constexpr u64 kFastMs = 900;
  static constexpr int kDone = 1;

  void Start(bool fast, bool fails, u64 now) {
    m_started = true;
    m_fails = fails;
    m_start = now;
    m_duration = fast ? kFastMs : kFullMs;
  }
  u64 EndsAt() const { return m_start + m_duration; }
  bool RunningAt(u64 now) const { return m_started && now < EndsAt(); }

  Report StatusAt(u64 now) const {
    if (!m_started) return {kDone, "Idle"};
    if (now >= EndsAt()) return {kDone, "Done"};
    if (now < m_start + m_duration / 2) return {2, "Coarse search"};
    return {3, "Fine search"};
  }
  Report ResultAt(u64 now) const {
    if (!m_started) return {0, "None"};
    if (now < EndsAt()) return {0, "Searching"};
    if (m_fails) return {2, "Failed: the focus motor is disengaged"};
    return {1, "In focus"};
  }

 private:
  bool m_started = false;
  bool m_fails = false;
  u64 m_start = 0;
  u64 m_duration = 0;
};

// A part that moves between positions and takes a while to get there (the flag, the lens cover).
class Shuttle {
 public:
  explicit Shuttle(int position = 0) : m_from(position), m_to(position) {}
  void Go(int target, u64 durationMs, u64 now) {
    m_from = PositionAt(now);
    m_to = target;
    m_arrival = now + durationMs;
  }
  bool MovingAt(u64 now) const { return now < m_arrival && m_from != m_to; }
  int Target() const { return m_to; }
  // Where the part is: the place it left until it arrives.
  int PositionAt(u64 now) const { return now < m_arrival ? m_from : m_to; }

 private:
  int m_from;
  int m_to;
  u64 m_arrival = 0;
};

// A temperature that approaches its target exponentially.
class Settling {
 public:
  static constexpr double kTimeConstantMs = 4000.0;
  explicit Settling(double value = 25.0) : m_from(value), m_target(value) {}
  double At(u64 now) const {
    const double elapsed = now > m_since ? static_cast<double>(now - m_since) : 0.0;
    return m_target + (m_from - m_target) * std::exp(-elapsed / kTimeConstantMs);
  }
  double Target() const { return m_target; }
  void Aim(double target, u64 now) {
    m_from = At(now);
    m_since = now;
    m_target = target;
  }

 private:
  double m_from;
  double m_target;
  u64 m_since = 0;
};

// The focus position for a subject at `distance`: the near end (the minimum) at the nearest
// distance, approaching the far end as the distance grows.
inline i64 PositionForDistance(const Axis& focus, double distance, double nearest,
                               double farthest) {
  if (!(nearest > 0.0)) nearest = 1.0;
  const double d = std::clamp(distance, nearest, std::max(nearest, farthest));
  const double span = static_cast<double>(focus.Maximum() - focus.Minimum());
  return focus.Minimum() + static_cast<i64>(std::llround(span * (1.0 - nearest / d)));
}

}  // namespace sim::lens
