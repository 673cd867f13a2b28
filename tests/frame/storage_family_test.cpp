// Stored configurations through the C interface on both simulated cameras: states that really
// hold the camera's settings, factory defaults, correction files made on the host and used on the
// camera, lens states, palettes, calibrations with their look-up tables, and two threads on one
// handle.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/stored_files.h"
#include "common/testutil.h"
#include "common/transfers.h"

using ::testing::Contains;
using ::testing::Not;
using testutil::AnyCamera;
using testutil::Backend;
using testutil::Bytes;
using testutil::Listed;

namespace {

std::optional<Bytes> File(const AnyCamera& camera, const std::string& path) {
  return camera.tree() ? camera.tree()->Files().Data(path) : camera.device()->Files().Read(path);
}

void Put(const AnyCamera& camera, const std::string& path, const Bytes& bytes) {
  if (camera.tree()) {
    ASSERT_EQ(camera.tree()->Files().Put(path, bytes), 0u);
  } else {
    ASSERT_EQ(camera.device()->Files().Write(path, bytes), 0);
  }
}

void Remove(const AnyCamera& camera, const std::string& path) {
  if (camera.tree()) {
    camera.tree()->Files().DeleteFile(path);
  } else {
    camera.device()->Files().SetReadOnly(path, false);
    camera.device()->Files().Remove(path);
  }
}

class StorageFamily : public ::testing::TestWithParam<Backend> {
 protected:
  testutil::SleepRecorder sleeps;  // execute-and-wait polls
  testutil::LogCapture log;        // the lines of commands the camera refuses
  AnyCamera camera{GetParam()};
  void* h = camera.handle();
};

std::string Text(u32 (*get)(void*, char*, i32), void* h) {
  char buffer[512] = "untouched";
  EXPECT_EQ(get(h, buffer, sizeof buffer), TQV_OK);
  return buffer;
}

std::string PresetText(u32 (*get)(void*, u8, char*, i32), void* h, u8 preset) {
  char buffer[512] = "untouched";
  EXPECT_EQ(get(h, preset, buffer, sizeof buffer), TQV_OK);
  return buffer;
}

// --- Settings of several families, each with two values to tell apart ---------------------------

using Values = std::vector<double>;

struct Setting {
  const char* name;
  u32 (*set)(void* h, int which);  // which: 0 or 1
  std::function<Values(void* h)> get;
};

template <typename T>
std::function<Values(void*)> Reader(u32 (*get)(void*, T*)) {
  return [get](void* h) {
    T value{};
    EXPECT_EQ(get(h, &value), TQV_OK);
    return Values{static_cast<double>(value)};
  };
}

// Geometry and timing of presets, the image, synchronisation and the cooler setpoint.
const Setting kSettings[] = {
    {"window of preset 1",
     [](void* h, int w) {
       return w ? tqvSetWindow(h, 1, 0, 0, 640, 512) : tqvSetWindow(h, 1, 64, 32, 320, 240);
     },
     [](void* h) {
       u16 x = 0, y = 0, width = 0, height = 0;
       EXPECT_EQ(tqvGetWindow(h, 1, &x, &y, &width, &height), TQV_OK);
       return Values{double(x), double(y), double(width), double(height)};
     }},
    {"integration width of preset 2",
     [](void* h, int w) { return tqvSetIntegrationWidth(h, 2, w ? 40000 : 30000); },
     [](void* h) {
       u32 width = 0;
       EXPECT_EQ(tqvGetIntegrationWidth(h, 2, &width), TQV_OK);
       return Values{double(width)};
     }},
    {"invert", [](void* h, int w) { return tqvSetInvertEnabled(h, w == 0); },
     Reader(&tqvGetInvertEnabled)},
    {"trigger delay", [](void* h, int w) { return tqvSetTriggerDelay(h, w ? 40.0f : 12.5f); },
     Reader(&tqvGetTriggerDelay)},
    {"cooler setpoint",
     [](void* h, int w) { return tqvSetFPAColdTemperature(h, w ? 90.0f : 80.0f); },
     Reader(&tqvGetFPAColdTemperature)},
};

void SetAll(void* h, int which) {
  for (const Setting& setting : kSettings)
    ASSERT_EQ(setting.set(h, which), TQV_OK) << setting.name;
}

std::vector<Values> ReadAll(void* h) {
  std::vector<Values> all;
  for (const Setting& setting : kSettings)
    all.push_back(setting.get(h));
  return all;
}

}  // namespace

