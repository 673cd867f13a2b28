// The GenICam stored configurations against the simulated device: commands executed and waited
// for, the calibration tag list read once, the correction file query's status and fallbacks, the
// look-up table from files of any length, lens states that follow the lens features, and every
// access of every operation failed in turn.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "common/stored_files.h"
#include "common/testutil.h"
#include "common/transfers.h"
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"

using testutil::GicCamera;

namespace {

using Op = std::function<u32(void* h)>;

class GicStored : public ::testing::Test {
 protected:
  testutil::SleepRecorder sleeps;
  testutil::LogCapture quiet;
};

}  // namespace

TEST_F(GicStored, CommandsAreExecutedAndWaitedFor) {
  struct Case {
    const char* what;
    Op run;
    const char* command;
  };
  const Case cases[] = {
      {"SaveStateAs", [](void* h) { return tqvSaveStateAs(h, "waited"); }, "StateSave"},
      {"UnloadNUC", [](void* h) { return tqvUnloadNUC(h, 2); }, "PS2CorrectionUnload"},
      {"UnloadCal", [](void* h) { return tqvUnloadCal(h, 3); }, "PS3CalibrationUnload"},
      {"LoadFactoryDefaults", &tqvLoadFactoryDefaults, "StateLoadFactoryDefaults"},
      {"SaveFactoryDefaults", &tqvSaveFactoryDefaults, "StateSaveFactoryDefaults"},
      {"LoadCal", [](void* h) { return tqvLoadCal(h, 0, "cal1"); }, "PS0CalibrationLoad"},
      {"LoadPalette", [](void* h) { return tqvLoadPalette(h, "grey"); }, "PaletteLoad"},
      {"ReloadLensState", &tqvReloadLensState, "LensStateLoad"},
  };
  GicCamera cam;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    cam.device().ClearLog();
    ASSERT_EQ(test.run(cam.handle()), TQV_OK);
    EXPECT_EQ(cam.device().Count(test.command, "execute"), 1u);
    const std::vector<sim::genicam::Access> waits = cam.device().Log(test.command, "isDone");
    ASSERT_FALSE(waits.empty());
    EXPECT_EQ(waits.back().value, "true");
  }
}

TEST_F(GicStored, TheCalibrationListIsReadOnce) {
  GicCamera cam;
  void* h = cam.handle();
  zel::TArray<zel::CString> tags;
  ASSERT_EQ(tqvGetCalTags(h, tags), TQV_OK);
  EXPECT_EQ(cam.device().Count("CalibrationQueryTag", "get"), 2u);
  cam.device().ClearLog();
  ASSERT_EQ(tqvGetCalTags(h, tags), TQV_OK);
  EXPECT_EQ(tags.GetCount(), 2u);
  EXPECT_EQ(tqvCalExists(h, "cal1"), TQV_OK);
  EXPECT_EQ(tqvCalExists(h, "CAL1"), TQV_ERROR);  // tags compare as written
  EXPECT_TRUE(cam.device().Log().empty());
  // A query selects its calibration first, by its place in the list.
  u32 size = 0;
  ASSERT_EQ(tqvGetCalLookupTableSize(h, "cal1", &size), TQV_OK);
  EXPECT_EQ(size, 8u);
  const std::vector<sim::genicam::Access> log = cam.device().Log();
  ASSERT_EQ(log.size(), 4u);  // lookup, set, lookup, get
  EXPECT_EQ(log[1].feature, "CalibrationQueryIndex");
  EXPECT_EQ(log[1].value, "1");
  // A list that cannot be read is read again next time.
  GicCamera failing;
  failing.device().InjectFault(
      {"CalibrationQueryTag", sim::genicam::Fault::RuntimeError, 1, 0, ""});
  EXPECT_EQ(tqvGetCalTags(failing.handle(), tags), TQV_FAILED);
  EXPECT_EQ(tags.GetCount(), 0u);
  EXPECT_EQ(tqvGetCalTags(failing.handle(), tags), TQV_OK);
  EXPECT_EQ(tags.GetCount(), 2u);
}

