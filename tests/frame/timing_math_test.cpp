// The detector timing arithmetic, against values worked out by hand (conversions with the camera's
// clock and the low-cost cap: tests/frame/timing_family_test.cpp, tests/ptree/timing_test.cpp).
#include <gtest/gtest.h>

#include <cmath>

#include "common/timing.h"

namespace {

FPAConstants Sensor() {
  FPAConstants c;
  c.readoutChannels = 4;
  c.clockFrequency = 25000000;
  c.lineDeadWidth = 10;
  c.deadRows = 2;
  c.preIntegrationDeadWidth = 100;
  c.postIntegrationDeadWidth = 50;
  c.pipelineDelay = 30;
  c.intDeadWidth = 7;
  c.frameDeadWidth = 20;
  return c;
}

}  // namespace

TEST(TimingMath, RoundsHalvesAwayFromZeroAndKeepsTheLow32Bits) {
  struct Case {
    double value;
    u32 clocks;
  };
  const Case cases[] = {
      {2.5, 3},          {2.4999, 2},          {-2.5, 0xFFFFFFFDu},
      {0.5, 1},          {4294967296.0, 0},  // 2^32 wraps to its low 32 bits
      {std::nan(""), 0}, {1e300, 0xFFFFFFFFu},
  };
  for (const Case& test : cases)
    EXPECT_EQ(timing::RoundToClocks(test.value), test.clocks) << test.value;
  // Through the conversions: a 1 kHz clock makes 2.5 ms exactly 2.5 clocks.
  FPAConstants slow = Sensor();
  slow.clockFrequency = 1000;
  EXPECT_EQ(timing::MillisecondsToClocks(slow, 2.5), 3u);
  EXPECT_EQ(timing::HertzToClocks(slow, 0.0), 0xFFFFFFFFu);  // +infinity saturates, no fault
}

TEST(TimingMath, DataWidthCountsDeadRowsAndChannels) {
  const FPAConstants c = Sensor();
  // ((2 + 512) * (640 + 10 * 4 * 2)) / 8 = 514 * 720 / 8
  EXPECT_EQ(timing::DataWidth(c, 3, 640, 512), 46260u);
  // Readout 11 reads 640 columns whatever the window.
  EXPECT_EQ(timing::DataWidth(c, timing::kReadout640Columns, 320, 512), 46260u);
  EXPECT_EQ(timing::DataWidth(c, 3, 320, 512), 514u * 400 / 8);
  // A camera reporting no channels does not fault (counted as one channel).
  FPAConstants none = c;
  none.readoutChannels = 0;
  EXPECT_EQ(timing::DataWidth(none, 3, 100, 10), 12u * (100 + 20) / 2);
}

TEST(TimingMath, MinimumFrameWidths) {
  const FPAConstants c = Sensor();
  const u32 data = timing::DataWidth(c, 3, 640, 512);
  EXPECT_EQ(timing::MinFrameWidth(c, 3, 640, 512), data + 100 + 20 + 50 + 30);
  // Integrate then read: everything in sequence.
  EXPECT_EQ(timing::MinFrameWidthEx(c, 3, 640, 512, 1000, true),
            data + 100 + 20 + 1000 + 50 + 7 + 30);
  // Integrate while reading: the longer of the two.
  EXPECT_EQ(timing::MinFrameWidthEx(c, 3, 640, 512, 1000, false), data + 200);
  EXPECT_EQ(timing::MinFrameWidthEx(c, 3, 640, 512, 100000, false), 100000u + 30 + 50 + 7);
}

TEST(TimingMath, MaxIntegrationAndItrDecision) {
  const FPAConstants c = Sensor();
  EXPECT_EQ(timing::MaxIntWidth(c, 10000), 10000u - 50 - 100 - 30 - 7);
  EXPECT_EQ(timing::MaxIntWidth(c, 100), 100u - 187u);  // wraps, as unsigned arithmetic does
  const u32 data = timing::DataWidth(c, 3, 640, 512);
  const u32 needed = data + 1000 + 100 + 20 + 50 + 7;
  EXPECT_FALSE(timing::IsITR(c, 3, 640, 512, 1000, needed));  // strictly less is required
  EXPECT_TRUE(timing::IsITR(c, 3, 640, 512, 1000, needed + 1));
  EXPECT_TRUE(timing::NeedITR(1, 0));
  EXPECT_FALSE(timing::NeedITR(0, 0));
  EXPECT_FALSE(timing::NeedITR(2, 1));
}
