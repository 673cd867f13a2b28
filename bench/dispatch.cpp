// The cost of reaching a backend through the registry: a dispatched cached getter beside a direct
// virtual call on the same backend object, with 1, 16 and 256 registered handles; and one or two
// threads, each calling on a handle of its own, whose calls per second (items_per_second, all
// threads together) show whether calls on different handles wait for each other.
#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

#include "ParamTree.h"
#include "frame/registry.h"
#include "tqvSDK.h"

namespace {

// N handles over one simulated camera; the last one created is measured (the registry searches
// from the first).
class Handles {
 public:
  explicit Handles(int count) {
    resOpen("sim", &m_tree);
    for (int i = 0; i < count; ++i) {
      void* handle = nullptr;
      tqvCreateParamTree(&handle, m_tree);
      m_handles.push_back(handle);
    }
    u8 type = 0;
    for (void* handle : m_handles)
      tqvGetCameraType(handle, &type);  // fill the caches
  }
  ~Handles() {
    for (void* handle : m_handles)
      tqvDestroy(handle);
    resClose(m_tree);
  }
  void* Last() const { return m_handles.back(); }
  void* At(std::size_t index) const { return m_handles[index]; }

 private:
  void* m_tree = nullptr;
  std::vector<void*> m_handles;
};

void BM_DispatchedCachedGetter(benchmark::State& state) {
  Handles handles(static_cast<int>(state.range(0)));
  void* handle = handles.Last();
  u8 type = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tqvGetCameraType(handle, &type));
  }
}
BENCHMARK(BM_DispatchedCachedGetter)->Arg(1)->Arg(16)->Arg(256);

void BM_DirectVirtualCall(benchmark::State& state) {
  Handles handles(static_cast<int>(state.range(0)));
  ITQVSDK* backend = static_cast<ITQVSDK*>(handles.Last());
  u8 type = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(backend->GetCameraType(&type));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DirectVirtualCall)->Arg(1)->Arg(16)->Arg(256);

// One thread in a host that has started other threads. Until a process starts its first thread the
// C library may take uncontended locks without atomic instructions; hosts that drive cameras from
// several threads never see that, so this is the one-thread cost they pay.
void BM_DispatchInThreadedHost(benchmark::State& state) {
  static const bool threaded = [] {
    std::thread([] {}).join();
    return true;
  }();
  benchmark::DoNotOptimize(threaded);
  Handles handles(1);
  void* handle = handles.Last();
  u8 type = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tqvGetCameraType(handle, &type));
  }
}
BENCHMARK(BM_DispatchInThreadedHost);

// Each thread on its own handle of 256.
void BM_DispatchThreads(benchmark::State& state) {
  static Handles handles(256);  // built once, by whichever thread comes first
  void* handle = handles.At(255 - static_cast<std::size_t>(state.thread_index()));
  u8 type = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tqvGetCameraType(handle, &type));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DispatchThreads)->Threads(1)->Threads(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
