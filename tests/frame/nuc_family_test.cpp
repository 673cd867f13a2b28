// Correction control and bad pixels through the C interface on both simulated cameras: whole
// correction runs in simulated time (the operator's steps, aborts, reverts, automatic runs), the
// correction file a run leaves on the camera read back with the format functions, bad-pixel
// picks and lists, the single-preset view, the settings of several values, the fault sweep of
// every operation of several steps, and two threads on one handle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <type_traits>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "common/testutil.h"

namespace {

enum class Backend { PropertyTree, GenICam };

// Status codes of the simulated cameras (docs/simulated-cameras.md).
enum : u16 {
  kFlagIn = 1,
  kFlagSettling = 2,
  kCollecting = 3,
  kWaiting = 4,
  kFlagOut = 5,
  kTwinklers = 6,
  kComputing = 7,
  kDone = 8,
  kAborted = 9,
  kFailed = 10,
};

// A simulated camera of either kind, with what a test needs of its inside.
class NucCamera {
 public:
  explicit NucCamera(Backend backend) {
    if (backend == Backend::PropertyTree) {
      m_tree = std::make_unique<testutil::PTreeCamera>();
    } else {
      m_gic = std::make_unique<testutil::GicCamera>();
    }
  }
  void* handle() const { return m_tree ? m_tree->handle() : m_gic->handle(); }
  bool isTree() const { return m_tree != nullptr; }
  sim::ptree::Camera& camera() const { return m_tree->camera(); }
  sim::genicam::Device& device() const { return m_gic->device(); }
  // Client calls the camera has seen.
  std::size_t Traffic() const { return m_tree ? camera().Traffic().size() : device().Log().size(); }
  void ClearTraffic() const {
    if (m_tree) {
      camera().ClearTraffic();
    } else {
      device().ClearLog();
    }
  }
  std::optional<std::vector<u8>> File(const std::string& path) const {
    return m_tree ? camera().Files().Data(path) : device().Files().Read(path);
  }

 private:
  std::unique_ptr<testutil::PTreeCamera> m_tree;
  std::unique_ptr<testutil::GicCamera> m_gic;
};

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::PropertyTree ? "PropertyTree" : "GenICam";
}

u16 Status(void* h, std::string* text = nullptr) {
  u16 code = 0xFFFF;
  char buffer[256] = {};
  EXPECT_EQ(tqvGetNUCStatus(h, &code, buffer, sizeof buffer), TQV_OK);
  if (text) *text = buffer;
  return code;
}

u16 Result(void* h) {
  u16 code = 0xFFFF;
  char buffer[256] = {};
  EXPECT_EQ(tqvGetNUCResult(h, &code, buffer, sizeof buffer), TQV_OK);
  return code;
}

// A setting of several values read into a tuple.
template <typename... T>
std::tuple<T...> Read(u32 (*get)(void*, T*...), void* h) {
  std::tuple<T...> values{};
  EXPECT_EQ(std::apply([&](T&... v) { return get(h, &v...); }, values), TQV_OK);
  return values;
}

using Presets = std::tuple<bool, bool, bool, bool>;

// Polls a started correction to its end the way a host does: the status every 100 ms (the
// waits are recorded, not slept), continuing whenever the camera waits for the operator.
// Returns each status seen, once per change.
std::vector<u16> PollToEnd(void* h) {
  std::vector<u16> seen;
  for (int poll = 0; poll < 1000; ++poll) {
    const u16 code = Status(h);
    if (seen.empty() || seen.back() != code) seen.push_back(code);
    if (code == kDone || code == kAborted || code == kFailed) return seen;
    if (code == kWaiting) {
      EXPECT_EQ(tqvContinueNUC(h), TQV_OK);
    } else {
      zel::SleepMs(100);
    }
  }
  ADD_FAILURE() << "the correction did not end";
  return seen;
}

std::vector<u16> RunCorrection(void* h) {
  EXPECT_EQ(tqvStartNUC(h), TQV_OK);
  return PollToEnd(h);
}

// The ten counts in the interface's order.
struct Counts {
  u32 total = 0, factory = 0, newPixels = 0, twinkling = 0, aboveGainMax = 0, belowGainMin = 0,
      aboveADMax1 = 0, belowADMin1 = 0, aboveADMax2 = 0, belowADMin2 = 0;
  bool operator==(const Counts&) const = default;
};

u32 GetCounts(void* h, u8 preset, Counts* c) {
  return tqvGetNUCResults(h, preset, &c->total, &c->factory, &c->newPixels, &c->twinkling,
                          &c->aboveGainMax, &c->belowGainMin, &c->aboveADMax1, &c->belowADMin1,
                          &c->aboveADMax2, &c->belowADMin2);
}

Counts Results(void* h, u8 preset) {
  Counts c;
  EXPECT_EQ(GetCounts(h, preset, &c), TQV_OK);
  return c;
}

