// The property-tree backend's lens, filter wheel and flag operations where the traffic matters:
// which lens controller the paths show, the controller's own paths, what each operation keeps in
// and drops from the cache, the fallbacks for paths a camera lacks, and every step of the
// operations of several steps failing in turn.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
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

}  // namespace

// --- Which lens controller ----------------------------------------------------------------------

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
      {"focus and zoom, controller on", {kLensType}, {{".vorn.settings.enabled", yes}}, 0, 2},
      {"focus and zoom, no controller", {kLensType, ".vorn.settings.enabled"}, {}, 160, 42},
      {"no focus, controller on",
       {kLensType},
       {{".system.lens.focusPresent", no}, {".vorn.settings.enabled", yes}},
       0,
       2},
      {"no focus, controller off", {kLensType}, {{".system.lens.focusPresent", no}}, 0, 0},
      {"no focus path, controller on",
       {kLensType, ".system.lens.focusPresent"},
       {{".vorn.settings.enabled", yes}},
       0,
       2},
      {"no lens paths",
       {kLensType, ".system.lens.focusPresent", ".vorn.settings.enabled"},
       {},
       2,
       42},
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
    bool has = true;  // left alone when the type cannot be told
    EXPECT_EQ(tqvGetHasLensStatesFunctionality(cam.handle(), &has), c.result);
    EXPECT_EQ(has, c.result != 0 || c.type == 1 || c.type == 2);
    bool continuous = false;
    if (c.result == 0) {
      ASSERT_EQ(tqvGetFOVIsContinuous(cam.handle(), &continuous), TQV_OK);
      EXPECT_EQ(continuous, c.type == 2);
    }
  }
}

// Each kind of camera: which controller it reports and which family of paths its lens uses.
TEST(PtreeLens, EachKindOfCameraUsesThePathsOfItsLens) {
  struct Case {
    const char* camera;
    const char* profile;
    std::vector<std::pair<std::string, Value>> before;  // set before the handle is made
    std::vector<std::string> removed;
    u8 type;
    const char* focusPath;
  };
  const Value yes = Value::Bool(true), no = Value::Bool(false);
  const Case cases[] = {
      {"two-position lens", "sim", {}, {}, 1, ".system.lens.focusRealTimePos"},
      {"zoom lens", "sim:zoom", {}, {}, 2, ".system.lens.focusRealTimePos"},
      {"lens on the controller", "sim:vorn", {}, {}, 2, ".vorn.settings.focusCurrent"},
      {"controller found without the probe's paths",
       "sim",
       {{".vorn.settings.enabled", yes}},
       {".system.lens.fovPresent", kLensType},
       2,
       ".vorn.settings.focusCurrent"},
      {"no lens and the controller off",
       "sim",
       {{".system.lens.focusPresent", no}, {".system.lens.fovPresent", no}},
       {kLensType},
       0,
       ".system.lens.focusRealTimePos"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.camera);
    testutil::SimTree tree(c.profile);
    for (const auto& [path, value] : c.before)
      ASSERT_EQ(tree.camera().Set(path, value), 0u) << path;
    for (const std::string& path : c.removed)
      ASSERT_TRUE(tree.camera().Remove(path)) << path;
    testutil::Handle handle;
    ASSERT_EQ(tqvCreateParamTree(handle.out(), tree.tree()), TQV_OK);
    u8 type = 42;
    ASSERT_EQ(tqvGetLensControlType(handle, &type), TQV_OK);
    EXPECT_EQ(type, c.type);
    tree.camera().ClearTraffic();
    u32 position = 0;
    ASSERT_EQ(tqvGetFocusCurrentPos(handle, &position), TQV_OK);
    ASSERT_EQ(tree.camera().Traffic().size(), 1u);
    EXPECT_EQ(tree.camera().Traffic()[0].path, c.focusPath);
  }
}

