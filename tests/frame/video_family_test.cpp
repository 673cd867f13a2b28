// Video output, AGC and overlay through the C interface on both simulated cameras: the records
// taken as a whole, the manual AGC pair, item colours and the redraw of the items shown, the
// overlay's defaults and what the cache forgets, the user-defined field, the formats and zoom
// factors the camera offers, whether the video position can be set, the operations of several
// steps failed at each step, and two threads. The plain rows are family_rows_test.cpp's.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "families/rows.h"

namespace {

using testutil::AnyCamera;
using testutil::Backend;
using testutil::GicCamera;
using testutil::PTreeCamera;

class VideoFamily : public ::testing::TestWithParam<Backend> {
 protected:
  testutil::SleepRecorder noWaiting;
  AnyCamera camera{GetParam()};
  void* h = camera.handle();
};

INSTANTIATE_TEST_SUITE_P(Both, VideoFamily,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICam),
                         testutil::BackendName);

// Sends the next reads to the camera (GenICam keeps no cache, and says so with 2).
void ForgetCache(void* handle) {
  const u32 result = tqvClearCache(handle);
  EXPECT_TRUE(result == TQV_OK || result == TQV_NOT_SUPPORTED) << result;
}

void ClearTraffic(const AnyCamera& camera) {
  if (camera.tree()) camera.tree()->ClearTraffic();
  if (camera.device()) camera.device()->ClearLog();
}

std::string Overlay(const std::string& item, const char* field) {
  return ".system.settings.overlay." + item + "." + field;
}

std::vector<u16> AGCROI(void* handle) {
  u16 r[4] = {};
  EXPECT_EQ(tqvGetVideoAGCROI(handle, &r[0], &r[1], &r[2], &r[3]), TQV_OK);
  return {r, r + 4};
}

// --- Records taken as a whole -------------------------------------------------------------------

// The values are written before the camera is told to take them, and the camera is told to load
// them before they are read. A region off the sensor is refused, and the camera keeps the last.
TEST_P(VideoFamily, RecordsAreCommittedAfterTheirValuesAndLoadedBeforeThem) {
  testutil::LogCapture log;  // the refused region's command failure
  i16 x = 0, y = 0;
  ClearTraffic(camera);
  ASSERT_EQ(tqvSetVideoOffset(h, 5, -6), TQV_OK);
  ForgetCache(h);
  ASSERT_EQ(tqvGetVideoOffset(h, &x, &y), TQV_OK);
  std::vector<std::string> seen;
  if (camera.tree()) {
    for (const sim::ptree::Access& a : camera.tree()->Traffic())
      seen.push_back(a.kind + " " + a.path.substr(a.path.rfind('.') + 1) + " " + a.value);
    EXPECT_EQ(seen, (std::vector<std::string>{"set x 5", "set y -6", "set commit true",
                                              "set read true", "get x 5", "get y -6"}));
  } else {
    for (const sim::genicam::Access& a : camera.device()->Log()) {
      if (a.access != "lookup" && a.access != "isDone")
        seen.push_back(a.access + " " + a.feature + " " + a.value);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "set VideoOffsetX 5", "set VideoOffsetY -6", "execute VideoOffsetWrite ",
                        "execute VideoOffsetRead ", "get VideoOffsetX 5", "get VideoOffsetY -6"}));
  }

  const std::vector<u16> region = {32, 48, 128, 96};
  ASSERT_EQ(tqvSetVideoAGCROI(h, 32, 48, 128, 96), TQV_OK);
  EXPECT_EQ(tqvSetVideoAGCROI(h, 600, 0, 100, 100), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(AGCROI(h), region);
  ForgetCache(h);
  EXPECT_EQ(AGCROI(h), region);
}

TEST_P(VideoFamily, ManualLimitsAreTheLowThenTheHighOperation) {
  u16 low = 0, high = 0;
  ASSERT_EQ(tqvSetVideoAGCManual(h, 111, 222), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCManualLow(h, &low), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCManualHigh(h, &high), TQV_OK);
  EXPECT_EQ(std::pair(low, high), (std::pair<u16, u16>(111, 222)));
  ASSERT_EQ(tqvSetVideoAGCManualHigh(h, 333), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCManual(h, &low, &high), TQV_OK);
  EXPECT_EQ(std::pair(low, high), (std::pair<u16, u16>(111, 333)));
}

