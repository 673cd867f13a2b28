// Stored configurations through the C interface on both simulated cameras: states that really
// hold the camera's settings, factory defaults, correction files made on the host and used on the
// camera, lens states, palettes, calibrations with their look-up tables, the error rows, and two
// threads on one handle.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/stored_files.h"
#include "common/testutil.h"
#include "common/transfers.h"

using testutil::Bytes;
using testutil::Contains;
using testutil::Listed;

namespace {

enum class Backend { PropertyTree, GenICam };

// A simulated camera of either kind behind one handle, with its file store.
class AnyCamera {
 public:
  explicit AnyCamera(Backend backend, const char* address = "sim") {
    if (backend == Backend::PropertyTree) {
      m_tree = std::make_unique<testutil::PTreeCamera>(address);
    } else {
      m_gic = std::make_unique<testutil::GicCamera>(address);
    }
  }
  void* handle() const { return m_tree ? m_tree->handle() : m_gic->handle(); }
  bool tree() const { return m_tree != nullptr; }
  sim::ptree::Camera& camera() const { return m_tree->camera(); }
  sim::genicam::Device& device() const { return m_gic->device(); }
  std::optional<Bytes> File(const std::string& path) const {
    return m_tree ? m_tree->camera().Files().Data(path) : m_gic->device().Files().Read(path);
  }
  void Put(const std::string& path, const Bytes& bytes) const {
    if (m_tree) {
      ASSERT_EQ(m_tree->camera().Files().Put(path, bytes), 0u);
    } else {
      ASSERT_EQ(m_gic->device().Files().Write(path, bytes), 0);
    }
  }
  void Remove(const std::string& path) const {
    if (m_tree) {
      m_tree->camera().Files().DeleteFile(path);
    } else {
      m_gic->device().Files().SetReadOnly(path, false);
      m_gic->device().Files().Remove(path);
    }
  }

 private:
  std::unique_ptr<testutil::PTreeCamera> m_tree;
  std::unique_ptr<testutil::GicCamera> m_gic;
};

class StorageFamily : public ::testing::TestWithParam<Backend> {
 protected:
  testutil::SleepRecorder sleeps;  // execute-and-wait polls
  testutil::LogCapture log;        // the lines of commands the camera refuses
  AnyCamera camera{GetParam()};
  void* h = camera.handle();
};

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::PropertyTree ? "PropertyTree" : "GenICam";
}

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

struct Setting {
  const char* name;
  std::function<u32(void* h, int which)> set;  // which: 0 or 1
  std::function<u32(void* h, std::vector<double>* values)> get;
};

template <typename T>
std::function<u32(void*, std::vector<double>*)> Reader(u32 (*get)(void*, T*)) {
  return [get](void* h, std::vector<double>* values) {
    T value{};
    const u32 result = get(h, &value);
    *values = {static_cast<double>(value)};
    return result;
  };
}

template <typename T>
std::function<u32(void*, std::vector<double>*)> PresetReader(u32 (*get)(void*, u8, T*), u8 p) {
  return [get, p](void* h, std::vector<double>* values) {
    T value{};
    const u32 result = get(h, p, &value);
    *values = {static_cast<double>(value)};
    return result;
  };
}