// A correction file as the camera holds it (the whole run takes one through the C interface;
// the other tests look at the camera's store, which is quicker).
std::vector<u8> StoredFile(const NucCamera& camera, int preset) {
  const auto bytes = camera.File("/FlashFS/nuc/preset" + std::to_string(preset) + ".nuc");
  EXPECT_TRUE(bytes) << "no file of preset " << preset;
  return bytes.value_or(std::vector<u8>{});
}

// The header of a correction file, read with the format functions.
tqvSNUCInfo HeaderOf(const std::vector<u8>& bytes) {
  testutil::TempDir dir;
  testutil::WriteFile(dir.File("header.nuc"), bytes);
  tqvSNUCInfo info{};
  EXPECT_EQ(tqvReadNUCFileInfo(dir.File("header.nuc").c_str(), &info), TQV_OK);
  return info;
}

// The lines of a bad-pixel list the camera saved ("x y flag" after a comment).
std::vector<std::string> ListLines(const NucCamera& camera, const std::string& path) {
  const auto bytes = camera.File(path);
  EXPECT_TRUE(bytes) << "no list " << path;
  std::vector<std::string> lines;
  std::istringstream text(bytes ? std::string(bytes->begin(), bytes->end()) : "");
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

bool Listed(const NucCamera& camera, const std::string& path, const std::string& line) {
  const std::vector<std::string> lines = ListLines(camera, path);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class NucFamily : public ::testing::TestWithParam<Backend> {
 protected:
  testutil::SleepRecorder sleeps;
  NucCamera camera{GetParam()};
  void* h = camera.handle();
};

// --- Correction runs -----------------------------------------------------------------------------

TEST_P(NucFamily, AWholeRunLeavesAFileThatDecodesWithTheCountsTheCameraReports) {
  // The camera is set for two points from an external source: it asks for each source in turn.
  EXPECT_EQ(RunCorrection(h),
            (std::vector<u16>{kWaiting, kCollecting, kWaiting, kCollecting, kComputing, kDone}));
  EXPECT_FALSE(sleeps.Sleeps().empty());
  EXPECT_EQ(Result(h), 1);
  const Counts counts = Results(h, 0);
  EXPECT_GT(counts.factory, 0u);
  EXPECT_EQ(counts.total, counts.factory + counts.newPixels);
  EXPECT_EQ(counts.newPixels, counts.twinkling + counts.aboveGainMax + counts.belowGainMin +
                                  counts.aboveADMax1 + counts.belowADMin1 + counts.aboveADMax2 +
                                  counts.belowADMin2);
  for (u32 category :
       {counts.aboveGainMax, counts.belowGainMin, counts.aboveADMax1, counts.aboveADMax2}) {
    EXPECT_GT(category, 0u);
  }
  EXPECT_EQ(counts.twinkling, 0u);  // not asked for

  testutil::TempDir dir;
  const std::string path = dir.File("preset0.nuc");
  ASSERT_EQ(tqvDownloadNUCStdC(h, "preset0", path.c_str(), nullptr, nullptr), TQV_OK);
  tqvSNUCInfo info{};
  uint32_t* words = nullptr;
  ASSERT_EQ(tqvLoadNUCFile(path.c_str(), &info, &words), TQV_OK);
  std::unique_ptr<uint32_t, decltype(&std::free)> table(words, &std::free);
  EXPECT_EQ(std::vector<int>({info.windowWidth, info.windowHeight, info.maxWidth, info.maxHeight,
                              info.nucType, info.nucSource}),
            (std::vector<int>{640, 512, 640, 512, 1, 0}));
  EXPECT_EQ(info.nucNumFrames, 16u);
  EXPECT_EQ(std::vector<u32>({info.bpTotal, info.bpUser, info.bpNew, info.bpAboveGainMax,
                              info.bpBelowADMinSrc1}),
            (std::vector<u32>{counts.total, counts.factory, counts.newPixels, counts.aboveGainMax,
                              counts.belowADMin1}));

  u32 flagged = 0, listed = 0, good = 0;
  float lowestGain = 4, highestGain = 0;
  int largestOffset = 0;
  for (std::size_t i = 0; i < 640u * 512u; ++i) {
    float gain = 0;
    uint16_t offset = 0;
    uint8_t flag = 0;
    tqvDecodeNUC(table.get()[i], &gain, &offset, &flag);
    flagged += flag != 0;
    listed += flag == 2;
    if (flag == 0) {
      ++good;
      lowestGain = std::min(lowestGain, gain);
      highestGain = std::max(highestGain, gain);
      largestOffset = std::max(largestOffset, std::abs(static_cast<int16_t>(offset)));
    }
  }
  // A good pixel's gain evens out a response within 10 % of the mean.
  EXPECT_GT(lowestGain, 0.89f);
  EXPECT_LT(highestGain, 1.12f);
  EXPECT_LT(largestOffset, 1000);
  EXPECT_GT(largestOffset, 0);
  EXPECT_EQ(flagged, counts.total);
  EXPECT_EQ(listed, counts.factory);
  EXPECT_EQ(good, 640u * 512u - counts.total);
}

// An aborted run keeps the previous tables; a finished one replaces them until it is discarded,
// unless it was accepted.
TEST_P(NucFamily, AbortAndDiscardKeepThePreviousTablesAndAcceptKeepsTheNewOnes) {
  RunCorrection(h);
  const std::vector<u8> first = StoredFile(camera, 0);
  const Counts firstCounts = Results(h, 0);
  // A run that finished with these limits would find no pixel above the gain maximum.
  ASSERT_EQ(tqvSetNUCSetup(h, 0.5f, 4.0f, 1000, 15000, true), TQV_OK);
  ASSERT_EQ(tqvStartNUC(h), TQV_OK);
  EXPECT_EQ(Status(h), kWaiting);
  ASSERT_EQ(tqvContinueNUC(h), TQV_OK);
  zel::SleepMs(100);
  EXPECT_EQ(Status(h), kCollecting);
  ASSERT_EQ(tqvAbortNUC(h), TQV_OK);
  EXPECT_EQ(Status(h), kAborted);
  EXPECT_EQ(Result(h), 2);
  zel::SleepMs(60000);  // the aborted run does not carry on
  EXPECT_EQ(Status(h), kAborted);
  EXPECT_EQ(StoredFile(camera, 0), first);
  EXPECT_EQ(Results(h, 0), firstCounts);
  // Continue and abort without a run change nothing.
  EXPECT_EQ(tqvContinueNUC(h), TQV_OK);
  EXPECT_EQ(tqvAbortNUC(h), TQV_OK);
  EXPECT_EQ(Status(h), kAborted);

  RunCorrection(h);
  const Counts second = Results(h, 0);
  EXPECT_EQ(second.aboveGainMax, 0u);
  EXPECT_NE(StoredFile(camera, 0), first);
  ASSERT_EQ(tqvDiscardNUC(h), TQV_OK);
  EXPECT_EQ(Results(h, 0), firstCounts);
  EXPECT_EQ(StoredFile(camera, 0), first);

  RunCorrection(h);
  ASSERT_EQ(tqvAcceptNUC(h), TQV_OK);
  ASSERT_EQ(tqvDiscardNUC(h), TQV_OK);
  EXPECT_EQ(Results(h, 0), second);
}

// The steps a camera goes through for each kind of correction.
TEST_P(NucFamily, EachKindOfCorrectionGoesThroughItsSteps) {
  struct Case {
    u8 type, source;
    bool twinklers;
    std::vector<u16> steps;
  };
  const Case cases[] = {
      {0, 0, false, {kWaiting, kCollecting, kComputing, kDone}},
      {0, 1, false, {kFlagIn, kCollecting, kFlagOut, kComputing, kDone}},
      {1,
       1,
       false,
       {kFlagIn, kCollecting, kFlagSettling, kCollecting, kFlagOut, kComputing, kDone}},
      {2, 1, true, {kFlagIn, kCollecting, kFlagOut, kTwinklers, kComputing, kDone}},
      {1, 0, true, {kWaiting, kCollecting, kWaiting, kCollecting, kTwinklers, kComputing, kDone}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " source " << int(c.source));
    ASSERT_EQ(tqvSetNUCType(h, c.type), TQV_OK);
    ASSERT_EQ(tqvSetNUCSource(h, c.source), TQV_OK);
    ASSERT_EQ(tqvSetTwinklerSetup(h, c.twinklers, 64, 200), TQV_OK);
    EXPECT_EQ(RunCorrection(h), c.steps);
    EXPECT_EQ(Result(h), 1);
  }
}

TEST_P(NucFamily, TheCollectingStatusCountsFramesAndTheOperatorIsAskedInWords) {
  ASSERT_EQ(tqvSetNUCNumFrames(h, 60), TQV_OK);
  ASSERT_EQ(tqvStartNUC(h), TQV_OK);
  std::string text;
  EXPECT_EQ(Status(h, &text), kWaiting);
  EXPECT_NE(text.find("cold source"), std::string::npos) << text;
  EXPECT_NE(text.find("continue"), std::string::npos) << text;
  ASSERT_EQ(tqvContinueNUC(h), TQV_OK);
  zel::SleepMs(500);  // 30 frames of the 60 Hz camera
  EXPECT_EQ(Status(h, &text), kCollecting);
  EXPECT_NE(text.find(" of 60"), std::string::npos) << text;
  EXPECT_EQ(text.find(" 0 of 60"), std::string::npos) << text;
  EXPECT_EQ(text.find(" 60 of 60"), std::string::npos) << text;
}

// The camera computes its tables: the counts follow the limits it is given.
TEST_P(NucFamily, TheCountsFollowTheSettings) {
  RunCorrection(h);
  const Counts standard = Results(h, 0);
  EXPECT_EQ(standard.belowADMin1, 0u);  // the stuck pixels are on the factory list
  struct Case {
    const char* what;
    std::function<u32(void* h)> set;
    std::function<void(const Counts&)> check;
  };
  const Case cases[] = {
      {"a gain maximum above every gain",
       [](void* h) { return tqvSetNUCSetup(h, 0.5f, 4.0f, 1000, 15000, true); },
       [&](const Counts& c) {
         EXPECT_EQ(c.aboveGainMax, 0u);
         EXPECT_EQ(c.aboveADMax1, standard.aboveADMax1);
       }},
      {"no detection", [](void* h) { return tqvSetNUCSetup(h, 0.5f, 2.0f, 1000, 15000, false); },
       [&](const Counts& c) {
         EXPECT_EQ(c.newPixels, 0u);
         EXPECT_EQ(c.factory, standard.factory);
       }},
      {"a lower converter maximum",
       [](void* h) { return tqvSetNUCSetup(h, 0.5f, 2.0f, 1000, 12000, true); },
       [&](const Counts& c) {
         EXPECT_GT(c.aboveADMax2, standard.aboveADMax2);
         EXPECT_EQ(c.belowGainMin, 0u);
       }},
      {"twinklers", [](void* h) { return tqvSetTwinklerSetup(h, true, 32, 100); },
       [](const Counts& c) { EXPECT_GT(c.twinkling, 0u); }},
      {"without the factory list", [](void* h) { return tqvSetNUCUseFactoryBadPixels(h, false); },
       [&](const Counts& c) {
         EXPECT_EQ(c.factory, 0u);
         EXPECT_EQ(c.belowADMin1, standard.factory);
         EXPECT_EQ(c.total, standard.total);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    NucCamera fresh(GetParam());
    ASSERT_EQ(c.set(fresh.handle()), TQV_OK);
    RunCorrection(fresh.handle());
    c.check(Results(fresh.handle(), 0));
  }
}

TEST_P(NucFamily, EveryCoveredPresetGetsItsTablesAndOthersKeepTheirs) {
  ASSERT_EQ(tqvSetNUCPresets(h, false, true, false, true), TQV_OK);
  ASSERT_EQ(tqvSetNUCSource(h, 1), TQV_OK);
  EXPECT_EQ(RunCorrection(h).back(), kDone);
  EXPECT_GT(Results(h, 1).total, 0u);
  EXPECT_GT(Results(h, 3).total, 0u);
  EXPECT_EQ(Results(h, 0).total, 0u);
  EXPECT_FALSE(camera.File("/FlashFS/nuc/preset0.nuc"));
  const tqvSNUCInfo info = HeaderOf(StoredFile(camera, 1));
  EXPECT_EQ(info.bpTotal, Results(h, 1).total);
  // Each preset's own window (the property tree's presets differ; GenICam has one window).
  u16 x = 0, y = 0, width = 0, height = 0;
  ASSERT_EQ(tqvGetWindow(h, 1, &x, &y, &width, &height), TQV_OK);
  EXPECT_EQ(info.windowOffsetX, x);
  EXPECT_EQ(info.windowWidth, width);
  EXPECT_EQ(info.windowHeight, height);
}

TEST_P(NucFamily, ACorrectionWithoutPresetsFailsAndARunningOneRefusesASecondStart) {
  ASSERT_EQ(tqvSetNUCPresets(h, false, false, false, false), TQV_OK);
  EXPECT_EQ(RunCorrection(h), std::vector<u16>{kFailed});
  EXPECT_EQ(Result(h), 3);

  ASSERT_EQ(tqvSetNUCPresets(h, true, false, false, false), TQV_OK);
  ASSERT_EQ(tqvStartNUC(h), TQV_OK);
  EXPECT_EQ(tqvStartNUC(h), camera.isTree() ? 2u : 165u);
  EXPECT_EQ(tqvDoAutoNUC(h), camera.isTree() ? 2u : 165u);
  EXPECT_EQ(PollToEnd(h).back(), kDone);
}

TEST_P(NucFamily, AnAutomaticCorrectionUpdatesOffsetsOnTheFlagWhileInProgress) {
  ASSERT_EQ(tqvSetAutoNUCSetup(h, true, false, 1.5f, true, 900), TQV_OK);
  bool running = true;
  ASSERT_EQ(tqvGetAutoNUCInProgress(h, &running), TQV_OK);
  EXPECT_FALSE(running);
  ASSERT_EQ(tqvDoAutoNUC(h), TQV_OK);
  ASSERT_EQ(tqvGetAutoNUCInProgress(h, &running), TQV_OK);
  EXPECT_TRUE(running);
  EXPECT_EQ(PollToEnd(h), (std::vector<u16>{kFlagIn, kCollecting, kFlagOut, kComputing, kDone}));
  ASSERT_EQ(tqvGetAutoNUCInProgress(h, &running), TQV_OK);
  EXPECT_FALSE(running);
  const tqvSNUCInfo info = HeaderOf(StoredFile(camera, 0));
  EXPECT_EQ(info.nucType, 2);  // an offset update
  EXPECT_EQ(info.nucSource, 1);

  // A camera without automatic correction is never running one; GenICam still answers 1.
  NucCamera bare(GetParam());
  ASSERT_TRUE(bare.isTree() ? bare.camera().Remove(".system.settings.nuc.auto.InProgress")
                            : bare.device().Remove("CorrectionAutoInProgress"));
  running = true;
  EXPECT_EQ(tqvGetAutoNUCInProgress(bare.handle(), &running), bare.isTree() ? 0u : 1u);
  EXPECT_FALSE(running);
}

// --- Bad pixels ----------------------------------------------------------------------------------

TEST_P(NucFamily, APickedBadPixelShowsUpInTheNextSavedList) {
  bool supported = false;
  ASSERT_EQ(tqvGetBadPixelListIOSupported(h, &supported), TQV_OK);
  EXPECT_TRUE(supported);
  RunCorrection(h);
  const Counts before = Results(h, 0);
  ASSERT_EQ(tqvSaveBadPixelList(h, 0, "before.bpl"), TQV_OK);
  EXPECT_EQ(ListLines(camera, "/FlashFS/nuc/before.bpl").size(), before.total);
  EXPECT_FALSE(Listed(camera, "/FlashFS/nuc/before.bpl", "100 200 2"));

  ASSERT_EQ(tqvPickBadPixel(h, 100, 200, 0, true), TQV_OK);
  EXPECT_EQ(Results(h, 0).factory, before.factory + 1);
  ASSERT_EQ(tqvSaveBadPixelList(h, 0, "after.bpl"), TQV_OK);
  EXPECT_TRUE(Listed(camera, "/FlashFS/nuc/after.bpl", "100 200 2"));
  EXPECT_EQ(ListLines(camera, "/FlashFS/nuc/after.bpl").size(), before.total + 1);

  // Unpicked, it goes again; picked for every preset, it is on each preset's list.
  ASSERT_EQ(tqvPickBadPixel(h, 100, 200, 0, false), TQV_OK);
  ASSERT_EQ(tqvSaveBadPixelList(h, 0, "again.bpl"), TQV_OK);
  EXPECT_FALSE(Listed(camera, "/FlashFS/nuc/again.bpl", "100 200 2"));
  ASSERT_EQ(tqvPickBadPixel(h, 300, 200, -1, true), TQV_OK);
  ASSERT_EQ(tqvSaveBadPixelList(h, 2, "/FlashFS/p2.bpl"), TQV_OK);
  EXPECT_TRUE(Listed(camera, "/FlashFS/p2.bpl", "300 200 2"));
  // The camera writes lists only into directories it has.
  EXPECT_NE(tqvSaveBadPixelList(h, 2, "/FlashFS/none/p2.bpl"), TQV_OK);
}

TEST_P(NucFamily, ALoadedListIsWhatThePresetListsAsBad) {
  const std::string list = "# three pixels\n1 1 2\n2 2 1\n3 3\n";
  ASSERT_TRUE(camera.isTree() ? camera.camera().Files().Put("/FlashFS/nuc/three.bpl",
                                                            {list.begin(), list.end()}) == 0
                              : camera.device().Files().Write("/FlashFS/nuc/three.bpl",
                                                              {list.begin(), list.end()}) == 0);
  ASSERT_EQ(tqvSetNUCUseFactoryBadPixels(h, false), TQV_OK);
  ASSERT_EQ(tqvSetNUCSource(h, 1), TQV_OK);
  RunCorrection(h);
  ASSERT_EQ(tqvLoadBadPixelList(h, 0, "three.bpl"), TQV_OK);
  EXPECT_EQ(Results(h, 0).factory, 3u);
  EXPECT_EQ(tqvLoadBadPixelList(h, 0, "missing.bpl"), camera.isTree() ? 160u : 165u);
  EXPECT_EQ(Results(h, 0).factory, 3u);  // a failed load changes nothing
}

TEST_P(NucFamily, TheFactoryListIsMadeFromAPresetAndAppliedToOthers) {
  ASSERT_EQ(tqvSetNUCSource(h, 1), TQV_OK);
  RunCorrection(h);
  const Counts p0 = Results(h, 0);
  ASSERT_EQ(tqvPickBadPixel(h, 0, 0, 0, true), TQV_OK);
  ASSERT_EQ(tqvMfgFactoryBPLCreate(h, 0), TQV_OK);
  // Every bad pixel of preset 0 is now a factory one.
  const Counts listed = Results(h, 0);
  EXPECT_EQ(listed.total, p0.total + 1);
  EXPECT_EQ(listed.factory, listed.total);
  // Preset 3's list takes the factory pixels inside its window.
  ASSERT_EQ(tqvMfgFactoryBPLApply(h, 3), TQV_OK);
  EXPECT_GT(Results(h, 3).factory, 0u);
  ASSERT_EQ(tqvMfgFactoryBPLAppend(h, -1), TQV_OK);
  EXPECT_EQ(tqvMfgFactoryBPLApply(h, -1), TQV_OK);
}

// --- Settings of several values ------------------------------------------------------------------

TEST_P(NucFamily, SettingsOfSeveralValuesReadBackWhatWasWritten) {
  ASSERT_EQ(tqvSetNUCSetup(h, 0.75f, 1.5f, 1200, 14000, false), TQV_OK);
  EXPECT_EQ(Read(tqvGetNUCSetup, h), std::tuple(0.75f, 1.5f, u16{1200}, u16{14000}, false));
  ASSERT_EQ(tqvSetTwinklerSetup(h, true, 512, 321), TQV_OK);
  EXPECT_EQ(Read(tqvGetTwinklerSetup, h), std::tuple(true, 512u, u16{321}));
  ASSERT_EQ(tqvSetNUCFlagSetpointDeltas(h, -2.5f, 7.5f), TQV_OK);
  EXPECT_EQ(Read(tqvGetNUCFlagSetpointDeltas, h), std::tuple(-2.5f, 7.5f));
  ASSERT_EQ(tqvSetNUCFlagSetpointTemps(h, 15.0f, 45.0f), TQV_OK);
  EXPECT_EQ(Read(tqvGetNUCFlagSetpointTemps, h), std::tuple(15.0f, 45.0f));
  ASSERT_EQ(tqvSetNUCFlagConfig(h, 65.0f, 0.25f, 8, 300), TQV_OK);
  EXPECT_EQ(Read(tqvGetNUCFlagConfig, h), std::tuple(65.0f, 0.25f, u8{8}, 300u));
  ASSERT_EQ(tqvSetNUCPresets(h, false, true, true, false), TQV_OK);
  EXPECT_EQ(Read(tqvGetNUCPresets, h), Presets(false, true, true, false));
  ASSERT_EQ(tqvSetAutoNUCSetup(h, true, false, 1.5f, true, 900), TQV_OK);
  EXPECT_EQ(Read(tqvGetAutoNUCSetup, h), std::tuple(true, false, 1.5f, true, 900u));
  ASSERT_EQ(tqvSetDigitalOutputNUCEnabled(h, false), TQV_OK);
  EXPECT_EQ(Read(tqvGetDigitalOutputNUCEnabled, h), std::tuple(false));
}

// The code is given out before its text is read, so it comes back even when the text does not fit.
TEST_P(NucFamily, TheStatusCodeComesBackWhenItsTextDoesNotFit) {
  if (camera.isTree()) {
    camera.camera().Set(".system.settings.nuc.statusText", sim::ptree::Value::Str("Ready"));
  } else {
    camera.device().SetString("CorrectionStatusText", "Ready");
  }
  // Five characters: the property tree needs two bytes more, GenICam one.
  const int needed = camera.isTree() ? 7 : 6;
  for (int size : {needed - 1, needed}) {
    char buffer[8] = "#";
    u16 code = 0xFFFF;
    EXPECT_EQ(tqvGetNUCStatus(h, &code, buffer, size), size == needed ? TQV_OK : 0xFFFFFFFFu);
    EXPECT_EQ(code, 0);
    EXPECT_STREQ(buffer, size == needed ? "Ready" : "#");
  }
}

TEST_P(NucFamily, ResultsOfAPresetAboveThreeAreRefused) {
  Counts c{77};
  camera.ClearTraffic();
  EXPECT_EQ(GetCounts(h, 4, &c), camera.isTree() ? 166u : 0xFFFFFFFFu);
  EXPECT_EQ(c.total, 77u);
  EXPECT_TRUE(!camera.isTree() || camera.Traffic() == 0) << "the tree was asked";
}

// --- Sizes ---------------------------------------------------------------------------------------

TEST_P(NucFamily, SizesAreGuessedOnTheHostAndReadFromTheCamera) {
  struct Case {
    u16 width, height;
    u32 size;
  };
  // The last wraps as the camera's arithmetic does.
  const Case cases[] = {{640, 512, 1311744}, {0, 0, 1024}, {65535, 65535, 4294444036u}};
  camera.ClearTraffic();
  for (const Case& c : cases) {
    u32 size = 0;
    ASSERT_EQ(tqvGuessNUCSize(h, c.width, c.height, &size), TQV_OK);
    EXPECT_EQ(size, c.size) << c.width << " x " << c.height;
  }
  EXPECT_EQ(camera.Traffic(), 0u);
  u32 size = 0;
  ASSERT_EQ(tqvGetNUCSize(h, "office", &size), TQV_OK);
  EXPECT_EQ(size, 1300u);
}

// --- The single-preset view ----------------------------------------------------------------------

TEST_P(NucFamily, TheSinglePresetViewKeepsOnlyOnePresetEnabled) {
  struct Case {
    Presets enabled;
    u8 reported;
    Presets after;
    bool writes;
  };
  const Case cases[] = {
      {{false, true, false, true}, 1, {false, true, false, false}, true},
      {{false, false, false, false}, 0, {true, false, false, false}, true},
      {{false, false, true, false}, 2, {false, false, true, false}, false},
      {{true, true, true, true}, 0, {true, false, false, false}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.enabled));
    const auto [p0, p1, p2, p3] = c.enabled;
    ASSERT_EQ(tqvSetNUCPresets(h, p0, p1, p2, p3), TQV_OK);
    camera.ClearTraffic();
    u8 preset = 99;
    ASSERT_EQ(tqvGetNUCPreset(h, &preset), TQV_OK);
    EXPECT_EQ(preset, c.reported);
    const std::size_t viewing = camera.Traffic();
    EXPECT_EQ(Read(tqvGetNUCPresets, h), c.after);
    // Reading the four enables costs the same as reading them again; writing costs more.
    EXPECT_EQ(viewing > camera.Traffic() - viewing, c.writes);
  }

  ASSERT_EQ(tqvSetNUCPreset(h, 3), TQV_OK);
  EXPECT_EQ(Read(tqvGetNUCPresets, h), Presets(false, false, false, true));
  camera.ClearTraffic();
  EXPECT_EQ(tqvSetNUCPreset(h, 4), 2u);
  EXPECT_EQ(camera.Traffic(), 0u);
}

TEST_P(NucFamily, TheBadPixelCorrectionMethodIsAvailableUnlessTheBoardIsAnAlder) {
  const auto available = [](const NucCamera& cam) {
    return std::get<0>(Read(tqvGetBadPixelCorrectionMethodAvailable, cam.handle()));
  };
  EXPECT_TRUE(available(camera));  // a WZN board
  NucCamera alder(GetParam());
  if (alder.isTree()) {
    alder.camera().Set(".version.product.tqvBoardType", sim::ptree::Value::Str("Alder"));
  } else {
    alder.device().SetInt("BoardType", 2);
  }
  EXPECT_FALSE(available(alder));
}

// --- Several steps: the fault sweep --------------------------------------------------------------

struct Operation {
  const char* name;
  std::function<u32(void* h)> run;
  // Set-up on each fresh camera (not swept).
  std::function<void(void* h)> prepare = nullptr;
};

// A failed operation gives out nothing: its outputs keep the values they started with.
template <typename T>
u32 Untouched(u32 result, const T& value, const T& before) {
  if (result != TQV_OK) {
    EXPECT_EQ(value, before);
  }
  return result;
}

// A getter's outputs start at 99, or false: the camera answers true to most of them.
template <typename... T>
std::function<u32(void*)> Getter(u32 (*get)(void*, T*...)) {
  return [get](void* h) {
    const std::tuple<T...> before{static_cast<T>(std::is_same_v<T, bool> ? 0 : 99)...};
    std::tuple<T...> values = before;
    return Untouched(std::apply([&](T&... v) { return get(h, &v...); }, values), values, before);
  };
}

// The code is given out before the text is read; the text only when it was.
std::function<u32(void*)> CodeAndText(u32 (*get)(void*, u16*, char*, i32)) {
  return [get](void* h) {
    u16 code = 99;
    char text[64] = "untouched";
    return Untouched(get(h, &code, text, sizeof text), std::string(text), std::string("untouched"));
  };
}

// The settings of several values share one way of reading and writing: the set-up stands for the
// twinklers, the flag set-points and the flag configuration.
const std::vector<Operation>& SweptOperations() {
  static const std::vector<Operation> operations = {
      {"SetDigitalOutputNUCEnabled",
       [](void* h) { return tqvSetDigitalOutputNUCEnabled(h, false); }},
      {"GetNUCStatus", CodeAndText(tqvGetNUCStatus)},
      {"GetNUCResult", CodeAndText(tqvGetNUCResult)},
      {"GetNUCResults",
       [](void* h) {
         const Counts before{77, 77, 77, 77, 77, 77, 77, 77, 77, 77};
         Counts c = before;
         return Untouched(GetCounts(h, 1, &c), c, before);
       }},
      {"GetNUCSetup", Getter(tqvGetNUCSetup)},
      {"SetNUCSetup", [](void* h) { return tqvSetNUCSetup(h, 0.6f, 1.8f, 900, 14000, true); }},
      {"GetNUCPresets", Getter(tqvGetNUCPresets)},
      {"SetNUCPresets", [](void* h) { return tqvSetNUCPresets(h, true, false, true, false); }},
      {"GetAutoNUCSetup", Getter(tqvGetAutoNUCSetup)},
      {"SetAutoNUCSetup",
       [](void* h) { return tqvSetAutoNUCSetup(h, true, false, 3.0f, true, 1200); }},
      {"AcceptNUC", [](void* h) { return tqvAcceptNUC(h); }},
      {"DiscardNUC", [](void* h) { return tqvDiscardNUC(h); },
       [](void* h) { tqvSetNUCPresets(h, true, false, true, false); }},
      {"PickBadPixel", [](void* h) { return tqvPickBadPixel(h, 5, 6, 0, true); }},
      {"SaveBadPixelList", [](void* h) { return tqvSaveBadPixelList(h, 0, "swept.bpl"); }},
      {"LoadBadPixelList", [](void* h) { return tqvLoadBadPixelList(h, 0, "swept.bpl"); },
       [](void* h) { tqvSaveBadPixelList(h, 0, "swept.bpl"); }},
      {"MfgFactoryBPLCreate", [](void* h) { return tqvMfgFactoryBPLCreate(h, -1); }},
      {"MfgFactoryBPLAppend", [](void* h) { return tqvMfgFactoryBPLAppend(h, 0); }},
      {"MfgFactoryBPLApply", [](void* h) { return tqvMfgFactoryBPLApply(h, -1); }},
      {"GetNUCSize",
       [](void* h) {
         u32 size = 5;
         return Untouched(tqvGetNUCSize(h, "office", &size), size, 5u);
       }},
      {"GetBadPixelCorrectionMethodAvailable", Getter(tqvGetBadPixelCorrectionMethodAvailable)},
      {"tqvGetNUCPreset", Getter(tqvGetNUCPreset),
       [](void* h) { tqvSetNUCPresets(h, false, true, false, true); }},
  };
  return operations;
}

// Older property-tree cameras may lack the factory and new counts: a failed read of either (or of
// the user count that stands in for them) is no failure of the results.
bool StandsIn(const std::string& path) {
  for (const char* count : {"badPixels.factory", "badPixels.new", "badPixels.user"}) {
    if (path.find(count) != std::string::npos) return true;
  }
  return false;
}

TEST(NucFamilySweep, EveryOperationOfSeveralStepsIsFailedAtEachStep) {
  testutil::SleepRecorder noWaiting;
  for (const Operation& op : SweptOperations()) {
    SCOPED_TRACE(op.name);
    testutil::SweepOptions options;
    options.prepare = op.prepare;
    options.tolerated = &StandsIn;
    const auto run = [&op](void* h, bool) { return op.run(h); };
    {
      SCOPED_TRACE("property tree");
      testutil::SweepPTree(run, options);
    }
    SCOPED_TRACE("GenICam");
    testutil::SweepGenICam(run, options);
  }
}

// --- Two threads ---------------------------------------------------------------------------------

TEST_P(NucFamily, TwoThreadsOnOneHandleSteerAndWatchACorrection) {
  auto watch = [this] {
    for (int i = 0; i < 40; ++i) {
      u16 code = 0;
      char text[256];
      EXPECT_EQ(tqvGetNUCStatus(h, &code, text, sizeof text), TQV_OK);
      Results(h, 0);
      Read(tqvGetNUCPresets, h);
      Read(tqvGetAutoNUCSetup, h);
      Read(tqvGetDigitalOutputNUCEnabled, h);
      zel::SleepMs(50);
    }
  };
  auto steer = [this] {
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(tqvStartNUC(h), TQV_OK);
      EXPECT_EQ(tqvPickBadPixel(h, static_cast<u16>(i), 3, 0, true), TQV_OK);
      EXPECT_EQ(tqvSaveBadPixelList(h, 0, "threads.bpl"), TQV_OK);
      EXPECT_EQ(tqvSetNUCSetup(h, 0.5f, 2.0f, 1000, 15000, i % 2 == 0), TQV_OK);
      EXPECT_EQ(tqvAbortNUC(h), TQV_OK);
      Read(tqvGetNUCPreset, h);
      EXPECT_EQ(tqvSetDigitalOutputNUCEnabled(h, i % 2 == 0), TQV_OK);
    }
  };
  std::thread other(watch);
  steer();
  other.join();
  ASSERT_EQ(tqvSaveBadPixelList(h, 0, "threads.bpl"), TQV_OK);
  EXPECT_EQ(ListLines(camera, "/FlashFS/nuc/threads.bpl").size(), Results(h, 0).total);
}

INSTANTIATE_TEST_SUITE_P(Backends, NucFamily,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICam), BackendName);

}  // namespace
