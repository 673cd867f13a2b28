// What both simulated cameras do alike: clocks and drifting readings in their simulated time
// (milliseconds since the camera was made), and the camera's event queue. Header-only.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <optional>

namespace sim {

// A calendar time in UTC, with the day of the year (1 for 1 January).
struct CivilTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int dayOfYear = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int microsecond = 0;
};

inline bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

inline int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[(month - 1) % 12];
}

// Days from 1970-01-01 to 1 January of `year` (a year from 1970 on).
inline std::int64_t DaysBeforeYear(int year) {
  std::int64_t days = 0;
  for (int y = 1970; y < year; ++y)
    days += IsLeapYear(y) ? 366 : 365;
  return days;
}

constexpr std::int64_t kMicrosecondsPerSecond = 1000000;
constexpr std::int64_t kMicrosecondsPerDay = 86400 * kMicrosecondsPerSecond;

// Microseconds since 1970-01-01 00:00:00 of a calendar time. The day is taken from `dayOfYear`
// when `byDayOfYear` is set (IRIG time), else from month and day.
inline std::int64_t MicrosecondsOf(const CivilTime& t, bool byDayOfYear) {
  std::int64_t days = DaysBeforeYear(t.year);
  if (byDayOfYear) {
    days += t.dayOfYear - 1;
  } else {
    for (int m = 1; m < t.month; ++m)
      days += DaysInMonth(t.year, m);
    days += t.day - 1;
  }
  const std::int64_t seconds = ((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
  return seconds * kMicrosecondsPerSecond + t.millisecond * 1000 + t.microsecond;
}

inline CivilTime CivilOf(std::int64_t microseconds) {
  CivilTime t;
  if (microseconds < 0) microseconds = 0;
  std::int64_t days = microseconds / kMicrosecondsPerDay;
  std::int64_t rest = microseconds % kMicrosecondsPerDay;
  while (days >= (IsLeapYear(t.year) ? 366 : 365)) {
    days -= IsLeapYear(t.year) ? 366 : 365;
    ++t.year;
  }
  t.dayOfYear = static_cast<int>(days) + 1;
  while (days >= DaysInMonth(t.year, t.month)) {
    days -= DaysInMonth(t.year, t.month);
    ++t.month;
  }
  t.day = static_cast<int>(days) + 1;
  t.microsecond = static_cast<int>(rest % 1000);
  rest /= 1000;
  t.millisecond = static_cast<int>(rest % 1000);
  rest /= 1000;
  t.second = static_cast<int>(rest % 60);
  rest /= 60;
  t.minute = static_cast<int>(rest % 60);
  t.hour = static_cast<int>(rest / 60);
  return t;
}

// Where a camera shows a running clock: the names of its year, month, day (of the month, or of
// the year for IRIG time), hour, minute, second, millisecond and microsecond fields; null for a
// field it does not keep.
struct ClockFields {
  std::array<const char*, 8> names;
  bool byDayOfYear;
};

inline int& FieldOf(CivilTime& t, const ClockFields& fields, std::size_t index) {
  int* const all[] = {&t.year,        &t.month,      fields.byDayOfYear ? &t.dayOfYear : &t.day,
                      &t.hour,        &t.minute,     &t.second,
                      &t.millisecond, &t.microsecond};
  return *all[index];
}

// The time the fields show, each field the camera has replacing that of `base`.
// `get(name, int* value)` reads one field; false when the camera does not have it.
template <typename Get>
CivilTime ReadClockFields(const ClockFields& fields, CivilTime base, Get get) {
  for (std::size_t i = 0; i < fields.names.size(); ++i) {
    if (fields.names[i]) get(fields.names[i], &FieldOf(base, fields, i));
  }
  return base;
}

// Shows a time in the fields: `put(name, int value)` writes one the camera has.
template <typename Put>
void ShowClockFields(const ClockFields& fields, CivilTime time, Put put) {
  for (std::size_t i = 0; i < fields.names.size(); ++i) {
    if (fields.names[i]) put(fields.names[i], FieldOf(time, fields, i));
  }
}

// Whether the day exists (a 29 February in a leap year, a day 366 in one).
inline bool DayExists(const CivilTime& t, const ClockFields& fields) {
  if (fields.byDayOfYear)
    return t.dayOfYear >= 1 && t.dayOfYear <= (IsLeapYear(t.year) ? 366 : 365);
  return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysInMonth(t.year, t.month);
}

// A clock that runs with the camera's simulated time: once set, it reads the time it was set to
// plus the simulated time since.
class RunningClock {
 public:
  void Set(std::int64_t microseconds, std::uint64_t nowMs) {
    m_setTo = microseconds;
    m_setAtMs = nowMs;
  }
  std::int64_t At(std::uint64_t nowMs) const {
    return m_setTo + static_cast<std::int64_t>(nowMs - m_setAtMs) * 1000;
  }

 private:
  std::int64_t m_setTo = 0;
  std::uint64_t m_setAtMs = 0;
};

// A reading that settles from `start` towards `settled` (time constant `tauS` seconds) while
// swinging by `ripple` over `periodS` seconds: a board warming up, a regulated detector.
struct Drift {
  double start;
  double settled;
  double tauS;
  double ripple;
  double periodS;
  double At(std::uint64_t nowMs) const {
    const double t = static_cast<double>(nowMs) / 1000.0;
    constexpr double kTwoPi = 6.283185307179586;
    return settled + (start - settled) * std::exp(-t / tauS) +
           ripple * std::sin(kTwoPi * t / periodS);
  }
};

// Events a camera posts: each read of the queue takes the oldest, and the read after the last one
// gives 0. Until something is posted the queue leaves the value shown alone.
class EventQueue {
 public:
  void Post(std::initializer_list<std::int64_t> events) {
    m_pending.insert(m_pending.end(), events);
  }
  // The value a read shows, or nothing when the queue leaves it as it is.
  std::optional<std::int64_t> Next() {
    if (m_pending.empty() && !m_delivered) return std::nullopt;
    std::int64_t event = 0;
    if (!m_pending.empty()) {
      event = m_pending.front();
      m_pending.pop_front();
    }
    m_delivered = event != 0;
    return event;
  }

 private:
  std::deque<std::int64_t> m_pending;
  bool m_delivered = false;
};

}  // namespace sim