// Geometry and timing, synchronisation, saturation, identity and the cooler setpoint.
const std::vector<Setting>& TenSettings() {
  static const std::vector<Setting> settings = {
      {"window of preset 1",
       [](void* h, int w) {
         return w ? tqvSetWindow(h, 1, 0, 0, 640, 512) : tqvSetWindow(h, 1, 64, 32, 320, 240);
       },
       [](void* h, std::vector<double>* values) {
         u16 x = 0, y = 0, width = 0, height = 0;
         const u32 result = tqvGetWindow(h, 1, &x, &y, &width, &height);
         *values = {double(x), double(y), double(width), double(height)};
         return result;
       }},
      {"integration width of preset 2",
       [](void* h, int w) { return tqvSetIntegrationWidth(h, 2, w ? 40000 : 30000); },
       PresetReader(&tqvGetIntegrationWidth, 2)},
      {"frame width of preset 3",
       [](void* h, int w) { return tqvSetFrameWidth(h, 3, w ? 600000 : 500000); },
       PresetReader(&tqvGetFrameWidth, 3)},
      {"digital gain of preset 1",
       [](void* h, int w) { return tqvSetDigitalGain(h, 1, w ? 3.0f : 2.5f); },
       PresetReader(&tqvGetDigitalGain, 1)},
      {"dwell count of preset 2", [](void* h, int w) { return tqvSetDwellCount(h, 2, w ? 3 : 9); },
       PresetReader(&tqvGetDwellCount, 2)},
      {"invert", [](void* h, int w) { return tqvSetInvertEnabled(h, w == 0); },
       Reader(&tqvGetInvertEnabled)},
      {"trigger delay", [](void* h, int w) { return tqvSetTriggerDelay(h, w ? 40.0f : 12.5f); },
       Reader(&tqvGetTriggerDelay)},
      {"sequence count", [](void* h, int w) { return tqvSetSequenceCount(h, w ? 12 : 7); },
       Reader(&tqvGetSequenceCount)},
      {"sync-out delay of preset 1",
       [](void* h, int w) { return tqvSetSyncOutDelay(h, 1, w ? 6.0f : 2.0f); },
       PresetReader(&tqvGetSyncOutDelay, 1)},
      {"saturation count threshold of preset 0",
       [](void* h, int w) { return tqvSetSaturationCountThreshold(h, 0, w ? 9000 : 12000); },
       PresetReader(&tqvGetSaturationCountThreshold, 0)},
      {"camera type", [](void* h, int w) { return tqvSetCameraType(h, w ? 7 : 4); },
       Reader(&tqvGetCameraType)},
      {"cooler setpoint",
       [](void* h, int w) { return tqvSetFPAColdTemperature(h, w ? 90.0f : 80.0f); },
       Reader(&tqvGetFPAColdTemperature)},
  };
  return settings;
}

void SetAll(void* h, int which) {
  for (const Setting& setting : TenSettings()) {
    ASSERT_EQ(setting.set(h, which), TQV_OK) << setting.name;
  }
}

std::vector<std::vector<double>> ReadAll(void* h) {
  std::vector<std::vector<double>> all;
  for (const Setting& setting : TenSettings()) {
    std::vector<double> values;
    EXPECT_EQ(setting.get(h, &values), TQV_OK) << setting.name;
    all.push_back(values);
  }
  return all;
}

void ExpectSame(const std::vector<std::vector<double>>& read,
                const std::vector<std::vector<double>>& expected) {
  ASSERT_EQ(read.size(), expected.size());
  for (std::size_t i = 0; i < read.size(); ++i)
    EXPECT_EQ(read[i], expected[i]) << TenSettings()[i].name;
}

}  // namespace

// --- States --------------------------------------------------------------------------------------

TEST_P(StorageFamily, AStateHoldsTheSettingsOfEveryFamily) {
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 0));
  const auto saved = ReadAll(h);
  ASSERT_EQ(tqvSaveStateAs(h, "bench2"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetStateName, h), "bench2");
  EXPECT_TRUE(Contains(Listed(&tqvListStates, h), "bench2"));
  EXPECT_EQ(tqvStateExists(h, "bench2"), TQV_OK);
  u32 size = 0;
  ASSERT_EQ(tqvGetStateFileInfo(h, "bench2", &size, nullptr), TQV_OK);
  EXPECT_EQ(size, camera.File("/FlashFS/states/bench2.rsc")->size());

  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  const auto changed = ReadAll(h);
  for (std::size_t i = 0; i < saved.size(); ++i)
    ASSERT_NE(saved[i], changed[i]) << TenSettings()[i].name;
  ASSERT_EQ(tqvLoadState(h, "bench2"), TQV_OK);
  ExpectSame(ReadAll(h), saved);

  // Saving under the current name keeps the state's file up to date.
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  ASSERT_EQ(tqvSaveState(h), TQV_OK);
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 0));
  ASSERT_EQ(tqvLoadState(h, "bench2.rsc"), TQV_OK);
  ExpectSame(ReadAll(h), changed);
}

