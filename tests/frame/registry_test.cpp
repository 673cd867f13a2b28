// The handle registry and the dispatch of every camera function.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "common/sim_fixtures.h"
#include "frame/registry.h"
#include "ptree/CTQVSDKPTree.h"
#include "zel/cam/gic.h"

using testutil::Handle;
using testutil::SimTree;

namespace {

// A property-tree backend that reports its deletion.
class ProbeBackend : public CTQVSDKPTree {
 public:
  ProbeBackend(void* tree, std::atomic<int>* deletions)
      : CTQVSDKPTree(tree), m_deletions(deletions) {}
  ~ProbeBackend() override { ++*m_deletions; }

 private:
  std::atomic<int>* m_deletions;
};

// A one-shot gate a camera hook waits at until the test opens it.
class Gate {
 public:
  void Arrive() {
    std::unique_lock<std::mutex> hold(m_mutex);
    m_arrived = true;
    m_changed.notify_all();
    m_changed.wait(hold, [this] { return m_open; });
  }
  void WaitForArrival() {
    std::unique_lock<std::mutex> hold(m_mutex);
    m_changed.wait(hold, [this] { return m_arrived; });
  }
  void Open() {
    std::lock_guard<std::mutex> hold(m_mutex);
    m_open = true;
    m_changed.notify_all();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_arrived = false;
  bool m_open = false;
};

}  // namespace

TEST(Registry, UnknownHandlesTouchNoCamera) {
  SimTree sim;
  sim.camera().ClearTraffic();
  int notAHandle = 0;
  u8 value = 42;
  for (void* handle : {static_cast<void*>(nullptr), static_cast<void*>(&notAHandle)}) {
    EXPECT_EQ(tqvTestConnection(handle), TQV_ERROR);
    EXPECT_EQ(tqvGetCameraType(handle, &value), TQV_ERROR);
    EXPECT_EQ(tqvSetWindow(handle, 0, 0, 0, 640, 512), TQV_ERROR);
    EXPECT_EQ(tqvDestroy(handle), TQV_OK);
    EXPECT_EQ(tqvGetParamTree(handle), nullptr);
  }
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(sim.camera().Traffic().empty());
}

TEST(Registry, DestroyTwiceIsHarmless) {
  SimTree sim;
  void* handle = nullptr;
  ASSERT_EQ(tqvCreateParamTree(&handle, sim.tree()), TQV_OK);
  EXPECT_EQ(tqvDestroy(handle), TQV_OK);
  EXPECT_EQ(tqvDestroy(handle), TQV_OK);
  EXPECT_EQ(tqvTestConnection(handle), TQV_ERROR);
}

TEST(Registry, DestroyWhileACallRunsDeletesAfterTheCallReturns) {
  SimTree sim;
  std::atomic<int> deletions{0};
  void* handle = sdks().Add(new ProbeBackend(sim.tree(), &deletions));
  Gate gate;
  sim.camera().OnRead(".version.product.cameraType",
                      [&gate](sim::ptree::Camera&, const std::string&) {
                        gate.Arrive();
                        return 0u;
                      });

  u32 result = TQV_ERROR;
  u8 type = 0;
  std::thread caller([&] { result = tqvGetCameraType(handle, &type); });
  gate.WaitForArrival();
  EXPECT_EQ(tqvDestroy(handle), TQV_OK);
  EXPECT_EQ(deletions.load(), 0);  // the running call holds its own reference
  u8 later = 0;
  EXPECT_EQ(tqvGetCameraType(handle, &later), TQV_ERROR);  // started after the destroy
  gate.Open();
  caller.join();
  EXPECT_EQ(result, TQV_OK);
  EXPECT_EQ(type, sim.camera().Integer(".version.product.cameraType"));
  EXPECT_EQ(deletions.load(), 1);
}

TEST(Registry, DestroyingTheFirstOfThreeKeepsTheOthersInOrder) {
  SimTree sim;
  std::atomic<int> deletions[3] = {0, 0, 0};
  void* handles[3];
  for (int i = 0; i < 3; ++i)
    handles[i] = sdks().Add(new ProbeBackend(sim.tree(), &deletions[i]));
  EXPECT_EQ(tqvFromParamTree(sim.tree()), handles[0]);

  EXPECT_EQ(tqvDestroy(handles[0]), TQV_OK);
  EXPECT_EQ(deletions[0].load(), 1);
  EXPECT_EQ(tqvFromParamTree(sim.tree()), handles[1]);  // the order of the others is kept
  EXPECT_EQ(tqvTestConnection(handles[1]), TQV_OK);
  EXPECT_EQ(tqvTestConnection(handles[2]), TQV_OK);

  EXPECT_EQ(tqvDestroy(handles[2]), TQV_OK);
  EXPECT_EQ(deletions[1].load(), 0);
  EXPECT_EQ(deletions[2].load(), 1);
  EXPECT_EQ(tqvDestroy(handles[1]), TQV_OK);
  EXPECT_EQ(deletions[1].load(), 1);
  EXPECT_EQ(tqvFromParamTree(sim.tree()), nullptr);
}

TEST(Registry, TwoHandlesOverOneConnection) {
  SimTree sim;
  void* first = nullptr;
  void* second = nullptr;
  ASSERT_EQ(tqvCreateParamTree(&first, sim.tree()), TQV_OK);
  ASSERT_EQ(tqvCreateParamTree(&second, sim.tree()), TQV_OK);
  EXPECT_NE(first, second);
  EXPECT_EQ(tqvFromParamTree(sim.tree()), first);
  EXPECT_EQ(tqvGetParamTree(first), sim.tree());
  EXPECT_EQ(tqvGetParamTree(second), sim.tree());
  EXPECT_EQ(tqvDestroy(first), TQV_OK);
  EXPECT_EQ(tqvFromParamTree(sim.tree()), second);
  EXPECT_EQ(tqvDestroy(second), TQV_OK);
  EXPECT_EQ(tqvFromParamTree(sim.tree()), nullptr);
}

TEST(Registry, GenICamHandlesAreNotPropertyTreeHandles) {
  auto device = zel::cam::gic::OpenDevice("sim");
  ASSERT_TRUE(device);
  Handle gic;
  ASSERT_EQ(tqvCreateGenICam(gic.out(), device), TQV_OK);
  EXPECT_EQ(tqvGetParamTree(gic), nullptr);
  EXPECT_EQ(tqvFromParamTree(device.get()), nullptr);

  SimTree sim;
  Handle tree;
  ASSERT_EQ(tqvCreateParamTree(tree.out(), sim.tree()), TQV_OK);
  EXPECT_FALSE(tqvGetGenICam(tree));
  EXPECT_EQ(tqvGetGenICam(gic).get(), device.get());
}

TEST(Registry, CameraNotReadyGivesNoHandle) {
  SimTree sim;
  sim.camera().Set(".system.ready", sim::ptree::Value::Bool(false));
  void* handle = &handle;
  EXPECT_EQ(tqvCreateParamTree(&handle, sim.tree()), TQV_ERROR);
  EXPECT_EQ(handle, nullptr);
  sim.camera().Remove(".system.ready");
  handle = &handle;
  EXPECT_EQ(tqvCreateParamTree(&handle, sim.tree()), TQV_NOT_FOUND);
  EXPECT_EQ(handle, nullptr);
}

TEST(Registry, FlagsBitZeroKeepsAHandleWithoutConstants) {
  SimTree sim;
  sim.camera().Remove(".system.info.fpa.clockFrequency");
  void* handle = &handle;
  EXPECT_EQ(tqvCreateParamTreeEx(&handle, sim.tree(), 0), TQV_NOT_FOUND);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(tqvCreateParamTreeEx(&handle, sim.tree(), 2), TQV_NOT_FOUND);  // other bits ignored
  Handle kept;
  EXPECT_EQ(tqvCreateParamTreeEx(kept.out(), sim.tree(), 1), TQV_OK);
  ASSERT_NE(kept.get(), nullptr);
  EXPECT_EQ(tqvTestConnection(kept), TQV_OK);
  u32 clock = 0;
  EXPECT_EQ(tqvGetClockFrequency(kept, &clock), TQV_NOT_FOUND);  // still missing, retried
}

TEST(Registry, TranslatesLibraryExceptions) {
  using namespace zel::cam::gic;
  struct OtherException : std::exception {};
  EXPECT_EQ(TranslateException(CTimeoutException()), 1u);
  EXPECT_EQ(TranslateException(CAccessException()), 170u);
  EXPECT_EQ(TranslateException(std::invalid_argument("x")), 166u);
  EXPECT_EQ(TranslateException(std::out_of_range("x")), 166u);
  EXPECT_EQ(TranslateException(std::overflow_error("x")), 165u);
  EXPECT_EQ(TranslateException(std::length_error("x")), 165u);
  EXPECT_EQ(TranslateException(OtherException()), 0xFFFFFFFFu);
}

TEST(Registry, MemoryAndTextsForwardToTheClient) {
  void* block = tqvAlloc(64);
  ASSERT_NE(block, nullptr);
  tqvFree(block);
  for (u32 code : {0u, 1u, 2u, 160u, 161u, 162u, 165u, 166u, 167u, 168u, 169u, 170u, 0xFFFFFFFFu}) {
    EXPECT_STREQ(tqvErrorToString(code), resErrorToString(code)) << code;
  }
}

// Creation, destruction and calls from several threads at once; run under ThreadSanitizer too.
TEST(Registry, ConcurrentCreateCallDestroy) {
  SimTree sim;
  std::atomic<bool> failed{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 50; ++i) {
        void* handle = nullptr;
        if (tqvCreateParamTree(&handle, sim.tree()) != TQV_OK) failed = true;
        u8 type = 0;
        if (tqvGetCameraType(handle, &type) != TQV_OK) failed = true;
        if (tqvGetParamTree(handle) != sim.tree()) failed = true;
        if (tqvDestroy(handle) != TQV_OK) failed = true;
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_FALSE(failed.load());
  EXPECT_EQ(tqvFromParamTree(sim.tree()), nullptr);
}
