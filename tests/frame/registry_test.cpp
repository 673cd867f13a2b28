// The handle registry and the dispatch of every camera function.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <new>
#include <random>
#include <thread>
#include <vector>

#include "allocation_failure.h"

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

}  // namespace

TEST(Registry, DestroyWhileACallRunsDeletesAfterTheCallReturns) {
  SimTree sim;
  std::atomic<int> deletions{0};
  void* handle = sdks().Add(new ProbeBackend(sim.tree(), &deletions));
  std::promise<void> arrived, open;
  std::shared_future<void> opened = open.get_future().share();
  sim.camera().OnRead(".version.product.cameraType", [&](sim::ptree::Camera&, const std::string&) {
    arrived.set_value();
    opened.wait();
    return 0u;
  });

  u32 result = TQV_ERROR;
  u8 type = 0;
  std::thread caller([&] { result = tqvGetCameraType(handle, &type); });
  arrived.get_future().wait();
  EXPECT_EQ(tqvDestroy(handle), TQV_OK);
  EXPECT_EQ(deletions.load(), 0);  // the running call holds its own reference
  u8 later = 0;
  EXPECT_EQ(tqvGetCameraType(handle, &later), TQV_ERROR);  // started after the destroy
  open.set_value();
  caller.join();
  EXPECT_EQ(result, TQV_OK);
  EXPECT_EQ(type, sim.camera().Integer(".version.product.cameraType"));
  EXPECT_EQ(deletions.load(), 1);
}

// Code that keeps a backend beyond a call converts its hold into a shared pointer of its own.
TEST(Registry, SharedPointerTakenFromACallOutlivesTheHandle) {
  SimTree sim;
  std::atomic<int> deletions{0};
  void* handle = sdks().Add(new ProbeBackend(sim.tree(), &deletions));
  zel::TSharedPtr<ITQVSDK> kept = sdks().Resolve(handle);
  ASSERT_EQ(kept.get(), handle);
  EXPECT_EQ(tqvDestroy(handle), TQV_OK);
  EXPECT_EQ(tqvTestConnection(handle), TQV_ERROR);
  EXPECT_EQ(deletions.load(), 0);
  EXPECT_EQ(kept->TestConnection(), TQV_OK);
  kept.Reset();
  EXPECT_EQ(deletions.load(), 1);
  EXPECT_FALSE(static_cast<zel::TSharedPtr<ITQVSDK>>(sdks().Resolve(handle)));
}

// Three handles over one connection: the look-up finds the oldest one left; a destroyed handle is
// deleted at once and is then unknown, destroying it again is harmless, and the others still
// answer.
TEST(Registry, HandlesOverOneConnectionKeepTheirOrder) {
  SimTree sim;
  std::atomic<int> deletions[3] = {0, 0, 0};
  void* handles[3];
  for (int i = 0; i < 3; ++i)
    handles[i] = sdks().Add(new ProbeBackend(sim.tree(), &deletions[i]));
  EXPECT_EQ(tqvFromParamTree(sim.tree()), handles[0]);
  EXPECT_EQ(tqvGetParamTree(handles[2]), sim.tree());

  EXPECT_EQ(tqvDestroy(handles[0]), TQV_OK);
  EXPECT_EQ(deletions[0].load(), 1);
  EXPECT_EQ(tqvFromParamTree(sim.tree()), handles[1]);
  sim.camera().ClearTraffic();
  EXPECT_EQ(tqvTestConnection(handles[0]), TQV_ERROR);
  EXPECT_EQ(tqvGetParamTree(handles[0]), nullptr);
  EXPECT_EQ(tqvDestroy(handles[0]), TQV_OK);
  EXPECT_TRUE(sim.camera().Traffic().empty());
  EXPECT_EQ(tqvTestConnection(handles[1]), TQV_OK);
  EXPECT_EQ(tqvTestConnection(handles[2]), TQV_OK);

  EXPECT_EQ(tqvDestroy(handles[2]), TQV_OK);
  EXPECT_EQ(deletions[1].load(), 0);
  EXPECT_EQ(deletions[2].load(), 1);
  EXPECT_EQ(tqvDestroy(handles[1]), TQV_OK);
  EXPECT_EQ(deletions[1].load(), 1);
  EXPECT_EQ(tqvFromParamTree(sim.tree()), nullptr);
}