TEST_P(StorageFamily, StatesByNameAndStatesThatCannotBeLoaded) {
  ASSERT_EQ(tqvSaveStateAs(h, "old"), TQV_OK);
  ASSERT_EQ(tqvRenameState(h, "old", "new"), TQV_OK);
  EXPECT_NE(tqvStateExists(h, "old"), TQV_OK);
  EXPECT_EQ(tqvStateExists(h, "new"), TQV_OK);
  ASSERT_EQ(tqvDeleteState(h, "new"), TQV_OK);
  EXPECT_NE(tqvStateExists(h, "new"), TQV_OK);
  EXPECT_FALSE(Contains(Listed(&tqvListStates, h), "new"));

  // A missing state, and a file that holds no settings, change nothing.
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  const auto before = ReadAll(h);
  const std::string current = Text(&tqvGetStateName, h);
  EXPECT_NE(tqvLoadState(h, "missing"), TQV_OK);
  camera.Put("/FlashFS/states/junk.rsc", testutil::RandomBytes(300, 3));
  EXPECT_NE(tqvLoadState(h, "junk"), TQV_OK);
  ExpectSame(ReadAll(h), before);
  EXPECT_EQ(Text(&tqvGetStateName, h), current);
}

TEST_P(StorageFamily, FactoryDefaultsRestoreTheProfileAndTakeWhatIsSaved) {
  const auto profile = ReadAll(h);
  bool factory = true;
  ASSERT_EQ(tqvIsFactoryDefaultState(h, &factory), TQV_OK);
  EXPECT_FALSE(factory);

  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  ASSERT_EQ(tqvLoadFactoryDefaults(h), TQV_OK);
  ExpectSame(ReadAll(h), profile);
  ASSERT_EQ(tqvIsFactoryDefaultState(h, &factory), TQV_OK);
  EXPECT_TRUE(factory);

  ASSERT_NO_FATAL_FAILURE(SetAll(h, 0));
  const auto saved = ReadAll(h);
  ASSERT_EQ(tqvSaveFactoryDefaults(h), TQV_OK);
  ASSERT_NO_FATAL_FAILURE(SetAll(h, 1));
  ASSERT_EQ(tqvLoadFactoryDefaults(h), TQV_OK);
  ExpectSame(ReadAll(h), saved);
  u32 size = 0;
  ASSERT_EQ(tqvGetFactoryDefaultStateFileInfo(h, &size, nullptr), TQV_OK);
  EXPECT_GT(size, 0u);

  // Hard defaults are the profile's, whatever the factory default state holds.
  const u32 hard = tqvLoadHardDefaults(h);
  ASSERT_EQ(hard, TQV_OK);
  ExpectSame(ReadAll(h), profile);
}

TEST_P(StorageFamily, FactoryDefaultsThatCannotBeLoadedFail) {
  camera.Remove("/FlashFS/factory/default.rsc");
  const auto before = ReadAll(h);
  EXPECT_EQ(tqvLoadFactoryDefaults(h), TQV_FAILED);
  ExpectSame(ReadAll(h), before);
}

// --- Correction files ----------------------------------------------------------------------------

