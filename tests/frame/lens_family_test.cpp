// The hand-written lens, focus, field of view, filter wheel, lens cover and flag operations
// through the C interface, on both simulated cameras, whose optics move in simulated time: what
// is written reads back once the camera has got there, and the error rows give their codes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"

namespace {

enum class Backend { kPropertyTree, kGenICam };

// A simulated camera of either kind, from a built-in profile, with a handle over it.
class LensCamera {
 public:
  LensCamera(Backend backend, const std::string& profile) {
    const std::string address = profile == "sim" ? "sim" : "sim:" + profile;
    if (backend == Backend::kPropertyTree) {
      m_tree = std::make_unique<testutil::PTreeCamera>(address.c_str());
      m_handle = m_tree->handle();
    } else {
      m_gic = std::make_unique<testutil::GicCamera>(address.c_str());
      m_handle = m_gic->handle();
    }
  }
  void* handle() const { return m_handle; }
  bool tree() const { return m_tree != nullptr; }
  // Lets the camera's own time pass, as a host that waits would.
  void Pass(u64 milliseconds) const {
    if (m_tree) {
      m_tree->camera().AdvanceMs(milliseconds);
    } else {
      m_gic->device().AdvanceMs(milliseconds);
    }
  }
  sim::ptree::Camera& camera() const { return m_tree->camera(); }
  sim::genicam::Device& device() const { return m_gic->device(); }

 private:
  std::unique_ptr<testutil::PTreeCamera> m_tree;
  std::unique_ptr<testutil::GicCamera> m_gic;
  void* m_handle = nullptr;
};

class LensFamily : public ::testing::TestWithParam<Backend> {
 protected:
  bool OnTree() const { return GetParam() == Backend::kPropertyTree; }
  testutil::SleepRecorder sleeps;
  LensCamera cam{GetParam(), "sim"};
  void* h = cam.handle();
};

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::kPropertyTree ? "PropertyTree" : "GenICam";
}

u32 FocusCurrent(void* h) {
  u32 position = 0;
  EXPECT_EQ(tqvGetFocusCurrentPos(h, &position), TQV_OK);
  return position;
}

u32 FOVCurrent(void* h) {
  u32 position = 0;
  EXPECT_EQ(tqvGetFOVCurrentPos(h, &position), TQV_OK);
  return position;
}

// --- Filter wheel --------------------------------------------------------------------------------

TEST_P(LensFamily, TheWheelTurnsOnlyToFiltersItHoldsAndAScanFindsTheSlotAssignment) {
  bool present = false, replaceable = false;
  u8 count = 0, current = 0;
  u8 ids[4] = {};
  ASSERT_EQ(tqvGetFilterWheelPresent(h, &present), TQV_OK);
  EXPECT_TRUE(present);
  ASSERT_EQ(tqvGetNumFilters(h, &count), TQV_OK);
  EXPECT_EQ(count, 4);
  ASSERT_EQ(tqvGetFilterReplaceable(h, &replaceable), TQV_OK);
  EXPECT_TRUE(replaceable);
  ASSERT_EQ(tqvGetFilterIDs(h, &ids[0], &ids[1], &ids[2], &ids[3]), TQV_OK);
  EXPECT_EQ(std::vector<u8>(ids, ids + 4), (std::vector<u8>{0, 1, 2, 7}));

  ASSERT_EQ(tqvSetCurrentFilterID(h, 7), TQV_OK);
  ASSERT_EQ(tqvGetCurrentFilterID(h, &current), TQV_OK);
  EXPECT_EQ(current, 7);
  EXPECT_EQ(tqvSetCurrentFilterID(h, 9), TQV_INVALID_ARGUMENT);  // not in the wheel
  ASSERT_EQ(tqvGetCurrentFilterID(h, &current), TQV_OK);
  EXPECT_EQ(current, 7);

  u8 id = 0;
  ASSERT_EQ(tqvGetFilterIDInSlot(h, 3, &id), TQV_OK);
  EXPECT_EQ(id, 7);
  ASSERT_EQ(tqvSetFilterIDInSlot(h, 3, 9), TQV_OK);
  ASSERT_EQ(tqvGetFilterIDInSlot(h, 3, &id), TQV_OK);
  EXPECT_EQ(id, 9);
  ASSERT_EQ(tqvScanFilters(h), TQV_OK);
  ASSERT_EQ(tqvGetFilterIDs(h, &ids[0], &ids[1], &ids[2], &ids[3]), TQV_OK);
  EXPECT_EQ(std::vector<u8>(ids, ids + 4), (std::vector<u8>{0, 1, 2, 9}));
  // Filter 7 left the wheel: it stands at the first position now.
  ASSERT_EQ(tqvGetCurrentFilterID(h, &current), TQV_OK);
  EXPECT_EQ(current, 0);
  ASSERT_EQ(tqvSetCurrentFilterID(h, 9), TQV_OK);

  id = 42;
  EXPECT_EQ(tqvGetFilterIDInSlot(h, 4, &id), TQV_NOT_FOUND);
  EXPECT_EQ(tqvSetFilterIDInSlot(h, 4, 1), TQV_NOT_FOUND);
  EXPECT_EQ(id, 42);
}

