// The hand-written lens, focus, field of view, filter wheel, lens cover and flag operations
// through the C interface, on both simulated cameras, whose optics move in simulated time: what
// is written reads back once the camera has got there, and the error rows give their codes.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"

namespace {

using testutil::AnyCamera;
using testutil::Backend;

class LensFamily : public ::testing::TestWithParam<Backend> {
 protected:
  bool OnTree() const { return GetParam() == Backend::PropertyTree; }
  testutil::SleepRecorder sleeps;
  AnyCamera cam{GetParam()};
  void* h = cam.handle();
};

// A reading that must succeed.
template <typename T>
T Read(u32 (*get)(void*, T*), void* h) {
  T value{};
  EXPECT_EQ(get(h, &value), TQV_OK);
  return value;
}

// A start of a movement, and where the axis stands once it has had `ms` to get there.
struct Move {
  const char* name;
  u32 (*start)(void* h);
  u64 ms;
  u32 position;
};

// Runs the moves one after another, each from where the last ended; every reader gives the
// position each reached.
using Reader = u32 (*)(void*, u32*);
template <std::size_t N>
void RunMoves(const AnyCamera& cam, const Move (&moves)[N], std::initializer_list<Reader> readers) {
  for (const Move& move : moves) {
    SCOPED_TRACE(move.name);
    ASSERT_EQ(move.start(cam.handle()), TQV_OK);
    cam.AdvanceMs(move.ms);
    for (Reader read : readers)
      EXPECT_EQ(Read(read, cam.handle()), move.position);
  }
}

// --- Filter wheel --------------------------------------------------------------------------------

TEST_P(LensFamily, TheWheelTurnsOnlyToFiltersItHoldsAndAScanFindsTheSlotAssignment) {
  auto wheel = [&] {
    u8 ids[4] = {};
    EXPECT_EQ(tqvGetFilterIDs(h, &ids[0], &ids[1], &ids[2], &ids[3]), TQV_OK);
    return std::vector<u8>(ids, ids + 4);
  };
  EXPECT_TRUE(Read(tqvGetFilterReplaceable, h));
  EXPECT_EQ(wheel(), (std::vector<u8>{0, 1, 2, 7}));
  ASSERT_EQ(tqvSetCurrentFilterID(h, 7), TQV_OK);
  EXPECT_EQ(tqvSetCurrentFilterID(h, 9), TQV_INVALID_ARGUMENT);  // not in the wheel
  EXPECT_EQ(Read(tqvGetCurrentFilterID, h), 7);

  u8 id = 0;
  ASSERT_EQ(tqvSetFilterIDInSlot(h, 3, 9), TQV_OK);
  ASSERT_EQ(tqvGetFilterIDInSlot(h, 3, &id), TQV_OK);
  EXPECT_EQ(id, 9);
  ASSERT_EQ(tqvScanFilters(h), TQV_OK);
  EXPECT_EQ(wheel(), (std::vector<u8>{0, 1, 2, 9}));
  // Filter 7 left the wheel: it stands at the first position now.
  EXPECT_EQ(Read(tqvGetCurrentFilterID, h), 0);
  EXPECT_EQ(tqvSetCurrentFilterID(h, 9), TQV_OK);

  id = 42;
  EXPECT_EQ(tqvGetFilterIDInSlot(h, 4, &id), TQV_NOT_FOUND);
  EXPECT_EQ(tqvSetFilterIDInSlot(h, 4, 1), TQV_NOT_FOUND);
  EXPECT_EQ(id, 42);
}

TEST_P(LensFamily, FilterNamesHeldByTheCamera) {
  EXPECT_TRUE(Read(tqvGetFilterInfoAvailable, h));
  char name[64] = {};
  ASSERT_EQ(tqvSetFilterInfoName(h, 5, "LWIR 8-9"), TQV_OK);
  ASSERT_EQ(tqvGetFilterInfoName(h, 5, name, sizeof name), TQV_OK);
  EXPECT_STREQ(name, "LWIR 8-9");
  // One byte more than the name: enough for GenICam, one short of the property tree's rule.
  char exact[9] = "xxxxxxxx";
  EXPECT_EQ(tqvGetFilterInfoName(h, 5, exact, sizeof exact), OnTree() ? TQV_ERROR : TQV_OK);
  EXPECT_STREQ(exact, OnTree() ? "xxxxxxxx" : "LWIR 8-9");
  // The property tree knows filters 0 to 63; GenICam leaves the index to the camera.
  if (OnTree()) {
    EXPECT_EQ(tqvGetFilterInfoName(h, 64, name, sizeof name), TQV_INVALID_ARGUMENT);
  }
}

// --- Flag ----------------------------------------------------------------------------------------

TEST_P(LensFamily, TheFlagMovesInAndOutAndItsTemperatureSettlesOnTheSetpoint) {
  // The room, heading for the 30 degree setpoint.
  EXPECT_NEAR(Read(tqvGetFlagTemperature, h), 25.0f, 0.1f);
  ASSERT_EQ(tqvSetFlagState(h, 1), TQV_OK);
  EXPECT_EQ(Read(tqvGetFlagState, h), OnTree() ? 1 : 0);  // the property tree keeps what it wrote
  tqvClearCache(h);
  EXPECT_EQ(Read(tqvGetFlagState, h), 0);  // the camera: still on its way
  cam.AdvanceMs(1000);
  tqvClearCache(h);
  EXPECT_EQ(Read(tqvGetFlagState, h), 1);
  EXPECT_EQ(tqvSetFlagState(h, 5), OnTree() ? TQV_ERROR : TQV_INVALID_ARGUMENT);

  ASSERT_EQ(tqvSetFlagDesiredTemperature(h, 40.0f), TQV_OK);
  cam.AdvanceMs(4000);
  const float warming = Read(tqvGetFlagTemperature, h);
  EXPECT_GT(warming, 30.0f);
  EXPECT_LT(warming, 39.0f);
  cam.AdvanceMs(60000);
  EXPECT_NEAR(Read(tqvGetFlagTemperature, h), 40.0f, 0.05f);

  // Without its cooler the flag drifts back to the room.
  ASSERT_EQ(tqvSetFlagCoolerEnabled(h, false), TQV_OK);
  EXPECT_FALSE(Read(tqvGetFlagCoolerEnabled, h));
  cam.AdvanceMs(60000);
  EXPECT_NEAR(Read(tqvGetFlagTemperature, h), 25.0f, 0.05f);
  ASSERT_EQ(tqvSetFlagCoolerEnabled(h, true), TQV_OK);
  EXPECT_TRUE(Read(tqvGetFlagCoolerEnabled, h));
}

// --- Focus ---------------------------------------------------------------------------------------

TEST_P(LensFamily, FocusMovesReportTheirWayAndReadBackTheTarget) {
  EXPECT_TRUE(Read(tqvGetFocusPresent, h));
  u32 minimum = 0, maximum = 0;
  ASSERT_EQ(tqvGetFocusRange(h, &minimum, &maximum), TQV_OK);
  EXPECT_EQ(std::pair(minimum, maximum), std::pair(100u, 9900u));
  ASSERT_EQ(tqvSetFocusPos(h, 7000), TQV_OK);
  EXPECT_EQ(Read(tqvGetFocusPos, h), 7000u);
  cam.AdvanceMs(100);
  const u32 underway = Read(tqvGetFocusCurrentPos, h);
  EXPECT_GT(underway, 2000u);
  EXPECT_LT(underway, 7000u);
  cam.AdvanceMs(2000);
  EXPECT_EQ(Read(tqvGetFocusCurrentPos, h), 7000u);

  // Relative moves stop at the end of the range; the target reads back.
  const Move moves[] = {
      {"by 5000", [](void* h) { return tqvFocusMoveBy(h, 5000); }, 2000, 9900},
      {"by -2000", [](void* h) { return tqvFocusMoveBy(h, -2000); }, 2000, 7900},
      {"near", [](void* h) { return tqvFocusNear(h); }, 3000, 100},
      {"far", [](void* h) { return tqvFocusFar(h); }, 3000, 9900},
      {"to 500", [](void* h) { return tqvFocusMoveTo(h, 500); }, 3000, 500},
      {"to 0.5 m", [](void* h) { return tqvFocusToDistance(h, 0.5f); }, 3000, 100},
      {"to 1 m", [](void* h) { return tqvFocusToDistance(h, 1.0f); }, 3000, 5000},
  };
  RunMoves(cam, moves, {tqvGetFocusCurrentPos, tqvGetFocusPos});
}

TEST_P(LensFamily, SpeedAndPacedMovesRunUntilStopped) {
  // From 2000: positive speeds focus nearer (down), negative farther (up).
  ASSERT_EQ(tqvFocusMove(h, 3), TQV_OK);
  cam.AdvanceMs(250);
  EXPECT_LT(Read(tqvGetFocusCurrentPos, h), 2000u);
  ASSERT_EQ(tqvFocusMove(h, 0), TQV_OK);
  const u32 stopped = Read(tqvGetFocusCurrentPos, h);
  cam.AdvanceMs(1000);
  EXPECT_EQ(Read(tqvGetFocusCurrentPos, h), stopped);
  ASSERT_EQ(tqvFocusMove(h, -1), TQV_OK);
  cam.AdvanceMs(1000);
  EXPECT_GT(Read(tqvGetFocusCurrentPos, h), stopped);
  ASSERT_EQ(tqvFocusMove(h, 0), TQV_OK);

  const u32 before = Read(tqvGetFocusCurrentPos, h);
  ASSERT_EQ(tqvFocusMovePercent(h, -50.0f), TQV_OK);
  cam.AdvanceMs(500);
  EXPECT_GT(Read(tqvGetFocusCurrentPos, h), before);
  ASSERT_EQ(tqvFocusMovePercent(h, 0.0f), TQV_OK);

  EXPECT_EQ(tqvFocusMove(h, 4), OnTree() ? TQV_INVALID_ARGUMENT : TQV_FAILED);
}

TEST_P(LensFamily, FocusToDistanceAndTheNearAndFarPositionsOfEachFieldOfView) {
  EXPECT_TRUE(Read(tqvGetFocusToDistanceAvailable, h));
  auto ends = [&](u8 fov) {
    u32 nearPos = 0, farPos = 0;
    EXPECT_EQ(tqvGetFocusNearPos(h, fov, &nearPos), TQV_OK);
    EXPECT_EQ(tqvGetFocusFarPos(h, fov, &farPos), TQV_OK);
    return std::pair(nearPos, farPos);
  };
  EXPECT_EQ(ends(0), std::pair(180u, 9800u));
  EXPECT_EQ(ends(1), std::pair(400u, 9200u));
  EXPECT_EQ(ends(2), std::pair(150u, 9850u));
  ASSERT_EQ(tqvSetFocusNearPos(h, 1, 420), TQV_OK);
  ASSERT_EQ(tqvSetFocusFarPos(h, 1, 9100), TQV_OK);
  EXPECT_EQ(ends(1), std::pair(420u, 9100u));
  EXPECT_EQ(ends(0), std::pair(180u, 9800u));  // the narrow field of view kept its own

  // The property tree knows three fields of view and sets only the first two; GenICam asks the
  // camera, which has three.
  u32 position = 0;
  EXPECT_EQ(tqvGetFocusNearPos(h, 3, &position), OnTree() ? TQV_NOT_FOUND : TQV_INVALID_ARGUMENT);
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
  EXPECT_EQ(Read(tqvGetFocusPos, h), 5000u);
  EXPECT_EQ(Read(tqvGetFocusCurrentPos, h), 5000u);
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
  if (OnTree()) {
    cam.tree()->Set(".system.lens.isLensMotorDisengaged", sim::ptree::Value::Bool(true));
  } else {
    cam.device()->SetBool("FocusManualMode", true);
  }
  EXPECT_TRUE(Read(tqvGetFocusManualMode, h));
  ASSERT_EQ(tqvAutoFocusFull(h, true), TQV_OK);  // the wait ends when the camera is done
  u16 code = 0;
  char text[64] = {};
  ASSERT_EQ(tqvGetAutoFocusResult(h, &code, text, sizeof text), TQV_OK);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(std::string(text).rfind("Failed", 0), 0u) << text;
  EXPECT_EQ(Read(tqvGetFocusCurrentPos, h), 2000u);  // nothing moved
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
  EXPECT_TRUE(Read(tqvGetFOVPresent, h));
  EXPECT_FALSE(Read(tqvGetFOVIsContinuous, h));
  EXPECT_EQ(Read(tqvGetFOV, h), 0);
  ASSERT_EQ(tqvSetFOV(h, 1), TQV_OK);
  EXPECT_EQ(Read(tqvGetFOV, h), 1);
  cam.AdvanceMs(5000);
  EXPECT_EQ(Read(tqvGetFOVCurrentPos, h), 0u);  // wide is the short end
  EXPECT_EQ(tqvSetFOV(h, 3), OnTree() ? TQV_ERROR : TQV_INVALID_ARGUMENT);
}

TEST_P(LensFamily, ZoomPositionsMoveWithinTheRange) {
  u32 minimum = 0, maximum = 0;
  ASSERT_EQ(tqvGetFOVRange(h, &minimum, &maximum), TQV_OK);
  EXPECT_EQ(std::pair(minimum, maximum), std::pair(0u, 1000u));
  ASSERT_EQ(tqvSetFOVPos(h, 400), TQV_OK);
  EXPECT_EQ(Read(tqvGetFOVPos, h), 400u);
  cam.AdvanceMs(100);
  const u32 underway = Read(tqvGetFOVCurrentPos, h);
  EXPECT_GT(underway, 400u);
  EXPECT_LT(underway, 1000u);
  cam.AdvanceMs(2000);
  EXPECT_EQ(Read(tqvGetFOVCurrentPos, h), 400u);

  const Move moves[] = {
      {"by -1000", [](void* h) { return tqvFOVMoveBy(h, -1000); }, 2000, 0},
      {"max", [](void* h) { return tqvFOVMax(h); }, 3000, 1000},
      {"to 250", [](void* h) { return tqvFOVMoveTo(h, 250); }, 3000, 250},
      {"slowly out", [](void* h) { return tqvFOVMove(h, 1); }, 1000, 270},
      {"stop", [](void* h) { return tqvFOVMove(h, 0); }, 1000, 270},
      {"paced back", [](void* h) { return tqvFOVMovePercent(h, -25.0f); }, 1000, 170},
      {"min", [](void* h) { return tqvFOVMin(h); }, 3000, 0},
  };
  RunMoves(cam, moves, {tqvGetFOVCurrentPos});
}

TEST_P(LensFamily, AZoomLensIsContinuous) {
  AnyCamera zoom(GetParam(), "sim:zoom", "sim:zoom");
  void* z = zoom.handle();
  EXPECT_TRUE(Read(tqvGetFOVIsContinuous, z));
  EXPECT_EQ(Read(tqvGetLensControlType, z), 2);
  EXPECT_EQ(Read(tqvGetFOV, z), 2);
  // Its field of view is a zoom position, not one of two.
  EXPECT_EQ(tqvSetFOV(z, 0), OnTree() ? TQV_NOT_SUPPORTED : TQV_ACCESS_DENIED);
  ASSERT_EQ(tqvSetFOVPos(z, 600), TQV_OK);
  zoom.AdvanceMs(3000);
  EXPECT_EQ(Read(tqvGetFOVCurrentPos, z), 600u);
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
    AnyCamera camera(GetParam());
    void* handle = camera.handle();
    ASSERT_EQ(tqvSetCameraType(handle, c.cameraType), TQV_OK);
    EXPECT_EQ(Read(tqvGetLensControlTypeWritable, handle), c.writable);
    EXPECT_EQ(tqvSetLensControlType(handle, 2), c.writable ? TQV_OK : TQV_NOT_WRITABLE);
    EXPECT_EQ(Read(tqvGetLensControlType, handle), c.writable ? 2 : 1);
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
}

TEST_P(LensFamily, TheCoverIsUnknownWhileItMovesAndTheLensKnowsItself) {
  EXPECT_EQ(Read(tqvGetLensCoverState, h), 0);
  ASSERT_EQ(tqvSetLensCoverState(h, 1), TQV_OK);
  EXPECT_EQ(Read(tqvGetLensCoverState, h), 2);
  cam.AdvanceMs(1500);
  EXPECT_EQ(Read(tqvGetLensCoverState, h), 1);
  EXPECT_EQ(tqvSetLensCoverState(h, 2), TQV_NOT_SUPPORTED);
  EXPECT_TRUE(Read(tqvGetLensInfoAvailable, h));
}

// --- Manufacturing values of the lens ------------------------------------------------------------

TEST_P(LensFamily, ManufacturingValuesArePerFieldOfView) {
  // The slow, medium and fast speeds, the slow control, the position increment and the accuracy.
  auto values = [&](u8 fov) {
    u32 v[6] = {};
    u8 control = 9;
    EXPECT_EQ(tqvMfgGetFocusSpeeds(h, fov, &v[0], &v[1], &v[2]), TQV_OK);
    EXPECT_EQ(tqvMfgGetFocusSlowControl(h, fov, &control), TQV_OK);
    EXPECT_EQ(tqvMfgGetFocusPositionIncrement(h, fov, &v[4]), TQV_OK);
    EXPECT_EQ(tqvMfgGetFocusAccuracy(h, fov, &v[5]), TQV_OK);
    v[3] = control;
    return std::vector<u32>(v, v + 6);
  };
  EXPECT_EQ(values(0), (std::vector<u32>{200, 1000, 4000, 0, 10, 5}));
  EXPECT_EQ(values(1), (std::vector<u32>{150, 800, 3000, 1, 20, 8}));
  for (u8 fov : {0, 1}) {
    ASSERT_EQ(tqvMfgSetFocusSpeeds(h, fov, 11 + fov, 22 + fov, 33 + fov), TQV_OK);
    ASSERT_EQ(tqvMfgSetFocusSlowControl(h, fov, 1 - fov), TQV_OK);
    ASSERT_EQ(tqvMfgSetFocusPositionIncrement(h, fov, 44 + fov), TQV_OK);
    ASSERT_EQ(tqvMfgSetFocusAccuracy(h, fov, 55 + fov), TQV_OK);
  }
  EXPECT_EQ(values(0), (std::vector<u32>{11, 22, 33, 1, 44, 55}));
  EXPECT_EQ(values(1), (std::vector<u32>{12, 23, 34, 0, 45, 56}));

  // The property tree has no manufacturing values beyond the two fields of view; GenICam asks
  // the camera, which refuses a fourth.
  const u32 refused = OnTree() ? TQV_UNEXPECTED_VALUE : TQV_INVALID_ARGUMENT;
  u32 value = 7;
  EXPECT_EQ(tqvMfgGetFocusAccuracy(h, 3, &value), refused);
  EXPECT_EQ(value, 7u);
  EXPECT_EQ(tqvMfgSetFocusSlowControl(h, 0, 2), refused);
  EXPECT_EQ(values(0)[3], 1u);
}

// --- Threads -------------------------------------------------------------------------------------

TEST_P(LensFamily, TwoThreadsMoveAndReadTheLensOfOneHandle) {
  auto work = [h = h](u32 seed) {
    for (u32 round = 0; round < 20; ++round) {
      u8 ids[4], b = 0;
      u32 d[2];
      float f = 0;
      bool on = false;
      EXPECT_EQ(tqvSetFocusPos(h, 1000 + 100 * ((seed + round) % 50)), TQV_OK);
      EXPECT_EQ(tqvGetFocusRange(h, &d[0], &d[1]), TQV_OK);
      EXPECT_EQ(tqvGetFilterIDs(h, &ids[0], &ids[1], &ids[2], &ids[3]), TQV_OK);
      EXPECT_EQ(tqvScanFilters(h), TQV_OK);
      EXPECT_EQ(tqvGetFOV(h, &b), TQV_OK);
      EXPECT_EQ(tqvGetFlagTemperature(h, &f), TQV_OK);
      EXPECT_EQ(tqvGetFlagCoolerEnabled(h, &on), TQV_OK);
      EXPECT_EQ(tqvMfgGetFocusSlowControl(h, round % 2, &b), TQV_OK);
      EXPECT_EQ(b, round % 2);  // the selector and its read stay together
      EXPECT_EQ(tqvSetLensCoverState(h, round % 2), TQV_OK);
      EXPECT_EQ(tqvGetLensCoverState(h, &b), TQV_OK);
      EXPECT_EQ(tqvAutoFocusFast(h, true), TQV_OK);
    }
  };
  std::thread other(work, 7);
  work(0);
  other.join();
}

INSTANTIATE_TEST_SUITE_P(Backends, LensFamily,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICam),
                         testutil::BackendName);

}  // namespace
