// The exported answers about sensors, sync inputs and data links that combine camera operations,
// over tables of camera types, boards and versions, on both simulated cameras.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "common/sim_fixtures.h"

namespace {

using sim::ptree::Value;
using testutil::AnyCamera;
using testutil::Backend;
using testutil::BackendName;

// Makes the simulated camera report a camera type, a board and a main application version.
void Identify(const AnyCamera& camera, u8 cameraType, u8 board, u16 major = 3, u16 minor = 4) {
  static const char* const kBoards[] = {"TQV1", "TQV2", "Alder", "WZN", "Birch", "Cedar"};
  if (sim::ptree::Camera* tree = camera.tree()) {
    tree->Set(".version.product.cameraType", Value::U8(cameraType));
    tree->Set(".version.product.tqvBoardType", Value::Str(kBoards[board]));
    tree->Set(".version.sw.AppCore.major", Value::U16(major));
    tree->Set(".version.sw.AppCore.minor", Value::U16(minor));
    tree->Set(".version.sw.AppCore.intermediate", Value::U16(minor));
    ASSERT_EQ(tqvClearCache(camera.handle()), TQV_OK);
  } else {
    sim::genicam::Device& device = *camera.device();
    device.SetInt("CameraType", cameraType);
    device.SetInt("BoardType", board);
    device.SetString("ComponentInfoSelector", "AppCore_Version");
    device.SetString("ComponentInfo",
                     std::to_string(major) + "." + std::to_string(minor) + ".0.100");
  }
}

class SyncHelpers : public ::testing::TestWithParam<Backend> {};

}  // namespace

TEST_P(SyncHelpers, SensorsByCameraType) {
  const struct {
    u8 cameraType;
    bool frontPanel, airGap, chassis, internal;
  } cases[] = {{3, true, true, false, true},
               {7, false, false, true, false},
               {11, true, true, false, false},
               {17, true, true, false, false},
               {20, true, true, false, true}};
  AnyCamera camera(GetParam());
  for (const auto& test : cases) {
    SCOPED_TRACE(int(test.cameraType));
    Identify(camera, test.cameraType, 3);
    bool frontPanel = !test.frontPanel, airGap = !test.airGap, chassis = !test.chassis,
         internal = !test.internal;
    ASSERT_EQ(tqvGetHasFrontPanelTemperature(camera.handle(), &frontPanel), TQV_OK);
    ASSERT_EQ(tqvGetHasAirGapTemperature(camera.handle(), &airGap), TQV_OK);
    ASSERT_EQ(tqvGetHasChassisTemperature(camera.handle(), &chassis), TQV_OK);
    ASSERT_EQ(tqvGetHasInternalTemperature(camera.handle(), &internal), TQV_OK);
    EXPECT_EQ(std::tuple(frontPanel, airGap, chassis, internal),
              std::tuple(test.frontPanel, test.airGap, test.chassis, test.internal));
  }
}

TEST_P(SyncHelpers, BoardsAndVersions) {
  const struct {
    u8 cameraType, board;
    u16 major, minor;
    bool wzn, refresh, triLevel, genlock;
  } cases[] = {
      {3, 3, 3, 3, true, false, false, false},  {3, 3, 3, 4, true, true, true, false},
      {3, 3, 4, 0, true, true, true, false},    {3, 3, 2, 9, true, false, false, false},
      {3, 4, 3, 4, false, false, false, false}, {20, 4, 3, 4, false, false, true, false},
      {20, 3, 3, 3, true, false, true, false},  {9, 0, 3, 4, false, false, false, true},
      {9, 2, 3, 4, false, false, false, true},  {9, 5, 3, 4, false, false, false, false},
  };
  AnyCamera camera(GetParam());
  for (const auto& test : cases) {
    SCOPED_TRACE(std::to_string(test.cameraType) + " board " + std::to_string(test.board) + " " +
                 std::to_string(test.major) + "." + std::to_string(test.minor));
    Identify(camera, test.cameraType, test.board, test.major, test.minor);
    bool wzn = !test.wzn, refresh = !test.refresh, triLevel = !test.triLevel,
         genlock = !test.genlock;
    ASSERT_EQ(tqvIsWZN(camera.handle(), &wzn), TQV_OK);
    ASSERT_EQ(tqvIsXRefresh(camera.handle(), &refresh), TQV_OK);
    ASSERT_EQ(tqvGetTriLevelSyncSourceAvailable(camera.handle(), &triLevel), TQV_OK);
    ASSERT_EQ(tqvGetGenlockAvailable(camera.handle(), &genlock), TQV_OK);
    EXPECT_EQ(std::tuple(wzn, refresh, triLevel, genlock),
              std::tuple(test.wzn, test.refresh, test.triLevel, test.genlock));
  }
  // Every camera but a frame grabber (GenICam's own test) has four presets.
  u8 presets = 0;
  ASSERT_EQ(tqvGetNumPresets(camera.handle(), &presets), TQV_OK);
  EXPECT_EQ(presets, 4);
}

