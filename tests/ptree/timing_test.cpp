// Image geometry and timing over the property tree: paths, the tree lock and time-outs around the
// window, cache invalidation, enumeration texts and the bias rules.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "ptree/CTQVSDKPTree.h"

using sim::ptree::Value;
using testutil::PTreeCamera;

namespace {
std::vector<std::string> Kinds(const std::vector<sim::ptree::Access>& traffic) {
  std::vector<std::string> kinds;
  for (const auto& access : traffic)
    kinds.push_back(access.kind + " " + access.path + " " + access.value);
  return kinds;
}
}  // namespace

TEST(PtreeTiming, WindowWriteIsBracketedByLockAndTimeout) {
  PTreeCamera cam;
  ASSERT_EQ(tqvSetWindow(cam.handle(), 2, 32, 16, 320, 256), TQV_OK);
  const std::vector<std::string> expected = {
      "acquire  1",
      "timeout  30000",
      "set .system.settings.p2.window.xOffset 32",
      "set .system.settings.p2.window.yOffset 16",
      "set .system.settings.p2.window.width 320",
      "set .system.settings.p2.window.height 256",
      "set .system.settings.p2.window.commit true",
      "timeout  10000",
      "release  0",
  };
  EXPECT_EQ(Kinds(cam.camera().Traffic()), expected);

  cam.camera().ClearTraffic();
  u16 x, y, w, h;
  ASSERT_EQ(tqvGetWindow(cam.handle(), 2, &x, &y, &w, &h), TQV_OK);  // from the cache
  EXPECT_TRUE(cam.camera().Traffic().empty());
  EXPECT_EQ(w, 320);
}

TEST(PtreeTiming, WindowReadAsksTheCameraToPublishItFirst) {
  PTreeCamera cam;
  u16 x, y, w, h;
  ASSERT_EQ(tqvGetWindow(cam.handle(), 1, &x, &y, &w, &h), TQV_OK);
  const std::vector<std::string> expected = {
      "acquire  1",
      "set .system.settings.p1.window.read true",
      "get .system.settings.p1.window.xOffset 160",
      "get .system.settings.p1.window.yOffset 128",
      "get .system.settings.p1.window.width 320",
      "get .system.settings.p1.window.height 256",
      "release  0",
  };
  EXPECT_EQ(Kinds(cam.camera().Traffic()), expected);
}

// Every step of a window write fails in turn (the tree's lock included); a refused window is not
// kept.
TEST(PtreeTiming, EveryStepOfAWindowWriteFailsInTurn) {
  testutil::SweepPTree([](void* h, bool) { return tqvSetWindow(h, 0, 0, 0, 320, 256); });
  PTreeCamera cam;
  cam.camera().InjectFault(".system.settings.p0.window.commit", TQV_ACCESS_DENIED);
  EXPECT_EQ(tqvSetWindow(cam.handle(), 0, 0, 0, 320, 256), TQV_ACCESS_DENIED);
  u16 x, y, w = 0, h;
  ASSERT_EQ(tqvGetWindow(cam.handle(), 0, &x, &y, &w, &h), TQV_OK);
  EXPECT_EQ(w, 640);
  PTreeCamera busy;  // a lock not taken is not released
  busy.camera().InjectFaultAny(TQV_TIMEOUT, 1, "acquire");
  EXPECT_EQ(tqvSetWindow(busy.handle(), 0, 0, 0, 320, 256), TQV_TIMEOUT);
  EXPECT_EQ(busy.camera().Count("release"), 0u);
}

TEST(PtreeTiming, FlipsRunWithALongTimeout) {
  PTreeCamera cam;
  cam.camera().InjectFault(".system.settings.fpa.revert", TQV_NOT_WRITABLE);
  ASSERT_EQ(tqvSetInvertEnabled(cam.handle(), true), TQV_OK);
  EXPECT_EQ(tqvSetRevertEnabled(cam.handle(), true), TQV_NOT_WRITABLE);
  EXPECT_EQ(cam.camera().TimeoutHistory(), (std::vector<u32>{30000, 10000, 30000, 10000}));
}