// --- Item colours -------------------------------------------------------------------------------

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The items drawn as text, in the order their colours are set.
const std::vector<std::string> kTextItems = Words(
    "date airGapTemperature chassisTemperature flag frameRate frontPanelTemperature "
    "internalTemperature irig lensTemperature palette preset fov focus zoom message operatingTime "
    "time cameraInfo stateFilename");

struct ColourSetter {
  u32 (*set)(void* handle, u8 colour);
  u32 (*get)(void* handle, u8* colour);
  std::vector<std::string> items;
  const char* field;
};

const ColourSetter kColourSetters[] = {
    {&tqvSetVideoOverlayTextColor, &tqvGetVideoOverlayTextColor, kTextItems, "fgColor"},
    {&tqvSetVideoOverlayTextBackground, &tqvGetVideoOverlayTextBackground, kTextItems, "bgColor"},
    {&tqvSetVideoOverlayAGCROIColor, &tqvGetVideoOverlayAGCROIColor, {"agcROI"}, "fgColor"},
    {&tqvSetVideoOverlayFocusROIColor,
     &tqvGetVideoOverlayFocusROIColor,
     {"autoFocusROI"},
     "fgColor"},
};

// On the property tree each item is coloured in turn, and an item shown is hidden and shown again
// so that the overlay draws it anew; items not shown are left alone.
TEST(VideoColours, EachItemIsColouredAndTheShownOnesAreRedrawn) {
  std::size_t redrawn = 0, leftAlone = 0;
  for (const ColourSetter& setter : kColourSetters) {
    SCOPED_TRACE(setter.items.back());
    PTreeCamera camera;
    sim::ptree::Camera& tree = camera.camera();
    tree.Set(Overlay("agcROI", "display"), sim::ptree::Value::Bool(true));
    std::vector<std::string> reads, writes;
    for (const std::string& item : setter.items) {
      reads.push_back(Overlay(item, "display"));
      writes.push_back(Overlay(item, setter.field) + "=9");
      if (tree.Integer(Overlay(item, "display")) == 0) {
        ++leftAlone;
        continue;
      }
      writes.push_back(Overlay(item, "display") + "=false");
      writes.push_back(Overlay(item, "display") + "=true");
      ++redrawn;
    }
    tree.ClearTraffic();
    ASSERT_EQ(setter.set(camera.handle(), 9), TQV_OK);
    std::vector<std::string> read;
    for (const sim::ptree::Access& access : tree.Traffic()) {
      if (access.kind == "get") read.push_back(access.path);
    }
    EXPECT_EQ(read, reads);
    EXPECT_EQ(tree.Writes(), writes);
    // The getter answers the new colour without asking.
    tree.ClearTraffic();
    u8 colour = 0;
    ASSERT_EQ(setter.get(camera.handle(), &colour), TQV_OK);
    EXPECT_EQ(colour, 9);
    EXPECT_TRUE(tree.Traffic().empty());
  }
  EXPECT_GT(redrawn, 0u);
  EXPECT_GT(leftAlone, 0u);
}

// A call that fails part-way leaves the cache true: the date's colour was written and is answered,
// and an item hidden for its redraw that cannot be shown again is read from the camera again.
TEST(VideoColours, AColouringThatFailsPartWayLeavesTheCacheTrue) {
  PTreeCamera camera;
  sim::ptree::Camera& tree = camera.camera();
  u8 colour = 0;
  ASSERT_EQ(tqvGetVideoOverlayTextColor(camera.handle(), &colour), TQV_OK);  // cached
  tree.InjectFault(Overlay("chassisTemperature", "fgColor"), 165, 1, "set");
  EXPECT_EQ(tqvSetVideoOverlayTextColor(camera.handle(), 8), 165u);
  ASSERT_EQ(tqvGetVideoOverlayTextColor(camera.handle(), &colour), TQV_OK);
  EXPECT_EQ(colour, 8);

  bool shown = false;
  ASSERT_EQ(tqvGetVideoOverlayShowDate(camera.handle(), &shown), TQV_OK);
  ASSERT_TRUE(shown);
  tree.ClearTraffic();
  tree.FailCall(3, 165);  // display read, colour, hidden, shown again
  EXPECT_EQ(tqvSetVideoOverlayTextColor(camera.handle(), 2), 165u);
  ASSERT_EQ(tqvGetVideoOverlayShowDate(camera.handle(), &shown), TQV_OK);
  EXPECT_FALSE(shown);
}