// --- States --------------------------------------------------------------------------------------

TEST_P(StorageFamily, AStateHoldsTheSettingsOfEveryFamily) {
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 0));
  const auto saved = ReadAll(h);
  ASSERT_EQ(tqvSaveStateAs(h, "bench2"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetStateName, h), "bench2");
  EXPECT_THAT(Listed(&tqvListStates, h), Contains("bench2"));
  EXPECT_EQ(tqvStateExists(h, "bench2"), TQV_OK);
  u32 size = 0;
  ASSERT_EQ(tqvGetStateFileInfo(h, "bench2", &size, nullptr), TQV_OK);
  EXPECT_EQ(size, File(camera, "/FlashFS/states/bench2.rsc")->size());

  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  const auto changed = ReadAll(h);
  for (std::size_t i = 0; i < saved.size(); ++i)
    ASSERT_NE(saved[i], changed[i]) << kSettings[i].name;
  ASSERT_EQ(tqvLoadState(h, "bench2"), TQV_OK);
  EXPECT_EQ(ReadAll(h), saved);

  // Saving under the current name keeps the state's file up to date.
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  ASSERT_EQ(tqvSaveState(h), TQV_OK);
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 0));
  ASSERT_EQ(tqvLoadState(h, "bench2.rsc"), TQV_OK);
  EXPECT_EQ(ReadAll(h), changed);
}

TEST_P(StorageFamily, StatesByNameAndStatesThatCannotBeLoaded) {
  ASSERT_EQ(tqvSaveStateAs(h, "old"), TQV_OK);
  ASSERT_EQ(tqvRenameState(h, "old", "new"), TQV_OK);
  EXPECT_NE(tqvStateExists(h, "old"), TQV_OK);
  EXPECT_EQ(tqvStateExists(h, "new"), TQV_OK);
  ASSERT_EQ(tqvDeleteState(h, "new"), TQV_OK);
  EXPECT_NE(tqvStateExists(h, "new"), TQV_OK);
  EXPECT_THAT(Listed(&tqvListStates, h), Not(Contains("new")));

  // A missing state, and a file that holds no settings, change nothing.
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  const auto before = ReadAll(h);
  const std::string current = Text(&tqvGetStateName, h);
  EXPECT_NE(tqvLoadState(h, "missing"), TQV_OK);
  Put(camera, "/FlashFS/states/junk.rsc", testutil::RandomBytes(300, 3));
  EXPECT_NE(tqvLoadState(h, "junk"), TQV_OK);
  EXPECT_EQ(ReadAll(h), before);
  EXPECT_EQ(Text(&tqvGetStateName, h), current);
}

TEST_P(StorageFamily, FactoryDefaultsRestoreTheProfileAndTakeWhatIsSaved) {
  const auto profile = ReadAll(h);
  bool factory = true;
  ASSERT_EQ(tqvIsFactoryDefaultState(h, &factory), TQV_OK);
  EXPECT_FALSE(factory);

  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  ASSERT_EQ(tqvLoadFactoryDefaults(h), TQV_OK);
  EXPECT_EQ(ReadAll(h), profile);
  ASSERT_EQ(tqvIsFactoryDefaultState(h, &factory), TQV_OK);
  EXPECT_TRUE(factory);

  ASSERT_NO_FATAL_FAILURE(SetAll(h, 0));
  const auto saved = ReadAll(h);
  ASSERT_EQ(tqvSaveFactoryDefaults(h), TQV_OK);
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  ASSERT_EQ(tqvLoadFactoryDefaults(h), TQV_OK);
  EXPECT_EQ(ReadAll(h), saved);
  u32 size = 0;
  ASSERT_EQ(tqvGetFactoryDefaultStateFileInfo(h, &size, nullptr), TQV_OK);
  EXPECT_EQ(size, File(camera, "/FlashFS/factory/default.rsc")->size());

  // Hard defaults are the profile's, whatever the factory default state holds.
  ASSERT_EQ(tqvLoadHardDefaults(h), TQV_OK);
  EXPECT_EQ(ReadAll(h), profile);

  // Without its file the factory default state cannot be loaded, and nothing changes.
  Remove(camera, "/FlashFS/factory/default.rsc");
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  const auto before = ReadAll(h);
  EXPECT_EQ(tqvLoadFactoryDefaults(h), TQV_FAILED);
  EXPECT_EQ(ReadAll(h), before);
}