TEST_P(LensFamily, FilterNamesHeldByTheCamera) {
  bool available = false;
  ASSERT_EQ(tqvGetFilterInfoAvailable(h, &available), TQV_OK);
  EXPECT_TRUE(available);
  char name[64] = {};
  ASSERT_EQ(tqvSetFilterInfoName(h, 5, "LWIR 8-9"), TQV_OK);
  ASSERT_EQ(tqvGetFilterInfoName(h, 5, name, sizeof name), TQV_OK);
  EXPECT_STREQ(name, "LWIR 8-9");
  // One byte more than the name: enough for GenICam, one short of the property tree's rule.
  char exact[9] = "xxxxxxxx";
  EXPECT_EQ(tqvGetFilterInfoName(h, 5, exact, sizeof exact), OnTree() ? TQV_ERROR : TQV_OK);
  EXPECT_STREQ(exact, OnTree() ? "xxxxxxxx" : "LWIR 8-9");
  if (OnTree()) {
    EXPECT_EQ(tqvGetFilterInfoName(h, 64, name, sizeof name), TQV_INVALID_ARGUMENT);
  }
}

// --- Flag ----------------------------------------------------------------------------------------

TEST_P(LensFamily, TheFlagMovesInAndOutAndItsTemperatureSettlesOnTheSetpoint) {
  bool present = false, controlled = false, cooler = false;
  ASSERT_EQ(tqvGetFlagPresent(h, &present), TQV_OK);
  EXPECT_TRUE(present);
  ASSERT_EQ(tqvGetFlagTemperatureControlled(h, &controlled), TQV_OK);
  EXPECT_TRUE(controlled);

  float temperature = 0, setpoint = 0;
  ASSERT_EQ(tqvGetFlagTemperature(h, &temperature), TQV_OK);
  EXPECT_NEAR(temperature, 25.0f, 0.1f);  // the room, heading for the 30 degree setpoint

  u8 state = 9;
  ASSERT_EQ(tqvGetFlagState(h, &state), TQV_OK);
  EXPECT_EQ(state, 0);
  ASSERT_EQ(tqvSetFlagState(h, 1), TQV_OK);
  ASSERT_EQ(tqvGetFlagState(h, &state), TQV_OK);
  EXPECT_EQ(state, OnTree() ? 1 : 0);  // the property tree keeps what it wrote
  tqvClearCache(h);
  ASSERT_EQ(tqvGetFlagState(h, &state), TQV_OK);
  EXPECT_EQ(state, 0);  // the camera: still on its way
  cam.Pass(1000);
  tqvClearCache(h);
  ASSERT_EQ(tqvGetFlagState(h, &state), TQV_OK);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(tqvSetFlagState(h, 5), OnTree() ? TQV_ERROR : TQV_INVALID_ARGUMENT);

  ASSERT_EQ(tqvSetFlagDesiredTemperature(h, 40.0f), TQV_OK);
  ASSERT_EQ(tqvGetFlagDesiredTemperature(h, &setpoint), TQV_OK);
  EXPECT_FLOAT_EQ(setpoint, 40.0f);
  cam.Pass(4000);
  ASSERT_EQ(tqvGetFlagTemperature(h, &temperature), TQV_OK);
  EXPECT_GT(temperature, 30.0f);
  EXPECT_LT(temperature, 39.0f);
  cam.Pass(60000);
  ASSERT_EQ(tqvGetFlagTemperature(h, &temperature), TQV_OK);
  EXPECT_NEAR(temperature, 40.0f, 0.05f);

  // Without its cooler the flag drifts back to the room.
  ASSERT_EQ(tqvSetFlagCoolerEnabled(h, false), TQV_OK);
  ASSERT_EQ(tqvGetFlagCoolerEnabled(h, &cooler), TQV_OK);
  EXPECT_FALSE(cooler);
  cam.Pass(60000);
  ASSERT_EQ(tqvGetFlagTemperature(h, &temperature), TQV_OK);
  EXPECT_NEAR(temperature, 25.0f, 0.05f);
  ASSERT_EQ(tqvSetFlagCoolerEnabled(h, true), TQV_OK);
  ASSERT_EQ(tqvGetFlagCoolerEnabled(h, &cooler), TQV_OK);
  EXPECT_TRUE(cooler);
}

// --- Focus ---------------------------------------------------------------------------------------

