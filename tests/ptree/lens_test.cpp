// The property-tree backend's lens, filter wheel and flag operations where the traffic matters:
// which lens controller the paths show, the controller's own paths, what each operation keeps in
// and drops from the cache, the fallbacks for paths a camera lacks, and every step of the
// operations of several steps failing in turn.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "ptree/CTQVSDKPTree.h"

using sim::ptree::Value;
using testutil::PTreeCamera;

namespace {

using Call = std::function<u32(void* handle)>;

CTQVSDKPTree& Backend(const PTreeCamera& cam) { return *static_cast<CTQVSDKPTree*>(cam.handle()); }

constexpr const char* kLensType = ".system.lens.lensType";
constexpr const char* kFocusPos = ".system.lens.focusPos";
constexpr const char* kFocusPresent = ".system.lens.focusPresent";
constexpr const char* kVorn = ".vorn.settings.enabled";

// A reading that must succeed.
template <typename T>
T Read(u32 (*get)(void*, T*), void* h) {
  T value{};
  EXPECT_EQ(get(h, &value), TQV_OK);
  return value;
}

std::pair<u32, u32> FocusRange(void* h) {
  u32 minimum = 0, maximum = 0;
  EXPECT_EQ(tqvGetFocusRange(h, &minimum, &maximum), TQV_OK);
  return {minimum, maximum};
}

// A reading widened to u32, so that one table holds getters of several types; `start` shows
// whether the output was touched.
template <typename T>
std::function<u32(void*, u32*)> Answer(u32 (*get)(void*, T*), std::type_identity_t<T> start = {}) {
  return [get, start](void* h, u32* answer) {
    T value = start;
    const u32 result = get(h, &value);
    *answer = value;
    return result;
  };
}

}  // namespace

// --- Which lens controller -----------------------------------------------------------------------

TEST(PtreeLens, TheLensControlTypeFollowsThePathsTheCameraHas) {
  struct Case {
    const char* shape;
    std::vector<std::string> removed;
    std::vector<std::pair<std::string, Value>> set;
    u32 result;
    u8 type;  // 42: nothing written
  };
  const Value yes = Value::Bool(true), no = Value::Bool(false);
  const Case cases[] = {
      {"named", {}, {}, 0, 1},
      {"named in other letters", {}, {{kLensType, Value::Str("tESK")}}, 0, 3},
      {"named unknown", {}, {{kLensType, Value::Str("Zeiss")}}, 0xFFFFFFFF, 255},
      {"focus without zoom", {kLensType, ".system.lens.fov"}, {}, 0, 1},
      {"focus and zoom, controller off", {kLensType}, {}, 0, 1},
      {"focus and zoom, controller on", {kLensType}, {{kVorn, yes}}, 0, 2},
      {"focus and zoom, no controller", {kLensType, kVorn}, {}, 160, 42},
      {"no focus, controller on", {kLensType}, {{kFocusPresent, no}, {kVorn, yes}}, 0, 2},
      {"no focus, controller off", {kLensType}, {{kFocusPresent, no}}, 0, 0},
      {"no focus path, controller on", {kLensType, kFocusPresent}, {{kVorn, yes}}, 0, 2},
      {"no lens paths", {kLensType, kFocusPresent, kVorn}, {}, 2, 42},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shape);
    PTreeCamera cam;
    for (const std::string& path : c.removed)
      ASSERT_TRUE(cam.camera().Remove(path)) << path;
    for (const auto& [path, value] : c.set)
      ASSERT_EQ(cam.camera().Set(path, value), 0u) << path;
    u8 type = 42;
    EXPECT_EQ(tqvGetLensControlType(cam.handle(), &type), c.result);
    EXPECT_EQ(type, c.type);
  }
}

