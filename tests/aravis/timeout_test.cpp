// A camera that stops answering: the backend retries, then reports the time-out, within a bounded
// time; destroying the handle leaves no thread and no socket behind.
#include <gtest/gtest.h>

#include <chrono>

#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "network.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(AravisTimeout, AStoppedCameraTimesOutAfterTheRetriesAndNothingIsLeft) {
  if (!aravis_test::Isolated()) {
    GTEST_SKIP() << "network tests need a network namespace with only loopback: "
                 << aravis_test::WhyNotIsolated();
  }
  const aravis_test::Resources before = aravis_test::CountResources();
  {
    sim::gev::FakeCamera camera;
    ASSERT_TRUE(camera.Running()) << camera.Error();
    zel::CString reason;
    zel::TSharedPtr<zel::cam::gic::IGenICam> device =
        zel::cam::gic::OpenDevice("gev:127.0.0.1", &reason);
    ASSERT_TRUE(device) << reason.c_str();
    void* handle = nullptr;
    ASSERT_EQ(tqvCreateGenICam(&handle, device), TQV_OK);
    device = {};
    uint32_t width = 0;
    ASSERT_EQ(tqvGetIntegrationWidth(handle, 0, &width), TQV_OK);
    EXPECT_GT(aravis_test::CountResources().threads, before.threads);  // Aravis's heartbeat

    camera.Stop();
    testutil::SleepRecorder sleeps;
    width = 12345;
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(tqvGetIntegrationWidth(handle, 0, &width), TQV_TIMEOUT);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_EQ(width, 12345u);  // no output on failure
    // Three attempts, 600 ms apart; each waited for Aravis's own time-out (5 tries of 500 ms)...
    EXPECT_EQ(sleeps.Sleeps(), (std::vector<zel::u32>{600, 600}));
    EXPECT_GE(seconds, 3 * 2.4);
    // ...and nothing waited much longer, even with Aravis's heartbeat trying the camera too.
    EXPECT_LE(seconds, 30.0);

    tqvDestroy(handle);
  }
  const aravis_test::Resources after = aravis_test::CountResources();
  EXPECT_EQ(after.threads, before.threads);
  EXPECT_EQ(after.sockets, before.sockets);
}

// Nobody at the address: opening gives up with the reason instead of a device.
TEST(AravisTimeout, NobodyAtTheAddress) {
  if (!aravis_test::Isolated()) {
    GTEST_SKIP() << "network tests need a network namespace with only loopback: "
                 << aravis_test::WhyNotIsolated();
  }
  const aravis_test::Resources before = aravis_test::CountResources();
  zel::CString reason;
  EXPECT_FALSE(zel::cam::gic::OpenDevice("gev:127.0.0.1", &reason));
  EXPECT_NE(std::string(reason.c_str()).find("Aravis: GigEVision read_memory timeout"),
            std::string::npos)
      << reason.c_str();
  const aravis_test::Resources after = aravis_test::CountResources();
  EXPECT_EQ(after.threads, before.threads);
  EXPECT_EQ(after.sockets, before.sockets);
}

}  // namespace