TEST_P(LensFamily, FocusMovesReportTheirWayAndReadBackTheTarget) {
  bool present = false;
  u32 minimum = 0, maximum = 0, position = 0;
  ASSERT_EQ(tqvGetFocusPresent(h, &present), TQV_OK);
  EXPECT_TRUE(present);
  ASSERT_EQ(tqvGetFocusRange(h, &minimum, &maximum), TQV_OK);
  EXPECT_EQ(minimum, 100u);
  EXPECT_EQ(maximum, 9900u);

  ASSERT_EQ(tqvSetFocusPos(h, 7000), TQV_OK);
  ASSERT_EQ(tqvGetFocusPos(h, &position), TQV_OK);
  EXPECT_EQ(position, 7000u);
  cam.Pass(100);
  const u32 underway = FocusCurrent(h);
  EXPECT_GT(underway, 2000u);
  EXPECT_LT(underway, 7000u);
  cam.Pass(2000);
  EXPECT_EQ(FocusCurrent(h), 7000u);

  // Relative moves stop at the end of the range.
  ASSERT_EQ(tqvFocusMoveBy(h, 5000), TQV_OK);
  cam.Pass(2000);
  EXPECT_EQ(FocusCurrent(h), 9900u);
  ASSERT_EQ(tqvGetFocusPos(h, &position), TQV_OK);
  EXPECT_EQ(position, 9900u);
  ASSERT_EQ(tqvFocusMoveBy(h, -2000), TQV_OK);
  cam.Pass(2000);
  EXPECT_EQ(FocusCurrent(h), 7900u);

  struct Move {
    const char* name;
    u32 (*start)(void* h);
    u32 position;
  };
  const Move moves[] = {
      {"near", [](void* handle) { return tqvFocusNear(handle); }, 100},
      {"far", [](void* handle) { return tqvFocusFar(handle); }, 9900},
      {"to 500", [](void* handle) { return tqvFocusMoveTo(handle, 500); }, 500},
      {"to 0.5 m", [](void* handle) { return tqvFocusToDistance(handle, 0.5f); }, 100},
      {"to 1 m", [](void* handle) { return tqvFocusToDistance(handle, 1.0f); }, 5000},
  };
  for (const Move& move : moves) {
    SCOPED_TRACE(move.name);
    ASSERT_EQ(move.start(h), TQV_OK);
    cam.Pass(3000);
    EXPECT_EQ(FocusCurrent(h), move.position);
    ASSERT_EQ(tqvGetFocusPos(h, &position), TQV_OK);
    EXPECT_EQ(position, move.position);
  }
}

TEST_P(LensFamily, SpeedAndPacedMovesRunUntilStopped) {
  // From 2000: positive speeds focus nearer (down), negative farther (up).
  ASSERT_EQ(tqvFocusMove(h, 3), TQV_OK);
  cam.Pass(250);
  const u32 nearer = FocusCurrent(h);
  EXPECT_LT(nearer, 2000u);
  ASSERT_EQ(tqvFocusMove(h, 0), TQV_OK);
  const u32 stopped = FocusCurrent(h);
  cam.Pass(1000);
  EXPECT_EQ(FocusCurrent(h), stopped);
  ASSERT_EQ(tqvFocusMove(h, -1), TQV_OK);
  cam.Pass(1000);
  EXPECT_GT(FocusCurrent(h), stopped);
  ASSERT_EQ(tqvFocusMove(h, 0), TQV_OK);

  bool paced = false;
  ASSERT_EQ(tqvGetFocusMovePercentAvailable(h, &paced), TQV_OK);
  EXPECT_TRUE(paced);
  const u32 before = FocusCurrent(h);
  ASSERT_EQ(tqvFocusMovePercent(h, -50.0f), TQV_OK);
  cam.Pass(500);
  EXPECT_GT(FocusCurrent(h), before);
  ASSERT_EQ(tqvFocusMovePercent(h, 0.0f), TQV_OK);

  EXPECT_EQ(tqvFocusMove(h, 4), OnTree() ? TQV_INVALID_ARGUMENT : TQV_FAILED);
}

