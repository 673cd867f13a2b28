// What both simulated cameras do alike: the calendar of their clocks and the event queue.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "SimShared.h"

namespace {

std::array<int, 9> Fields(const sim::CivilTime& t) {
  return {t.year,   t.month,  t.day,         t.dayOfYear,  t.hour,
          t.minute, t.second, t.millisecond, t.microsecond};
}

TEST(SimShared, CalendarRoundTripsAcrossMonthsYearsAndLeapDays) {
  const struct {
    sim::CivilTime time;
    std::int64_t seconds;  // since 1970-01-01
  } cases[] = {
      {{1970, 1, 1, 1, 0, 0, 0, 123, 456}, 0},
      {{2000, 2, 29, 60, 12, 0, 0, 123, 456}, 951825600},
      {{2024, 1, 1, 1, 0, 0, 0, 123, 456}, 1704067200},
      {{2024, 12, 31, 366, 23, 59, 59, 123, 456}, 1735689599},
      {{2100, 3, 1, 60, 0, 0, 0, 123, 456}, 4107542400},  // 2100 is no leap year
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.seconds);
    const std::int64_t us = test.seconds * 1000000 + 123456;
    EXPECT_EQ(sim::MicrosecondsOf(test.time, false), us);
    EXPECT_EQ(sim::MicrosecondsOf(test.time, true), us);  // by the day of the year
    EXPECT_EQ(Fields(sim::CivilOf(us)), Fields(test.time));
  }
}

TEST(SimShared, EventQueueHandsOutEachEventOnceThenZero) {
  sim::EventQueue queue;
  EXPECT_EQ(queue.Next(), std::nullopt);  // nothing posted: the shown value stays
  queue.Post({3, 4});
  std::vector<std::optional<std::int64_t>> reads;
  for (int i = 0; i < 4; ++i)
    reads.push_back(queue.Next());
  EXPECT_EQ(reads, (std::vector<std::optional<std::int64_t>>{3, 4, 0, std::nullopt}));
}

}  // namespace