TEST(PtreeLens, ChangingTheControllerWithoutATypePathSwitchesTheSerialLinkAndTheController) {
  PTreeCamera cam;
  ASSERT_TRUE(cam.camera().Remove(kLensType));
  cam.camera().SetReadOnly(".vorn.settings.enabled", false);
  ASSERT_EQ(tqvSetLensControlType(cam.handle(), 2), TQV_OK);
  EXPECT_EQ(cam.camera().Writes(),
            (std::vector<std::string>{
                ".sercomm.settings.serial.enabled=false", ".sercomm.settings.saveSettings=true",
                ".vorn.settings.enabled=true", ".vorn.settings.saveSettings=true"}));
  u8 type = 0;
  ASSERT_EQ(tqvGetLensControlType(cam.handle(), &type), TQV_OK);
  EXPECT_EQ(type, 2);

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
  cam.camera().SetReadOnly(".vorn.settings.enabled", true);
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
  cam.camera().SetReadOnly(kLensType);
  EXPECT_EQ(tqvSetLensControlType(cam.handle(), 1), TQV_NOT_WRITABLE);
}

// The controller's paths are used once the camera turned out to have it: at the lens probe, or
// when it is chosen and the camera's own zoom path cannot even be asked about.
TEST(PtreeLens, ControllerModeFollowsTheProbeAndTheChoiceOfController) {
  PTreeCamera vorn("sim:vorn");
  EXPECT_TRUE(Backend(vorn).lensControllerInUse());
  u32 minimum = 1, maximum = 0;
  ASSERT_EQ(tqvGetFocusRange(vorn.handle(), &minimum, &maximum), TQV_OK);
  EXPECT_EQ(minimum, 0u);
  EXPECT_EQ(maximum, 20000u);
  ASSERT_EQ(tqvSetLensControlType(vorn.handle(), 0), TQV_OK);
  EXPECT_FALSE(Backend(vorn).lensControllerInUse());
  ASSERT_EQ(tqvGetFocusRange(vorn.handle(), &minimum, &maximum), TQV_OK);
  EXPECT_EQ(minimum, 100u);
  EXPECT_EQ(maximum, 9900u);

  PTreeCamera own;
  ASSERT_EQ(tqvSetLensControlType(own.handle(), 2), TQV_OK);
  EXPECT_FALSE(Backend(own).lensControllerInUse());
  own.camera().InjectFault(".system.lens.fov", 0xFFFFFFFF, 1, "verify");
  ASSERT_EQ(tqvSetLensControlType(own.handle(), 2), TQV_OK);
  EXPECT_TRUE(Backend(own).lensControllerInUse());
  ASSERT_EQ(tqvGetFocusRange(own.handle(), &minimum, &maximum), TQV_OK);
  EXPECT_EQ(maximum, 20000u);
}

TEST(PtreeLens, HandWrittenLensOperationsUseTheControllersPaths) {
  testutil::SleepRecorder noWaiting;
  PTreeCamera cam("sim:vorn");
  void* h = cam.handle();
  bool present = false;
  ASSERT_EQ(tqvGetFocusPresent(h, &present), TQV_OK);
  EXPECT_TRUE(present);
  ASSERT_EQ(tqvGetFOVPresent(h, &present), TQV_OK);
  EXPECT_TRUE(present);
  u32 minimum = 0, maximum = 0;
  ASSERT_EQ(tqvGetFOVRange(h, &minimum, &maximum), TQV_OK);
  EXPECT_EQ(minimum, 50u);
  EXPECT_EQ(maximum, 750u);
  ASSERT_EQ(tqvSetFocusPos(h, 12000), TQV_OK);
  ASSERT_EQ(tqvSetFOVPos(h, 700), TQV_OK);
  ASSERT_EQ(tqvFocusMove(h, 0), TQV_OK);
  ASSERT_EQ(tqvAutoFocusFull(h, true), TQV_OK);
  u16 code = 0;
  char text[32];
  ASSERT_EQ(tqvGetAutoFocusResult(h, &code, text, sizeof text), TQV_OK);
  EXPECT_EQ(code, 1);
  u8 fov = 0;
  ASSERT_EQ(tqvGetFOV(h, &fov), TQV_OK);
  EXPECT_EQ(fov, 2);
  for (const sim::ptree::Access& access : cam.camera().Traffic()) {
    EXPECT_NE(access.path.rfind(".system.lens.", 0), 0u) << access.kind << " " << access.path;
  }
  EXPECT_EQ(cam.camera().Integer(".vorn.settings.fov"), 700);

  // Without its field-of-view path the controller still has a field of view.
  PTreeCamera bare("sim:vorn");
  ASSERT_TRUE(bare.camera().Remove(".vorn.settings.fovPresent"));
  present = false;
  ASSERT_EQ(tqvGetFOVPresent(bare.handle(), &present), TQV_OK);
  EXPECT_TRUE(present);
}