// Files longer than the table give their first 16 x size bytes; shorter ones nothing.
TEST_F(GicStored, LookupTablesFromFilesOfAnyLength) {
  GicCamera cam;
  void* h = cam.handle();
  const std::string path = "/FlashFS/calib/cal0.lut";
  const testutil::Bytes file = *cam.device().Files().Read(path);
  testutil::Bytes longer = file;
  longer.resize(300, 0xAB);
  ASSERT_EQ(cam.device().Files().Write(path, longer), 0);
  std::vector<double> first(16, -1), second(16, -1);
  ASSERT_EQ(tqvGetCalLookupTable(h, "cal0", first.data(), second.data(), 20), TQV_OK);
  EXPECT_EQ(std::memcmp(first.data(), file.data(), 128), 0);
  EXPECT_EQ(std::memcmp(second.data(), file.data() + 128, 128), 0);
  ASSERT_EQ(cam.device().Files().Write(path, testutil::Bytes(255, 1)), 0);
  EXPECT_EQ(tqvGetCalLookupTable(h, "cal0", first.data(), second.data(), 16), TQV_ERROR);
  EXPECT_EQ(tqvGetCalLookupTable(h, "cal7", first.data(), second.data(), 16), TQV_ERROR);
}

TEST_F(GicStored, QueryStatusAndFallbacks) {
  struct Case {
    const char* feature;  // missing
    void (*fallBack)(tqvSNUCInfo& expected);
  };
  const Case cases[] = {
      {"CorrectionQueryBadPixelNew", [](tqvSNUCInfo& e) { e.bpNew = e.bpTotal - e.bpUser; }},
      {"CorrectionQuerySkimmingEnabled",
       [](tqvSNUCInfo& e) {
         e.skimmingEnabled = false;
         e.skimmingVoltage = 0.0f;
       }},
      {"CorrectionQueryColor", [](tqvSNUCInfo& e) { e.color = 0; }},
      {"CorrectionQueryDetectorBiasIndexMax",
       [](tqvSNUCInfo& e) {
         e.fpaBiasCount = 1;
         e.fpaBias = e.fpaBias1 = 0.0f;
       }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.feature);
    GicCamera cam;
    ASSERT_NO_FATAL_FAILURE(testutil::PutCorrection(cam.device(), "q"));
    ASSERT_TRUE(cam.device().Remove(test.feature));
    tqvSNUCInfo info{};
    ASSERT_EQ(tqvQueryNUCInfo(cam.handle(), "q", &info), TQV_OK);
    tqvSNUCInfo expected = testutil::Queried(testutil::DistinctNUCInfo());
    test.fallBack(expected);
    testutil::ExpectSameInfo(info, expected);
  }
  // A status other than success fills nothing; a required feature missing fails the query.
  GicCamera cam;
  cam.device().OnExecute("CorrectionQueryExecute", [](sim::genicam::Device& d, const std::string&) {
    d.SetInt("CorrectionQueryStatus", 9);
  });
  tqvSNUCInfo info{};
  EXPECT_EQ(tqvQueryNUCBasicInfo(cam.handle(), "office", &info), TQV_ERROR);
  EXPECT_EQ(info.windowWidth, 0);
  GicCamera lacking;
  ASSERT_NO_FATAL_FAILURE(testutil::PutCorrection(lacking.device(), "q"));
  ASSERT_TRUE(lacking.device().Remove("CorrectionQueryADMax"));
  EXPECT_EQ(tqvQueryNUCInfo(lacking.handle(), "q", &info), TQV_ERROR);
  EXPECT_EQ(tqvQueryNUCBasicInfo(lacking.handle(), "q", &info), TQV_OK);
}

// The simulated camera keeps the lens position in a lens state.
TEST_F(GicStored, LensStatesFollowTheLensFeatures) {
  testutil::TempDir dir;
  const std::string profile = dir.File("lens.profile");
  const std::string text = "base sim\nint FocusPosition 100 min=0 max=5000\n";
  testutil::WriteFile(profile, testutil::Bytes(text.begin(), text.end()));
  GicCamera cam(("sim:file=" + profile).c_str());
  void* h = cam.handle();
  ASSERT_EQ(tqvSaveLensStateAs(h, "near"), TQV_OK);
  cam.device().SetInt("FocusPosition", 2500);
  bool modified = false;
  ASSERT_EQ(tqvGetLensStateModified(h, &modified), TQV_OK);
  EXPECT_TRUE(modified);
  ASSERT_EQ(tqvLoadLensState(h, "near"), TQV_OK);
  EXPECT_EQ(cam.device().GetInt("FocusPosition"), 100);
  ASSERT_EQ(tqvGetLensStateModified(h, &modified), TQV_OK);
  EXPECT_FALSE(modified);
}