TEST(PtreeTiming, SequencingModeTextsAndFrameWidthInvalidation) {
  PTreeCamera cam;
  auto& camera = cam.camera();
  u32 width = 0;
  for (u8 p = 0; p < 4; ++p)
    ASSERT_EQ(tqvGetFrameWidth(cam.handle(), p, &width), TQV_OK);
  ASSERT_EQ(tqvSetPresetSequencingMode(cam.handle(), 1), TQV_OK);
  EXPECT_EQ(camera.Text(".system.settings.presetSequencingMode"), "Preset Sequencing");
  camera.ClearTraffic();
  for (u8 p = 0; p < 4; ++p)
    ASSERT_EQ(tqvGetFrameWidth(cam.handle(), p, &width), TQV_OK);
  EXPECT_EQ(camera.Count("get"), 4u);  // every preset's frame width is read again
  u8 mode = 0;
  ASSERT_EQ(tqvGetPresetSequencingMode(cam.handle(), &mode), TQV_OK);
  EXPECT_EQ(mode, 1);
  EXPECT_EQ(camera.Count("getString"), 0u);  // the written mode was kept

  camera.ClearTraffic();
  EXPECT_EQ(tqvSetPresetSequencingMode(cam.handle(), 3), TQV_ERROR);  // no text: nothing sent
  EXPECT_TRUE(camera.Traffic().empty());

  camera.Set(".system.settings.presetSequencingMode", Value::Str("superframing"));  // wrong case
  ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
  EXPECT_EQ(tqvGetPresetSequencingMode(cam.handle(), &mode), TQV_ERROR);
  EXPECT_EQ(mode, 255);
}

TEST(PtreeTiming, GainLevelInvalidatesOffsetAndSkimmingVoltages) {
  PTreeCamera cam;
  auto& camera = cam.camera();
  float volts = 0;
  ASSERT_EQ(tqvGetGlobalOffsetVoltage(cam.handle(), &volts), TQV_OK);
  ASSERT_EQ(tqvGetSkimmingVoltage(cam.handle(), &volts), TQV_OK);
  bool skimming = false;
  ASSERT_EQ(tqvGetSkimmingEnabled(cam.handle(), &skimming), TQV_OK);
  ASSERT_EQ(tqvSetGainLevel(cam.handle(), 1), TQV_OK);
  camera.ClearTraffic();
  ASSERT_EQ(tqvGetGlobalOffsetVoltage(cam.handle(), &volts), TQV_OK);
  ASSERT_EQ(tqvGetSkimmingVoltage(cam.handle(), &volts), TQV_OK);
  ASSERT_EQ(tqvGetSkimmingEnabled(cam.handle(), &skimming), TQV_OK);
  u8 level = 0;
  ASSERT_EQ(tqvGetGainLevel(cam.handle(), &level), TQV_OK);
  EXPECT_EQ(level, 1);
  EXPECT_EQ(camera.CountPath(".system.offset.global"), 1u);
  EXPECT_EQ(camera.CountPath(".system.settings.fpa.skimmingVoltage"), 1u);
  EXPECT_EQ(camera.CountPath(".system.settings.fpa.skimmingEnabled"), 0u);  // still cached
  EXPECT_EQ(camera.CountPath(".system.settings.fpa.gainLevel"), 0u);
}

TEST(PtreeTiming, TimeSettersConvertBeforeTheyCheckThePreset) {
  PTreeCamera cam;
  cam.camera().Remove(".system.info.fpa.clockFrequency");
  CTQVSDKPTree fresh(cam.tree());  // constants not read yet
  EXPECT_EQ(fresh.SetIntegrationTime(4, 1.0), TQV_NOT_FOUND);
  EXPECT_EQ(fresh.SetFrameRate(7, 30.0), TQV_NOT_FOUND);
  EXPECT_EQ(fresh.GetIntegrationTime(4, nullptr), TQV_INVALID_ARGUMENT);  // a getter checks first
}