// --- Overlay defaults and clearing --------------------------------------------------------------

TEST_P(VideoFamily, DefaultsPutTheProfilesOverlayBack) {
  const bool tree = camera.tree() != nullptr;
  ASSERT_EQ(tqvSetVideoOverlayShowDate(h, false), TQV_OK);
  ASSERT_EQ(tqvSetVideoOverlayUserDefinedFieldText(h, "changed"), TQV_OK);
  ASSERT_EQ(tqvSetVideoAGCROIShowWhenEnabled(h, false), TQV_OK);
  ASSERT_EQ(tqvSetVideoFormat(h, tree ? 13 : 1), TQV_OK);
  ClearTraffic(camera);

  ASSERT_EQ(tqvVideoOverlayUseDefaults(h), TQV_OK);
  bool date = false, showRegion = false;
  u8 format = 0;
  char user[80] = {};
  ASSERT_EQ(tqvGetVideoOverlayShowDate(h, &date), TQV_OK);
  ASSERT_EQ(tqvGetVideoOverlayUserDefinedFieldText(h, user, sizeof user), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCROIShowWhenEnabled(h, &showRegion), TQV_OK);
  ASSERT_EQ(tqvGetVideoFormat(h, &format), TQV_OK);
  EXPECT_TRUE(date);
  EXPECT_STREQ(user, "SIM camera");
  EXPECT_EQ(format, tree ? 13 : 1) << "not an overlay setting";
  // The property tree shows the AGC region whenever it is enabled; GenICam leaves it to the
  // camera.
  EXPECT_EQ(showRegion, tree);
  if (tree) {
    EXPECT_EQ(camera.tree()->Writes(),
              (std::vector<std::string>{".system.settings.overlay.goToDefault=true",
                                        ".system.settings.video.agc.roi.showWhenEnabled=true"}));
  } else {
    EXPECT_EQ(camera.device()->ExecuteCount("VideoOverlayUseDefaults"), 1);
  }
}

TEST(VideoDefaults, RefusedDefaultsKeepTheCache) {
  PTreeCamera camera;
  bool date = true;
  ASSERT_EQ(tqvSetVideoOverlayShowDate(camera.handle(), false), TQV_OK);
  camera.camera().InjectFault(".system.settings.overlay.goToDefault", 165);
  EXPECT_EQ(tqvVideoOverlayUseDefaults(camera.handle()), 165u);
  camera.camera().ClearTraffic();
  ASSERT_EQ(tqvGetVideoOverlayShowDate(camera.handle(), &date), TQV_OK);
  EXPECT_FALSE(date);
  EXPECT_TRUE(camera.camera().Traffic().empty());
}

// After the overlay's defaults the overlay's cached values, and only they, come from the camera
// again: every cached row of every family table is read before and after.
TEST(VideoDefaults, OnlyTheOverlaysCachedValuesAreForgotten) {
  struct Entry {
    const char* path;
    u32 (*get)(void* handle);
  };
  std::vector<Entry> cached;
  auto add = [&cached](const rows::Tree& tree, u32 (*get)(void*)) {
    if (tree.cached) cached.push_back({tree.path, get});
  };
  // clang-format off
#define TQV_READ(get, type, tree) add(tree, +[](void* handle) { type value{}; return tqv##get(handle, &value); });
#define TQV_VALUE(get, set, type, tree, gic) TQV_READ(get, type, tree)
#define TQV_GETTER(get, type, tree, gic) TQV_READ(get, type, tree)
#define TQV_TEXT(get, set, size, tree, gic) add(tree, +[](void* handle) { char text[size + 1]; return tqv##get(handle, text, sizeof text); });
  // clang-format on
#include "families/all.def"
#undef TQV_READ
  PTreeCamera camera;
  for (const Entry& entry : cached)
    ASSERT_EQ(entry.get(camera.handle()), TQV_OK) << entry.path;
  ASSERT_EQ(tqvVideoOverlayUseDefaults(camera.handle()), TQV_OK);
  camera.camera().ClearTraffic();
  for (const Entry& entry : cached) {
    SCOPED_TRACE(entry.path);
    const std::string path = entry.path;
    const bool overlay = path.starts_with(".system.settings.overlay.") ||
                         path == ".system.settings.video.showOverlay";
    ASSERT_EQ(entry.get(camera.handle()), TQV_OK);
    EXPECT_EQ(camera.camera().CountPath(path), overlay ? 1u : 0u);
  }
}

