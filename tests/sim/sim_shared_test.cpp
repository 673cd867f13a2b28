// What both simulated cameras do alike: the calendar of their clocks, drifting readings, the event
// queue, and the GenICam device's read hooks that let values follow the simulated time.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "SimShared.h"
#include "gic_fixture.h"

namespace {

TEST(SimShared, CalendarRoundTripsAcrossMonthsYearsAndLeapDays) {
  const struct {
    sim::CivilTime time;
    std::int64_t seconds;  // since 1970-01-01
  } cases[] = {
      {{1970, 1, 1, 1, 0, 0, 0, 0, 0}, 0},
      {{2000, 2, 29, 60, 12, 0, 0, 0, 0}, 951825600},
      {{2024, 1, 1, 1, 0, 0, 0, 0, 0}, 1704067200},
      {{2024, 12, 31, 366, 23, 59, 59, 0, 0}, 1735689599},
      {{2100, 3, 1, 60, 0, 0, 0, 0, 0}, 4107542400},  // 2100 is no leap year
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.seconds);
    const std::int64_t us = test.seconds * 1000000 + 123456;
    sim::CivilTime t = test.time;
    t.millisecond = 123;
    t.microsecond = 456;
    EXPECT_EQ(sim::MicrosecondsOf(t, false), us);
    EXPECT_EQ(sim::MicrosecondsOf(t, true), us);  // by the day of the year
    const sim::CivilTime back = sim::CivilOf(us);
    EXPECT_EQ(back.year, t.year);
    EXPECT_EQ(back.month, t.month);
    EXPECT_EQ(back.day, t.day);
    EXPECT_EQ(back.dayOfYear, t.dayOfYear);
    EXPECT_EQ(back.hour, t.hour);
    EXPECT_EQ(back.minute, t.minute);
    EXPECT_EQ(back.second, t.second);
    EXPECT_EQ(back.millisecond, 123);
    EXPECT_EQ(back.microsecond, 456);
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

TEST(SimShared, GenICamReadHooksRunBeforeHostReadsOnly) {
  gictest::Camera camera;
  int runs = 0;
  camera.sim->OnRead("Counter", [&](sim::genicam::Device& device, const std::string& name) {
    ++runs;
    device.SetInt(name, 40 + runs * 2);
  });
  auto counter = camera.Get<zel::cam::gic::IInteger>("Counter");
  EXPECT_EQ(counter->GetValue(), 42);
  EXPECT_EQ(counter->GetValue(), 44);
  EXPECT_EQ(camera.sim->GetInt("Counter"), 44);  // the test side does not run them
  counter->SetValue(10);
  EXPECT_EQ(runs, 2);
}

}  // namespace