TEST(PtreeLens, ChangingTheControllerWithoutATypePathSwitchesTheSerialLinkAndTheController) {
  PTreeCamera cam;
  ASSERT_TRUE(cam.camera().Remove(kLensType));
  cam.camera().SetReadOnly(kVorn, false);
  ASSERT_EQ(tqvSetLensControlType(cam.handle(), 2), TQV_OK);
  EXPECT_EQ(cam.camera().Writes(),
            (std::vector<std::string>{
                ".sercomm.settings.serial.enabled=false", ".sercomm.settings.saveSettings=true",
                ".vorn.settings.enabled=true", ".vorn.settings.saveSettings=true"}));
  EXPECT_EQ(Read(tqvGetLensControlType, cam.handle()), 2);

  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvSetLensControlType(cam.handle(), 0), TQV_OK);
  EXPECT_EQ(cam.camera().Writes(),
            (std::vector<std::string>{
                ".vorn.settings.enabled=false", ".vorn.settings.saveSettings=true",
                ".sercomm.settings.serial.enabled=true", ".sercomm.settings.saveSettings=true"}));

  // Only the two controllers can be chosen so.
  for (u8 other : {1, 3, 9}) {
    cam.camera().ClearTraffic();
    EXPECT_EQ(tqvSetLensControlType(cam.handle(), other), TQV_NOT_SUPPORTED);
    EXPECT_TRUE(cam.camera().Writes().empty());
  }
  // What the controllers refuse does not matter.
  cam.camera().SetReadOnly(kVorn, true);
  cam.camera().InjectFault(".sercomm.settings.saveSettings", 165);
  cam.camera().ClearTraffic();
  EXPECT_EQ(tqvSetLensControlType(cam.handle(), 2), TQV_OK);
  EXPECT_EQ(cam.camera().Writes(),
            (std::vector<std::string>{".sercomm.settings.serial.enabled=false",
                                      ".vorn.settings.saveSettings=true"}));
}

TEST(PtreeLens, ANamedControllerIsWrittenByName) {
  PTreeCamera cam;
  ASSERT_EQ(tqvSetLensControlType(cam.handle(), 3), TQV_OK);
  EXPECT_EQ(cam.camera().Writes(), (std::vector<std::string>{".system.lens.lensType=Tesk"}));
  cam.camera().ClearTraffic();
  EXPECT_EQ(tqvSetLensControlType(cam.handle(), 4), TQV_ERROR);
  EXPECT_TRUE(cam.camera().Writes().empty());
}

// The controller's paths are used once the camera turned out to have it: at the lens probe, or
// when it is chosen and the camera's own zoom path cannot even be asked about.
TEST(PtreeLens, ControllerModeFollowsTheProbeAndTheChoiceOfController) {
  PTreeCamera vorn("sim:vorn");
  EXPECT_EQ(FocusRange(vorn.handle()), std::pair(0u, 20000u));
  ASSERT_EQ(tqvSetLensControlType(vorn.handle(), 0), TQV_OK);
  EXPECT_FALSE(Backend(vorn).lensControllerInUse());
  EXPECT_EQ(FocusRange(vorn.handle()), std::pair(100u, 9900u));

  PTreeCamera own;
  ASSERT_EQ(tqvSetLensControlType(own.handle(), 2), TQV_OK);
  EXPECT_FALSE(Backend(own).lensControllerInUse());
  own.camera().InjectFault(".system.lens.fov", 0xFFFFFFFF, 1, "verify");
  ASSERT_EQ(tqvSetLensControlType(own.handle(), 2), TQV_OK);
  EXPECT_TRUE(Backend(own).lensControllerInUse());
  EXPECT_EQ(FocusRange(own.handle()), std::pair(0u, 20000u));
}

TEST(PtreeLens, HandWrittenLensOperationsUseTheControllersPaths) {
  testutil::SleepRecorder noWaiting;
  PTreeCamera cam("sim:vorn");
  void* h = cam.handle();
  EXPECT_TRUE(Read(tqvGetFocusPresent, h));
  EXPECT_TRUE(Read(tqvGetFOVPresent, h));
  u32 minimum = 0, maximum = 0;
  ASSERT_EQ(tqvGetFOVRange(h, &minimum, &maximum), TQV_OK);
  EXPECT_EQ(std::pair(minimum, maximum), std::pair(50u, 750u));
  ASSERT_EQ(tqvSetFocusPos(h, 12000), TQV_OK);
  ASSERT_EQ(tqvSetFOVPos(h, 700), TQV_OK);
  ASSERT_EQ(tqvFocusMove(h, 0), TQV_OK);
  ASSERT_EQ(tqvAutoFocusFull(h, true), TQV_OK);
  u16 code = 0;
  char text[32];
  ASSERT_EQ(tqvGetAutoFocusResult(h, &code, text, sizeof text), TQV_OK);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(Read(tqvGetFOV, h), 2);
  for (const sim::ptree::Access& access : cam.camera().Traffic()) {
    EXPECT_NE(access.path.rfind(".system.lens.", 0), 0u) << access.kind << " " << access.path;
  }
  EXPECT_EQ(cam.camera().Integer(".vorn.settings.fov"), 700);

  // Without its field-of-view path the controller still has a field of view.
  PTreeCamera bare("sim:vorn");
  ASSERT_TRUE(bare.camera().Remove(".vorn.settings.fovPresent"));
  EXPECT_TRUE(Read(tqvGetFOVPresent, bare.handle()));
}

