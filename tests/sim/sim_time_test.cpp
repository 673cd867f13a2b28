// Simulated time: both simulated cameras move on by their tick with every host call and by every
// wait of the process, recorded or real.
#include <gtest/gtest.h>

#include "common/testutil.h"
#include "genicam/SimDevice.h"
#include "ptree_fixture.h"
#include "zel/cam/gic.h"

namespace {

TEST(SimTime, PropertyTreeCallsAndWaitsMoveTheClockOn) {
  testutil::SleepRecorder recorder;
  ptreetest::Connection connection;
  sim::ptree::Camera& camera = connection.camera();
  camera.SetTickMs(7);
  sim::ptree::u64 start = camera.NowMs();
  bool ready = false;
  ASSERT_EQ(resGetBool(connection.tree(), ".system.ready", &ready), RES_OK);
  ASSERT_EQ(resGetBool(connection.tree(), ".system.ready", &ready), RES_OK);
  EXPECT_EQ(camera.NowMs() - start, 14u);
  zel::SleepMs(500);
  EXPECT_EQ(camera.NowMs() - start, 514u);
  camera.AdvanceMs(1000);
  EXPECT_EQ(camera.NowMs() - start, 1514u);
  // Test-side access takes no time.
  camera.Text(".system.ready");
  EXPECT_EQ(camera.NowMs() - start, 1514u);
}

TEST(SimTime, GenICamAccessesAndWaitsMoveTheClockOn) {
  testutil::SleepRecorder recorder;
  auto device = zel::cam::gic::OpenDevice("sim");
  ASSERT_TRUE(device);
  sim::genicam::Device& sim = *sim::genicam::DeviceOf(device.get());
  sim.SetTickMs(3);
  sim::genicam::u64 start = sim.NowMs();
  auto ready = device->GetFeature("Ready");
  ASSERT_TRUE(ready);
  EXPECT_EQ(sim.NowMs() - start, 3u);
  zel::SleepMs(600);
  EXPECT_EQ(sim.NowMs() - start, 603u);
  sim.GetBool("Ready");
  EXPECT_EQ(sim.NowMs() - start, 603u);
}

}  // namespace