// What was read before the clear (and cached on the property tree) is not what reads after it.
TEST_P(VideoFamily, ClearHidesEveryItem) {
  std::vector<std::pair<const char*, u32 (*)(void*, bool*)>> shows;
#define TQV_OVERLAY_SHOW(name, item) shows.emplace_back(#name, &tqvGetVideoOverlayShow##name);
#include "families/all.def"
  ASSERT_FALSE(shows.empty());
  bool date = false;
  ASSERT_EQ(tqvGetVideoOverlayShowDate(h, &date), TQV_OK);
  ASSERT_TRUE(date);
  ASSERT_EQ(tqvVideoOverlayClear(h), TQV_OK);
  for (const auto& [name, get] : shows) {
    bool shown = true;
    ASSERT_EQ(get(h, &shown), TQV_OK) << name;
    EXPECT_FALSE(shown) << name;
  }
}

// --- User-defined field -------------------------------------------------------------------------

// The property tree refuses a text over 64 characters before sending it (GenICam leaves it to the
// camera), and copies a text into a buffer two bytes longer than it; GenICam one byte longer.
TEST_P(VideoFamily, UserDefinedFieldTakes64CharactersAndCopiesByTheBackendsBufferRule) {
  const std::string longest(64, 'u');
  char buffer[100] = {};
  ASSERT_EQ(tqvSetVideoOverlayUserDefinedFieldText(h, longest.c_str()), TQV_OK);
  ASSERT_EQ(tqvGetVideoOverlayUserDefinedFieldText(h, buffer, sizeof buffer), TQV_OK);
  EXPECT_EQ(buffer, longest);
  ClearTraffic(camera);
  const u32 result = tqvSetVideoOverlayUserDefinedFieldText(h, std::string(65, 'v').c_str());
  if (camera.tree()) {
    EXPECT_EQ(result, 169u);
    EXPECT_TRUE(camera.tree()->Traffic().empty());
  } else {
    EXPECT_EQ(result, TQV_OK);
  }

  ASSERT_EQ(tqvSetVideoOverlayUserDefinedFieldText(h, "abcd"), TQV_OK);
  const int fits = camera.tree() ? 6 : 5;
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(tqvGetVideoOverlayUserDefinedFieldText(h, buffer, fits - 1), 0xFFFFFFFFu);
  EXPECT_EQ(buffer[0], '#');
  ASSERT_EQ(tqvGetVideoOverlayUserDefinedFieldText(h, buffer, fits), TQV_OK);
  EXPECT_STREQ(buffer, "abcd");
}

// --- Whether the position and the text colours can be set ---------------------------------------

using Answer = u32 (*)(void*, bool*);
const Answer kAnswers[] = {&tqvGetVideoPositionWritable, &tqvGetVideoOverlayTextColorsAvailable};