TEST(PtreeLens, TheFieldOfViewOfAControllerOrAZoomLensIsNotChosen) {
  PTreeCamera vorn("sim:vorn");
  EXPECT_EQ(tqvSetFOV(vorn.handle(), 2), TQV_OK);
  EXPECT_EQ(tqvSetFOV(vorn.handle(), 0), TQV_NOT_SUPPORTED);
  EXPECT_TRUE(vorn.camera().Traffic().empty());

  PTreeCamera cam;
  EXPECT_EQ(tqvSetFOV(cam.handle(), 5), TQV_ERROR);
  EXPECT_TRUE(cam.camera().Traffic().empty());
  cam.camera().ClearTimeoutHistory();
  ASSERT_EQ(tqvSetFOV(cam.handle(), 1), TQV_OK);
  EXPECT_EQ(cam.camera().TimeoutHistory(), (std::vector<u32>{60000, 10000}));
}

// --- Cache ---------------------------------------------------------------------------------------

// Cached getters ask once, and those FillCache reads ask nothing after it; the field of view's
// range and the ends of the lens's own range are asked every time.
TEST(PtreeLens, WhatIsCachedAndWhatIsAskedEveryTime) {
  enum Kind { kLive, kCached, kFilled };
  struct Case {
    const char* name;
    Call call;
    Kind kind;
  };
  u8 b[4];
  bool on = false;
  u32 d[2];
  char text[64];
  const Case cases[] = {
      {"GetFilterIDs", [&](void* h) { return tqvGetFilterIDs(h, &b[0], &b[1], &b[2], &b[3]); },
       kFilled},
      {"GetFilterIDInSlot", [&](void* h) { return tqvGetFilterIDInSlot(h, 2, &b[0]); }, kCached},
      {"GetFilterReplaceable", [&](void* h) { return tqvGetFilterReplaceable(h, &on); }, kCached},
      {"GetFilterInfoAvailable", [&](void* h) { return tqvGetFilterInfoAvailable(h, &on); },
       kCached},
      {"GetFilterInfoName", [&](void* h) { return tqvGetFilterInfoName(h, 1, text, 64); }, kCached},
      {"GetFlagCoolerEnabled", [&](void* h) { return tqvGetFlagCoolerEnabled(h, &on); }, kFilled},
      {"GetFocusPresent", [&](void* h) { return tqvGetFocusPresent(h, &on); }, kFilled},
      {"GetFocusRange", [&](void* h) { return tqvGetFocusRange(h, &d[0], &d[1]); }, kFilled},
      {"GetFocusToDistanceAvailable",
       [&](void* h) { return tqvGetFocusToDistanceAvailable(h, &on); }, kCached},
      {"GetFOVPresent", [&](void* h) { return tqvGetFOVPresent(h, &on); }, kFilled},
      {"GetFOV", [&](void* h) { return tqvGetFOV(h, &b[0]); }, kFilled},
      {"GetLensCoverState", [&](void* h) { return tqvGetLensCoverState(h, &b[0]); }, kCached},
      {"GetFOVRange", [&](void* h) { return tqvGetFOVRange(h, &d[0], &d[1]); }, kLive},
      {"GetFocusNearPos", [&](void* h) { return tqvGetFocusNearPos(h, 2, &d[0]); }, kLive},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PTreeCamera cam;
    ASSERT_EQ(c.call(cam.handle()), TQV_OK);
    const std::size_t first = cam.camera().Traffic().size();
    EXPECT_GT(first, 0u);
    ASSERT_EQ(c.call(cam.handle()), TQV_OK);
    EXPECT_EQ(cam.camera().Traffic().size(), c.kind == kLive ? 2 * first : first);
    if (c.kind != kFilled) continue;
    PTreeCamera filled;
    ASSERT_EQ(tqvFillCache(filled.handle()), TQV_OK);
    filled.camera().ClearTraffic();
    ASSERT_EQ(c.call(filled.handle()), TQV_OK);
    EXPECT_TRUE(filled.camera().Traffic().empty());
  }
}