namespace {

// Every field of two correction records.
void ExpectSameInfo(const tqvSNUCInfo& read, const tqvSNUCInfo& expected) {
  EXPECT_STREQ(read.cameraType, expected.cameraType);
  EXPECT_STREQ(read.cameraSerial, expected.cameraSerial);
  EXPECT_STREQ(read.lens, expected.lens);
  EXPECT_STREQ(read.lensFilter, expected.lensFilter);
#define TQV_SAME(field) EXPECT_EQ(read.field, expected.field) << #field
  TQV_SAME(fpgaFirmwareNumber);
  TQV_SAME(fpgaVersion);
  TQV_SAME(fpgaMajor);
  TQV_SAME(fpgaMinor);
  TQV_SAME(windowOffsetX);
  TQV_SAME(windowOffsetY);
  TQV_SAME(windowWidth);
  TQV_SAME(windowHeight);
  TQV_SAME(maxWidth);
  TQV_SAME(maxHeight);
  TQV_SAME(compressed);
  TQV_SAME(invert);
  TQV_SAME(revert);
  TQV_SAME(readoutMode);
  TQV_SAME(integrationWidth);
  TQV_SAME(frameWidth);
  TQV_SAME(filterID);
  TQV_SAME(fpaBiasCount);
  TQV_SAME(fpaBias);
  TQV_SAME(fpaBias1);
  TQV_SAME(fpaGainLevel);
  TQV_SAME(digitalOffset);
  TQV_SAME(digitalGain);
  TQV_SAME(globalOffsetVoltage);
  TQV_SAME(skimmingEnabled);
  TQV_SAME(skimmingVoltage);
  TQV_SAME(color);
  TQV_SAME(nucType);
  TQV_SAME(nucSource);
  TQV_SAME(nucNumFrames);
  TQV_SAME(nucDetectBadPixels);
  TQV_SAME(nucDetectTwinklers);
  TQV_SAME(nucTwinklerNumFrames);
  TQV_SAME(nucTwinklerDelta);
  TQV_SAME(nucADMin);
  TQV_SAME(nucADMax);
  TQV_SAME(nucGainMin);
  TQV_SAME(nucGainMax);
  TQV_SAME(bpTotal);
  TQV_SAME(bpTwinkling);
  TQV_SAME(bpUser);
  TQV_SAME(bpAboveGainMax);
  TQV_SAME(bpBelowGainMin);
  TQV_SAME(bpAboveADMaxSrc1);
  TQV_SAME(bpBelowADMinSrc1);
  TQV_SAME(bpAboveADMaxSrc2);
  TQV_SAME(bpBelowADMinSrc2);
  TQV_SAME(bpNew);
#undef TQV_SAME
}

// What the full query reports of a file: its header, except the firmware, sensor size,
// compression and lens keys, which keep their defaults.
tqvSNUCInfo Queried(const tqvSNUCInfo& file) {
  tqvSNUCInfo expected = file;
  tqvSNUCInfo defaults{};
  tqvDefaultNUCInfo(&defaults);
  expected.fpgaFirmwareNumber = defaults.fpgaFirmwareNumber;
  expected.fpgaVersion = defaults.fpgaVersion;
  expected.fpgaMajor = defaults.fpgaMajor;
  expected.fpgaMinor = defaults.fpgaMinor;
  expected.maxWidth = defaults.maxWidth;
  expected.maxHeight = defaults.maxHeight;
  expected.compressed = defaults.compressed;
  std::memcpy(expected.lens, defaults.lens, sizeof expected.lens);
  std::memcpy(expected.lensFilter, defaults.lensFilter, sizeof expected.lensFilter);
  return expected;
}

}  // namespace

TEST_P(StorageFamily, ACorrectionFileFromTheHostIsListedQueriedRenamedLoadedAndDeleted) {
  const tqvSNUCInfo made = testutil::DistinctNUCInfo();
  const Bytes file = testutil::CorrectionFile(made);
  testutil::TempDir dir;
  const std::string host = dir.File("bench run.nuc");
  testutil::WriteFile(host, file);
  ASSERT_EQ(tqvUploadNUCStdC(h, host.c_str(), nullptr, nullptr), TQV_OK);
  EXPECT_TRUE(Contains(Listed(&tqvListNUCs, h), "bench run"));
  EXPECT_EQ(tqvNUCExists(h, "bench run"), TQV_OK);
  u32 size = 0;
  ASSERT_EQ(tqvGetNUCFileInfo(h, "bench run", &size, nullptr), TQV_OK);
  EXPECT_EQ(size, file.size());

  tqvSNUCInfo read{};
  ASSERT_EQ(tqvQueryNUCInfo(h, "bench run", &read), TQV_OK);
  {
    SCOPED_TRACE("full query");
    ExpectSameInfo(read, Queried(made));
  }
  tqvSNUCInfo basic{};
  ASSERT_EQ(tqvQueryNUCBasicInfo(h, "bench run", &basic), TQV_OK);
  tqvSNUCInfo expected{};
  tqvDefaultNUCInfo(&expected);
  expected.windowWidth = made.windowWidth;
  expected.windowHeight = made.windowHeight;
  expected.integrationWidth = made.integrationWidth;
  {
    SCOPED_TRACE("basic query");
    ExpectSameInfo(basic, expected);
  }

  ASSERT_EQ(tqvRenameNUC(h, "bench run", "bench"), TQV_OK);
  EXPECT_NE(tqvNUCExists(h, "bench run"), TQV_OK);
  EXPECT_TRUE(Contains(Listed(&tqvListNUCs, h), "bench"));

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
  EXPECT_FALSE(Contains(Listed(&tqvListNUCs, h), "bench"));
  // Loading what is gone, or a file that is no correction, leaves the preset as it was.
  EXPECT_NE(tqvLoadNUC(h, 1, "bench"), TQV_OK);
  EXPECT_NE(tqvLoadNUC(h, 1, "lab.v2"), TQV_OK);
  EXPECT_EQ(PresetText(&tqvGetNUCName, h, 1), "");
  read = tqvSNUCInfo{};
  EXPECT_EQ(tqvQueryNUCInfo(h, "bench", &read), TQV_ERROR);
  EXPECT_EQ(tqvQueryNUCInfo(h, "lab.v2", &read), TQV_ERROR);
  EXPECT_EQ(read.windowWidth, 0) << "a failed query fills nothing";
}

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
  u32* table = nullptr;
  ASSERT_EQ(tqvLoadNUCFile(down.c_str(), &file, &table), TQV_OK);
  free(table);
  tqvSNUCInfo basic{};
  ASSERT_EQ(tqvQueryNUCBasicInfo(h, "fresh", &basic), TQV_OK);
  EXPECT_EQ(basic.windowWidth, 320);
  EXPECT_EQ(basic.integrationWidth, 31000u);
}