// --- Correction files ----------------------------------------------------------------------------

TEST_P(StorageFamily, ACorrectionFileFromTheHostIsListedQueriedRenamedLoadedAndDeleted) {
  const tqvSNUCInfo made = testutil::DistinctNUCInfo();
  const Bytes file = testutil::CorrectionFile(made);
  testutil::TempDir dir;
  const std::string host = dir.File("bench run.nuc");
  testutil::WriteFile(host, file);
  ASSERT_EQ(tqvUploadNUCStdC(h, host.c_str(), nullptr, nullptr), TQV_OK);
  // The host file's name, listing and size: transfers_test.cpp.
  EXPECT_EQ(tqvNUCExists(h, "bench run"), TQV_OK);

  tqvSNUCInfo read{};
  ASSERT_EQ(tqvQueryNUCInfo(h, "bench run", &read), TQV_OK);
  {
    SCOPED_TRACE("full query");
    testutil::ExpectSameInfo(read, testutil::Queried(made));
  }
  tqvSNUCInfo basic{}, expected{};
  ASSERT_EQ(tqvQueryNUCBasicInfo(h, "bench run", &basic), TQV_OK);
  tqvDefaultNUCInfo(&expected);
  expected.windowWidth = made.windowWidth;
  expected.windowHeight = made.windowHeight;
  expected.integrationWidth = made.integrationWidth;
  {
    SCOPED_TRACE("basic query");
    testutil::ExpectSameInfo(basic, expected);
  }

  ASSERT_EQ(tqvRenameNUC(h, "bench run", "bench"), TQV_OK);
  EXPECT_NE(tqvNUCExists(h, "bench run"), TQV_OK);
  EXPECT_THAT(Listed(&tqvListNUCs, h), Contains("bench"));

  ASSERT_EQ(tqvLoadNUC(h, 1, "bench"), TQV_OK);
  EXPECT_EQ(PresetText(&tqvGetNUCName, h, 1), "bench");
  // Saving the preset writes the correction it holds under the new name.
  ASSERT_EQ(tqvSaveNUCAs(h, 1, "copy"), TQV_OK);
  EXPECT_EQ(PresetText(&tqvGetNUCName, h, 1), "copy");
  const std::string down = dir.File("copy.nuc");
  ASSERT_EQ(tqvDownloadNUCStdC(h, "copy", down.c_str(), nullptr, nullptr), TQV_OK);
  EXPECT_EQ(testutil::ReadFile(down), file);
  ASSERT_EQ(tqvSaveNUC(h, 1), TQV_OK);  // under its own name
  ASSERT_EQ(tqvUnloadNUC(h, 1), TQV_OK);
  EXPECT_EQ(PresetText(&tqvGetNUCName, h, 1), "");

  ASSERT_EQ(tqvDeleteNUC(h, "bench"), TQV_OK);
  EXPECT_NE(tqvNUCExists(h, "bench"), TQV_OK);
  EXPECT_THAT(Listed(&tqvListNUCs, h), Not(Contains("bench")));
  // Loading what is gone, or a file that is no correction, leaves the preset as it was.
  EXPECT_NE(tqvLoadNUC(h, 1, "bench"), TQV_OK);
  EXPECT_NE(tqvLoadNUC(h, 1, "lab.v2"), TQV_OK);
  EXPECT_EQ(PresetText(&tqvGetNUCName, h, 1), "");
  read = tqvSNUCInfo{};
  EXPECT_EQ(tqvQueryNUCInfo(h, "bench", &read), TQV_ERROR);
  EXPECT_EQ(tqvQueryNUCInfo(h, "lab.v2", &read), TQV_ERROR);
  EXPECT_EQ(read.windowWidth, 0) << "a failed query fills nothing";
}