TEST_P(SyncHelpers, LensTemperatureByCameraTypeAndBoard) {
  AnyCamera camera(GetParam());
  const struct {
    u8 cameraType, board;
    bool has;
  } fixed[] = {{7, 0, true},  {20, 1, true}, {7, 3, true},
               {9, 0, false}, {9, 2, false}, {3, 5, false}};
  for (const auto& test : fixed) {
    SCOPED_TRACE(std::to_string(test.cameraType) + " board " + std::to_string(test.board));
    Identify(camera, test.cameraType, test.board);
    bool has = !test.has;
    ASSERT_EQ(tqvGetHasLensTemperature(camera.handle(), &has), TQV_OK);
    EXPECT_EQ(has, test.has);
  }
  // On boards 3 and 4 the lens sensor comes with a focus lens.
  for (u8 board : {3, 4}) {
    Identify(camera, 9, board);
    bool focus = false, has = false;
    const u32 result = tqvGetFocusPresent(camera.handle(), &focus);
    ASSERT_EQ(result, TQV_OK);
    ASSERT_EQ(tqvGetHasLensTemperature(camera.handle(), &has), TQV_OK);
    EXPECT_EQ(has, focus);
  }
}

// The first failing call's result comes back unchanged, with the output untouched.
TEST(SyncHelpersFailures, FirstFailureIsReturned) {
  testutil::PTreeCamera camera;
  camera.camera().Remove(".version.product.cameraType");
  camera.camera().Set(".version.product.tqvBoardType", Value::Str("Oak"));
  const struct {
    const char* name;
    u32 (*answer)(void*, bool*);
    u32 result;
  } cases[] = {
      {"front panel", &tqvGetHasFrontPanelTemperature, TQV_NOT_FOUND},
      {"air gap", &tqvGetHasAirGapTemperature, TQV_NOT_FOUND},
      {"chassis", &tqvGetHasChassisTemperature, TQV_NOT_FOUND},
      {"internal", &tqvGetHasInternalTemperature, TQV_NOT_FOUND},
      {"lens", &tqvGetHasLensTemperature, TQV_NOT_FOUND},
      {"genlock", &tqvGetGenlockAvailable, TQV_ERROR},  // a board the library does not know
      {"tri-level", &tqvGetTriLevelSyncSourceAvailable, TQV_ERROR},
      {"WZN", &tqvIsWZN, TQV_ERROR},
      {"refresh", &tqvIsXRefresh, TQV_ERROR},
  };
  for (const auto& test : cases) {
    bool out = true;
    EXPECT_EQ(test.answer(camera.handle(), &out), test.result) << test.name;
    EXPECT_TRUE(out) << test.name;
  }
}

// The transport decides which link's header mode is meant.
TEST(SyncHelpersHeaderMode, FollowsTheTransportLayerType) {
  testutil::GicCamera camera;
  sim::genicam::Device& device = camera.device();
  ASSERT_EQ(tqvSetCameraLinkHeaderMode(camera.handle(), 1), TQV_OK);
  ASSERT_EQ(tqvSetCoaXPressHeaderMode(camera.handle(), 2), TQV_OK);
  const struct {
    const char* transport;
    u32 getResult;
    u8 mode;
    u32 setResult;
  } cases[] = {
      {"GigEVision", TQV_OK, 0, TQV_OK},
      {"CameraLink", TQV_OK, 1, TQV_OK},
      {"CoaXPress", TQV_OK, 2, TQV_OK},
      {"CameraLinkHS", TQV_OK, 0, TQV_NOT_SUPPORTED},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.transport);
    device.SetString("DeviceTLType", test.transport);
    u8 mode = 9;
    ASSERT_EQ(tqvGetHeaderMode(camera.handle(), &mode), test.getResult);
    EXPECT_EQ(mode, test.mode);
    EXPECT_EQ(tqvSetHeaderMode(camera.handle(), 1), test.setResult);
    if (test.setResult == TQV_OK) {
      ASSERT_EQ(tqvGetHeaderMode(camera.handle(), &mode), TQV_OK);
      EXPECT_EQ(mode, 1);
    }
  }
  // No transport type: headers on, and nothing to set.
  device.SetAvailable("DeviceTLType", false);
  u8 mode = 9;
  ASSERT_EQ(tqvGetHeaderMode(camera.handle(), &mode), TQV_OK);
  EXPECT_EQ(mode, 0);
  EXPECT_EQ(tqvSetHeaderMode(camera.handle(), 1), TQV_NOT_SUPPORTED);

  // The property tree never reports a transport type.
  testutil::PTreeCamera tree;
  ASSERT_EQ(tqvSetGigEHeaderMode(tree.handle(), 1), TQV_OK);
  tree.camera().ClearTraffic();
  mode = 9;
  ASSERT_EQ(tqvGetHeaderMode(tree.handle(), &mode), TQV_OK);
  EXPECT_EQ(mode, 0);
  EXPECT_EQ(tqvSetHeaderMode(tree.handle(), 1), TQV_NOT_SUPPORTED);
  EXPECT_TRUE(tree.camera().Traffic().empty());
}

INSTANTIATE_TEST_SUITE_P(BothBackends, SyncHelpers,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICam), BackendName);