// --- Every access failed in turn -----------------------------------------------------------------

namespace {

void WithCorrection(void* h) {
  zel::TSharedPtr<zel::cam::gic::IGenICam> device = static_cast<CTQVSDKGenICam*>(h)->gic();
  testutil::PutCorrection(*sim::genicam::DeviceOf(device.get()), "sw");
  ASSERT_EQ(tqvLoadNUC(h, 1, "sw"), TQV_OK);
}

bool OptionalQueryFeature(const std::string& feature) {
  for (const char* optional : {"CorrectionQuerySkimmingEnabled", "CorrectionQuerySkimmingVoltage",
                               "CorrectionQueryBadPixelFactory", "CorrectionQueryBadPixelNew",
                               "CorrectionQueryColor", "CorrectionQueryDetectorBiasIndexMax",
                               "CorrectionQueryDetectorBiasIndex", "CorrectionQueryDetectorBias"}) {
    if (feature == optional) return true;
  }
  return false;
}

}  // namespace

TEST_F(GicStored, EveryAccessOfEveryOperationFailsInTurn) {
  struct Case {
    const char* what;
    Op run;
    testutil::SweepOptions options;
  };
  testutil::SweepOptions correction;
  correction.prepare = &WithCorrection;
  testutil::SweepOptions query = correction;
  query.tolerated = &OptionalQueryFeature;
  // A transfer closes the camera file after a failure.
  testutil::SweepOptions transfer;
  transfer.stopsAtFailure = false;
  // The other kinds' files go through the same file protocol steps as a correction file's.
  const Case cases[] = {
      {"LoadNUC", [](void* h) { return tqvLoadNUC(h, 2, "sw"); }, correction},
      {"SaveNUCAs", [](void* h) { return tqvSaveNUCAs(h, 1, "copy"); }, correction},
      {"SaveNUC", [](void* h) { return tqvSaveNUC(h, 1); }, correction},
      {"DeleteNUC", [](void* h) { return tqvDeleteNUC(h, "sw"); }, correction},
      {"RenameNUC", [](void* h) { return tqvRenameNUC(h, "sw", "sw2"); }, correction},
      {"NUCExists", [](void* h) { return tqvNUCExists(h, "sw"); }, correction},
      {"GetNUCFreeSpace", &testutil::NUCFreeSpace, {}},
      {"QueryNUCBasicInfo", [](void* h) { return testutil::QueryNUC(h, "sw", false); }, correction},
      {"QueryNUCInfo", [](void* h) { return testutil::QueryNUC(h, "sw"); }, query},
      {"LoadState", [](void* h) { return tqvLoadState(h, "power-up"); }, {}},
      {"SaveState", &tqvSaveState, {}},
      {"LoadLensState", [](void* h) { return tqvLoadLensState(h, "25mm"); }, {}},
      {"SaveLensState", &tqvSaveLensState, {}},
      {"ReloadLensState", &tqvReloadLensState, {}},
      {"LoadPalette", [](void* h) { return tqvLoadPalette(h, "grey"); }, {}},
      {"LoadCal", [](void* h) { return tqvLoadCal(h, 1, "cal0"); }, {}},
      {"GetCalTags",
       [](void* h) {
         zel::TArray<zel::CString> tags;
         return tqvGetCalTags(h, tags);
       },
       {}},
      {"GetCalName",
       [](void* h) {
         char name[64];
         return tqvGetCalName(h, "cal1", name, sizeof name);
       },
       {}},
      {"GetCalInfo", [](void* h) { return testutil::CalInfoWithTables(h, "cal1"); }, transfer},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    testutil::SweepGenICam([&](void* h, bool) { return test.run(h); }, test.options);
  }
}