// The camera makes the file from the preset's settings.
TEST_P(StorageFamily, APresetWithoutACorrectionSavesOneOfItsSettings) {
  ASSERT_EQ(tqvSetWindow(h, 3, 64, 32, 320, 240), TQV_OK);
  ASSERT_EQ(tqvSetIntegrationWidth(h, 3, 31000), TQV_OK);
  ASSERT_EQ(tqvSaveNUCAs(h, 3, "fresh"), TQV_OK);
  testutil::TempDir dir;
  const std::string down = dir.File("fresh.nuc");
  ASSERT_EQ(tqvDownloadNUCStdC(h, "fresh", down.c_str(), nullptr, nullptr), TQV_OK);
  tqvSNUCInfo file{};
  ASSERT_EQ(tqvReadNUCFileInfo(down.c_str(), &file), TQV_OK);
  EXPECT_EQ(file.windowOffsetX, 64);
  EXPECT_EQ(file.windowOffsetY, 32);
  EXPECT_EQ(file.windowWidth, 320);
  EXPECT_EQ(file.windowHeight, 240);
  EXPECT_EQ(file.integrationWidth, 31000u);
}

TEST_P(StorageFamily, FreeSpaceFollowsWhatIsStored) {
  u64 drive = 0, nuc = 0, driveAfter = 0, nucAfter = 0;
  ASSERT_EQ(tqvGetDriveFreeSpace(h, &drive), TQV_OK);
  ASSERT_EQ(tqvGetNUCFreeSpace(h, &nuc), TQV_OK);
  Put(camera, "/FlashFS/nuc/big.nuc", Bytes(1 << 20, 7));
  ASSERT_EQ(tqvGetDriveFreeSpace(h, &driveAfter), TQV_OK);
  ASSERT_EQ(tqvGetNUCFreeSpace(h, &nucAfter), TQV_OK);
  EXPECT_EQ(drive - driveAfter, u64{1} << 20);
  EXPECT_EQ(nuc - nucAfter, u64{1} << 20);
}

// --- Lens states and palettes --------------------------------------------------------------------

TEST_P(StorageFamily, LensStatesByName) {
  EXPECT_EQ(Text(&tqvGetLensStateName, h), "25mm");
  ASSERT_EQ(tqvReloadLensState(h), TQV_OK);
  ASSERT_EQ(tqvSaveLensStateAs(h, "wide"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetLensStateName, h), "wide");
  bool modified = true;
  ASSERT_EQ(tqvGetLensStateModified(h, &modified), TQV_OK);
  EXPECT_FALSE(modified);
  EXPECT_THAT(Listed(&tqvListLensStates, h), Contains("wide"));
  EXPECT_EQ(tqvLensStateExists(h, "wide"), TQV_OK);
  ASSERT_EQ(tqvRenameLensState(h, "wide", "wide1"), TQV_OK);
  EXPECT_NE(tqvLensStateExists(h, "wide"), TQV_OK);
  ASSERT_EQ(tqvLoadLensState(h, "wide1"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetLensStateName, h), "wide1");
  ASSERT_EQ(tqvSaveLensState(h), TQV_OK);
  ASSERT_EQ(tqvDeleteLensState(h, "wide1"), TQV_OK);
  EXPECT_THAT(Listed(&tqvListLensStates, h), Not(Contains("wide1")));
  EXPECT_NE(tqvLoadLensState(h, "wide1"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetLensStateName, h), "wide1");
}

TEST_P(StorageFamily, PalettesByName) {
  const std::string extension = camera.tree() ? ".pal" : "";
  EXPECT_EQ(Text(&tqvGetPalette, h), "iron" + extension);
  ASSERT_EQ(tqvLoadPalette(h, "grey"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetPalette, h), "grey" + extension);
  EXPECT_NE(tqvLoadPalette(h, "rainbow"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetPalette, h), "grey" + extension);

  EXPECT_EQ(tqvPaletteExists(h, "iron"), TQV_OK);
  ASSERT_EQ(tqvRenamePalette(h, "iron", "hot"), TQV_OK);
  EXPECT_NE(tqvPaletteExists(h, "iron"), TQV_OK);
  ASSERT_EQ(tqvLoadPalette(h, "hot"), TQV_OK);
  ASSERT_EQ(tqvDeletePalette(h, "grey"), TQV_OK);
  EXPECT_EQ(Listed(&tqvListPalettes, h), std::vector<std::string>{"hot"});
}