TEST_P(LensFamily, FocusToDistanceAndTheNearAndFarPositionsOfEachFieldOfView) {
  bool available = false, manual = true;
  float nearest = 0, farthest = 0;
  ASSERT_EQ(tqvGetFocusToDistanceAvailable(h, &available), TQV_OK);
  EXPECT_TRUE(available);
  ASSERT_EQ(tqvGetFocusToDistanceMin(h, &nearest), TQV_OK);
  ASSERT_EQ(tqvGetFocusToDistanceMax(h, &farthest), TQV_OK);
  EXPECT_FLOAT_EQ(nearest, 0.5f);
  EXPECT_FLOAT_EQ(farthest, 1000.0f);
  ASSERT_EQ(tqvGetFocusManualMode(h, &manual), TQV_OK);
  EXPECT_FALSE(manual);

  struct Ends {
    u8 fov;
    u32 nearPos;
    u32 farPos;
  };
  for (const Ends& ends : {Ends{0, 180, 9800}, Ends{1, 400, 9200}, Ends{2, 150, 9850}}) {
    SCOPED_TRACE("FOV " + std::to_string(ends.fov));
    u32 nearPos = 0, farPos = 0;
    ASSERT_EQ(tqvGetFocusNearPos(h, ends.fov, &nearPos), TQV_OK);
    ASSERT_EQ(tqvGetFocusFarPos(h, ends.fov, &farPos), TQV_OK);
    EXPECT_EQ(nearPos, ends.nearPos);
    EXPECT_EQ(farPos, ends.farPos);
  }
  ASSERT_EQ(tqvSetFocusNearPos(h, 1, 420), TQV_OK);
  ASSERT_EQ(tqvSetFocusFarPos(h, 1, 9100), TQV_OK);
  u32 nearPos = 0, farPos = 0;
  ASSERT_EQ(tqvGetFocusNearPos(h, 1, &nearPos), TQV_OK);
  ASSERT_EQ(tqvGetFocusFarPos(h, 1, &farPos), TQV_OK);
  EXPECT_EQ(nearPos, 420u);
  EXPECT_EQ(farPos, 9100u);
  ASSERT_EQ(tqvGetFocusNearPos(h, 0, &nearPos), TQV_OK);
  EXPECT_EQ(nearPos, 180u);  // the narrow field of view kept its own

  // The property tree knows three fields of view and sets only the first two; GenICam asks the
  // camera, which has three.
  EXPECT_EQ(tqvGetFocusNearPos(h, 3, &nearPos), OnTree() ? TQV_NOT_FOUND : TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvSetFocusFarPos(h, 2, 9000), OnTree() ? TQV_NOT_FOUND : TQV_OK);
}

// --- Autofocus -----------------------------------------------------------------------------------

TEST_P(LensFamily, AutofocusWaitsInHalfSecondsUntilTheCameraIsDone) {
  ASSERT_EQ(tqvWaitForAutoFocusDone(h), TQV_OK);  // nothing searching: nothing to wait for
  EXPECT_TRUE(sleeps.Sleeps().empty());
  ASSERT_EQ(tqvAutoFocusFull(h, true), TQV_OK);
  const std::vector<u32> waits = sleeps.Sleeps();
  ASSERT_GE(waits.size(), 3u);  // a full search takes 1.8 s
  EXPECT_LE(waits.size(), 4u);
  EXPECT_EQ(waits, std::vector<u32>(waits.size(), 500u));

  u16 code = 0;
  char text[64] = {};
  ASSERT_EQ(tqvGetAutoFocusStatus(h, &code, text, sizeof text), TQV_OK);
  EXPECT_EQ(code, 1);
  EXPECT_STREQ(text, "Done");
  ASSERT_EQ(tqvGetAutoFocusResult(h, &code, text, sizeof text), TQV_OK);
  EXPECT_EQ(code, 1);
  EXPECT_STREQ(text, "In focus");
  // The sharpest picture of the simulated scene is half-way along the range.
  u32 position = 0;
  ASSERT_EQ(tqvGetFocusPos(h, &position), TQV_OK);
  EXPECT_EQ(position, 5000u);
  EXPECT_EQ(FocusCurrent(h), 5000u);
  EXPECT_EQ(tqvWaitForAutoFocusDone(h), TQV_OK);
}

TEST_P(LensFamily, AFastAutofocusWithoutWaitingReturnsOnceStarted) {
  ASSERT_EQ(tqvAutoFocusFast(h, false), TQV_OK);
  EXPECT_TRUE(sleeps.Sleeps().empty());
  u16 code = 0;
  char text[64] = {};
  ASSERT_EQ(tqvGetAutoFocusStatus(h, &code, text, sizeof text), TQV_OK);
  EXPECT_EQ(code, 2);
  EXPECT_STREQ(text, "Coarse search");
  ASSERT_EQ(tqvWaitForAutoFocusDone(h), TQV_OK);
  EXPECT_EQ(sleeps.Sleeps(), (std::vector<u32>{500, 500}));  // 0.9 s
  ASSERT_EQ(tqvGetAutoFocusStatus(h, &code, text, sizeof text), TQV_OK);
  EXPECT_EQ(code, 1);

  sleeps.Clear();
  ASSERT_EQ(tqvAutoFocusFast(h, true), TQV_OK);
  EXPECT_EQ(sleeps.Sleeps(), (std::vector<u32>{500, 500}));
}

