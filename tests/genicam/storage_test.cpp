// The GenICam stored configurations against the simulated device: commands executed and waited
// for, the calibration tag list read once, the correction file query's status and fallbacks, the
// look-up table through the file protocol, cameras without preset prefixes, lens states that
// follow the lens features, and every access of every operation failed in turn.
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

sim::genicam::Device& DeviceOfHandle(void* h) {
  zel::TSharedPtr<zel::cam::gic::IGenICam> device = static_cast<CTQVSDKGenICam*>(h)->gic();
  return *sim::genicam::DeviceOf(device.get());
}

}  // namespace

TEST_F(GicStored, CommandsAreExecutedAndWaitedFor) {
  GicCamera cam;
  void* h = cam.handle();
  ASSERT_EQ(tqvSaveStateAs(h, "waited"), TQV_OK);
  // The state's name goes first, then the command, polled until done every 250 ms.
  const std::vector<sim::genicam::Access> log = cam.device().Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[1].feature, "StateSaveName");
  EXPECT_EQ(log[1].value, "waited");
  EXPECT_EQ(cam.device().Count("StateSave", "execute"), 1u);
  EXPECT_EQ(cam.device().Count("StateSave", "isDone"), 4u);  // three polls, then done
  EXPECT_EQ(sleeps.Sleeps(), (std::vector<u32>{250, 250, 250}));
  EXPECT_EQ(cam.device().Count("StateSaveName", "set"), 1u);

  struct Case {
    const char* what;
    Op run;
    const char* command;
  };
  const Case cases[] = {
      {"UnloadNUC", [](void* h) { return tqvUnloadNUC(h, 2); }, "PS2CorrectionUnload"},
      {"UnloadCal", [](void* h) { return tqvUnloadCal(h, 3); }, "PS3CalibrationUnload"},
      {"LoadFactoryDefaults", &tqvLoadFactoryDefaults, "StateLoadFactoryDefaults"},
      {"SaveFactoryDefaults", &tqvSaveFactoryDefaults, "StateSaveFactoryDefaults"},
      {"LoadCal", [](void* h) { return tqvLoadCal(h, 0, "cal1"); }, "PS0CalibrationLoad"},
      {"LoadPalette", [](void* h) { return tqvLoadPalette(h, "grey"); }, "PaletteLoad"},
      {"ReloadLensState", &tqvReloadLensState, "LensStateLoad"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    cam.device().ClearLog();
    ASSERT_EQ(test.run(h), TQV_OK);
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

TEST_F(GicStored, LookupTablesComeThroughTheFileProtocol) {
  GicCamera cam;
  void* h = cam.handle();
  std::vector<double> first(16, -1), second(16, -1);
  ASSERT_EQ(tqvGetCalLookupTable(h, "cal0", first.data(), second.data(), 20), TQV_OK);
  const testutil::Bytes file = *cam.device().Files().Read("/FlashFS/calib/cal0.lut");
  EXPECT_EQ(std::memcmp(first.data(), file.data(), 128), 0);
  EXPECT_EQ(std::memcmp(second.data(), file.data() + 128, 128), 0);
  EXPECT_EQ(cam.device().Log("FileName", "set").back().value, "cal0");
  EXPECT_EQ(cam.device().Log("FileSelector", "set").front().value, "6");

  // Longer files give their first 16 x size bytes; shorter ones nothing.
  testutil::Bytes longer = file;
  longer.resize(300, 0xAB);
  ASSERT_EQ(cam.device().Files().Write("/FlashFS/calib/cal0.lut", longer), 0);
  ASSERT_EQ(tqvGetCalLookupTable(h, "cal0", first.data(), second.data(), 16), TQV_OK);
  EXPECT_EQ(std::memcmp(second.data(), file.data() + 128, 128), 0);
  ASSERT_EQ(cam.device().Files().Write("/FlashFS/calib/cal0.lut", testutil::Bytes(255, 1)), 0);
  EXPECT_EQ(tqvGetCalLookupTable(h, "cal0", first.data(), second.data(), 16), TQV_ERROR);
  EXPECT_EQ(tqvGetCalLookupTable(h, "cal7", first.data(), second.data(), 16), TQV_ERROR);
}

TEST_F(GicStored, QueryStatusAndFallbacks) {
  const tqvSNUCInfo made = testutil::DistinctNUCInfo();
  struct Case {
    const char* what;
    std::vector<const char*> missing;
    std::function<void(const tqvSNUCInfo&)> check;
  };
  const Case cases[] = {
      {"no split counts",
       {"CorrectionQueryBadPixelNew"},
       [&](const tqvSNUCInfo& info) {
         EXPECT_EQ(info.bpUser, made.bpUser);
         EXPECT_EQ(info.bpNew, made.bpTotal - made.bpUser);
       }},
      {"no skimming",
       {"CorrectionQuerySkimmingEnabled"},
       [](const tqvSNUCInfo& info) {
         EXPECT_FALSE(info.skimmingEnabled);
         EXPECT_EQ(info.skimmingVoltage, 0.0f);
       }},
      {"no colour",
       {"CorrectionQueryColor"},
       [](const tqvSNUCInfo& info) { EXPECT_EQ(info.color, 0); }},
      {"no detector biases",
       {"CorrectionQueryDetectorBiasIndexMax"},
       [](const tqvSNUCInfo& info) {
         EXPECT_EQ(info.fpaBiasCount, 1);
         EXPECT_EQ(info.fpaBias, 0.0f);
         EXPECT_EQ(info.fpaBias1, 0.0f);
       }},
      {"everything",
       {},
       [&](const tqvSNUCInfo& info) {
         EXPECT_EQ(info.bpNew, made.bpNew);
         EXPECT_EQ(info.fpaBiasCount, 2);
         EXPECT_EQ(info.fpaBias, made.fpaBias);
         EXPECT_EQ(info.fpaBias1, made.fpaBias1);
         EXPECT_EQ(info.skimmingVoltage, made.skimmingVoltage);
         EXPECT_EQ(info.color, made.color);
       }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    GicCamera cam;
    ASSERT_EQ(cam.device().Files().Write("/FlashFS/nuc/q.nuc", testutil::CorrectionFile(made)), 0);
    for (const char* feature : test.missing)
      ASSERT_TRUE(cam.device().Remove(feature));
    tqvSNUCInfo info{};
    ASSERT_EQ(tqvQueryNUCInfo(cam.handle(), "q", &info), TQV_OK);
    test.check(info);
    EXPECT_EQ(info.integrationWidth, made.integrationWidth);
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
  ASSERT_EQ(lacking.device().Files().Write("/FlashFS/nuc/q.nuc", testutil::CorrectionFile(made)),
            0);
  ASSERT_TRUE(lacking.device().Remove("CorrectionQueryADMax"));
  EXPECT_EQ(tqvQueryNUCInfo(lacking.handle(), "q", &info), TQV_ERROR);
  EXPECT_EQ(tqvQueryNUCBasicInfo(lacking.handle(), "q", &info), TQV_OK);
}

TEST_F(GicStored, CamerasWithoutPresetPrefixes) {
  GicCamera cam("sim:grabber");
  void* h = cam.handle();
  ASSERT_EQ(tqvSaveNUCAs(h, 0, "plain"), TQV_OK);
  EXPECT_EQ(cam.device().Count("CorrectionSave", "execute"), 1u);
  ASSERT_EQ(tqvLoadNUC(h, 0, "plain"), TQV_OK);
  char name[64];
  ASSERT_EQ(tqvGetNUCName(h, 0, name, sizeof name), TQV_OK);
  EXPECT_STREQ(name, "plain");
  ASSERT_EQ(tqvLoadCal(h, 0, "cal0"), TQV_OK);
  ASSERT_EQ(tqvGetCalTag(h, 0, name, sizeof name), TQV_OK);
  EXPECT_STREQ(name, "cal0");
}

TEST_F(GicStored, LensStatesFollowTheLensFeatures) {
  testutil::TempDir dir;
  const std::string profile = dir.File("lens.profile");
  const std::string text = "base sim\nint FocusPosition 100 min=0 max=5000\n";
  testutil::WriteFile(profile, testutil::Bytes(text.begin(), text.end()));
  GicCamera cam(("sim:file=" + profile).c_str());
  void* h = cam.handle();
  auto position = [&] { return cam.device().GetInt("FocusPosition"); };
  ASSERT_EQ(tqvSaveLensStateAs(h, "near"), TQV_OK);
  bool modified = true;
  ASSERT_EQ(tqvGetLensStateModified(h, &modified), TQV_OK);
  EXPECT_FALSE(modified);
  cam.device().SetInt("FocusPosition", 2500);
  ASSERT_EQ(tqvGetLensStateModified(h, &modified), TQV_OK);
  EXPECT_TRUE(modified);
  ASSERT_EQ(tqvLoadLensState(h, "near"), TQV_OK);
  EXPECT_EQ(position(), 100);
  ASSERT_EQ(tqvGetLensStateModified(h, &modified), TQV_OK);
  EXPECT_FALSE(modified);
  // The profile's lens state holds the profile's position.
  cam.device().SetInt("FocusPosition", 4000);
  ASSERT_EQ(tqvLoadLensState(h, "25mm"), TQV_OK);
  EXPECT_EQ(position(), 100);
}

TEST_F(GicStored, HardDefaultsPutBackTheProfile) {
  GicCamera cam;
  void* h = cam.handle();
  u32 before = 0, width = 0;
  ASSERT_EQ(tqvGetIntegrationWidth(h, 2, &before), TQV_OK);
  ASSERT_EQ(tqvSetIntegrationWidth(h, 2, before + 100), TQV_OK);
  ASSERT_EQ(tqvSaveFactoryDefaults(h), TQV_OK);
  ASSERT_EQ(gicExecute(cam.gic(), "StateLoadHardDefaults", true), TQV_OK);
  ASSERT_EQ(tqvGetIntegrationWidth(h, 2, &width), TQV_OK);
  EXPECT_EQ(width, before);
  double ms = 0;
  ASSERT_EQ(tqvGetIntegrationTime(h, 2, &ms), TQV_OK);
  EXPECT_DOUBLE_EQ(ms, before / 25000.0);  // the time follows its width
}

// --- Every access failed in turn -----------------------------------------------------------------

namespace {

void WithCorrection(void* h) {
  ASSERT_EQ(DeviceOfHandle(h).Files().Write("/FlashFS/nuc/sw.nuc",
                                            testutil::CorrectionFile(testutil::DistinctNUCInfo())),
            0);
  ASSERT_EQ(tqvLoadNUC(h, 1, "sw"), TQV_OK);
}

bool OptionalQueryFeature(const std::string& feature) {
  static const char* const kOptional[] = {"CorrectionQuerySkimmingEnabled",
                                          "CorrectionQuerySkimmingVoltage",
                                          "CorrectionQueryBadPixelFactory",
                                          "CorrectionQueryBadPixelNew",
                                          "CorrectionQueryColor",
                                          "CorrectionQueryDetectorBiasIndexMax",
                                          "CorrectionQueryDetectorBiasIndex",
                                          "CorrectionQueryDetectorBias"};
  for (const char* optional : kOptional) {
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
  const Case cases[] = {
      {"GetNUCName",
       [](void* h) {
         char name[64];
         return tqvGetNUCName(h, 1, name, sizeof name);
       },
       correction},
      {"LoadNUC", [](void* h) { return tqvLoadNUC(h, 2, "sw"); }, correction},
      {"SaveNUCAs", [](void* h) { return tqvSaveNUCAs(h, 1, "copy"); }, correction},
      {"SaveNUC", [](void* h) { return tqvSaveNUC(h, 1); }, correction},
      {"DeleteNUC", [](void* h) { return tqvDeleteNUC(h, "sw"); }, correction},
      {"RenameNUC", [](void* h) { return tqvRenameNUC(h, "sw", "sw2"); }, correction},
      {"NUCExists", [](void* h) { return tqvNUCExists(h, "sw"); }, correction},
      {"GetNUCFreeSpace",
       [](void* h) {
         u64 bytes;
         return tqvGetNUCFreeSpace(h, &bytes);
       },
       {}},
      {"QueryNUCBasicInfo",
       [](void* h) {
         tqvSNUCInfo info;
         return tqvQueryNUCBasicInfo(h, "sw", &info);
       },
       correction},
      {"QueryNUCInfo",
       [](void* h) {
         tqvSNUCInfo info;
         return tqvQueryNUCInfo(h, "sw", &info);
       },
       query},
      {"LoadState", [](void* h) { return tqvLoadState(h, "power-up"); }, {}},
      {"SaveState", &tqvSaveState, {}},
      {"RenameState", [](void* h) { return tqvRenameState(h, "bench", "b2"); }, {}},
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
      {"GetCalInfo",
       [](void* h) {
         tqvSCalInfo info{};
         const u32 result = tqvGetCalInfo(h, "cal1", &info, true);
         tqvFree(info.lutX);
         tqvFree(info.lutY);
         return result;
       },
       transfer},
      {"CalExists", [](void* h) { return tqvCalExists(h, "cal1"); }, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    testutil::SweepGenICam([&](void* h, bool) { return test.run(h); }, test.options);
  }
}
