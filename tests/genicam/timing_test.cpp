// Image geometry and timing over GenICam: the window's height rule, optional features, bias
// selection and the skimming limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/sim_fixtures.h"

using sim::genicam::Fault;
using testutil::GicCamera;

namespace {
std::vector<std::string> Writes(const sim::genicam::Device& device) {
  std::vector<std::string> writes;
  for (const auto& access : device.Log()) {
    if (access.access == "set") writes.push_back(access.feature + "=" + access.value);
  }
  return writes;
}
}  // namespace

TEST(GicTiming, WindowHeightCountsOneRowMoreWithoutImageHeight) {
  GicCamera cam;
  ASSERT_EQ(tqvSetWindow(cam.handle(), 0, 64, 32, 320, 480), TQV_OK);
  EXPECT_EQ(Writes(cam.device()),
            (std::vector<std::string>{"OffsetX=0", "OffsetY=0", "Width=320", "Height=481",
                                      "OffsetX=64", "OffsetY=32"}));
  u16 x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(tqvGetWindow(cam.handle(), 3, &x, &y, &w, &h), TQV_OK);  // the preset is not used
  EXPECT_EQ(h, 480);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(x, 64);
  EXPECT_EQ(y, 32);

  GicCamera image("sim:image-size");
  ASSERT_EQ(tqvSetWindow(image.handle(), 0, 0, 0, 320, 480), TQV_OK);
  EXPECT_EQ(image.device().GetInt("ImageHeight"), 480);
  ASSERT_EQ(tqvGetWindow(image.handle(), 0, &x, &y, &w, &h), TQV_OK);
  EXPECT_EQ(h, 480);
}

TEST(GicTiming, AnyFailedWindowReadIsAGeneralFailure) {
  GicCamera cam;
  sim::genicam::FaultSpec fault;
  fault.feature = "OffsetY";
  fault.fault = Fault::Access;
  fault.access = "get";
  cam.device().InjectFault(fault);
  u16 x = 1, y = 1, w = 1, h = 1;
  EXPECT_EQ(tqvGetWindow(cam.handle(), 0, &x, &y, &w, &h), TQV_ERROR);
  EXPECT_EQ(x, 1);  // nothing written
}

TEST(GicTiming, WindowLimitsFromTheSizeFeatures) {
  GicCamera cam;
  u16 minW, maxW, minH, maxH, incX, incY;
  ASSERT_EQ(tqvGetWindowLimits(cam.handle(), &minW, &maxW, &minH, &maxH, &incX, &incY), TQV_OK);
  EXPECT_EQ(minW, 32);
  EXPECT_EQ(maxW, 640);
  EXPECT_EQ(minH, 4);  // "Height" minimum less one
  EXPECT_EQ(maxH, 512);
  EXPECT_EQ(incX, 8);
  EXPECT_EQ(incY, 2);
}

TEST(GicTiming, OptionalFeaturesAnswerForACameraWithoutThem) {
  GicCamera cam("sim:no-optional", 1);  // without "GainLevel" the constants are incomplete
  using Getter = uint32_t (*)(void*, uint8_t*);
  using Setter = uint32_t (*)(void*, uint8_t);
  struct Case {
    Getter get;
    Setter set;
  };
  const Case cases[] = {{&tqvGetPresetSequencingMode, &tqvSetPresetSequencingMode},
                        {&tqvGetActivePreset, &tqvSetActivePreset},
                        {&tqvGetGainLevel, &tqvSetGainLevel}};
  for (const Case& test : cases) {
    u8 value = 9;
    EXPECT_EQ(test.get(cam.handle(), &value), TQV_OK);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(test.set(cam.handle(), 0), TQV_OK);
    EXPECT_EQ(test.set(cam.handle(), 1), TQV_NOT_SUPPORTED);
  }
}

TEST(GicTiming, BiasIndexIsSelectedFirstWhenTheCameraHasOne) {
  GicCamera cam;
  float volts = 0;
  ASSERT_EQ(tqvGetFPABiasEx(cam.handle(), 1, &volts), TQV_OK);
  EXPECT_FLOAT_EQ(volts, 2.1f);
  EXPECT_EQ(Writes(cam.device()), (std::vector<std::string>{"DetectorBiasIndex=1"}));
  u8 count = 0;
  ASSERT_EQ(tqvGetFPABiasCount(cam.handle(), &count), TQV_OK);
  EXPECT_EQ(count, 2);

  cam.device().Remove("DetectorBiasIndex");
  cam.device().SetAvailable("DetectorBiasIndexMax", false);
  cam.device().ClearLog();
  ASSERT_EQ(tqvGetFPABiasEx(cam.handle(), 1, &volts), TQV_OK);  // no range check here
  EXPECT_TRUE(Writes(cam.device()).empty());
  ASSERT_EQ(tqvGetFPABiasCount(cam.handle(), &count), TQV_OK);
  EXPECT_EQ(count, 1);
}

TEST(GicTiming, SkimmingLimitsFallBackToTheirOwnFeatures) {
  GicCamera cam;
  float low = 0, high = 0;
  ASSERT_EQ(tqvGetSkimmingVoltageLimits(cam.handle(), &low, &high), TQV_OK);
  EXPECT_FLOAT_EQ(low, 0.5f);
  EXPECT_FLOAT_EQ(high, 4.5f);
  EXPECT_EQ(tqvGetVoltageLimits(cam.handle(), "nope", &low, &high), TQV_NOT_FOUND);

  GicCamera other;
  other.device().Remove("VoltageIndex");  // no voltage list at all
  other.device().SetFloat("SkimmingVoltageMin", 0.25);
  other.device().SetFloat("SkimmingVoltageMax", 2.0);
  ASSERT_EQ(tqvGetSkimmingVoltageLimits(other.handle(), &low, &high), TQV_OK);
  EXPECT_FLOAT_EQ(low, 0.25f);
  EXPECT_FLOAT_EQ(high, 2.0f);
}