// Look-ups by device find GenICam handles only (the oldest first), by tree property-tree ones.
TEST(Registry, LookupsKeepToTheirBackend) {
  auto device = zel::cam::gic::OpenDevice("sim");
  ASSERT_TRUE(device);
  Handle first, second;
  ASSERT_EQ(tqvCreateGenICam(first.out(), device), TQV_OK);
  ASSERT_EQ(tqvCreateGenICam(second.out(), device), TQV_OK);
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(tqvFromGenICam(device), first.get());
  EXPECT_EQ(tqvGetGenICam(second).get(), device.get());
  EXPECT_EQ(tqvFromGenICam(zel::cam::gic::OpenDevice("sim")), nullptr);
  EXPECT_EQ(tqvGetParamTree(first), nullptr);
  EXPECT_EQ(tqvFromParamTree(device.get()), nullptr);

  SimTree sim;
  Handle tree;
  ASSERT_EQ(tqvCreateParamTree(tree.out(), sim.tree()), TQV_OK);
  EXPECT_FALSE(tqvGetGenICam(tree));
  EXPECT_EQ(tqvFromGenICam(device), first.get());
  int unknown = 0;
  EXPECT_FALSE(tqvGetGenICam(&unknown));
}

// A camera that is not ready gives no handle; nor does one without its sensor constants unless
// flags bit 0 asks to keep it (other bits are ignored), and then the constants are asked again.
TEST(Registry, CreationNeedsAReadyCameraAndItsConstants) {
  SimTree sim;
  sim.camera().Set(".system.ready", sim::ptree::Value::Bool(false));
  void* handle = &handle;
  EXPECT_EQ(tqvCreateParamTree(&handle, sim.tree()), TQV_ERROR);
  EXPECT_EQ(handle, nullptr);
  sim.camera().Remove(".system.ready");
  handle = &handle;
  EXPECT_EQ(tqvCreateParamTree(&handle, sim.tree()), TQV_NOT_FOUND);
  EXPECT_EQ(handle, nullptr);

  SimTree partial;
  partial.camera().Remove(".system.info.fpa.clockFrequency");
  EXPECT_EQ(tqvCreateParamTreeEx(&handle, partial.tree(), 0), TQV_NOT_FOUND);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(tqvCreateParamTreeEx(&handle, partial.tree(), 2), TQV_NOT_FOUND);
  Handle kept;
  ASSERT_EQ(tqvCreateParamTreeEx(kept.out(), partial.tree(), 1), TQV_OK);
  EXPECT_EQ(tqvTestConnection(kept), TQV_OK);
  u32 clock = 0;
  EXPECT_EQ(tqvGetClockFrequency(kept, &clock), TQV_NOT_FOUND);
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

// Through several growths of the index and removals in a scrambled order, every registered handle
// resolves to its backend, no removed one does, and the lookups keep creation order.
TEST(Registry, IndexKeepsEveryHandleThroughGrowthAndRemovals) {
  SimTree sim;
  constexpr int kHandles = 300;
  std::vector<std::atomic<int>> deletions(kHandles);
  CTQVSDKArray registry;
  std::vector<void*> handles;
  for (int i = 0; i < kHandles; ++i)
    handles.push_back(registry.Add(new ProbeBackend(sim.tree(), &deletions[i])));
  std::vector<int> order(kHandles);
  for (int i = 0; i < kHandles; ++i)
    order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(7));

  std::vector<bool> registered(kHandles, true);
  for (int step = 0; step < kHandles; ++step) {
    const int gone = order[step];
    ASSERT_TRUE(registry.Remove(handles[gone]));
    ASSERT_FALSE(registry.Remove(handles[gone]));
    registered[gone] = false;
    EXPECT_EQ(deletions[gone].load(), 1);
    ASSERT_EQ(registry.Count(), static_cast<u32>(kHandles - step - 1));
    if (step % 7 != 0 && step < kHandles - 10) continue;  // check everything now and then
    for (int i = 0; i < kHandles; ++i) {
      ASSERT_EQ(registry.Resolve(handles[i]).get(), registered[i] ? handles[i] : nullptr)
          << "step " << step << ", handle " << i;
    }
    const auto first = std::find(registered.begin(), registered.end(), true);
    void* expected = first == registered.end() ? nullptr : handles[first - registered.begin()];
    EXPECT_EQ(registry.FindFirst<CTQVSDKPTree>([](CTQVSDKPTree&) { return true; }), expected);
  }
}