TEST(PtreeLens, TheFieldOfViewOfAControllerOrAZoomLensIsNotChosen) {
  PTreeCamera vorn("sim:vorn");
  EXPECT_EQ(tqvSetFOV(vorn.handle(), 2), TQV_OK);
  EXPECT_EQ(tqvSetFOV(vorn.handle(), 0), TQV_NOT_SUPPORTED);
  EXPECT_TRUE(vorn.camera().Traffic().empty());

  PTreeCamera zoom("sim:zoom");
  EXPECT_EQ(tqvSetFOV(zoom.handle(), 1), TQV_NOT_SUPPORTED);
  EXPECT_EQ(zoom.camera().Count("set") + zoom.camera().Count("setString"), 0u);

  PTreeCamera cam;
  EXPECT_EQ(tqvSetFOV(cam.handle(), 5), TQV_ERROR);
  EXPECT_TRUE(cam.camera().Traffic().empty());
  cam.camera().InjectFault(kLensType, 165, 1, "verify");
  EXPECT_EQ(tqvSetFOV(cam.handle(), 1), 165u);
  EXPECT_EQ(cam.camera().Count("setString"), 0u);
  cam.camera().ClearTimeoutHistory();
  ASSERT_EQ(tqvSetFOV(cam.handle(), 1), TQV_OK);
  EXPECT_EQ(cam.camera().TimeoutHistory(), (std::vector<u32>{60000, 10000}));
}

// --- Cache
// -----------------------------------------------------------------------------------------