TEST(PtreeLens, AScanDropsTheWheelAndTheCurrentFilterAndASlotChangeTheCurrentFilter) {
  PTreeCamera cam;
  void* h = cam.handle();
  u8 ids[4], current = 0;
  auto readWheel = [&] {
    ASSERT_EQ(tqvGetFilterIDs(h, &ids[0], &ids[1], &ids[2], &ids[3]), TQV_OK);
    ASSERT_EQ(tqvGetCurrentFilterID(h, &current), TQV_OK);
  };
  auto asked = [&](const std::string& path) { return cam.camera().CountPath(path); };
  readWheel();

  // A failed scan changes nothing.
  cam.camera().InjectFault(".system.settings.filter.scan", 165);
  EXPECT_EQ(tqvScanFilters(h), 165u);
  cam.camera().ClearTraffic();
  readWheel();
  EXPECT_TRUE(cam.camera().Traffic().empty());

  cam.camera().ClearTimeoutHistory();
  ASSERT_EQ(tqvScanFilters(h), TQV_OK);
  EXPECT_EQ(cam.camera().TimeoutHistory(), (std::vector<u32>{30000, 10000}));
  cam.camera().ClearTraffic();
  readWheel();
  for (int slot = 0; slot < 4; ++slot)
    EXPECT_EQ(asked(".system.settings.filter.filterAt" + std::to_string(slot)), 1u) << slot;
  EXPECT_EQ(asked(".system.settings.filter.current"), 1u);

  ASSERT_EQ(tqvSetFilterIDInSlot(h, 1, 3), TQV_OK);
  cam.camera().ClearTraffic();
  readWheel();
  EXPECT_EQ(asked(".system.settings.filter.filterAt1"), 0u);
  EXPECT_EQ(asked(".system.settings.filter.current"), 1u);
}