TEST_P(StorageFamily, FreeSpaceFollowsWhatIsStored) {
  u64 drive = 0, nuc = 0;
  ASSERT_EQ(tqvGetDriveFreeSpace(h, &drive), TQV_OK);
  ASSERT_EQ(tqvGetNUCFreeSpace(h, &nuc), TQV_OK);
  EXPECT_GT(drive, 0u);
  EXPECT_GT(nuc, 0u);
  camera.Put("/FlashFS/nuc/big.nuc", Bytes(1 << 20, 7));
  u64 driveAfter = 0, nucAfter = 0;
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
  EXPECT_TRUE(Contains(Listed(&tqvListLensStates, h), "wide"));
  EXPECT_EQ(tqvLensStateExists(h, "wide"), TQV_OK);
  ASSERT_EQ(tqvRenameLensState(h, "wide", "wide1"), TQV_OK);
  EXPECT_NE(tqvLensStateExists(h, "wide"), TQV_OK);
  ASSERT_EQ(tqvLoadLensState(h, "wide1"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetLensStateName, h), "wide1");
  ASSERT_EQ(tqvSaveLensState(h), TQV_OK);
  u32 size = 0;
  ASSERT_EQ(tqvGetLensStateFileInfo(h, "wide1", &size, nullptr), TQV_OK);
  EXPECT_GT(size, 0u);
  ASSERT_EQ(tqvDeleteLensState(h, "wide1"), TQV_OK);
  EXPECT_FALSE(Contains(Listed(&tqvListLensStates, h), "wide1"));
  EXPECT_NE(tqvLoadLensState(h, "wide1"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetLensStateName, h), "wide1");
}

