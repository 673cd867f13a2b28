// Correction control over GenICam where the features matter: cameras without correction presets
// or preset features, the order of the bad-pixel writes, which commands are waited for, stand-in
// features, and the factory correction list read once.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"

using sim::genicam::Fault;
using sim::genicam::FeatureSpec;
using sim::genicam::Kind;
using testutil::GicCamera;

namespace {

using Strings = std::vector<std::string>;

Strings Writes(const sim::genicam::Device& device) {
  Strings writes;
  for (const auto& access : device.Log()) {
    if (access.access == "set" || access.access == "execute")
      writes.push_back(access.feature + (access.access == "set" ? "=" + access.value : "()"));
  }
  return writes;
}

}  // namespace

TEST(GicNuc, ACameraWithoutCorrectionPresetsCorrectsPresetZero) {
  GicCamera cam;
  void* h = cam.handle();
  ASSERT_TRUE(cam.device().Remove("CorrectionPS0"));
  bool p[4] = {false, true, true, true};
  ASSERT_EQ(tqvGetNUCPresets(h, &p[0], &p[1], &p[2], &p[3]), TQV_OK);
  EXPECT_EQ(std::vector<bool>(p, p + 4), (std::vector<bool>{true, false, false, false}));
  // Only preset 0 alone is accepted, and nothing is written.
  EXPECT_EQ(tqvSetNUCPresets(h, true, false, false, false), TQV_OK);
  EXPECT_EQ(tqvSetNUCPresets(h, true, true, false, false), 2u);
  EXPECT_EQ(tqvSetNUCPresets(h, false, false, false, false), 2u);
  EXPECT_EQ(tqvSetNUCPreset(h, 1), 2u);
  EXPECT_TRUE(Writes(cam.device()).empty());
  u8 preset = 9;
  ASSERT_EQ(tqvGetNUCPreset(h, &preset), TQV_OK);
  EXPECT_EQ(preset, 0);
}

// Without a preset feature a bad-pixel operation takes preset 0 (and -1 where it means every
// preset); other presets are refused before anything is written.
TEST(GicNuc, BadPixelOperationsWithoutAPresetFeature) {
  struct Case {
    const char* feature;
    std::function<u32(void* h, int preset)> run;
    std::vector<int> accepted, refused;
  };
  const Case cases[] = {
      {"BadPixelPickerPreset",
       [](void* h, int p) { return tqvPickBadPixel(h, 1, 2, static_cast<i8>(p), true); },
       {0, -1},
       {2, 1, -2}},
      {"MfgBadPixelListPreset",  // saving and loading alike
       [](void* h, int p) { return tqvSaveBadPixelList(h, static_cast<u8>(p), "l.bpl"); },
       {0},
       {1, 3, 255}},
      {"MfgFactoryBadPixelListPreset",
       [](void* h, int p) { return tqvMfgFactoryBPLApply(h, static_cast<i8>(p)); },
       {0, -1},
       {3}},
  };
  testutil::SleepRecorder noWaiting;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.feature);
    GicCamera cam;
    ASSERT_EQ(tqvSaveBadPixelList(cam.handle(), 0, "l.bpl"), TQV_OK);
    ASSERT_TRUE(cam.device().Remove(c.feature));
    for (int preset : c.accepted) {
      EXPECT_EQ(c.run(cam.handle(), preset), TQV_OK) << preset;
    }
    cam.device().ClearLog();
    for (int preset : c.refused) {
      EXPECT_EQ(c.run(cam.handle(), preset), 2u) << preset;
    }
    EXPECT_TRUE(Writes(cam.device()).empty());
  }
}

// The picker's -1 reaches the camera in the C interface tests.
TEST(GicNuc, BadPixelOperationsWriteTheirPresetFirst) {
  testutil::SleepRecorder noWaiting;
  GicCamera cam;
  ASSERT_EQ(tqvMfgFactoryBPLCreate(cam.handle(), -1), TQV_OK);
  ASSERT_EQ(tqvSaveBadPixelList(cam.handle(), 3, "p3.bpl"), TQV_OK);
  EXPECT_EQ(
      Writes(cam.device()),
      (Strings{"MfgFactoryBadPixelListPreset=-1", "MfgFactoryBadPixelListCreate()",
               "MfgBadPixelListPreset=3", "MfgBadPixelListFile=p3.bpl", "MfgBadPixelListSave()"}));
}