// Which WZN firmware refreshes the new way is the helpers' test; here one of each kind will do.
TEST(VideoLayout, PositionAndTextColoursAreTheHostsExceptOnNewWZNFirmwareAndBirchBoards) {
  const struct {
    const char* board;
    u16 major, minor;
    bool answer;
  } boards[] = {
      {"WZN", 3, 4, false}, {"WZN", 3, 3, true}, {"Birch", 2, 0, false}, {"TQV1", 3, 4, true}};
  for (const auto& board : boards) {
    SCOPED_TRACE(std::string(board.board) + " " + std::to_string(board.minor));
    PTreeCamera tree;
    sim::ptree::Camera& sim = tree.camera();
    sim.Set(".version.product.tqvBoardType", sim::ptree::Value::Str(board.board));
    sim.Set(".version.sw.AppCore.major", sim::ptree::Value::U16(board.major));
    sim.Set(".version.sw.AppCore.minor", sim::ptree::Value::U16(board.minor));
    sim.Set(".version.sw.AppCore.intermediate", sim::ptree::Value::U16(board.minor));
    GicCamera gic;
    gic.device().SetString("BoardType", board.board);
    gic.device().SetString(
        "ComponentInfo", std::to_string(board.major) + "." + std::to_string(board.minor) + ".0.1");
    for (void* handle : {tree.handle(), gic.handle()}) {
      ForgetCache(handle);
      for (const Answer answer : kAnswers) {
        bool value = !board.answer;
        ASSERT_EQ(answer(handle, &value), TQV_OK);
        EXPECT_EQ(value, board.answer);
      }
    }
  }
  // A frame grabber (GenICam only) lays its video out like any other board.
  GicCamera grabber("sim:grabber");
  bool value = false;
  ASSERT_EQ(tqvGetVideoPositionWritable(grabber.handle(), &value), TQV_OK);
  EXPECT_TRUE(value);
}

TEST(VideoLayout, TheFirstFailingReadIsTheAnswer) {
  for (const Answer answer : kAnswers) {
    for (const char* failing : {".version.product.tqvBoardType", ".version.sw.AppCore.major"}) {
      SCOPED_TRACE(failing);
      PTreeCamera camera;
      camera.camera().InjectFault(failing, 165, 1, "getString");
      camera.camera().InjectFault(failing, 165, 1, "get");
      bool value = false;
      EXPECT_EQ(answer(camera.handle(), &value), 165u);
      EXPECT_FALSE(value);
    }
  }
}

// --- Several steps, caching, threads ------------------------------------------------------------

// A reading of N values, which a faulted run must leave as they were.
template <typename T, std::size_t N>
std::function<u32(void*, bool)> Untouched(u32 (*read)(void* handle, std::array<T, N>& values)) {
  return [read](void* handle, bool faulted) {
    std::array<T, N> values;
    values.fill(77);
    const u32 result = read(handle, values);
    for (const T value : values)
      EXPECT_TRUE(!faulted || value == 77) << value;
    return result;
  };
}

// The operations of several steps (several accesses, or a command waited for); GenICam writes
// each colour as one feature, so only the property tree's colours are swept.
TEST(VideoSteps, EveryStepFailsInTurn) {
  testutil::SleepRecorder noWaiting;
  testutil::LogCapture log;
  using Run = std::function<u32(void*, bool)>;
  using Pair = std::array<i16, 2>;
  using Four = std::array<u16, 4>;
  using Limits = std::array<u16, 2>;
  const std::pair<Run, bool> operations[] = {
      {Untouched<i16, 2>(+[](void* h, Pair& v) { return tqvGetVideoOffset(h, &v[0], &v[1]); }),
       true},
      {[](void* h, bool) { return tqvSetVideoOffset(h, 3, 4); }, true},
      {Untouched<u16, 4>(
           +[](void* h, Four& v) { return tqvGetVideoAGCROI(h, &v[0], &v[1], &v[2], &v[3]); }),
       true},
      {[](void* h, bool) { return tqvSetVideoAGCROI(h, 16, 16, 64, 64); }, true},
      {Untouched<u16, 2>(+[](void* h, Limits& v) { return tqvGetVideoAGCManual(h, &v[0], &v[1]); }),
       true},
      {[](void* h, bool) { return tqvSetVideoAGCManual(h, 5, 6); }, true},
      {[](void* h, bool) { return tqvSetVideoOverlayTextColor(h, 1); }, false},
      {[](void* h, bool) { return tqvSetVideoOverlayTextBackground(h, 1); }, false},
      {[](void* h, bool) { return tqvSetVideoOverlayAGCROIColor(h, 1); }, false},
      {[](void* h, bool) { return tqvSetVideoOverlayFocusROIColor(h, 1); }, false},
      {[](void* h, bool) { return tqvVideoOverlayUseDefaults(h); }, true},
      {[](void* h, bool) { return tqvVideoOverlayClear(h); }, true},
      {[](void* h, bool) { return tqvVideoOverlayClearMessage(h); }, true},
      {[](void* h, bool) { return tqvLoadHardDefaults(h); }, true},
  };
  testutil::SweepOptions shown;
  // With the AGC region shown its colour is redrawn too.
  shown.prepare = [](void* handle) { ASSERT_EQ(tqvSetVideoOverlayShowAGCROI(handle, true), 0u); };
  for (std::size_t i = 0; i < std::size(operations); ++i) {
    SCOPED_TRACE("operation " + std::to_string(i));
    testutil::SweepPTree(operations[i].first, shown);
    if (operations[i].second) testutil::SweepGenICam(operations[i].first);
  }
}

