// resAcquire/resRelease across threads. No test sleeps: threads meet through the camera's count of
// waiting calls, promises and latches.
#include <atomic>
#include <future>
#include <latch>
#include <thread>

#include "ptree_fixture.h"

namespace {

using paramtree::Value;
using ptreetest::Connection;
using sim::ptree::Access;
using sim::ptree::Camera;

std::size_t IndexOf(const std::vector<Access>& traffic, const std::string& kind,
                    const std::string& path) {
  for (std::size_t i = 0; i < traffic.size(); ++i) {
    if (traffic[i].kind == kind && traffic[i].path == path) return i;
  }
  return traffic.size();
}

TEST(PtreeAcquire, AcquisitionsNestPerThread) {
  Connection c;
  EXPECT_EQ(resRelease(c.tree()), RES_NOT_SUPPORTED);  // nothing held
  for (uint32_t depth = 1; depth <= 2; ++depth) {
    EXPECT_EQ(resAcquire(c.tree()), RES_OK);
    EXPECT_EQ(c.camera().AcquireDepth(), depth);
  }
  uint32_t value = 0;
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.info.fpa.pipelineDelay", &value), RES_OK);
  for (uint32_t depth = 2; depth-- > 0;) {
    EXPECT_EQ(resRelease(c.tree()), RES_OK);
    EXPECT_EQ(c.camera().AcquireDepth(), depth);
  }
  EXPECT_EQ(resRelease(c.tree()), RES_NOT_SUPPORTED);
}

TEST(PtreeAcquire, OtherThreadsWaitUntilTheMatchingRelease) {
  Connection c;
  Camera& cam = c.camera();
  cam.ClearTraffic();
  ASSERT_EQ(resAcquire(c.tree()), RES_OK);
  ASSERT_EQ(resAcquire(c.tree()), RES_OK);
  auto other = std::async(std::launch::async, [&] {
    uint16_t width = 0;
    uint32_t result = resGetUInt16(c.tree(), ".system.settings.p0.window.width", &width);
    return std::make_pair(result, width);
  });
  EXPECT_TRUE(cam.WaitForWaitingCalls(1));
  // The holder's multi-step write goes through while the other call waits.
  EXPECT_EQ(resSetUInt16(c.tree(), ".system.settings.p0.window.width", 320, 1), RES_OK);
  EXPECT_EQ(resSetBool(c.tree(), ".system.settings.p0.window.commit", true, 1), RES_OK);
  EXPECT_EQ(resRelease(c.tree()), RES_OK);
  EXPECT_EQ(cam.WaitingCalls(), 1u);  // still held at depth 1
  EXPECT_EQ(resRelease(c.tree()), RES_OK);
  auto [result, width] = other.get();
  EXPECT_EQ(result, RES_OK);
  EXPECT_EQ(width, 320u);  // the waiting read saw the whole change
  std::vector<Access> traffic = cam.Traffic();
  EXPECT_LT(IndexOf(traffic, "set", ".system.settings.p0.window.commit"),
            IndexOf(traffic, "get", ".system.settings.p0.window.width"));
  EXPECT_EQ(traffic.back().kind, "get");
}

TEST(PtreeAcquire, AcquireWaitsForCallsAlreadyInFlight) {
  Connection c;
  Camera& cam = c.camera();
  std::latch inside(1);
  std::promise<void> finish;
  std::shared_future<void> finished = finish.get_future().share();
  cam.OnRead(".system.ready", [&](Camera&, const std::string&) -> uint32_t {
    inside.count_down();
    finished.wait();
    return RES_OK;
  });
  auto reader = std::async(std::launch::async, [&] {
    bool ready = false;
    return resGetBool(c.tree(), ".system.ready", &ready);
  });
  inside.wait();
  std::atomic<bool> acquired{false};
  auto holder = std::async(std::launch::async, [&] {
    uint32_t result = resAcquire(c.tree());
    acquired = result == RES_OK;
    uint32_t released = resRelease(c.tree());
    return result == RES_OK ? released : result;
  });
  // Not ASSERT: the reader must be let go on every path, or the threads would never end.
  EXPECT_TRUE(cam.WaitForWaitingCalls(1));
  EXPECT_FALSE(acquired.load());
  finish.set_value();
  EXPECT_EQ(reader.get(), RES_OK);
  EXPECT_EQ(holder.get(), RES_OK);
  std::vector<Access> traffic = cam.Traffic();
  EXPECT_LT(IndexOf(traffic, "get", ".system.ready"), IndexOf(traffic, "acquire", ""));
}

TEST(PtreeAcquire, AWaitLongerThanTheTimeoutAnswersTimeout) {
  Connection c;
  ASSERT_EQ(resAcquire(c.tree()), RES_OK);
  ASSERT_EQ(resSetTimeout(c.tree(), 0), RES_OK);  // waiting is over at once
  uint32_t result = std::async(std::launch::async, [&] {
                      uint32_t value = 0;
                      return resGetUInt32(c.tree(), ".system.info.fpa.pipelineDelay", &value);
                    }).get();
  EXPECT_EQ(result, RES_TIMEOUT);
  EXPECT_EQ(std::async(std::launch::async, [&] { return resAcquire(c.tree()); }).get(),
            RES_TIMEOUT);
  EXPECT_EQ(c.camera().Traffic().back().result, RES_TIMEOUT);
  EXPECT_EQ(resRelease(c.tree()), RES_OK);
}

TEST(PtreeAcquire, ClosingAConnectionGivesUpItsAcquisitions) {
  auto camera = std::make_shared<Camera>();
  ASSERT_EQ(sim::ptree::LoadBuiltinProfile(*camera, "sim"), RES_OK);
  void* first = nullptr;
  void* second = nullptr;
  ASSERT_EQ(sim::ptree::Connect(camera, &first), RES_OK);
  ASSERT_EQ(sim::ptree::Connect(camera, &second), RES_OK);
  EXPECT_EQ(sim::ptree::CameraOf(first), camera.get());
  ASSERT_EQ(resAcquire(first), RES_OK);
  ASSERT_EQ(resAcquire(first), RES_OK);
  ASSERT_EQ(resClose(first), RES_OK);
  EXPECT_EQ(camera->AcquireDepth(), 0u);
  EXPECT_EQ(std::async(std::launch::async, [&] { return resVerify(second, "."); }).get(), RES_OK);
  EXPECT_EQ(resClose(second), RES_OK);
  EXPECT_EQ(sim::ptree::CameraOf(second), nullptr);
}

// Many threads on one connection: inside an acquisition each thread's write is the value it reads
// back, and every call is recorded exactly once.
TEST(PtreeAcquire, ConcurrentClientsSeeTheirOwnWritesInsideAnAcquisition) {
  Connection c;
  Camera& cam = c.camera();
  cam.Set(".shared", Value::U32(0));
  cam.ClearTraffic();
  constexpr int kThreads = 8;
  constexpr int kRounds = 200;
  std::atomic<int> mismatches{0};
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        uint32_t mine = static_cast<uint32_t>(t * kRounds + round);
        uint32_t read = 0;
        uint32_t result = resAcquire(c.tree());
        result |= resSetUInt32(c.tree(), ".shared", mine, 1);
        result |= resGetUInt32(c.tree(), ".shared", &read);
        result |= resRelease(c.tree());
        uint32_t free = 0;
        result |= resGetUInt32(c.tree(), ".system.info.fpa.clockFrequency", &free);
        if (result != RES_OK) ++failures;
        if (read != mine) ++mismatches;
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(cam.Traffic().size(), static_cast<std::size_t>(kThreads * kRounds * 5));
  EXPECT_EQ(cam.AcquireDepth(), 0u);
}

}  // namespace