// The correction's own commands return once the camera has them; the bad-pixel ones are waited
// for (every 250 ms).
TEST(GicNuc, OnlyTheBadPixelCommandsAreWaitedFor) {
  struct Case {
    const char* command;
    std::function<u32(void* h)> run;
    bool waited;
  };
  const Case cases[] = {
      {"CorrectionStart", [](void* h) { return tqvStartNUC(h); }, false},
      {"CorrectionContinue", [](void* h) { return tqvContinueNUC(h); }, false},
      {"CorrectionAbort", [](void* h) { return tqvAbortNUC(h); }, false},
      {"CorrectionAccept", [](void* h) { return tqvAcceptNUC(h); }, false},
      {"CorrectionDiscard", [](void* h) { return tqvDiscardNUC(h); }, false},
      {"CorrectionAutoPerform", [](void* h) { return tqvDoAutoNUC(h); }, false},
      {"BadPixelPickerPick", [](void* h) { return tqvPickBadPixel(h, 0, 0, 0, true); }, true},
      {"MfgBadPixelListSave", [](void* h) { return tqvSaveBadPixelList(h, 0, "w.bpl"); }, true},
      {"MfgFactoryBadPixelListAppend", [](void* h) { return tqvMfgFactoryBPLAppend(h, 0); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    testutil::SleepRecorder sleeps;
    GicCamera cam;
    cam.device().SetPollsUntilDone(c.command, 3);
    ASSERT_EQ(c.run(cam.handle()), TQV_OK);
    EXPECT_EQ(cam.device().ExecuteCount(c.command), 1);
    EXPECT_EQ(cam.device().Count(c.command, "isDone"), c.waited ? 4u : 0u);
    EXPECT_EQ(sleeps.Sleeps(), c.waited ? std::vector<u32>(3, 250) : std::vector<u32>{});
  }
}

// A camera without correction presets names its counts without a preset ("PS1"): the C interface
// tests read those of presets 0, 1 and 3.
TEST(GicNuc, CountsOfACameraWithoutPresetsCarryNoPresetName) {
  GicCamera cam("sim:grabber");
  cam.device().SetInt("CorrectionBadPixelTotal", 50);
  cam.device().SetInt("CorrectionBadPixelBelowADMinSource2", 3);
  cam.device().SetInt("CorrectionBadPixelNew", 41);
  u32 v[10] = {};
  ASSERT_EQ(tqvGetNUCResults(cam.handle(), 0, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
                             &v[7], &v[8], &v[9]),
            TQV_OK);
  EXPECT_EQ(std::vector<u32>({v[0], v[2], v[9]}), (std::vector<u32>{50, 41, 3}));
}

TEST(GicNuc, TheDigitalOutputEnableFallsBackToTheCommonFeature) {
  GicCamera cam;
  ASSERT_TRUE(cam.device().Remove("CorrectionDigitalEnabled"));
  ASSERT_EQ(tqvSetDigitalOutputNUCEnabled(cam.handle(), false), TQV_OK);
  EXPECT_FALSE(cam.device().GetBool("CorrectionEnabled"));
  cam.device().SetBool("CorrectionEnabled", true);
  bool on = false;
  ASSERT_EQ(tqvGetDigitalOutputNUCEnabled(cam.handle(), &on), TQV_OK);
  EXPECT_TRUE(on);
  // With its own feature, the digital output leaves the common one alone.
  GicCamera own;
  ASSERT_EQ(tqvSetDigitalOutputNUCEnabled(own.handle(), false), TQV_OK);
  EXPECT_TRUE(own.device().GetBool("CorrectionEnabled"));
}

// The calibrations name their corrections; the list is read once per handle.
TEST(GicNuc, FactoryCorrectionsAreTheCalibrationsOwnReadOnce) {
  testutil::SleepRecorder noWaiting;  // the time-outs' retries
  GicCamera cam;
  sim::genicam::Device& device = cam.device();
  FeatureSpec index;
  index.name = "CalibrationQueryIndex";
  index.intMin = 0;
  index.intMax = 2;
  device.Add(index);
  FeatureSpec correction;
  correction.name = "CalibrationQueryCorrection";
  correction.kind = Kind::String;
  correction.writable = false;
  correction.selector = "CalibrationQueryIndex";
  device.Add(correction);
  const char* names[] = {"office", "lab.v2", "hot"};
  for (int i = 0; i < 3; ++i) {
    device.SetInt("CalibrationQueryIndex", i);
    device.SetString("CalibrationQueryCorrection", names[i]);
  }
  device.InjectFault({"CalibrationQueryCorrection", Fault::Timeout, 3, 1, "get"});
  bool factory = true;
  EXPECT_EQ(tqvIsFactoryNUC(cam.handle(), "office", &factory), 1u);
  EXPECT_TRUE(factory);  // nothing given out
  device.ClearLog();

  struct Case {
    const char* name;
    bool factory;
  };
  const Case cases[] = {{"office", true},  {"hot", true},         {"lab.v2", true},
                        {"Office", false}, {"office.nuc", false}, {"cold", false}};
  for (const Case& c : cases) {
    factory = !c.factory;
    ASSERT_EQ(tqvIsFactoryNUC(cam.handle(), c.name, &factory), TQV_OK);
    EXPECT_EQ(factory, c.factory) << c.name;
  }
  // The failed attempt left the list unfilled, so the first call above read it whole, once.
  EXPECT_EQ(device.Count("CalibrationQueryCorrection", "get"), 3u);
}