// --- Calibrations --------------------------------------------------------------------------------

namespace {

// The two halves of a look-up table file.
std::vector<double> Half(const Bytes& file, u32 size, int which) {
  std::vector<double> values(size);
  if (file.size() >= 16u * size)
    std::memcpy(values.data(), file.data() + which * 8u * size, 8u * size);
  return values;
}

}  // namespace

TEST_P(StorageFamily, CalibrationsWithTheirLookupTables) {
  zel::TArray<zel::CString> tags;
  ASSERT_EQ(tqvGetCalTags(h, tags), TQV_OK);
  ASSERT_EQ(tags.GetCount(), 2u);
  EXPECT_STREQ(tags[0].c_str(), "cal0");
  EXPECT_STREQ(tags[1].c_str(), "cal1");
  char name[256] = {};
  ASSERT_EQ(tqvGetCalName(h, "cal1", name, sizeof name), TQV_OK);
  EXPECT_STREQ(name, "MWIR 25mm 100..500 C ND");
  EXPECT_EQ(tqvCalExists(h, "cal0"), TQV_OK);

  // Fields of every kind from each backend's own table of them.
  tqvSCalInfo info{};
  info.lutX = info.lutY = reinterpret_cast<double*>(&info);  // must be cleared
  ASSERT_EQ(tqvGetCalInfo(h, "cal1", &info, false), TQV_OK);
  EXPECT_EQ(info.lutX, nullptr);
  EXPECT_EQ(info.lutY, nullptr);
  EXPECT_STREQ(info.tag, "cal1");
  EXPECT_STREQ(info.name, "MWIR 25mm 100..500 C ND");
  EXPECT_STREQ(info.lensFilter, "ND 1.0");
  EXPECT_EQ(info.filterID, 2);
  EXPECT_EQ(info.minTemp, 100.0);
  EXPECT_EQ(info.maxTemp, 500.0);
  EXPECT_EQ(info.maxCounts, 15800);
  EXPECT_EQ(info.lutSize, 8u);
  EXPECT_EQ(info.order, 3);
  EXPECT_EQ(info.C0, -0.075);
  EXPECT_EQ(info.tempOrder, 2);
  EXPECT_EQ(info.b, 1390.25);
  EXPECT_EQ(info.bandpassHigh, camera.tree() ? 4.9 : 5.0);

  ASSERT_EQ(tqvGetCalInfo(h, "cal0", &info, true), TQV_OK);
  EXPECT_EQ(info.lutSize, 16u);
  EXPECT_EQ(info.C6, 0.65);
  EXPECT_EQ(info.tempC6, 1.625);
  EXPECT_EQ(info.atmBeta2, -0.0067);
  ASSERT_NE(info.lutX, nullptr);
  ASSERT_NE(info.lutY, nullptr);
  const Bytes table = *File(camera, "/FlashFS/calib/cal0.lut");
  EXPECT_EQ(std::vector<double>(info.lutX, info.lutX + 16), Half(table, 16, 0));
  EXPECT_EQ(std::vector<double>(info.lutY, info.lutY + 16), Half(table, 16, 1));
  tqvFree(info.lutX);
  tqvFree(info.lutY);

  u32 size = 0;
  ASSERT_EQ(tqvGetCalLookupTableSize(h, "cal1", &size), TQV_OK);
  EXPECT_EQ(size, 8u);
  std::vector<double> first(8, -1), second(8, -1);
  EXPECT_EQ(tqvGetCalLookupTable(h, "cal1", first.data(), second.data(), 7), TQV_TOO_LARGE);
  EXPECT_EQ(first, std::vector<double>(8, -1)) << "nothing is written to a table too small";
  ASSERT_EQ(tqvGetCalLookupTable(h, "cal1", first.data(), second.data(), 8), TQV_OK);
  EXPECT_EQ(first, Half(*File(camera, "/FlashFS/calib/cal1.lut"), 8, 0));
  EXPECT_EQ(second, Half(*File(camera, "/FlashFS/calib/cal1.lut"), 8, 1));

  ASSERT_EQ(tqvLoadCal(h, 2, "cal1"), TQV_OK);
  EXPECT_EQ(PresetText(&tqvGetCalTag, h, 2), "cal1");
  EXPECT_EQ(PresetText(&tqvGetCalTag, h, 1), "");
  EXPECT_NE(tqvLoadCal(h, 2, "cal9"), TQV_OK);
  EXPECT_EQ(PresetText(&tqvGetCalTag, h, 2), "cal1");
  ASSERT_EQ(tqvUnloadCal(h, 2), TQV_OK);
  EXPECT_EQ(PresetText(&tqvGetCalTag, h, 2), "");

  const std::string longTag(255, 't');
  EXPECT_EQ(tqvGetCalInfo(h, longTag.c_str(), &info, false), TQV_ERROR);
  EXPECT_NE(tqvGetCalInfo(h, "cal9", &info, false), TQV_OK);
  // A table that cannot be read frees what was allocated for it and hands nothing out.
  Remove(camera, "/FlashFS/calib/cal0.lut");
  EXPECT_EQ(tqvGetCalInfo(h, "cal0", &info, true), TQV_ERROR);
  EXPECT_EQ(info.lutX, nullptr);
  EXPECT_EQ(info.lutY, nullptr);
}