TEST_P(LensFamily, AutofocusWithTheMotorDisengagedEndsInFailure) {
  LensCamera manual(GetParam(), "sim");
  if (manual.tree()) {
    manual.camera().Set(".system.lens.isLensMotorDisengaged", sim::ptree::Value::Bool(true));
  } else {
    manual.device().SetBool("FocusManualMode", true);
  }
  void* m = manual.handle();
  bool disengaged = false;
  ASSERT_EQ(tqvGetFocusManualMode(m, &disengaged), TQV_OK);
  EXPECT_TRUE(disengaged);
  ASSERT_EQ(tqvAutoFocusFull(m, true), TQV_OK);  // the wait ends when the camera is done
  u16 code = 0;
  char text[64] = {};
  ASSERT_EQ(tqvGetAutoFocusResult(m, &code, text, sizeof text), TQV_OK);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(std::string(text).rfind("Failed", 0), 0u) << text;
  EXPECT_EQ(FocusCurrent(m), 2000u);  // nothing moved
}

TEST_P(LensFamily, AutofocusTextsFollowTheBackendsBufferRule) {
  u16 code = 9;
  char text[5] = "....";  // "Idle" needs 5 bytes on GenICam and 6 on the property tree
  EXPECT_EQ(tqvGetAutoFocusStatus(h, &code, text, sizeof text), OnTree() ? TQV_ERROR : TQV_OK);
  EXPECT_EQ(code, 1);  // the code is handed out before the text is read
  EXPECT_STREQ(text, OnTree() ? "...." : "Idle");
}

// --- Field of view -------------------------------------------------------------------------------

TEST_P(LensFamily, ATwoPositionLensSwitchesBetweenNarrowAndWide) {
  bool present = false, continuous = true;
  u8 fov = 9;
  ASSERT_EQ(tqvGetFOVPresent(h, &present), TQV_OK);
  EXPECT_TRUE(present);
  ASSERT_EQ(tqvGetFOVIsContinuous(h, &continuous), TQV_OK);
  EXPECT_FALSE(continuous);
  ASSERT_EQ(tqvGetFOV(h, &fov), TQV_OK);
  EXPECT_EQ(fov, 0);
  ASSERT_EQ(tqvSetFOV(h, 1), TQV_OK);
  ASSERT_EQ(tqvGetFOV(h, &fov), TQV_OK);
  EXPECT_EQ(fov, 1);
  cam.Pass(5000);
  EXPECT_EQ(FOVCurrent(h), 0u);  // wide is the short end
  EXPECT_EQ(tqvSetFOV(h, 3), OnTree() ? TQV_ERROR : TQV_INVALID_ARGUMENT);
}

TEST_P(LensFamily, ZoomPositionsMoveWithinTheRange) {
  u32 minimum = 0, maximum = 0, position = 0;
  ASSERT_EQ(tqvGetFOVRange(h, &minimum, &maximum), TQV_OK);
  EXPECT_EQ(minimum, 0u);
  EXPECT_EQ(maximum, 1000u);
  ASSERT_EQ(tqvSetFOVPos(h, 400), TQV_OK);
  ASSERT_EQ(tqvGetFOVPos(h, &position), TQV_OK);
  EXPECT_EQ(position, 400u);
  cam.Pass(100);
  const u32 underway = FOVCurrent(h);
  EXPECT_GT(underway, 400u);
  EXPECT_LT(underway, 1000u);
  cam.Pass(2000);
  EXPECT_EQ(FOVCurrent(h), 400u);
  ASSERT_EQ(tqvFOVMoveBy(h, -1000), TQV_OK);
  cam.Pass(2000);
  EXPECT_EQ(FOVCurrent(h), 0u);
  ASSERT_EQ(tqvFOVMax(h), TQV_OK);
  cam.Pass(3000);
  EXPECT_EQ(FOVCurrent(h), 1000u);
  ASSERT_EQ(tqvFOVMoveTo(h, 250), TQV_OK);
  cam.Pass(3000);
  EXPECT_EQ(FOVCurrent(h), 250u);
  ASSERT_EQ(tqvFOVMove(h, 1), TQV_OK);
  cam.Pass(1000);
  EXPECT_EQ(FOVCurrent(h), 270u);  // the slow zoom speed
  ASSERT_EQ(tqvFOVMove(h, 0), TQV_OK);
  bool paced = false;
  ASSERT_EQ(tqvGetFOVMovePercentAvailable(h, &paced), TQV_OK);
  EXPECT_TRUE(paced);
  ASSERT_EQ(tqvFOVMovePercent(h, -25.0f), TQV_OK);
  cam.Pass(1000);
  EXPECT_EQ(FOVCurrent(h), 170u);
  ASSERT_EQ(tqvFOVMin(h), TQV_OK);
  cam.Pass(3000);
  EXPECT_EQ(FOVCurrent(h), 0u);
}