// Every movement of focus or zoom, a change of the field of view and an autofocus leave the focus
// position to the camera; a movement that fails leaves the cache as it was. (The generic row test
// checks the commands' drops; the setters' drops and the hand-written movements are checked here.)
TEST(PtreeLens, MovementsDropTheCachedFocusPosition) {
  struct Case {
    const char* path;
    Call move;
  };
  const Case cases[] = {
      {".system.lens.focusMove", [](void* h) { return tqvFocusMove(h, 1); }},
      {".system.lens.focusMoveBy", [](void* h) { return tqvFocusMoveBy(h, 10); }},
      {".system.lens.focusMoveTo", [](void* h) { return tqvFocusMoveTo(h, 500); }},
      {".system.lens.focusPacedMove", [](void* h) { return tqvFocusMovePercent(h, 10.0f); }},
      {".system.lens.focusToDistance", [](void* h) { return tqvFocusToDistance(h, 5.0f); }},
      {".system.lens.fovMove", [](void* h) { return tqvFOVMove(h, -1); }},
      {".system.lens.fovMoveBy", [](void* h) { return tqvFOVMoveBy(h, 5); }},
      {".system.lens.fovMoveTo", [](void* h) { return tqvFOVMoveTo(h, 5); }},
      {".system.lens.fovPacedMove", [](void* h) { return tqvFOVMovePercent(h, 5.0f); }},
      {".system.lens.fov", [](void* h) { return tqvSetFOVPos(h, 500); }},
      {".system.lens.fovState", [](void* h) { return tqvSetFOV(h, 1); }},
      {".system.lens.autoFocusFull", [](void* h) { return tqvAutoFocusFull(h, false); }},
      {".system.lens.autoFocusFast", [](void* h) { return tqvAutoFocusFast(h, false); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    PTreeCamera cam;
    u32 position = 0;
    ASSERT_EQ(tqvGetFocusPos(cam.handle(), &position), TQV_OK);
    cam.camera().InjectFault(c.path, 165);
    EXPECT_EQ(c.move(cam.handle()), 165u);
    ASSERT_EQ(tqvGetFocusPos(cam.handle(), &position), TQV_OK);
    EXPECT_EQ(cam.camera().CountPath(kFocusPos), 1u);
    ASSERT_EQ(c.move(cam.handle()), TQV_OK);
    ASSERT_EQ(tqvGetFocusPos(cam.handle(), &position), TQV_OK);
    EXPECT_EQ(cam.camera().CountPath(kFocusPos), 2u);
  }
}

TEST(PtreeLens, ChoosingTheControllerDropsWhatItDecides) {
  PTreeCamera cam;
  void* h = cam.handle();
  bool on = false;
  u32 d[2];
  u8 fov = 0;
  auto readAll = [&] {
    ASSERT_EQ(tqvGetFocusPresent(h, &on), TQV_OK);
    ASSERT_EQ(tqvGetFocusRange(h, &d[0], &d[1]), TQV_OK);
    ASSERT_EQ(tqvGetFocusPos(h, &d[0]), TQV_OK);
    ASSERT_EQ(tqvGetFOVPresent(h, &on), TQV_OK);
    ASSERT_EQ(tqvGetFOV(h, &fov), TQV_OK);
  };
  readAll();
  ASSERT_EQ(tqvSetLensControlType(h, 2), TQV_OK);
  cam.camera().ClearTraffic();
  readAll();
  EXPECT_EQ(fov, 2);  // a lens on the controller zooms continuously
  for (const char* path : {kFocusPresent, ".system.lens.focusMin", ".system.lens.focusMax",
                           kFocusPos, ".system.lens.fovPresent"}) {
    EXPECT_EQ(cam.camera().CountPath(path), 1u) << path;
  }
}

// Loading a lens state moves the lens and sets its autofocus region: those entries are asked
// again, the filter wheel's are not.
TEST(PtreeLens, LoadingALensStateDropsWhatTheLensStateHolds) {
  PTreeCamera cam;
  void* h = cam.handle();
  u32 position = 0;
  u16 size = 0;
  u8 fov = 0, where = 0, ids[4];
  bool show = false;
  auto readAll = [&] {
    ASSERT_EQ(tqvGetFocusPos(h, &position), TQV_OK);
    ASSERT_EQ(tqvGetAutoFocusROIShowWhenFocusing(h, &show), TQV_OK);
    ASSERT_EQ(tqvGetAutoFocusROISize(h, &size), TQV_OK);
    ASSERT_EQ(tqvGetAutoFocusROIPosition(h, &where), TQV_OK);
    ASSERT_EQ(tqvGetFOV(h, &fov), TQV_OK);
    ASSERT_EQ(tqvGetFilterIDs(h, &ids[0], &ids[1], &ids[2], &ids[3]), TQV_OK);
  };
  readAll();
  ASSERT_EQ(tqvLoadLensState(h, "25mm"), TQV_OK);
  cam.camera().ClearTraffic();
  readAll();
  for (const char* path :
       {kFocusPos, ".system.lens.autoFocusROIShowWhenFocusing", ".system.lens.autoFocusROISize",
        ".system.lens.autoFocusROIPosition", ".system.lens.fovState"}) {
    EXPECT_EQ(cam.camera().CountPath(path), 1u) << path;
  }
  EXPECT_EQ(cam.camera().CountPath(".system.settings.filter.filterAt0"), 0u);
}

TEST(PtreeLens, TheCoverIsAskedAgainAfterAChangeUntilItArrives) {
  PTreeCamera cam;
  void* h = cam.handle();
  auto asked = [&] { return cam.camera().CountPath(".system.settings.lensCover.state"); };
  EXPECT_EQ(Read(tqvGetLensCoverState, h), 0);
  ASSERT_EQ(tqvSetLensCoverState(h, 1), TQV_OK);
  cam.camera().ClearTraffic();
  EXPECT_EQ(Read(tqvGetLensCoverState, h), 2);
  EXPECT_EQ(Read(tqvGetLensCoverState, h), 2);
  EXPECT_EQ(asked(), 2u);  // "Unknown" is not kept
  cam.camera().AdvanceMs(2000);
  EXPECT_EQ(Read(tqvGetLensCoverState, h), 1);
  EXPECT_EQ(Read(tqvGetLensCoverState, h), 1);
  EXPECT_EQ(asked(), 3u);
  cam.camera().ClearTraffic();
  EXPECT_EQ(tqvSetLensCoverState(h, 2), TQV_NOT_SUPPORTED);
  EXPECT_EQ(tqvSetLensCoverState(h, 3), TQV_ERROR);
  EXPECT_TRUE(cam.camera().Traffic().empty());
}

// --- Paths a camera may lack ---------------------------------------------------------------------

TEST(PtreeLens, AnswersForPathsTheCameraLacks) {
  struct Case {
    std::vector<std::string> removed;
    std::function<u32(void* h, u32* answer)> call;
    u32 result;
    u32 answer;
  };
  const Case cases[] = {
      {{".system.lens.focusToDistanceAvailable"}, Answer(&tqvGetFocusToDistanceAvailable), 0, 1},
      {{".system.lens.focusToDistanceAvailable", ".system.lens.focusToDistance"},
       Answer(&tqvGetFocusToDistanceAvailable),
       0,
       0},
      {{".system.lens.lensInfoAvailable"}, Answer(&tqvGetLensInfoAvailable), 0, 0},
      // The ends of the lens's own range are those of the focus range.
      {{".system.lens.focusNearPos"},
       [](void* h, u32* answer) { return tqvGetFocusNearPos(h, 2, answer); },
       0,
       100},
      {{".system.lens.focusFarPos"},
       [](void* h, u32* answer) { return tqvGetFocusFarPos(h, 2, answer); },
       0,
       9900},
      {{".system.settings.filter.config.filterIDInSlot3"},
       Answer<u8>([](void* h, u8* id) { return tqvGetFilterIDInSlot(h, 3, id); }, 77),
       2,
       77},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.removed.back());
    PTreeCamera cam;
    for (const std::string& path : c.removed)
      ASSERT_TRUE(cam.camera().Remove(path)) << path;
    u32 answer = 99;
    EXPECT_EQ(c.call(cam.handle(), &answer), c.result);
    EXPECT_EQ(answer, c.answer);
  }
  PTreeCamera cam;
  ASSERT_TRUE(cam.camera().Remove(".system.settings.filter.config.filterIDInSlot3"));
  EXPECT_EQ(tqvSetFilterIDInSlot(cam.handle(), 3, 1), TQV_NOT_SUPPORTED);
  // Without their own path, filters are replaceable exactly when there is a wheel.
  ASSERT_TRUE(cam.camera().Remove(".system.settings.filter.replaceable"));
  ASSERT_EQ(cam.camera().Update(".system.settings.filter.present", Value::Bool(false)), 0u);
  bool replaceable = true;
  ASSERT_EQ(tqvGetFilterReplaceable(cam.handle(), &replaceable), TQV_OK);
  EXPECT_FALSE(replaceable);
}

// The cooler's power and the slow control are texts read by the library itself.
TEST(PtreeLens, TextsAreReadAsTheCameraWritesThem) {
  struct Case {
    const char* path;
    const char* text;
    std::function<u32(void* h, u32* answer)> call;
    u32 result;
    u32 answer;
  };
  const auto cooler = Answer(&tqvGetFlagCoolerEnabled);
  const auto slowControl =
      Answer<u8>([](void* h, u8* control) { return tqvMfgGetFocusSlowControl(h, 1, control); }, 9);
  constexpr const char* kCooler = ".system.settings.flag.coolerPower";
  constexpr const char* kSlow = ".system.manufacturing.lens.wideSlowControl";
  const Case cases[] = {
      {kCooler, "ON", cooler, 0, 1},       {kCooler, "Off", cooler, 0, 0},
      {kCooler, "yes", cooler, 0, 0},      {kSlow, "position", slowControl, 0, 0},
      {kSlow, "SPEED", slowControl, 0, 1}, {kSlow, "Fast", slowControl, TQV_UNEXPECTED_VALUE, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " = " + c.text);
    PTreeCamera cam;
    ASSERT_EQ(cam.camera().Update(c.path, Value::Str(c.text)), 0u);
    u32 answer = 99;
    EXPECT_EQ(c.call(cam.handle(), &answer), c.result);
    EXPECT_EQ(answer, c.answer);
  }
}

TEST(PtreeLens, FilterIDsAreReadOneByOne) {
  struct Case {
    std::vector<int> failing;  // positions whose read fails
    u32 result;
  };
  const Case cases[] = {{{2}, 0}, {{0, 1, 3}, 0}, {{0, 1, 2, 3}, 160}};
  for (const Case& c : cases) {
    PTreeCamera cam;
    for (int slot : c.failing) {
      cam.camera().InjectFault(".system.settings.filter.filterAt" + std::to_string(slot),
                               slot == 0 ? 160 : 165);
    }
    u8 ids[4] = {42, 42, 42, 42};
    EXPECT_EQ(tqvGetFilterIDs(cam.handle(), &ids[0], &ids[1], &ids[2], &ids[3]), c.result);
    const u8 wheel[4] = {0, 1, 2, 7};
    for (int slot = 0; slot < 4; ++slot) {
      const bool failed = std::find(c.failing.begin(), c.failing.end(), slot) != c.failing.end();
      EXPECT_EQ(ids[slot], failed ? 42 : wheel[slot]) << "slot " << slot;
    }
  }
}

// A status text the wait's buffer cannot hold ends the wait. (The sweep fails each status read.)
TEST(PtreeLens, TheAutofocusWaitEndsWithAStatusTextTooLongForIt) {
  testutil::SleepRecorder sleeps;
  PTreeCamera wordy;
  wordy.camera().OnRead(".system.lens.autoFocusStatusText",
                        [](sim::ptree::Camera& c, const std::string& path) -> u32 {
                          c.Update(path, Value::Str(std::string(255, 's')));
                          return 0;
                        });
  EXPECT_EQ(tqvAutoFocusFast(wordy.handle(), true), TQV_ERROR);
  EXPECT_TRUE(sleeps.Sleeps().empty());
}

// --- Several steps -------------------------------------------------------------------------------

TEST(PtreeLens, EveryStepOfTheOperationsOfSeveralStepsFailsInTurn) {
  testutil::SleepRecorder noWaiting;
  struct Case {
    const char* name;
    Call call;
    const char* address = "sim";
    std::function<void(void*)> prepare = {};
  };
  u32 d[3];
  u16 code = 0;
  u8 b = 0;
  bool on = false;
  char text[64];
  auto remove = [](const char* path) {
    return [path](void* h) { sim::ptree::CameraOf(tqvGetParamTree(h))->Remove(path); };
  };
  const Case cases[] = {
      {"ScanFilters", [](void* h) { return tqvScanFilters(h); }},
      {"SetCurrentFilterID", [](void* h) { return tqvSetCurrentFilterID(h, 2); }},
      {"SetFocusPos", [](void* h) { return tqvSetFocusPos(h, 3000); }},
      {"SetFOV", [](void* h) { return tqvSetFOV(h, 1); }},
      {"GetFOV", [&](void* h) { return tqvGetFOV(h, &b); }},
      {"GetFocusRange", [&](void* h) { return tqvGetFocusRange(h, &d[0], &d[1]); }},
      {"GetFOVRange", [&](void* h) { return tqvGetFOVRange(h, &d[0], &d[1]); }, "sim:vorn"},
      {"GetFOVPresent", [&](void* h) { return tqvGetFOVPresent(h, &on); }, "sim:vorn"},
      {"GetAutoFocusStatus", [&](void* h) { return tqvGetAutoFocusStatus(h, &code, text, 64); }},
      {"GetAutoFocusResult", [&](void* h) { return tqvGetAutoFocusResult(h, &code, text, 64); },
       "sim:vorn"},
      {"AutoFocusFull", [](void* h) { return tqvAutoFocusFull(h, true); }},
      {"WaitForAutoFocusDone", [](void* h) { return tqvWaitForAutoFocusDone(h); }, "sim",
       [](void* h) { tqvAutoFocusFast(h, false); }},
      {"GetLensControlType", [&](void* h) { return tqvGetLensControlType(h, &b); }, "sim",
       remove(kLensType)},
      {"SetLensControlType", [](void* h) { return tqvSetLensControlType(h, 3); }},
      {"GetFilterReplaceable", [&](void* h) { return tqvGetFilterReplaceable(h, &on); }, "sim",
       remove(".system.settings.filter.replaceable")},
      {"GetFocusToDistanceAvailable",
       [&](void* h) { return tqvGetFocusToDistanceAvailable(h, &on); }},
      {"GetFocusNearPos", [&](void* h) { return tqvGetFocusNearPos(h, 2, &d[0]); }},
      {"GetLensInfoAvailable", [&](void* h) { return tqvGetLensInfoAvailable(h, &on); }},
      {"MfgGetFocusSpeeds",
       [&](void* h) { return tqvMfgGetFocusSpeeds(h, 0, &d[0], &d[1], &d[2]); }},
      {"MfgSetFocusSpeeds", [](void* h) { return tqvMfgSetFocusSpeeds(h, 1, 5, 6, 7); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testutil::SweepOptions options;
    options.address = c.address;
    options.prepare = c.prepare;
    testutil::SweepPTree([&](void* h, bool) { return c.call(h); }, options);
  }
}