// --- Presets above three, threads ----------------------------------------------------------------

TEST_P(StorageFamily, PresetsAboveThree) {
  char buffer[64];
  const u32 refused = camera.tree() ? TQV_INVALID_ARGUMENT : TQV_ERROR;
  EXPECT_EQ(tqvGetNUCName(h, 4, buffer, sizeof buffer), refused);
  EXPECT_EQ(tqvLoadNUC(h, 4, "office"), refused);
  EXPECT_EQ(tqvUnloadNUC(h, 4), refused);
  EXPECT_EQ(tqvSaveNUCAs(h, 4, "x"), refused);
  EXPECT_EQ(tqvSaveNUC(h, 4), refused);
  EXPECT_EQ(tqvGetCalTag(h, 4, buffer, sizeof buffer), refused);
  EXPECT_EQ(tqvLoadCal(h, 4, "cal0"), refused);
  EXPECT_EQ(tqvUnloadCal(h, 4), refused);
  if (camera.tree()) {
    EXPECT_TRUE(camera.tree()->Traffic().empty());
  }
}

TEST_P(StorageFamily, TwoThreadsOnOneHandle) {
  auto states = [this] {
    for (int round = 0; round < 5; ++round) {
      EXPECT_EQ(tqvSaveStateAs(h, "threaded"), TQV_OK);
      EXPECT_EQ(tqvLoadState(h, "threaded"), TQV_OK);
      EXPECT_EQ(Text(&tqvGetStateName, h), "threaded");
      EXPECT_EQ(tqvLoadPalette(h, round % 2 ? "grey" : "iron"), TQV_OK);
    }
  };
  // Readings that keep nothing in the property tree's cache, which has no lock of its own.
  auto queries = [this] {
    for (int round = 0; round < 5; ++round) {
      EXPECT_EQ(testutil::CalInfoWithTables(h, "cal0"), TQV_OK);
      EXPECT_EQ(testutil::QueryNUC(h, "fresh"), TQV_OK);
      EXPECT_THAT(Listed(&tqvListNUCs, h), Contains("fresh"));
      EXPECT_EQ(tqvNUCExists(h, "fresh"), TQV_OK);
    }
  };
  ASSERT_EQ(tqvSaveNUCAs(h, 0, "fresh"), TQV_OK);
  std::thread other(queries);
  states();
  other.join();
}

INSTANTIATE_TEST_SUITE_P(BothBackends, StorageFamily,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICam),
                         testutil::BackendName);
