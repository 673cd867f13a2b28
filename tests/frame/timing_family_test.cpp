// Every image-geometry and timing operation through the C interface, on both simulated cameras:
// values written are read back, and the arithmetic agrees with the camera's own constants.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "common/sim_fixtures.h"
#include "common/timing.h"

namespace {

using testutil::AnyCamera;
using testutil::Backend;
using testutil::BackendName;

class TimingFamily : public ::testing::TestWithParam<Backend> {
 protected:
  AnyCamera camera{GetParam()};
  void* h = camera.handle();
};

}  // namespace

TEST_P(TimingFamily, WindowIntegrationAndFramePeriods) {
  ASSERT_EQ(tqvSetWindow(h, 1, 64, 32, 320, 240), TQV_OK);
  u16 x = 0, y = 0, width = 0, height = 0;
  ASSERT_EQ(tqvGetWindow(h, 1, &x, &y, &width, &height), TQV_OK);
  EXPECT_EQ(x, 64);
  EXPECT_EQ(y, 32);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);
  u16 limits[6] = {};
  ASSERT_EQ(
      tqvGetWindowLimits(h, &limits[0], &limits[1], &limits[2], &limits[3], &limits[4], &limits[5]),
      TQV_OK);
  EXPECT_EQ(limits[1], 640);
  EXPECT_EQ(limits[3], 512);
  EXPECT_LT(limits[0], limits[1]);
  EXPECT_GT(limits[4], 0);

  ASSERT_EQ(tqvSetIntegrationWidth(h, 2, 30000), TQV_OK);
  u32 clocks = 0;
  ASSERT_EQ(tqvGetIntegrationWidth(h, 2, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 30000u);
  ASSERT_EQ(tqvSetIntegrationTime(h, 2, 2.0), TQV_OK);
  double ms = 0;
  ASSERT_EQ(tqvGetIntegrationTime(h, 2, &ms), TQV_OK);
  EXPECT_NEAR(ms, 2.0, 1e-9);
  ASSERT_EQ(tqvGetIntegrationWidth(h, 2, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 50000u);  // 2 ms of a 25 MHz clock

  ASSERT_EQ(tqvSetFrameWidth(h, 3, 500000), TQV_OK);
  ASSERT_EQ(tqvGetFrameWidth(h, 3, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 500000u);
  ASSERT_EQ(tqvSetFrameRate(h, 3, 100.0), TQV_OK);
  double hertz = 0;
  ASSERT_EQ(tqvGetFrameRate(h, 3, &hertz), TQV_OK);
  EXPECT_NEAR(hertz, 100.0, 1e-9);
  ASSERT_EQ(tqvGetFrameWidth(h, 3, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 250000u);
}

TEST_P(TimingFamily, PresetsSuperframesAndFlips) {
  u8 mode = 9;
  ASSERT_EQ(tqvSetPresetSequencingMode(h, 2), TQV_OK);
  ASSERT_EQ(tqvGetPresetSequencingMode(h, &mode), TQV_OK);
  EXPECT_EQ(mode, 2);
  ASSERT_EQ(tqvSetSuperframeWidth(h, 2000000), TQV_OK);
  u32 clocks = 0;
  ASSERT_EQ(tqvGetSuperframeWidth(h, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 2000000u);
  ASSERT_EQ(tqvSetSuperframeRate(h, 20.0), TQV_OK);
  double hertz = 0;
  ASSERT_EQ(tqvGetSuperframeRate(h, &hertz), TQV_OK);
  EXPECT_NEAR(hertz, 20.0, 1e-9);
  u8 preset = 0;
  ASSERT_EQ(tqvSetActivePreset(h, 2), TQV_OK);
  ASSERT_EQ(tqvGetActivePreset(h, &preset), TQV_OK);
  EXPECT_EQ(preset, 2);
  for (bool on : {true, false}) {
    bool invert = !on, revert = !on;
    ASSERT_EQ(tqvSetInvertEnabled(h, on), TQV_OK);
    ASSERT_EQ(tqvSetRevertEnabled(h, on), TQV_OK);
    ASSERT_EQ(tqvGetInvertEnabled(h, &invert), TQV_OK);
    ASSERT_EQ(tqvGetRevertEnabled(h, &revert), TQV_OK);
    EXPECT_EQ(invert, on);
    EXPECT_EQ(revert, on);
  }
  u8 sync = 9;
  ASSERT_EQ(tqvSetFrameSyncMode(h, 1), TQV_OK);
  ASSERT_EQ(tqvGetFrameSyncMode(h, &sync), TQV_OK);
  EXPECT_EQ(sync, 1);
}

TEST_P(TimingFamily, PerPresetGainOffsetDwellAndSubframes) {
  float gain = 0, offset = 0;
  ASSERT_EQ(tqvSetDigitalGain(h, 1, 2.5f), TQV_OK);
  ASSERT_EQ(tqvSetDigitalOffset(h, 1, -10.0f), TQV_OK);
  ASSERT_EQ(tqvGetDigitalGain(h, 1, &gain), TQV_OK);
  ASSERT_EQ(tqvGetDigitalOffset(h, 1, &offset), TQV_OK);
  EXPECT_FLOAT_EQ(gain, 2.5f);
  EXPECT_FLOAT_EQ(offset, -10.0f);

  ASSERT_EQ(tqvSetDwellCounts(h, 5, 6, 7, 8), TQV_OK);
  u32 counts[4] = {};
  ASSERT_EQ(tqvGetDwellCounts(h, &counts[0], &counts[1], &counts[2], &counts[3]), TQV_OK);
  EXPECT_EQ(counts[0], 5u);
  EXPECT_EQ(counts[3], 8u);
  ASSERT_EQ(tqvSetDwellCount(h, 2, 9), TQV_OK);
  ASSERT_EQ(tqvGetDwellCount(h, 2, &counts[2]), TQV_OK);
  EXPECT_EQ(counts[2], 9u);

  ASSERT_EQ(tqvSetSubframesEnabled(h, true, false, true, true), TQV_OK);
  bool enabled[4] = {};
  ASSERT_EQ(tqvGetSubframesEnabled(h, &enabled[0], &enabled[1], &enabled[2], &enabled[3]), TQV_OK);
  EXPECT_TRUE(enabled[0]);
  EXPECT_FALSE(enabled[1]);
  EXPECT_TRUE(enabled[3]);
  ASSERT_EQ(tqvSetSubframeEnabled(h, 1, true), TQV_OK);
  ASSERT_EQ(tqvGetSubframeEnabled(h, 1, &enabled[1]), TQV_OK);
  EXPECT_TRUE(enabled[1]);
}

TEST_P(TimingFamily, GainBiasOffsetAndSkimming) {
  u8 levels = 0, level = 9;
  ASSERT_EQ(tqvGetSupportedGainLevels(h, &levels), TQV_OK);
  EXPECT_EQ(levels, 3);
  bool hasLevels = false;
  ASSERT_EQ(tqvGetHasFPAGainLevels(h, &hasLevels), TQV_OK);
  EXPECT_TRUE(hasLevels);
  ASSERT_EQ(tqvSetGainLevel(h, 2), TQV_OK);
  ASSERT_EQ(tqvGetGainLevel(h, &level), TQV_OK);
  EXPECT_EQ(level, 2);

  u8 biases = 0;
  ASSERT_EQ(tqvGetFPABiasCount(h, &biases), TQV_OK);
  EXPECT_EQ(biases, 2);
  for (u8 index = 0; index < 2; ++index) {
    float low = 0, high = 0, volts = 0;
    ASSERT_EQ(tqvGetFPABiasLimitsEx(h, index, &low, &high), TQV_OK);
    ASSERT_LT(low, high);
    const float wanted = (low + high) / 2;
    ASSERT_EQ(tqvSetFPABiasEx(h, index, wanted), TQV_OK);
    ASSERT_EQ(tqvGetFPABiasEx(h, index, &volts), TQV_OK);
    EXPECT_FLOAT_EQ(volts, wanted);
  }
  float volts = 0, low = 0, high = 0, low0 = 0, high0 = 0;
  ASSERT_EQ(tqvSetFPABias(h, 1.0f), TQV_OK);
  ASSERT_EQ(tqvGetFPABias(h, &volts), TQV_OK);
  EXPECT_FLOAT_EQ(volts, 1.0f);
  ASSERT_EQ(tqvGetFPABiasLimits(h, &low, &high), TQV_OK);
  ASSERT_EQ(tqvGetFPABiasLimitsEx(h, 0, &low0, &high0), TQV_OK);
  EXPECT_EQ(low, low0);
  EXPECT_EQ(high, high0);

  ASSERT_EQ(tqvSetGlobalOffsetVoltage(h, 0.5f), TQV_OK);
  ASSERT_EQ(tqvGetGlobalOffsetVoltage(h, &volts), TQV_OK);
  EXPECT_FLOAT_EQ(volts, 0.5f);
  ASSERT_EQ(tqvGetGlobalOffsetVoltageLimits(h, &low, &high), TQV_OK);
  EXPECT_LE(low, 0.5f);
  EXPECT_GE(high, 0.5f);

  bool available = false, skimming = false;
  ASSERT_EQ(tqvGetSkimmingAvailable(h, &available), TQV_OK);
  ASSERT_EQ(tqvSetSkimmingEnabled(h, true), TQV_OK);
  ASSERT_EQ(tqvGetSkimmingEnabled(h, &skimming), TQV_OK);
  EXPECT_TRUE(skimming);
  float vosLow = 0, vosHigh = 0;
  ASSERT_EQ(tqvGetVoltageLimits(h, "vos", &vosLow, &vosHigh), TQV_OK);
  ASSERT_EQ(tqvGetSkimmingVoltageLimits(h, &low, &high), TQV_OK);
  EXPECT_EQ(low, vosLow);  // the skimming voltage is "vos"
  EXPECT_EQ(high, vosHigh);
  ASSERT_EQ(tqvSetSkimmingVoltage(h, (low + high) / 2), TQV_OK);
  ASSERT_EQ(tqvGetSkimmingVoltage(h, &volts), TQV_OK);
  EXPECT_FLOAT_EQ(volts, (low + high) / 2);
}

TEST_P(TimingFamily, ManufacturingValuesUpdateTheConstants) {
  bool flag = false;
  ASSERT_EQ(tqvSetMfgOverrideRoicConfig(h, true), TQV_OK);
  ASSERT_EQ(tqvGetMfgOverrideRoicConfig(h, &flag), TQV_OK);
  EXPECT_TRUE(flag);
  ASSERT_EQ(tqvSetMfgHasExtraLSync(h, true), TQV_OK);
  ASSERT_EQ(tqvGetMfgHasExtraLSync(h, &flag), TQV_OK);
  EXPECT_TRUE(flag);

  u32 before = 0, after = 0, value = 0;
  ASSERT_EQ(tqvCalcDataWidth(h, &before, 640, 512), TQV_OK);
  ASSERT_EQ(tqvSetMfgLineDeadWidth(h, 100), TQV_OK);
  ASSERT_EQ(tqvGetMfgLineDeadWidth(h, &value), TQV_OK);
  EXPECT_EQ(value, 100u);
  ASSERT_EQ(tqvCalcDataWidth(h, &after, 640, 512), TQV_OK);
  EXPECT_GT(after, before);  // the new dead width counts at once

  u32 minBefore = 0, minAfter = 0;
  ASSERT_EQ(tqvCalcMinFrameWidth(h, &minBefore, 640, 512), TQV_OK);
  ASSERT_EQ(tqvSetMfgPreIntDeadWidth(h, 1000), TQV_OK);
  ASSERT_EQ(tqvSetMfgPostIntDeadWidth(h, 2000), TQV_OK);
  ASSERT_EQ(tqvGetMfgPreIntDeadWidth(h, &value), TQV_OK);
  EXPECT_EQ(value, 1000u);
  ASSERT_EQ(tqvGetMfgPostIntDeadWidth(h, &value), TQV_OK);
  EXPECT_EQ(value, 2000u);
  ASSERT_EQ(tqvCalcMinFrameWidth(h, &minAfter, 640, 512), TQV_OK);
  EXPECT_GT(minAfter, minBefore);

  ASSERT_EQ(tqvCalcDataWidth(h, &before, 640, 512), TQV_OK);
  ASSERT_EQ(tqvSetMfgPreDeadRows(h, 3), TQV_OK);
  ASSERT_EQ(tqvSetMfgPostDeadRows(h, 4), TQV_OK);
  ASSERT_EQ(tqvGetMfgPreDeadRows(h, &value), TQV_OK);
  EXPECT_EQ(value, 3u);
  ASSERT_EQ(tqvGetMfgPostDeadRows(h, &value), TQV_OK);
  EXPECT_EQ(value, 4u);
  ASSERT_EQ(tqvCalcDataWidth(h, &after, 640, 512), TQV_OK);
  // The dead rows read back as 7 in all: five rows more than before.
  EXPECT_EQ(after - before, 5u * (before / (512 + 2)));
}

TEST_P(TimingFamily, ClockArithmetic) {
  u32 clock = 0, clocks = 0;
  ASSERT_EQ(tqvGetClockFrequency(h, &clock), TQV_OK);
  EXPECT_EQ(clock, 25000000u);
  ASSERT_EQ(tqvHertzToClocks(h, 60.0, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 416667u);
  double value = 0;
  ASSERT_EQ(tqvSnapHertz(h, 60.0, &value), TQV_OK);
  EXPECT_DOUBLE_EQ(value, 25000000.0 / 416667);
  ASSERT_EQ(tqvClocksToHertz(h, 0, &value), TQV_OK);
  EXPECT_TRUE(std::isinf(value));
  ASSERT_EQ(tqvMillisecondsToClocks(h, 1.5, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 37500u);
  ASSERT_EQ(tqvClocksToMilliseconds(h, 37500, &value), TQV_OK);
  EXPECT_DOUBLE_EQ(value, 1.5);
  ASSERT_EQ(tqvSnapMilliseconds(h, 1.00003, &value), TQV_OK);
  EXPECT_DOUBLE_EQ(value, 25001.0 / 25000.0);  // 25000.75 clocks are 25001
  u32 limits[4] = {};
  ASSERT_EQ(tqvGetMinFrameWidth(h, &limits[0]), TQV_OK);
  ASSERT_EQ(tqvGetMaxFrameWidth(h, &limits[1]), TQV_OK);
  ASSERT_EQ(tqvGetMinIntWidth(h, &limits[2]), TQV_OK);
  ASSERT_EQ(tqvGetMaxIntWidth(h, &limits[3]), TQV_OK);
  EXPECT_LT(limits[0], limits[1]);
  EXPECT_LT(limits[2], limits[3]);
}

TEST_P(TimingFamily, MinimumWidthsItrAndBounds) {
  u32 data = 0, plain = 0, withInt = 0, superframe = 0, maxInt = 0;
  ASSERT_EQ(tqvCalcDataWidth(h, &data, 640, 512), TQV_OK);
  ASSERT_EQ(tqvCalcMinFrameWidth(h, &plain, 640, 512), TQV_OK);
  EXPECT_GT(plain, data);
  ASSERT_EQ(tqvCalcMinFrameWidthEx(h, &withInt, 640, 512, 1000, true), TQV_OK);
  EXPECT_GT(withInt, plain);  // integrating first adds the integration
  u32 integrations[4] = {1000, 2000, 3000, 4000};
  bool none[4] = {false, false, false, false};
  ASSERT_EQ(tqvCalcMinSuperframeWidth(h, &superframe, 640, 512, integrations, none, true), TQV_OK);
  EXPECT_EQ(superframe, withInt);  // no flags: the first preset alone
  bool two[4] = {true, false, false, true};
  u32 first = 0, last = 0;
  ASSERT_EQ(tqvCalcMinFrameWidthEx(h, &last, 640, 512, 4000, true), TQV_OK);
  ASSERT_EQ(tqvCalcMinSuperframeWidth(h, &superframe, 640, 512, integrations, two, true), TQV_OK);
  ASSERT_EQ(tqvCalcMinFrameWidthEx(h, &first, 640, 512, 1000, true), TQV_OK);
  EXPECT_EQ(superframe, first + last);
  ASSERT_EQ(tqvCalcMaxIntWidth(h, &maxInt, 1000000), TQV_OK);
  EXPECT_LT(maxInt, 1000000u);

  bool itr = true;
  ASSERT_EQ(tqvIsITR(h, 640, 512, 1000, data + 1000, &itr), TQV_OK);
  EXPECT_FALSE(itr);  // no room for the dead times
  ASSERT_EQ(tqvIsITR(h, 640, 512, 1000, withInt, &itr), TQV_OK);
  EXPECT_TRUE(itr);  // the integrate-then-read minimum leaves room (it adds the pipeline delay)
  ASSERT_EQ(tqvNeedITR(h, 1, 0, &itr), TQV_OK);
  EXPECT_TRUE(itr);
  ASSERT_EQ(tqvSetPresetSequencingMode(h, 1), TQV_OK);
  ASSERT_EQ(tqvSetFrameSyncMode(h, 0), TQV_OK);
  ASSERT_EQ(tqvNeedITREx(h, &itr), TQV_OK);
  EXPECT_TRUE(itr);
  ASSERT_EQ(tqvSetPresetSequencingMode(h, 0), TQV_OK);
  ASSERT_EQ(tqvNeedITREx(h, &itr), TQV_OK);
  EXPECT_FALSE(itr);

  // Bounds raise too-short frames, never lower long ones, on all four presets even in single
  // preset mode.
  u32 minimum = 0, frame = 0;
  ASSERT_EQ(tqvSetWindow(h, 0, 0, 0, 640, 512), TQV_OK);
  ASSERT_EQ(tqvSetIntegrationWidth(h, 3, 25000), TQV_OK);
  ASSERT_EQ(tqvSetFrameWidth(h, 3, 25000), TQV_OK);
  ASSERT_EQ(tqvSetFrameWidth(h, 2, 20000000), TQV_OK);
  ASSERT_EQ(tqvBoundFrameRates(h), TQV_OK);
  u16 x, y, w, hgt;
  ASSERT_EQ(tqvGetWindow(h, 3, &x, &y, &w, &hgt), TQV_OK);
  ASSERT_EQ(tqvCalcMinFrameWidthEx(h, &minimum, w, hgt, 25000, false), TQV_OK);
  ASSERT_EQ(tqvGetFrameWidth(h, 3, &frame), TQV_OK);
  EXPECT_EQ(frame, minimum);
  ASSERT_EQ(tqvGetFrameWidth(h, 2, &frame), TQV_OK);
  EXPECT_EQ(frame, 20000000u);

  ASSERT_EQ(tqvSetSuperframeWidth(h, 30000), TQV_OK);
  ASSERT_EQ(tqvBoundSuperframeRate(h, false), TQV_OK);
  ASSERT_EQ(tqvGetSuperframeWidth(h, &frame), TQV_OK);
  EXPECT_GT(frame, 30000u);
  ASSERT_EQ(tqvSetFrameWidth(h, 1, 25000), TQV_OK);
  ASSERT_EQ(tqvBoundFrameRate(h, 1, true), TQV_OK);
  ASSERT_EQ(tqvGetFrameWidth(h, 1, &frame), TQV_OK);
  EXPECT_GT(frame, 25000u);
}

INSTANTIATE_TEST_SUITE_P(BothBackends, TimingFamily,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICam), BackendName);