// --- Running out of memory
// ------------------------------------------------------------------------

// Registration is all or nothing. At every number of handles from 0 to 40 (so across several
// growths of the entries and the index), each allocation of a registration is refused in turn:
// std::bad_alloc comes out, the registry is as it was, the backend is deleted, and the handles
// already there still answer.
TEST(Registry, RegistrationIsAllOrNothingWhenMemoryRunsOut) {
  SimTree sim;
  std::vector<std::unique_ptr<std::atomic<int>>> deletions;  // outlive the registry's backends
  CTQVSDKArray registry;
  std::vector<void*> handles;
  int refused = 0;
  for (int count = 0; count <= 40; ++count) {
    for (long from = 0;; ++from) {
      deletions.push_back(std::make_unique<std::atomic<int>>(0));
      auto* backend = new ProbeBackend(sim.tree(), deletions.back().get());
      void* handle = nullptr;
      bool threw = false;
      {
        testutil::AllocationFailure failure(from);
        try {
          handle = registry.Add(backend);
        } catch (const std::bad_alloc&) {
          threw = true;
        }
        EXPECT_EQ(threw, failure.Fired()) << count << " " << from;
      }
      if (!threw) {
        handles.push_back(handle);
        break;
      }
      ++refused;
      EXPECT_EQ(deletions.back()->load(), 1) << count << " " << from;
      ASSERT_EQ(registry.Count(), static_cast<u32>(handles.size())) << count << " " << from;
      for (void* kept : handles)
        ASSERT_TRUE(registry.Resolve(kept)) << count << " " << from;
    }
  }
  EXPECT_GT(refused, 40);  // every registration had at least one allocation to refuse
  for (std::size_t i = 0; i < handles.size(); ++i)
    EXPECT_EQ(registry.Resolve(handles[i]).get(), handles[i]);
}

// The same through the C interface: a creation refused for memory at any allocation leaves no
// handle and no registration behind.
TEST(Registry, CreationLeavesNothingBehindWhenMemoryRunsOut) {
  SimTree sim;
  sim.camera().SetTrafficLogging(false);
  std::vector<Handle> handles(20);
  for (Handle& created : handles) {
    const u32 before = sdks().Count();
    for (long from = 0;; ++from) {
      u32 result = TQV_ERROR;
      bool threw = false;
      {
        testutil::AllocationFailure failure(from);
        try {
          result = tqvCreateParamTree(created.out(), sim.tree());
        } catch (const std::bad_alloc&) {
          threw = true;
        }
        if (!failure.Fired()) {
          ASSERT_FALSE(threw);
          ASSERT_EQ(result, TQV_OK);
          break;
        }
      }
      ASSERT_EQ(created.get(), nullptr) << from;
      ASSERT_EQ(sdks().Count(), before) << from;
      ASSERT_TRUE(threw || result != TQV_OK) << from;
    }
    ASSERT_EQ(sdks().Count(), before + 1);
  }
  for (const Handle& created : handles)
    EXPECT_EQ(tqvTestConnection(created), TQV_OK);
}

// --- Many threads at once
// -------------------------------------------------------------------------