TEST_P(LensFamily, AZoomLensIsContinuous) {
  LensCamera zoom(GetParam(), "zoom");
  void* z = zoom.handle();
  bool continuous = false;
  u8 fov = 0, type = 0;
  ASSERT_EQ(tqvGetFOVIsContinuous(z, &continuous), TQV_OK);
  EXPECT_TRUE(continuous);
  ASSERT_EQ(tqvGetLensControlType(z, &type), TQV_OK);
  EXPECT_EQ(type, 2);
  ASSERT_EQ(tqvGetFOV(z, &fov), TQV_OK);
  EXPECT_EQ(fov, 2);
  // Its field of view is a zoom position, not one of two.
  EXPECT_EQ(tqvSetFOV(z, 0), zoom.tree() ? TQV_NOT_SUPPORTED : TQV_ACCESS_DENIED);
  ASSERT_EQ(tqvSetFOVPos(z, 600), TQV_OK);
  zoom.Pass(3000);
  EXPECT_EQ(FOVCurrent(z), 600u);
}

// --- Lens control, cover and information ---------------------------------------------------------

TEST_P(LensFamily, TheLensControllerCanBeChangedExceptOnCamerasWithAFixedOne) {
  struct Case {
    u8 cameraType;
    bool writable;
  };
  const Case cases[] = {{0, true},   {6, true},   {7, false},  {8, true},  {10, true},
                        {11, false}, {14, false}, {17, false}, {18, true}, {255, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE("camera type " + std::to_string(c.cameraType));
    LensCamera camera(GetParam(), "sim");
    void* handle = camera.handle();
    ASSERT_EQ(tqvSetCameraType(handle, c.cameraType), TQV_OK);
    bool writable = !c.writable;
    ASSERT_EQ(tqvGetLensControlTypeWritable(handle, &writable), TQV_OK);
    EXPECT_EQ(writable, c.writable);
    u8 type = 0;
    EXPECT_EQ(tqvSetLensControlType(handle, 2), c.writable ? TQV_OK : TQV_NOT_WRITABLE);
    ASSERT_EQ(tqvGetLensControlType(handle, &type), TQV_OK);
    EXPECT_EQ(type, c.writable ? 2 : 1);
  }
}

TEST_P(LensFamily, LensStatesBelongToLensesOnAController) {
  for (u8 type : {0, 1, 2, 3}) {
    SCOPED_TRACE("lens control type " + std::to_string(type));
    ASSERT_EQ(tqvSetLensControlType(h, type), TQV_OK);
    bool has = type == 0;
    ASSERT_EQ(tqvGetHasLensStatesFunctionality(h, &has), TQV_OK);
    EXPECT_EQ(has, type == 1 || type == 2);
  }
  bool untouched = true;
  EXPECT_EQ(tqvGetHasLensStatesFunctionality(nullptr, &untouched), TQV_ERROR);
  EXPECT_TRUE(untouched);
  EXPECT_EQ(tqvGetHasLensStatesFunctionality(h, nullptr), TQV_INVALID_ARGUMENT);
}

TEST_P(LensFamily, TheCoverIsUnknownWhileItMoves) {
  bool present = false;
  u8 state = 9;
  ASSERT_EQ(tqvGetLensCoverPresent(h, &present), TQV_OK);
  EXPECT_TRUE(present);
  ASSERT_EQ(tqvGetLensCoverState(h, &state), TQV_OK);
  EXPECT_EQ(state, 0);
  ASSERT_EQ(tqvSetLensCoverState(h, 1), TQV_OK);
  ASSERT_EQ(tqvGetLensCoverState(h, &state), TQV_OK);
  EXPECT_EQ(state, 2);
  cam.Pass(1500);
  ASSERT_EQ(tqvGetLensCoverState(h, &state), TQV_OK);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(tqvSetLensCoverState(h, 2), TQV_NOT_SUPPORTED);
}

TEST_P(LensFamily, LensInformation) {
  bool available = false;
  i32 focalLength = 0;
  u8 band = 0;
  u32 specific = 0;
  ASSERT_EQ(tqvGetLensInfoAvailable(h, &available), TQV_OK);
  EXPECT_TRUE(available);
  ASSERT_EQ(tqvGetLensFocalLength(h, &focalLength), TQV_OK);
  EXPECT_EQ(focalLength, 100);
  ASSERT_EQ(tqvGetLensBandPass(h, &band), TQV_OK);
  EXPECT_EQ(band, 1);  // MWIR
  ASSERT_EQ(tqvGetLensSpecificType(h, &specific), TQV_OK);
  EXPECT_EQ(specific, 12u);
}

// --- Manufacturing values of the lens ------------------------------------------------------------

TEST_P(LensFamily, ManufacturingValuesArePerFieldOfView) {
  struct Case {
    u8 fov;
    u32 speeds[3];
    u8 slowControl;
    u32 increment;
    u32 accuracy;
  };
  for (const Case& c :
       {Case{0, {200, 1000, 4000}, 0, 10, 5}, Case{1, {150, 800, 3000}, 1, 20, 8}}) {
    SCOPED_TRACE("FOV " + std::to_string(c.fov));
    u32 speeds[3] = {};
    u8 control = 9;
    u32 increment = 0, accuracy = 0;
    ASSERT_EQ(tqvMfgGetFocusSpeeds(h, c.fov, &speeds[0], &speeds[1], &speeds[2]), TQV_OK);
    EXPECT_EQ(std::vector<u32>(speeds, speeds + 3), std::vector<u32>(c.speeds, c.speeds + 3));
    ASSERT_EQ(tqvMfgGetFocusSlowControl(h, c.fov, &control), TQV_OK);
    EXPECT_EQ(control, c.slowControl);
    ASSERT_EQ(tqvMfgGetFocusPositionIncrement(h, c.fov, &increment), TQV_OK);
    EXPECT_EQ(increment, c.increment);
    ASSERT_EQ(tqvMfgGetFocusAccuracy(h, c.fov, &accuracy), TQV_OK);
    EXPECT_EQ(accuracy, c.accuracy);

    ASSERT_EQ(tqvMfgSetFocusSpeeds(h, c.fov, 11, 22, 33), TQV_OK);
    ASSERT_EQ(tqvMfgSetFocusSlowControl(h, c.fov, 1 - c.slowControl), TQV_OK);
    ASSERT_EQ(tqvMfgSetFocusPositionIncrement(h, c.fov, 44), TQV_OK);
    ASSERT_EQ(tqvMfgSetFocusAccuracy(h, c.fov, 55), TQV_OK);
    ASSERT_EQ(tqvMfgGetFocusSpeeds(h, c.fov, &speeds[0], &speeds[1], &speeds[2]), TQV_OK);
    EXPECT_EQ(std::vector<u32>(speeds, speeds + 3), (std::vector<u32>{11, 22, 33}));
    ASSERT_EQ(tqvMfgGetFocusSlowControl(h, c.fov, &control), TQV_OK);
    EXPECT_EQ(control, 1 - c.slowControl);
    ASSERT_EQ(tqvMfgGetFocusPositionIncrement(h, c.fov, &increment), TQV_OK);
    EXPECT_EQ(increment, 44u);
    ASSERT_EQ(tqvMfgGetFocusAccuracy(h, c.fov, &accuracy), TQV_OK);
    EXPECT_EQ(accuracy, 55u);
  }
  u32 value = 7;
  u8 control = 7;
  // The property tree has no manufacturing values beyond the two fields of view; GenICam asks
  // the camera, which refuses a fourth.
  EXPECT_EQ(tqvMfgGetFocusAccuracy(h, 3, &value),
            OnTree() ? TQV_UNEXPECTED_VALUE : TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvMfgSetFocusSlowControl(h, 0, 2),
            OnTree() ? TQV_UNEXPECTED_VALUE : TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvMfgGetFocusSlowControl(h, 0, &control), TQV_OK);
  EXPECT_EQ(value, 7u);
}

// --- Error rows ----------------------------------------------------------------------------------

struct Item {
  const char* name;
  u32 (*call)(void* h);
  const char* path;     // property tree
  const char* feature;  // GenICam
};

TEST_P(LensFamily, ReadOnlyItemsRefuseTheSetters) {
  testutil::LogCapture refusedCommands;
  const Item items[] = {
      {"ScanFilters", [](void* h) { return tqvScanFilters(h); }, ".system.settings.filter.scan",
       "FilterWheelScan"},
      {"SetCurrentFilterID", [](void* h) { return tqvSetCurrentFilterID(h, 2); },
       ".system.settings.filter.current", "FilterWheelDesiredFilterID"},
      {"SetFilterIDInSlot", [](void* h) { return tqvSetFilterIDInSlot(h, 0, 5); },
       ".system.settings.filter.config.filterIDInSlot0", "FilterIDInSlot0"},
      {"SetFilterInfoName", [](void* h) { return tqvSetFilterInfoName(h, 1, "x"); },
       ".system.settings.filter.info.1.name", "FilterInfoIndex"},
      {"SetFlagState", [](void* h) { return tqvSetFlagState(h, 1); }, ".system.settings.flag.state",
       "FlagMoveToInFOV"},
      {"SetFlagCoolerEnabled", [](void* h) { return tqvSetFlagCoolerEnabled(h, false); },
       ".system.settings.flag.coolerPower", "FlagCoolerEnabled"},
      {"SetFocusPos", [](void* h) { return tqvSetFocusPos(h, 3000); }, ".system.lens.focusPos",
       "FocusDesiredPosition"},
      {"FocusMove", [](void* h) { return tqvFocusMove(h, 1); }, ".system.lens.focusMove",
       "FocusMove"},
      {"AutoFocusFull", [](void* h) { return tqvAutoFocusFull(h, false); },
       ".system.lens.autoFocusFull", "FocusAutoFull"},
      {"SetFocusNearPos", [](void* h) { return tqvSetFocusNearPos(h, 0, 200); },
       ".system.manufacturing.lens.fovNarrowNearPos", "FocusNearPosition"},
      {"SetFOV", [](void* h) { return tqvSetFOV(h, 1); }, ".system.lens.fovState", "FOVState"},
      {"SetFOVPos", [](void* h) { return tqvSetFOVPos(h, 300); }, ".system.lens.fov",
       "FOVDesiredPos"},
      {"SetLensControlType", [](void* h) { return tqvSetLensControlType(h, 3); },
       ".system.lens.lensType", "LensControlType"},
      {"SetLensCoverState", [](void* h) { return tqvSetLensCoverState(h, 1); },
       ".system.settings.lensCover.state", "LensCoverMoveToClosed"},
      {"MfgSetFocusSpeeds", [](void* h) { return tqvMfgSetFocusSpeeds(h, 0, 1, 2, 3); },
       ".system.manufacturing.lens.narrowSlowSpeed", "FocusSlowSpeed"},
      {"MfgSetFocusSlowControl", [](void* h) { return tqvMfgSetFocusSlowControl(h, 0, 1); },
       ".system.manufacturing.lens.narrowSlowControl", "FocusSlowControl"},
      {"MfgSetFocusPositionIncrement",
       [](void* h) { return tqvMfgSetFocusPositionIncrement(h, 0, 5); },
       ".system.manufacturing.lens.narrowPositionIncrement", "FocusPositionIncrement"},
      {"MfgSetFocusAccuracy", [](void* h) { return tqvMfgSetFocusAccuracy(h, 0, 5); },
       ".system.manufacturing.lens.narrowFocusAccuracy", "FocusAccuracy"},
  };
  for (const Item& item : items) {
    SCOPED_TRACE(item.name);
    LensCamera camera(GetParam(), "sim");
    if (camera.tree()) {
      camera.camera().SetReadOnly(item.path);
    } else {
      camera.device().SetWritable(item.feature, false);
    }
    EXPECT_EQ(item.call(camera.handle()), OnTree() ? TQV_NOT_WRITABLE : TQV_ACCESS_DENIED);
  }
}

TEST_P(LensFamily, ReadingsOfItemsTheCameraLacksFail) {
  static u8 b[4];
  static u32 d[2];
  static float f;
  static bool on;
  static u16 code;
  static char text[32];
  const Item items[] = {
      {"GetFilterIDs", [](void* h) { return tqvGetFilterIDs(h, &b[0], &b[1], &b[2], &b[3]); },
       ".system.settings.filter", "FilterWheelFilterID0"},
      {"GetFlagTemperature", [](void* h) { return tqvGetFlagTemperature(h, &f); },
       ".system.settings.flag.temperature", "DeviceTemperature"},
      {"GetFlagCoolerEnabled", [](void* h) { return tqvGetFlagCoolerEnabled(h, &on); },
       ".system.settings.flag.coolerPower", "FlagCoolerEnabled"},
      {"GetFocusRange", [](void* h) { return tqvGetFocusRange(h, &d[0], &d[1]); },
       ".system.lens.focusMax", "FocusRangeMax"},
      {"GetFOVRange", [](void* h) { return tqvGetFOVRange(h, &d[0], &d[1]); },
       ".system.lens.fovMin", "FOVRangeMin"},
      {"GetFOV", [](void* h) { return tqvGetFOV(h, &b[0]); }, ".system.lens.fovState", "FOVState"},
      {"GetAutoFocusStatus",
       [](void* h) { return tqvGetAutoFocusStatus(h, &code, text, sizeof text); },
       ".system.lens.autoFocusStatusText", "FocusAutoStatusText"},
      {"GetAutoFocusResult",
       [](void* h) { return tqvGetAutoFocusResult(h, &code, text, sizeof text); },
       ".system.lens.autoFocusResultCode", "FocusAutoResult"},
      {"GetFocusFarPos", [](void* h) { return tqvGetFocusFarPos(h, 1, &d[0]); },
       ".system.manufacturing.lens.fovWideFarPos", "FocusFarPosition"},
      {"MfgGetFocusSpeeds", [](void* h) { return tqvMfgGetFocusSpeeds(h, 1, &d[0], &d[1], &d[0]); },
       ".system.manufacturing.lens.wideFastSpeed", "FocusFastSpeed"},
      {"GetFilterInfoName", [](void* h) { return tqvGetFilterInfoName(h, 3, text, sizeof text); },
       ".system.settings.filter.info.3.name", "FilterInfoName"},
  };
  for (const Item& item : items) {
    SCOPED_TRACE(item.name);
    LensCamera camera(GetParam(), "sim");
    if (camera.tree()) {
      ASSERT_TRUE(camera.camera().Remove(item.path));
    } else {
      ASSERT_TRUE(camera.device().Remove(item.feature));
    }
    EXPECT_EQ(item.call(camera.handle()), OnTree() ? TQV_NOT_FOUND : TQV_ERROR);
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, LensFamily,
                         ::testing::Values(Backend::kPropertyTree, Backend::kGenICam), BackendName);

}  // namespace