TEST_P(StorageFamily, PalettesByName) {
  const std::string shown = Text(&tqvGetPalette, h);
  EXPECT_EQ(shown, camera.tree() ? "iron.pal" : "iron");
  ASSERT_EQ(tqvLoadPalette(h, "grey"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetPalette, h), camera.tree() ? "grey.pal" : "grey");
  EXPECT_NE(tqvLoadPalette(h, "rainbow"), TQV_OK);
  EXPECT_EQ(Text(&tqvGetPalette, h), camera.tree() ? "grey.pal" : "grey");

  EXPECT_EQ(tqvPaletteExists(h, "iron"), TQV_OK);
  ASSERT_EQ(tqvRenamePalette(h, "iron", "hot"), TQV_OK);
  EXPECT_NE(tqvPaletteExists(h, "iron"), TQV_OK);
  EXPECT_TRUE(Contains(Listed(&tqvListPalettes, h), "hot"));
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
  EXPECT_NE(tqvCalExists(h, "cal9"), TQV_OK);
  bool factory = false;
  ASSERT_EQ(tqvIsFactoryCalibrated(h, &factory), TQV_OK);
  EXPECT_TRUE(factory);

  tqvSCalInfo info{};
  info.lutX = reinterpret_cast<double*>(&info);  // must be cleared
  info.lutY = info.lutX;
  ASSERT_EQ(tqvGetCalInfo(h, "cal1", &info, false), TQV_OK);
  EXPECT_EQ(info.lutX, nullptr);
  EXPECT_EQ(info.lutY, nullptr);
  EXPECT_STREQ(info.tag, "cal1");
  EXPECT_STREQ(info.name, "MWIR 25mm 100..500 C ND");
  EXPECT_STREQ(info.lensFilter, "ND 1.0");
  EXPECT_EQ(info.filterID, 2);
  EXPECT_EQ(info.minTemp, 100.0);
  EXPECT_EQ(info.maxTemp, 500.0);
  EXPECT_EQ(info.minCounts, 2000);
  EXPECT_EQ(info.maxCounts, 15800);
  EXPECT_EQ(info.lutSize, 8u);
  EXPECT_EQ(info.order, 3);
  EXPECT_EQ(info.C0, -0.075);
  EXPECT_EQ(info.tempOrder, 2);
  EXPECT_EQ(info.r, 15500.0);
  EXPECT_EQ(info.b, 1390.25);
  EXPECT_EQ(info.bgValue, 0.0);
  EXPECT_EQ(info.bandpassHigh, camera.tree() ? 4.9 : 5.0);

  ASSERT_EQ(tqvGetCalInfo(h, "cal0", &info, true), TQV_OK);
  EXPECT_EQ(info.lutSize, 16u);
  EXPECT_EQ(info.C6, 0.65);
  EXPECT_EQ(info.tempC6, 1.625);
  EXPECT_EQ(info.atmBeta2, -0.0067);
  ASSERT_NE(info.lutX, nullptr);
  ASSERT_NE(info.lutY, nullptr);
  const Bytes table = *camera.File("/FlashFS/calib/cal0.lut");
  EXPECT_EQ(std::vector<double>(info.lutX, info.lutX + 16), Half(table, 16, 0));
  EXPECT_EQ(std::vector<double>(info.lutY, info.lutY + 16), Half(table, 16, 1));
  EXPECT_EQ(info.lutX[0], 1200.0);
  EXPECT_EQ(info.lutY[15], 150.0);
  tqvFree(info.lutX);
  tqvFree(info.lutY);

  u32 size = 0;
  ASSERT_EQ(tqvGetCalLookupTableSize(h, "cal1", &size), TQV_OK);
  EXPECT_EQ(size, 8u);
  std::vector<double> first(8, -1), second(8, -1);
  EXPECT_EQ(tqvGetCalLookupTable(h, "cal1", first.data(), second.data(), 7), TQV_TOO_LARGE);
  EXPECT_EQ(first, std::vector<double>(8, -1)) << "nothing is written to a table too small";
  ASSERT_EQ(tqvGetCalLookupTable(h, "cal1", first.data(), second.data(), 8), TQV_OK);
  EXPECT_EQ(first, Half(*camera.File("/FlashFS/calib/cal1.lut"), 8, 0));
  EXPECT_EQ(second, Half(*camera.File("/FlashFS/calib/cal1.lut"), 8, 1));
  EXPECT_EQ(second.back(), 500.0);

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
  camera.Remove("/FlashFS/calib/cal0.lut");
  info.lutX = info.lutY = nullptr;
  EXPECT_EQ(tqvGetCalInfo(h, "cal0", &info, true), TQV_ERROR);
  EXPECT_EQ(info.lutX, nullptr);
  EXPECT_EQ(info.lutY, nullptr);
}

// --- Error rows ----------------------------------------------------------------------------------

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
    EXPECT_TRUE(camera.camera().Traffic().empty());
  }
}