// After FillCache the hand-written getters answer without asking; a set refreshes them.
TEST(VideoCache, HandWrittenGettersAnswerFromTheCache) {
  PTreeCamera camera;
  void* h = camera.handle();
  ASSERT_EQ(tqvFillCache(h), TQV_OK);
  camera.camera().ClearTraffic();
  i16 x = 0, y = 0;
  u16 low = 0, high = 0;
  EXPECT_EQ(AGCROI(h), (std::vector<u16>{160, 128, 320, 256}));
  ASSERT_EQ(tqvGetVideoOffset(h, &x, &y), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCManual(h, &low, &high), TQV_OK);
  EXPECT_EQ(std::pair(low, high), (std::pair<u16, u16>(1000, 15000)));
  EXPECT_TRUE(camera.camera().Traffic().empty());

  ASSERT_EQ(tqvSetVideoOffset(h, 21, -22), TQV_OK);
  ASSERT_EQ(tqvSetVideoAGCROI(h, 8, 8, 16, 16), TQV_OK);
  camera.camera().ClearTraffic();
  ASSERT_EQ(tqvGetVideoOffset(h, &x, &y), TQV_OK);
  EXPECT_EQ(std::pair(x, y), (std::pair<i16, i16>(21, -22)));
  EXPECT_EQ(AGCROI(h), (std::vector<u16>{8, 8, 16, 16}));
  EXPECT_TRUE(camera.camera().Traffic().empty());
}

TEST(VideoThreads, TwoThreadsOnOneHandle) {
  testutil::SleepRecorder noWaiting;
  PTreeCamera tree;
  GicCamera gic;
  auto offsets = [](void* handle) {
    for (i16 i = 0; i < 40; ++i) {
      i16 x = 0, y = 0;
      u16 low = 0, high = 0;
      EXPECT_EQ(tqvSetVideoOffset(handle, i, static_cast<i16>(-i)), TQV_OK);
      EXPECT_EQ(tqvGetVideoOffset(handle, &x, &y), TQV_OK);
      EXPECT_EQ(tqvSetVideoAGCManual(handle, static_cast<u16>(i), 1000), TQV_OK);
      EXPECT_EQ(tqvGetVideoAGCManual(handle, &low, &high), TQV_OK);
    }
  };
  auto overlay = [](void* handle) {
    for (u8 i = 0; i < 40; ++i) {
      u8 colour = 0;
      EXPECT_EQ(tqvSetVideoOverlayTextColor(handle, i), TQV_OK);
      EXPECT_EQ(tqvGetVideoOverlayTextColor(handle, &colour), TQV_OK);
      EXPECT_EQ(tqvSetVideoAGCROI(handle, i, i, 32, 32), TQV_OK);
      AGCROI(handle);
      if (i % 8 == 0) {
        EXPECT_EQ(tqvVideoOverlayUseDefaults(handle), TQV_OK);
      }
    }
  };
  for (void* handle : {tree.handle(), gic.handle()}) {
    std::thread other(overlay, handle);
    offsets(handle);
    other.join();
    i16 x = 0, y = 0;
    ASSERT_EQ(tqvGetVideoOffset(handle, &x, &y), TQV_OK);
    EXPECT_EQ(std::pair(x, y), (std::pair<i16, i16>(39, -39)));
  }
}

}  // namespace