TEST(PtreeLens, CachedGettersAskOnceAndFillCacheAsksForThem) {
  struct Case {
    const char* name;
    Call call;
    bool filled;  // read by FillCache
  };
  u8 b[4];
  bool on = false;
  u32 d[2];
  char text[64];
  const Case cases[] = {
      {"GetFilterIDs", [&](void* h) { return tqvGetFilterIDs(h, &b[0], &b[1], &b[2], &b[3]); },
       true},
      {"GetFilterIDInSlot", [&](void* h) { return tqvGetFilterIDInSlot(h, 2, &b[0]); }, false},
      {"GetFilterReplaceable", [&](void* h) { return tqvGetFilterReplaceable(h, &on); }, false},
      {"GetFilterInfoAvailable", [&](void* h) { return tqvGetFilterInfoAvailable(h, &on); }, false},
      {"GetFilterInfoName", [&](void* h) { return tqvGetFilterInfoName(h, 1, text, sizeof text); },
       false},
      {"GetFlagCoolerEnabled", [&](void* h) { return tqvGetFlagCoolerEnabled(h, &on); }, true},
      {"GetFocusPresent", [&](void* h) { return tqvGetFocusPresent(h, &on); }, true},
      {"GetFocusRange", [&](void* h) { return tqvGetFocusRange(h, &d[0], &d[1]); }, true},
      {"GetFocusToDistanceAvailable",
       [&](void* h) { return tqvGetFocusToDistanceAvailable(h, &on); }, false},
      {"GetFOVPresent", [&](void* h) { return tqvGetFOVPresent(h, &on); }, true},
      {"GetFOV", [&](void* h) { return tqvGetFOV(h, &b[0]); }, true},
      {"GetLensCoverState", [&](void* h) { return tqvGetLensCoverState(h, &b[0]); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PTreeCamera cam;
    ASSERT_EQ(c.call(cam.handle()), TQV_OK);
    EXPECT_FALSE(cam.camera().Traffic().empty());
    cam.camera().ClearTraffic();
    ASSERT_EQ(c.call(cam.handle()), TQV_OK);
    EXPECT_TRUE(cam.camera().Traffic().empty());
    if (!c.filled) continue;
    PTreeCamera filled;
    ASSERT_EQ(tqvFillCache(filled.handle()), TQV_OK);
    filled.camera().ClearTraffic();
    ASSERT_EQ(c.call(filled.handle()), TQV_OK);
    EXPECT_TRUE(filled.camera().Traffic().empty());
  }
}

TEST(PtreeLens, ReadingsAndDecisionsAskEveryTime) {
  float temperature = 0;
  u32 d[2];
  u16 code = 0;
  u8 type = 0;
  char text[64];
  const std::pair<const char*, Call> cases[] = {
      {"GetFlagTemperature", [&](void* h) { return tqvGetFlagTemperature(h, &temperature); }},
      {"GetFOVRange", [&](void* h) { return tqvGetFOVRange(h, &d[0], &d[1]); }},
      {"GetAutoFocusStatus",
       [&](void* h) { return tqvGetAutoFocusStatus(h, &code, text, sizeof text); }},
      {"GetLensControlType", [&](void* h) { return tqvGetLensControlType(h, &type); }},
      {"GetFocusNearPos", [&](void* h) { return tqvGetFocusNearPos(h, 2, &d[0]); }},
  };
  for (const auto& [name, call] : cases) {
    SCOPED_TRACE(name);
    PTreeCamera cam;
    ASSERT_EQ(call(cam.handle()), TQV_OK);
    const std::size_t first = cam.camera().Traffic().size();
    ASSERT_EQ(call(cam.handle()), TQV_OK);
    EXPECT_EQ(cam.camera().Traffic().size(), 2 * first);
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
  cam.camera().ClearTraffic();
  readWheel();
  EXPECT_TRUE(cam.camera().Traffic().empty());

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
  u8 id = 0;
  ASSERT_EQ(tqvGetFilterIDInSlot(h, 1, &id), TQV_OK);  // kept as written
  EXPECT_EQ(id, 3);
  EXPECT_EQ(asked(".system.settings.filter.config.filterIDInSlot1"), 0u);
}

// Every movement of focus or zoom, a change of the field of view and an autofocus leave the focus
// position to the camera; a movement that fails leaves the cache as it was.
TEST(PtreeLens, MovementsDropTheCachedFocusPosition) {
  struct Case {
    const char* path;
    Call move;
  };
  const Case cases[] = {
      {".system.lens.focusNear", [](void* h) { return tqvFocusNear(h); }},
      {".system.lens.focusFar", [](void* h) { return tqvFocusFar(h); }},
      {".system.lens.focusMove", [](void* h) { return tqvFocusMove(h, 1); }},
      {".system.lens.focusMoveBy", [](void* h) { return tqvFocusMoveBy(h, 10); }},
      {".system.lens.focusMoveTo", [](void* h) { return tqvFocusMoveTo(h, 500); }},
      {".system.lens.focusPacedMove", [](void* h) { return tqvFocusMovePercent(h, 10.0f); }},
      {".system.lens.focusToDistance", [](void* h) { return tqvFocusToDistance(h, 5.0f); }},
      {".system.lens.fovGoMin", [](void* h) { return tqvFOVMin(h); }},
      {".system.lens.fovGoMax", [](void* h) { return tqvFOVMax(h); }},
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
  for (const char* path : {".system.lens.focusPresent", ".system.lens.focusMin",
                           ".system.lens.focusMax", kFocusPos, ".system.lens.fovPresent"}) {
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
  const u32 loaded = tqvLoadLensState(h, "25mm");
  ASSERT_EQ(loaded, TQV_OK);
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
  constexpr const char* kCover = ".system.settings.lensCover.state";
  u8 state = 0;
  ASSERT_EQ(tqvGetLensCoverState(h, &state), TQV_OK);
  ASSERT_EQ(tqvSetLensCoverState(h, 1), TQV_OK);
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvGetLensCoverState(h, &state), TQV_OK);
  ASSERT_EQ(tqvGetLensCoverState(h, &state), TQV_OK);
  EXPECT_EQ(state, 2);
  EXPECT_EQ(cam.camera().CountPath(kCover), 2u);  // "Unknown" is not kept
  cam.camera().AdvanceMs(2000);
  ASSERT_EQ(tqvGetLensCoverState(h, &state), TQV_OK);
  ASSERT_EQ(tqvGetLensCoverState(h, &state), TQV_OK);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(cam.camera().CountPath(kCover), 3u);
  cam.camera().ClearTraffic();
  EXPECT_EQ(tqvSetLensCoverState(h, 2), TQV_NOT_SUPPORTED);
  EXPECT_EQ(tqvSetLensCoverState(h, 3), TQV_ERROR);
  EXPECT_TRUE(cam.camera().Traffic().empty());
}

// --- Paths a camera may lack
// ----------------------------------------------------------------------

TEST(PtreeLens, AnswersForPathsTheCameraLacks) {
  struct Case {
    const char* name;
    std::vector<std::string> removed;
    std::vector<std::pair<std::string, Value>> set;
    std::function<u32(void* h, u32* answer)> call;
    u32 result;
    u32 answer;
  };
  auto asBool = [](u32 (*get)(void*, bool*)) {
    return [get](void* h, u32* answer) {
      bool value = false;
      const u32 result = get(h, &value);
      *answer = value;
      return result;
    };
  };
  const Case cases[] = {
      {"replaceable: the wheel's presence",
       {".system.settings.filter.replaceable"},
       {{".system.settings.filter.present", Value::Bool(false)}},
       asBool(&tqvGetFilterReplaceable),
       0,
       0},
      {"distance: its own path",
       {".system.lens.focusToDistanceAvailable"},
       {},
       asBool(&tqvGetFocusToDistanceAvailable),
       0,
       1},
      {"distance: nothing",
       {".system.lens.focusToDistanceAvailable", ".system.lens.focusToDistance"},
       {},
       asBool(&tqvGetFocusToDistanceAvailable),
       0,
       0},
      {"lens information",
       {".system.lens.lensInfoAvailable"},
       {},
       asBool(&tqvGetLensInfoAvailable),
       0,
       0},
      {"lens cover",
       {".system.settings.lensCover.present"},
       {},
       asBool(&tqvGetLensCoverPresent),
       0,
       0},
      {"near end of the lens's range",
       {".system.lens.focusNearPos"},
       {},
       [](void* h, u32* answer) { return tqvGetFocusNearPos(h, 2, answer); },
       0,
       100},
      {"far end of the lens's range",
       {".system.lens.focusFarPos"},
       {},
       [](void* h, u32* answer) { return tqvGetFocusFarPos(h, 2, answer); },
       0,
       9900},
      {"filter count",
       {".system.settings.filter.numFilters"},
       {},
       [](void* h, u32* answer) {
         u8 count = 0;
         const u32 result = tqvGetNumFilters(h, &count);
         *answer = count;
         return result;
       },
       0,
       4},
      {"slot assignment",
       {".system.settings.filter.config.filterIDInSlot3"},
       {},
       [](void* h, u32* answer) {
         u8 id = 77;
         const u32 result = tqvGetFilterIDInSlot(h, 3, &id);
         *answer = id;
         return result;
       },
       2,
       77},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PTreeCamera cam;
    for (const std::string& path : c.removed)
      ASSERT_TRUE(cam.camera().Remove(path)) << path;
    for (const auto& [path, value] : c.set)
      ASSERT_EQ(cam.camera().Update(path, value), 0u) << path;
    u32 answer = 99;
    EXPECT_EQ(c.call(cam.handle(), &answer), c.result);
    EXPECT_EQ(answer, c.answer);
  }
  PTreeCamera cam;
  ASSERT_TRUE(cam.camera().Remove(".system.settings.filter.config.filterIDInSlot3"));
  EXPECT_EQ(tqvSetFilterIDInSlot(cam.handle(), 3, 1), TQV_NOT_SUPPORTED);
}

TEST(PtreeLens, TextsAreReadAsTheCameraWritesThem) {
  struct Case {
    const char* path;
    const char* text;
    std::function<u32(void* h, u32* answer)> call;
    u32 result;
    u32 answer;
  };
  auto code = [](u32 (*get)(void*, u8*)) {
    return [get](void* h, u32* answer) {
      u8 value = 0;
      const u32 result = get(h, &value);
      *answer = value;
      return result;
    };
  };
  auto cooler = [](void* h, u32* answer) {
    bool on = false;
    const u32 result = tqvGetFlagCoolerEnabled(h, &on);
    *answer = on;
    return result;
  };
  auto slowControl = [](void* h, u32* answer) {
    u8 control = 9;
    const u32 result = tqvMfgGetFocusSlowControl(h, 1, &control);
    *answer = control;
    return result;
  };
  const Case cases[] = {
      {".system.settings.flag.state", "INFOV", code(&tqvGetFlagState), 0, 1},
      {".system.settings.flag.state", "in fov", code(&tqvGetFlagState), TQV_ERROR, 255},
      {".system.settings.lensCover.state", "closed", code(&tqvGetLensCoverState), 0, 1},
      {".system.lens.fovState", "WIDE", code(&tqvGetFOV), 0, 1},
      {".system.lens.lensBandPass", "LWIR", code(&tqvGetLensBandPass), 0, 3},
      {".system.lens.lensBandPass", "lwir", code(&tqvGetLensBandPass), TQV_ERROR, 255},
      {".system.settings.flag.coolerPower", "ON", cooler, 0, 1},
      {".system.settings.flag.coolerPower", "Off", cooler, 0, 0},
      {".system.settings.flag.coolerPower", "yes", cooler, 0, 0},
      {".system.manufacturing.lens.wideSlowControl", "position", slowControl, 0, 0},
      {".system.manufacturing.lens.wideSlowControl", "SPEED", slowControl, 0, 1},
      {".system.manufacturing.lens.wideSlowControl", "Fast", slowControl, TQV_UNEXPECTED_VALUE, 0},
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

TEST(PtreeLens, TheAutofocusWaitEndsWithAFailingStatusRead) {
  testutil::SleepRecorder sleeps;
  PTreeCamera cam;
  int reads = 0;
  cam.camera().OnRead(
      ".system.lens.autoFocusStatusCode",
      [&reads](sim::ptree::Camera&, const std::string&) -> u32 { return ++reads == 3 ? 165 : 0; });
  EXPECT_EQ(tqvAutoFocusFull(cam.handle(), true), 165u);
  EXPECT_EQ(sleeps.Sleeps(), (std::vector<u32>{500, 500}));

  // A status text the wait's buffer cannot hold ends it as well.
  PTreeCamera wordy;
  wordy.camera().OnRead(".system.lens.autoFocusStatusText",
                        [](sim::ptree::Camera& c, const std::string& path) -> u32 {
                          c.Update(path, Value::Str(std::string(255, 's')));
                          return 0;
                        });
  sleeps.Clear();
  EXPECT_EQ(tqvAutoFocusFast(wordy.handle(), true), TQV_ERROR);
  EXPECT_TRUE(sleeps.Sleeps().empty());
}

// --- Several steps
// ---------------------------------------------------------------------------------

TEST(PtreeLens, EveryStepOfTheOperationsOfSeveralStepsFailsInTurn) {
  testutil::SleepRecorder noWaiting;
  struct Case {
    const char* name;
    Call call;
    const char* address;
    std::function<void(void*)> prepare;
  };
  u32 d[3];
  u16 code = 0;
  u8 b = 0;
  bool on = false;
  char text[64];
  auto remove = [](std::vector<std::string> paths) {
    return [paths](void* h) {
      for (const std::string& path : paths)
        sim::ptree::CameraOf(tqvGetParamTree(h))->Remove(path);
    };
  };
  const Case cases[] = {
      {"ScanFilters", [](void* h) { return tqvScanFilters(h); }, "sim", {}},
      {"SetCurrentFilterID", [](void* h) { return tqvSetCurrentFilterID(h, 2); }, "sim", {}},
      {"SetFocusPos", [](void* h) { return tqvSetFocusPos(h, 3000); }, "sim", {}},
      {"FocusNear", [](void* h) { return tqvFocusNear(h); }, "sim", {}},
      {"SetFOV", [](void* h) { return tqvSetFOV(h, 1); }, "sim", {}},
      {"GetFOV", [&](void* h) { return tqvGetFOV(h, &b); }, "sim", {}},
      {"GetFocusRange", [&](void* h) { return tqvGetFocusRange(h, &d[0], &d[1]); }, "sim", {}},
      {"GetFOVRange", [&](void* h) { return tqvGetFOVRange(h, &d[0], &d[1]); }, "sim:vorn", {}},
      {"GetFOVPresent", [&](void* h) { return tqvGetFOVPresent(h, &on); }, "sim:vorn", {}},
      {"GetAutoFocusStatus",
       [&](void* h) { return tqvGetAutoFocusStatus(h, &code, text, sizeof text); },
       "sim",
       {}},
      {"GetAutoFocusResult",
       [&](void* h) { return tqvGetAutoFocusResult(h, &code, text, sizeof text); },
       "sim:vorn",
       {}},
      {"AutoFocusFull", [](void* h) { return tqvAutoFocusFull(h, true); }, "sim", {}},
      {"WaitForAutoFocusDone", [](void* h) { return tqvWaitForAutoFocusDone(h); }, "sim",
       [](void* h) { tqvAutoFocusFast(h, false); }},
      {"GetLensControlType", [&](void* h) { return tqvGetLensControlType(h, &b); }, "sim",
       remove({kLensType})},
      {"SetLensControlType", [](void* h) { return tqvSetLensControlType(h, 3); }, "sim", {}},
      {"GetFilterReplaceable", [&](void* h) { return tqvGetFilterReplaceable(h, &on); }, "sim",
       remove({".system.settings.filter.replaceable"})},
      {"GetFocusToDistanceAvailable",
       [&](void* h) { return tqvGetFocusToDistanceAvailable(h, &on); },
       "sim",
       {}},
      {"GetFocusNearPos", [&](void* h) { return tqvGetFocusNearPos(h, 2, &d[0]); }, "sim", {}},
      {"GetLensInfoAvailable", [&](void* h) { return tqvGetLensInfoAvailable(h, &on); }, "sim", {}},
      {"MfgGetFocusSpeeds",
       [&](void* h) { return tqvMfgGetFocusSpeeds(h, 0, &d[0], &d[1], &d[2]); },
       "sim",
       {}},
      {"MfgSetFocusSpeeds", [](void* h) { return tqvMfgSetFocusSpeeds(h, 1, 5, 6, 7); }, "sim", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testutil::SweepOptions options;
    options.address = c.address;
    options.prepare = c.prepare;
    testutil::SweepPTree([&](void* h, bool) { return c.call(h); }, options);
  }
}

// --- Threads
// ---------------------------------------------------------------------------------------

TEST(PtreeLens, TwoThreadsMoveAndReadTheLensOfOneHandle) {
  testutil::SleepRecorder noWaiting;
  PTreeCamera cam;
  auto work = [h = cam.handle()](u32 seed) {
    for (u32 round = 0; round < 20; ++round) {
      u8 ids[4], b = 0;
      u32 d[2];
      bool on = false;
      EXPECT_EQ(tqvSetFocusPos(h, 1000 + 100 * ((seed + round) % 50)), TQV_OK);
      EXPECT_EQ(tqvGetFocusRange(h, &d[0], &d[1]), TQV_OK);
      EXPECT_EQ(tqvGetFilterIDs(h, &ids[0], &ids[1], &ids[2], &ids[3]), TQV_OK);
      EXPECT_EQ(tqvScanFilters(h), TQV_OK);
      EXPECT_EQ(tqvGetFOV(h, &b), TQV_OK);
      EXPECT_EQ(tqvGetFlagCoolerEnabled(h, &on), TQV_OK);
      EXPECT_EQ(tqvSetLensCoverState(h, round % 2), TQV_OK);
      EXPECT_EQ(tqvGetLensCoverState(h, &b), TQV_OK);
      EXPECT_EQ(tqvAutoFocusFast(h, true), TQV_OK);
    }
  };
  std::thread other(work, 7);
  work(0);
  other.join();
}