namespace {

// An operation with the path and feature it writes first.
struct Commanded {
  const char* name;
  u32 (*run)(void* h);
  const char* path;
  const char* feature;
};

const Commanded kCommanded[] = {
    {"LoadState", [](void* h) { return tqvLoadState(h, "power-up"); },
     ".system.configurations.load.file", "StateLoadName"},
    {"SaveStateAs", [](void* h) { return tqvSaveStateAs(h, "s"); },
     ".system.configurations.store.file", "StateSaveName"},
    {"LoadLensState", [](void* h) { return tqvLoadLensState(h, "25mm"); },
     ".system.lens.stateLoadName", "LensStateLoadName"},
    {"SaveLensStateAs", [](void* h) { return tqvSaveLensStateAs(h, "l"); },
     ".system.lens.stateSaveName", "LensStateSaveName"},
    {"LoadPalette", [](void* h) { return tqvLoadPalette(h, "grey"); }, ".system.palette.name",
     "PaletteLoadName"},
    {"LoadNUC", [](void* h) { return tqvLoadNUC(h, 1, "office"); },
     ".system.settings.p1.nuc.loadname", "PS1CorrectionLoadName"},
    {"SaveNUCAs", [](void* h) { return tqvSaveNUCAs(h, 1, "n"); }, ".system.settings.nuc.p1.name",
     "PS1CorrectionSaveName"},
    {"LoadCal", [](void* h) { return tqvLoadCal(h, 1, "cal0"); }, ".system.settings.p1.cal.loadtag",
     "PS1CalibrationLoadTag"},
    {"QueryNUCInfo",
     [](void* h) {
       tqvSNUCInfo info;
       return tqvQueryNUCInfo(h, "office", &info);
     },
     ".system.settings.nuc.query.file", "CorrectionQueryName"},
};

}  // namespace

TEST_P(StorageFamily, AbsentAndReadOnlyItems) {
  testutil::LogCapture log;  // the missing commands' log lines
  for (const Commanded& op : kCommanded) {
    SCOPED_TRACE(op.name);
    {
      AnyCamera missing(GetParam());
      if (missing.tree()) {
        ASSERT_TRUE(missing.camera().Remove(op.path));
        EXPECT_EQ(op.run(missing.handle()), TQV_NOT_FOUND);
      } else {
        ASSERT_TRUE(missing.device().Remove(op.feature));
        EXPECT_EQ(op.run(missing.handle()), TQV_ERROR);
      }
    }
    AnyCamera readOnly(GetParam());
    if (readOnly.tree()) {
      readOnly.camera().SetReadOnly(op.path);
      EXPECT_EQ(op.run(readOnly.handle()), TQV_NOT_WRITABLE);
    } else {
      readOnly.device().SetWritable(op.feature, false);
      EXPECT_EQ(op.run(readOnly.handle()), TQV_ACCESS_DENIED);
    }
  }
}

TEST_P(StorageFamily, TextsLongerThanTheBufferAreRefused) {
  // "25mm": the property tree wants two bytes more than the text, GenICam one.
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(tqvGetLensStateName(h, buffer, 5), camera.tree() ? TQV_ERROR : TQV_OK);
  EXPECT_EQ(tqvGetLensStateName(h, buffer, 4), TQV_ERROR);
  EXPECT_EQ(tqvGetLensStateName(h, buffer, 6), TQV_OK);
  EXPECT_STREQ(buffer, "25mm");
  EXPECT_EQ(tqvGetCalName(h, "cal0", buffer, sizeof buffer), TQV_ERROR);
}

// --- Threads -------------------------------------------------------------------------------------

TEST_P(StorageFamily, TwoThreadsOnOneHandle) {
  auto states = [this] {
    for (int round = 0; round < 5; ++round) {
      EXPECT_EQ(tqvSaveStateAs(h, "threaded"), TQV_OK);
      EXPECT_EQ(tqvLoadState(h, "threaded"), TQV_OK);
      char name[64];
      EXPECT_EQ(tqvGetStateName(h, name, sizeof name), TQV_OK);
      EXPECT_EQ(tqvLoadPalette(h, round % 2 ? "grey" : "iron"), TQV_OK);
    }
  };
  // Readings that keep nothing in the property tree's cache, which has no lock of its own.
  auto queries = [this] {
    for (int round = 0; round < 5; ++round) {
      tqvSCalInfo info{};
      EXPECT_EQ(tqvGetCalInfo(h, "cal0", &info, true), TQV_OK);
      tqvFree(info.lutX);
      tqvFree(info.lutY);
      tqvSNUCInfo nuc;
      EXPECT_EQ(tqvQueryNUCInfo(h, "fresh", &nuc), TQV_OK);
      EXPECT_TRUE(Contains(Listed(&tqvListNUCs, h), "fresh"));
      EXPECT_EQ(tqvNUCExists(h, "fresh"), TQV_OK);
    }
  };
  ASSERT_EQ(tqvSaveNUCAs(h, 0, "fresh"), TQV_OK);
  std::thread other(queries);
  states();
  other.join();
}

INSTANTIATE_TEST_SUITE_P(BothBackends, StorageFamily,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICam), BackendName);