TEST(PtreeTiming, BiasIndexMustBeBelowTheCountAndAtMostOne) {
  struct Case {
    int count;  // -1: no count path
    u8 index;
    u32 result;
  };
  const Case cases[] = {{-1, 0, TQV_OK},
                        {-1, 1, TQV_INVALID_ARGUMENT},
                        {2, 1, TQV_OK},
                        {3, 2, TQV_INVALID_ARGUMENT},
                        {1, 1, TQV_INVALID_ARGUMENT}};
  for (const Case& test : cases) {
    PTreeCamera cam;
    if (test.count < 0) {
      cam.camera().Remove(".system.bias.count");
    } else {
      cam.camera().Set(".system.bias.count", Value::U8(static_cast<u8>(test.count)));
    }
    float volts = 0, low = 0, high = 0;
    EXPECT_EQ(tqvGetFPABiasEx(cam.handle(), test.index, &volts), test.result) << test.count;
    EXPECT_EQ(tqvSetFPABiasEx(cam.handle(), test.index, 1.0f), test.result) << test.count;
    EXPECT_EQ(tqvGetFPABiasLimitsEx(cam.handle(), test.index, &low, &high), test.result);
    u8 count = 0;
    ASSERT_EQ(tqvGetFPABiasCount(cam.handle(), &count), TQV_OK);
    EXPECT_EQ(count, test.count < 0 ? 1 : test.count);
  }
  PTreeCamera cam;
  float volts = 0;
  ASSERT_EQ(tqvGetFPABiasEx(cam.handle(), 1, &volts), TQV_OK);
  EXPECT_EQ(cam.camera().Count("get", ".system.bias.detector1"), 1u);
}

// Only "not found" means a camera with one bias; any other failure of the presence test is
// returned and leaves the count uncached, so the next call asks again.
TEST(PtreeTiming, BiasCountFailuresAreNotCached) {
  for (u32 code : {TQV_FAILED, TQV_TIMEOUT, TQV_ACCESS_DENIED, TQV_ERROR}) {
    PTreeCamera cam;  // two biases
    cam.camera().InjectFault(".system.bias.count", code, 1, "verify");
    u8 count = 0;
    EXPECT_EQ(tqvGetFPABiasCount(cam.handle(), &count), code);
    EXPECT_EQ(count, 0) << "no output on failure";
    ASSERT_EQ(tqvGetFPABiasCount(cam.handle(), &count), TQV_OK) << code;
    EXPECT_EQ(count, 2) << code;

    PTreeCamera direct;
    direct.camera().InjectFault(".system.bias.count", code, 1, "verify");
    float volts = 0;
    EXPECT_EQ(tqvGetFPABiasEx(direct.handle(), 1, &volts), code);
    EXPECT_EQ(tqvGetFPABiasEx(direct.handle(), 1, &volts), TQV_OK) << code;
    EXPECT_FLOAT_EQ(volts, 0.75f);
  }
}

