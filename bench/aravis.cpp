// A feature read through Aravis's GigE Vision client from Aravis's fake camera on loopback,
// beside the same read from the in-process simulated device: the feature object's own read, and
// the C interface's getter over the GenICam backend (lookup, kind test and lock included).
// The fake camera runs in a network namespace of the benchmark's own (see tests/aravis); where
// none can be made, only the simulated device is measured.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "gev/FakeGev.h"
#include "tqvSDK.h"
#include "zel/cam/gic.h"

namespace {

using zel::cam::gic::IInteger;

bool g_network = false;

// The device at `address`, with the fake camera serving it for "gev:" addresses.
struct Camera {
  explicit Camera(const char* address) {
    if (std::string(address).rfind("gev:", 0) == 0) {
      fake = std::make_unique<sim::gev::FakeCamera>();
      if (!fake->Running()) return;
    }
    device = zel::cam::gic::OpenDevice(address);
    if (device) tqvCreateGenICam(&handle, device);
  }
  ~Camera() {
    tqvDestroy(handle);
    device = {};
  }
  std::unique_ptr<sim::gev::FakeCamera> fake;
  zel::TSharedPtr<zel::cam::gic::IGenICam> device;
  void* handle = nullptr;
};

void FeatureRead(benchmark::State& state, const char* address) {
  Camera camera(address);
  auto feature = camera.device
                     ? camera.device->GetFeature("PS0IntegrationWidth").DynamicCast<IInteger>()
                     : zel::TSharedPtr<IInteger>();
  if (!feature) {
    state.SkipWithError("no device");
    return;
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(feature->GetValue());
}

void CInterfaceRead(benchmark::State& state, const char* address) {
  Camera camera(address);
  if (!camera.handle) {
    state.SkipWithError("no handle");
    return;
  }
  uint32_t clocks = 0;
  for (auto _ : state) {
    if (tqvGetIntegrationWidth(camera.handle, 0, &clocks) != TQV_OK) {
      state.SkipWithError("read failed");
      break;
    }
    benchmark::DoNotOptimize(clocks);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string why;
  g_network = sim::gev::IsolateNetwork(&why);
  benchmark::RegisterBenchmark("FeatureRead/sim", FeatureRead, "sim");
  benchmark::RegisterBenchmark("CInterfaceRead/sim", CInterfaceRead, "sim");
  if (g_network) {
    benchmark::RegisterBenchmark("FeatureRead/gev-loopback", FeatureRead, "gev:127.0.0.1");
    benchmark::RegisterBenchmark("CInterfaceRead/gev-loopback", CInterfaceRead, "gev:127.0.0.1");
  } else {
    std::fprintf(stderr, "gev benchmarks skipped: %s\n", why.c_str());
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
