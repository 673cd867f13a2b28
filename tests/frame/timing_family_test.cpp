// Every image-geometry and timing operation through the C interface, on both simulated cameras:
// values written are read back, and the arithmetic agrees with the camera's own constants.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>
#include <utility>

#include "common/sim_fixtures.h"

namespace {

using ::testing::ElementsAre;
using testutil::AnyCamera;
using testutil::Backend;
using testutil::BackendName;

template <typename T>
void Expect(const T& read, const T& value) {
  if constexpr (std::is_floating_point_v<T>) {
    EXPECT_NEAR(read, value, 1e-6);
  } else {
    EXPECT_EQ(read, value);
  }
}
// Writes `value` with `set` (for the camera, or for one preset or index) and reads it back.
template <typename T>
void ExpectKept(void* h, u32 (*set)(void*, T), u32 (*get)(void*, T*),
                std::type_identity_t<T> value) {
  ASSERT_EQ(set(h, value), TQV_OK);
  T read = value == T() ? T(1) : T();  // anything but the value
  ASSERT_EQ(get(h, &read), TQV_OK);
  Expect(read, value);
}
template <typename T>
void ExpectKept(void* h, u8 preset, u32 (*set)(void*, u8, T), u32 (*get)(void*, u8, T*),
                std::type_identity_t<T> value) {
  ASSERT_EQ(set(h, preset, value), TQV_OK);
  T read = value == T() ? T(1) : T();
  ASSERT_EQ(get(h, preset, &read), TQV_OK);
  Expect(read, value);
}
// Names the caller's line and call in a failure.
#define EXPECT_KEPT(...)        \
  do {                          \
    SCOPED_TRACE(#__VA_ARGS__); \
    ExpectKept(__VA_ARGS__);    \
  } while (false)

class TimingFamily : public ::testing::TestWithParam<Backend> {
 protected:
  u32 Clocks(u32 (*calc)(void*, u32*, u16, u16)) {
    u32 clocks = 0;
    EXPECT_EQ(calc(h, &clocks, 640, 512), TQV_OK);
    return clocks;
  }
  u32 MinFrame(u32 integration) {
    u32 clocks = 0;
    EXPECT_EQ(tqvCalcMinFrameWidthEx(h, &clocks, 640, 512, integration, true), TQV_OK);
    return clocks;
  }

  AnyCamera camera{GetParam()};
  void* h = camera.handle();
};

}  // namespace

TEST_P(TimingFamily, WindowIntegrationAndFramePeriods) {
  ASSERT_EQ(tqvSetWindow(h, 1, 64, 32, 320, 240), TQV_OK);
  u16 window[4] = {};
  ASSERT_EQ(tqvGetWindow(h, 1, &window[0], &window[1], &window[2], &window[3]), TQV_OK);
  EXPECT_THAT(window, ElementsAre(64, 32, 320, 240));
  u16 limits[6] = {};
  ASSERT_EQ(
      tqvGetWindowLimits(h, &limits[0], &limits[1], &limits[2], &limits[3], &limits[4], &limits[5]),
      TQV_OK);
  EXPECT_EQ(limits[1], 640);
  EXPECT_EQ(limits[3], 512);
  EXPECT_LT(limits[0], limits[1]);
  EXPECT_GT(limits[4], 0);

  // Times and rates are clock counts of the 25 MHz clock.
  u32 clocks = 0;
  EXPECT_KEPT(h, 2, &tqvSetIntegrationWidth, &tqvGetIntegrationWidth, 30000);
  EXPECT_KEPT(h, 2, &tqvSetIntegrationTime, &tqvGetIntegrationTime, 2.0);
  ASSERT_EQ(tqvGetIntegrationWidth(h, 2, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 50000u);
  EXPECT_KEPT(h, 3, &tqvSetFrameWidth, &tqvGetFrameWidth, 500000);
  EXPECT_KEPT(h, 3, &tqvSetFrameRate, &tqvGetFrameRate, 100.0);
  ASSERT_EQ(tqvGetFrameWidth(h, 3, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 250000u);
  EXPECT_KEPT(h, &tqvSetSuperframeWidth, &tqvGetSuperframeWidth, 2000000);
  EXPECT_KEPT(h, &tqvSetSuperframeRate, &tqvGetSuperframeRate, 20.0);
  ASSERT_EQ(tqvGetSuperframeWidth(h, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 1250000u);
}

TEST_P(TimingFamily, PresetsFlipsGainOffsetDwellAndSubframes) {
  EXPECT_KEPT(h, &tqvSetPresetSequencingMode, &tqvGetPresetSequencingMode, 2);
  EXPECT_KEPT(h, &tqvSetActivePreset, &tqvGetActivePreset, 2);
  for (bool on : {true, false}) {
    EXPECT_KEPT(h, &tqvSetInvertEnabled, &tqvGetInvertEnabled, on);
    EXPECT_KEPT(h, &tqvSetRevertEnabled, &tqvGetRevertEnabled, on);
  }
  EXPECT_KEPT(h, 1, &tqvSetDigitalGain, &tqvGetDigitalGain, 2.5f);
  EXPECT_KEPT(h, 1, &tqvSetDigitalOffset, &tqvGetDigitalOffset, -10.0f);
  EXPECT_KEPT(h, 2, &tqvSetDwellCount, &tqvGetDwellCount, 9);
  EXPECT_KEPT(h, 1, &tqvSetSubframeEnabled, &tqvGetSubframeEnabled, true);

  // The forms for all four presets, in preset order.
  ASSERT_EQ(tqvSetDwellCounts(h, 5, 6, 7, 8), TQV_OK);
  u32 counts[4] = {};
  ASSERT_EQ(tqvGetDwellCounts(h, &counts[0], &counts[1], &counts[2], &counts[3]), TQV_OK);
  EXPECT_THAT(counts, ElementsAre(5, 6, 7, 8));
  ASSERT_EQ(tqvSetSubframesEnabled(h, true, false, true, true), TQV_OK);
  bool enabled[4] = {};
  ASSERT_EQ(tqvGetSubframesEnabled(h, &enabled[0], &enabled[1], &enabled[2], &enabled[3]), TQV_OK);
  EXPECT_THAT(enabled, ElementsAre(true, false, true, true));
}

TEST_P(TimingFamily, GainBiasOffsetAndSkimming) {
  u8 levels = 0, biases = 0;
  bool hasLevels = false, available = false;
  ASSERT_EQ(tqvGetSupportedGainLevels(h, &levels), TQV_OK);
  ASSERT_EQ(tqvGetHasFPAGainLevels(h, &hasLevels), TQV_OK);
  EXPECT_EQ(levels, 3);
  EXPECT_TRUE(hasLevels);
  EXPECT_KEPT(h, &tqvSetGainLevel, &tqvGetGainLevel, 2);

  float low = 0, high = 0, volts = 0;
  ASSERT_EQ(tqvGetFPABiasCount(h, &biases), TQV_OK);
  EXPECT_EQ(biases, 2);
  for (u8 index = 0; index < 2; ++index) {
    ASSERT_EQ(tqvGetFPABiasLimitsEx(h, index, &low, &high), TQV_OK);
    ASSERT_LT(low, high);
    EXPECT_KEPT(h, index, &tqvSetFPABiasEx, &tqvGetFPABiasEx, (low + high) / 2);
  }
  // The forms without an index are the first bias.
  EXPECT_KEPT(h, &tqvSetFPABias, &tqvGetFPABias, 1.0f);
  ASSERT_EQ(tqvGetFPABiasEx(h, 0, &volts), TQV_OK);
  EXPECT_FLOAT_EQ(volts, 1.0f);
  float low0 = 0, high0 = 0;
  ASSERT_EQ(tqvGetFPABiasLimits(h, &low, &high), TQV_OK);
  ASSERT_EQ(tqvGetFPABiasLimitsEx(h, 0, &low0, &high0), TQV_OK);
  EXPECT_EQ(std::pair(low, high), std::pair(low0, high0));

  EXPECT_KEPT(h, &tqvSetGlobalOffsetVoltage, &tqvGetGlobalOffsetVoltage, 0.5f);
  ASSERT_EQ(tqvGetGlobalOffsetVoltageLimits(h, &low, &high), TQV_OK);
  EXPECT_LE(low, 0.5f);
  EXPECT_GE(high, 0.5f);

  ASSERT_EQ(tqvGetSkimmingAvailable(h, &available), TQV_OK);
  EXPECT_KEPT(h, &tqvSetSkimmingEnabled, &tqvGetSkimmingEnabled, true);
  float vosLow = 0, vosHigh = 0;
  ASSERT_EQ(tqvGetVoltageLimits(h, "vos", &vosLow, &vosHigh), TQV_OK);
  ASSERT_EQ(tqvGetSkimmingVoltageLimits(h, &low, &high), TQV_OK);
  EXPECT_EQ(std::pair(low, high), std::pair(vosLow, vosHigh));  // the skimming voltage is "vos"
  EXPECT_KEPT(h, &tqvSetSkimmingVoltage, &tqvGetSkimmingVoltage, (low + high) / 2);
}

TEST_P(TimingFamily, ManufacturingValuesUpdateTheConstants) {
  EXPECT_KEPT(h, &tqvSetMfgOverrideRoicConfig, &tqvGetMfgOverrideRoicConfig, true);
  EXPECT_KEPT(h, &tqvSetMfgHasExtraLSync, &tqvGetMfgHasExtraLSync, true);

  // Each new dead time counts at once.
  u32 before = Clocks(&tqvCalcDataWidth);
  EXPECT_KEPT(h, &tqvSetMfgLineDeadWidth, &tqvGetMfgLineDeadWidth, 100);
  EXPECT_GT(Clocks(&tqvCalcDataWidth), before);
  before = Clocks(&tqvCalcMinFrameWidth);
  EXPECT_KEPT(h, &tqvSetMfgPreIntDeadWidth, &tqvGetMfgPreIntDeadWidth, 1000);
  EXPECT_KEPT(h, &tqvSetMfgPostIntDeadWidth, &tqvGetMfgPostIntDeadWidth, 2000);
  EXPECT_GT(Clocks(&tqvCalcMinFrameWidth), before);

  before = Clocks(&tqvCalcDataWidth);
  EXPECT_KEPT(h, &tqvSetMfgPreDeadRows, &tqvGetMfgPreDeadRows, 3);
  EXPECT_KEPT(h, &tqvSetMfgPostDeadRows, &tqvGetMfgPostDeadRows, 4);
  // The camera reads back 7 dead rows in all: five rows more than the 2 before.
  EXPECT_EQ(Clocks(&tqvCalcDataWidth) - before, 5u * (before / (512 + 2)));
}

TEST_P(TimingFamily, ClockArithmetic) {
  u32 clock = 0, clocks = 0;
  double value = 0;
  ASSERT_EQ(tqvGetClockFrequency(h, &clock), TQV_OK);
  EXPECT_EQ(clock, 25000000u);
  ASSERT_EQ(tqvHertzToClocks(h, 60.0, &clocks), TQV_OK);
  EXPECT_EQ(clocks, 416667u);
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
  const u32 data = Clocks(&tqvCalcDataWidth), plain = Clocks(&tqvCalcMinFrameWidth);
  EXPECT_GT(plain, data);
  EXPECT_GT(MinFrame(1000), plain);  // integrating first adds the integration
  u32 integrations[4] = {1000, 2000, 3000, 4000}, superframe = 0, maxInt = 0;
  bool none[4] = {false, false, false, false}, two[4] = {true, false, false, true};
  ASSERT_EQ(tqvCalcMinSuperframeWidth(h, &superframe, 640, 512, integrations, none, true), TQV_OK);
  EXPECT_EQ(superframe, MinFrame(1000));  // no flags: the first preset alone
  ASSERT_EQ(tqvCalcMinSuperframeWidth(h, &superframe, 640, 512, integrations, two, true), TQV_OK);
  EXPECT_EQ(superframe, MinFrame(1000) + MinFrame(4000));
  ASSERT_EQ(tqvCalcMaxIntWidth(h, &maxInt, 1000000), TQV_OK);
  EXPECT_LT(maxInt, 1000000u);

  bool itr = true;
  ASSERT_EQ(tqvIsITR(h, 640, 512, 1000, data + 1000, &itr), TQV_OK);
  EXPECT_FALSE(itr);  // no room for the dead times
  ASSERT_EQ(tqvIsITR(h, 640, 512, 1000, MinFrame(1000), &itr), TQV_OK);
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
  u16 x, y, w, hgt;
  ASSERT_EQ(tqvSetWindow(h, 0, 0, 0, 640, 512), TQV_OK);
  ASSERT_EQ(tqvSetIntegrationWidth(h, 3, 25000), TQV_OK);
  ASSERT_EQ(tqvSetFrameWidth(h, 3, 25000), TQV_OK);
  ASSERT_EQ(tqvSetFrameWidth(h, 2, 20000000), TQV_OK);
  ASSERT_EQ(tqvBoundFrameRates(h), TQV_OK);
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