// For two seconds, three threads call on handles that stay and on handles that come and go,
// while two threads create and destroy handles. A handle that stays never fails; a destroyed
// handle answers 0xFFFFFFFF at once, while a reference taken before the destroy keeps its
// backend alive; every backend is deleted exactly once.
TEST(RegistryStress, CallsCreationsAndDestructionsAtOnce) {
  SimTree sim;
  sim.camera().SetTrafficLogging(false);
  constexpr std::size_t kStaying = 4;
  std::atomic<int> stayingDeletions{0};
  std::vector<void*> staying;
  for (std::size_t i = 0; i < kStaying; ++i)
    staying.push_back(sdks().Add(new ProbeBackend(sim.tree(), &stayingDeletions)));

  // Handles of the churning threads, read by the callers: recent ones, some already destroyed.
  constexpr std::size_t kRecent = 64;
  std::atomic<void*> recent[kRecent] = {};
  std::atomic<bool> stop{false};
  std::atomic<long> calls{0}, destroyed{0};
  std::atomic<int> failures{0};
  std::mutex countersLock;
  std::vector<std::unique_ptr<std::atomic<int>>> counters;  // one per churned backend

  const auto call = [&](std::mt19937& random) {
    bool enabled = false;
    void* handle = staying[random() % kStaying];
    if (tqvGetCacheEnabled(handle, &enabled) != TQV_OK || !enabled) ++failures;
    if (tqvGetParamTree(handle) != sim.tree()) ++failures;
    const u32 answer = tqvGetCacheEnabled(recent[random() % kRecent].load(), &enabled);
    if (answer != TQV_OK && answer != TQV_ERROR) ++failures;
    calls += 3;
  };
  const auto churn = [&](std::mt19937& random) {
    std::vector<std::pair<void*, std::atomic<int>*>> mine;
    std::vector<std::unique_ptr<std::atomic<int>>> created;
    while (!stop) {
      if (mine.size() < 8 && (mine.empty() || random() % 2)) {
        created.push_back(std::make_unique<std::atomic<int>>(0));
        void* handle = sdks().Add(new ProbeBackend(sim.tree(), created.back().get()));
        mine.emplace_back(handle, created.back().get());
        recent[random() % kRecent] = handle;
        continue;
      }
      const std::size_t pick = random() % mine.size();
      const auto [handle, deletions] = mine[pick];
      mine.erase(mine.begin() + static_cast<std::ptrdiff_t>(pick));
      // A call in flight: its reference outlives the destroy, and while it is held no other
      // creation can reuse the address.
      CTQVSDKArray::Ref inFlight = sdks().Resolve(handle);
      bool enabled = false;
      if (!inFlight || tqvDestroy(handle) != TQV_OK) ++failures;
      if (tqvGetCacheEnabled(handle, &enabled) != TQV_ERROR) ++failures;
      if (tqvGetParamTree(handle) != nullptr || tqvDestroy(handle) != TQV_OK) ++failures;
      if (deletions->load() != 0) ++failures;
      if (inFlight->GetCacheEnabled(&enabled) != TQV_OK) ++failures;
      ++destroyed;
    }
    for (const auto& [handle, deletions] : mine)
      tqvDestroy(handle);
    std::lock_guard<std::mutex> hold(countersLock);
    for (auto& counter : created)
      counters.push_back(std::move(counter));
  };

  std::vector<std::thread> threads;
  for (unsigned t = 0; t < 2; ++t) {
    threads.emplace_back([&, t] {
      std::mt19937 random(t);
      while (!stop)
        call(random);
    });
    threads.emplace_back([&, t] {
      std::mt19937 random(100 + t);
      churn(random);
    });
  }
  // This thread calls too, until the time is up.
  std::mt19937 random(1000);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < deadline && failures == 0)
    call(random);
  stop = true;
  for (std::thread& thread : threads)
    thread.join();

  EXPECT_EQ(failures.load(), 0);
  EXPECT_GT(destroyed.load(), 100);
  EXPECT_GT(calls.load(), 1000);
  ASSERT_FALSE(counters.empty());
  EXPECT_TRUE(std::all_of(counters.begin(), counters.end(), [](const auto& c) { return *c == 1; }))
      << "every backend deleted exactly once";
  for (void* handle : staying)
    EXPECT_EQ(tqvDestroy(handle), TQV_OK);
  EXPECT_EQ(stayingDeletions.load(), static_cast<int>(kStaying));
  EXPECT_EQ(tqvFromParamTree(sim.tree()), nullptr);
}