// The clock, ITR and bound operations load the sensor constants before anything else and answer
// with their failure; nothing is written.
TEST(PtreeTiming, ItrAndBoundsLoadTheConstantsFirst) {
  testutil::SimTree sim;
  sim.camera().Remove(".system.info.fpa.clockFrequency");
  testutil::Handle handle;
  ASSERT_EQ(tqvCreateParamTreeEx(handle.out(), sim.tree(), 1), TQV_OK);
  bool itr = false;
  const std::vector<std::pair<const char*, std::function<u32()>>> calls = {
      {"NeedITR", [&] { return tqvNeedITR(handle, 1, 0, &itr); }},
      {"NeedITREx", [&] { return tqvNeedITREx(handle, &itr); }},
      {"BoundFrameRate", [&] { return tqvBoundFrameRate(handle, 0, false); }},
      {"BoundFrameRate preset 4", [&] { return tqvBoundFrameRate(handle, 4, true); }},
      {"BoundSuperframeRate", [&] { return tqvBoundSuperframeRate(handle, false); }},
      {"BoundFrameRates", [&] { return tqvBoundFrameRates(handle); }},
  };
  for (const auto& [name, call] : calls) {
    sim.camera().ClearTraffic();
    EXPECT_EQ(call(), TQV_NOT_FOUND) << name;
    EXPECT_EQ(sim.camera().Count("get", ".system.info.fpa.clockFrequency"), 1u) << name;
    EXPECT_TRUE(sim.camera().Writes().empty()) << name;
  }
  EXPECT_FALSE(itr) << "no output on failure";

  sim.camera().Set(".system.info.fpa.clockFrequency", Value::U32(25000000));
  EXPECT_EQ(tqvNeedITR(handle, 1, 0, &itr), TQV_OK);
  EXPECT_TRUE(itr);
  EXPECT_EQ(tqvBoundFrameRate(handle, 4, false), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvBoundFrameRates(handle), TQV_OK);
}

TEST(PtreeTiming, SkimmingLimitsComeFromVosWithADefault) {
  PTreeCamera cam;
  auto& camera = cam.camera();
  float low = 0, high = 0;
  ASSERT_EQ(tqvGetSkimmingVoltageLimits(cam.handle(), &low, &high), TQV_OK);
  EXPECT_FLOAT_EQ(low, -3.3f);
  EXPECT_FLOAT_EQ(high, 3.3f);
  camera.ClearLimits(".system.manufacturing.hw.biasesAndOffsets.vos.voltageIn");
  ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
  ASSERT_EQ(tqvGetSkimmingVoltageLimits(cam.handle(), &low, &high), TQV_OK);
  EXPECT_EQ(low, -5.0f);
  EXPECT_EQ(high, 5.0f);
  camera.ClearTraffic();
  ASSERT_EQ(tqvGetSkimmingVoltageLimits(cam.handle(), &low, &high), TQV_OK);
  EXPECT_TRUE(camera.Traffic().empty());

  for (u8 readout : {7, 10, 9}) {
    camera.Set(".version.product.roicType", Value::U8(readout));
    ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
    bool available = false;
    ASSERT_EQ(tqvGetSkimmingAvailable(cam.handle(), &available), TQV_OK);
    EXPECT_EQ(available, readout != 9);
  }
}

TEST(PtreeTiming, LowCostModelsAreCappedByReadOutWidth) {
  PTreeCamera cam;
  auto& camera = cam.camera();
  camera.Set(".version.product.cameraType", Value::U8(11));
  camera.Set(".version.product.subType", Value::U8(1));  // a low-cost model
  struct Case {
    u8 readout;
    u16 width;
    u32 cap;  // HertzToClocks of the highest rate at 25 MHz
  };
  const Case cases[] = {{9, 160, 52083},
                        {9, 161, 104167},
                        {9, 320, 104167},
                        {9, 321, 416667},
                        {11, 160, 416667}};  // readout 11 reads 640 columns
  for (const Case& test : cases) {
    camera.Set(".version.product.roicType", Value::U8(test.readout));
    ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
    u32 minimum = 0;
    ASSERT_EQ(tqvCalcMinFrameWidthEx(cam.handle(), &minimum, test.width, 4, 25, false), TQV_OK);
    EXPECT_EQ(minimum, test.cap) << int(test.readout) << " " << test.width;
  }
  // A model that is not low cost is not capped.
  camera.Set(".version.product.subType", Value::U8(6));
  camera.Set(".version.product.roicType", Value::U8(9));
  ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
  u32 minimum = 0;
  ASSERT_EQ(tqvCalcMinFrameWidthEx(cam.handle(), &minimum, 640, 4, 25, false), TQV_OK);
  EXPECT_LT(minimum, 52083u);
}
