// Camera file transfers through the simulated GenICam device against raw zlib and memcpy of the
// same bytes, measured in the same run: a 5 MiB correction file (1280x1024 correction words and
// their text header) moved down and up, compressed and not, with 512-byte and 64 KiB access
// registers. At the end the speeds and the ratios to the baselines are printed.
//
//   bench_transfer --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "formats/nucword.h"
#include "genicam/SimDevice.h"
#include "tqvSDK.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes g_file;      // the correction file
Bytes g_deflated;  // the same, deflated at the default level

// A correction file as a camera writes it: gains near 1, small offsets, a few flagged pixels.
Bytes CorrectionFile() {
  constexpr int kWidth = 1280, kHeight = 1024;
  std::mt19937 random(2024);
  std::normal_distribution<float> gain(1.0f, 0.03f), offset(0.0f, 40.0f);
  std::vector<std::uint32_t> words(kWidth * kHeight);
  for (std::uint32_t& word : words) {
    const std::uint8_t flag = random() % 500 == 0 ? 1 : 0;
    word = formats::EncodeWord(static_cast<std::int16_t>(offset(random)), flag, gain(random));
  }
  tqvSNUCInfo info;
  tqvDefaultNUCInfo(&info);
  info.windowWidth = info.maxWidth = kWidth;
  info.windowHeight = info.maxHeight = kHeight;
  char pattern[] = "/tmp/tqvbench.XXXXXX";
  if (!mkdtemp(pattern)) std::exit(1);
  const std::string path = std::string(pattern) + "/bench.nuc";
  if (tqvSaveNUCFile(path.c_str(), &info, words.data()) != TQV_OK) std::exit(1);
  std::ifstream in(path, std::ios::binary);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove_all(pattern);
  return bytes;
}

Bytes Deflate(const Bytes& input) {
  uLongf length = compressBound(static_cast<uLong>(input.size()));
  Bytes output(length);
  if (compress2(output.data(), &length, input.data(), static_cast<uLong>(input.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    std::exit(1);
  }
  output.resize(length);
  return output;
}

void Count(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_file.size()));
}

// --- Baselines
// ------------------------------------------------------------------------------------

void Memcpy(benchmark::State& state) {
  Bytes copy(g_file.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), g_file.data(), g_file.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  Count(state);
}

void Inflate(benchmark::State& state) {
  Bytes output(g_file.size());
  for (auto _ : state) {
    uLongf length = static_cast<uLongf>(output.size());
    if (uncompress(output.data(), &length, g_deflated.data(),
                   static_cast<uLong>(g_deflated.size())) != Z_OK) {
      state.SkipWithError("inflate failed");
    }
    benchmark::DoNotOptimize(output.data());
  }
  Count(state);
}

void Deflate(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(Deflate(g_file));
  Count(state);
}

// --- Transfers through the simulated device ------------------------------------------------------

// A GenICam handle over a simulated device with the given access register, its log kept short.
class Camera {
 public:
  Camera(bool compressed, std::size_t registerLength)
      : m_device(zel::cam::gic::OpenDevice(compressed ? "sim" : "sim:no-compression")) {
    sim::genicam::Device* sim = m_device ? sim::genicam::DeviceOf(m_device.get()) : nullptr;
    if (!sim || tqvCreateGenICam(&m_handle, m_device) != TQV_OK) std::exit(1);
    sim->SetRegister("FileAccessBuffer", Bytes(registerLength));
    sim->SetLogLimit(0);
    sim->Files().SetCapacity(64u << 20);
    if (sim->Files().Write("/FlashFS/nuc/bench.nuc", g_file) != 0) std::exit(1);
  }
  ~Camera() { tqvDestroy(m_handle); }
  void* handle() const { return m_handle; }

 private:
  zel::TSharedPtr<zel::cam::gic::IGenICam> m_device;
  void* m_handle = nullptr;
};

void Download(benchmark::State& state, bool compressed, std::size_t registerLength) {
  Camera camera(compressed, registerLength);
  // Written from its start each time, so that the host file's growth is not measured.
  tqvFilePtr file(new zel::CMemFile(g_file.data(), g_file.size()));
  // Once before timing: the simulated camera deflates a file on its first compressed download.
  if (tqvDownloadNUC(camera.handle(), "bench", file, {}) != TQV_OK) std::exit(1);
  for (auto _ : state) {
    file->Seek(0, zel::kSeekBegin);
    if (tqvDownloadNUC(camera.handle(), "bench", file, {}) != TQV_OK) {
      state.SkipWithError("download failed");
    }
  }
  if (std::memcmp(static_cast<zel::CMemFile*>(file.get())->GetData(), g_file.data(),
                  g_file.size()) != 0) {
    state.SkipWithError("downloaded bytes differ");
  }
  Count(state);
}

void Upload(benchmark::State& state, bool compressed, std::size_t registerLength) {
  Camera camera(compressed, registerLength);
  tqvFilePtr file(new zel::CMemFile(g_file.data(), g_file.size()));
  for (auto _ : state) {
    file->Seek(0, zel::kSeekBegin);
    if (tqvUploadNUC(camera.handle(), "up", file, {}) != TQV_OK) {
      state.SkipWithError("upload failed");
    }
  }
  Count(state);
}

// Keeps the real time of every repetition (or the median of the aggregates, when only those are
// reported) for the summary. Every benchmark here runs in milliseconds.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if ((run.run_type == Run::RT_Iteration || median) && !run.error_occurred) {
        m_milliseconds[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // Megabytes (10^6 bytes) of the file per second, from the median time; 0 when not run.
  double MBps(const std::string& name) {
    std::vector<double>& t = m_milliseconds[name];
    if (t.empty()) return 0;
    std::sort(t.begin(), t.end());
    return static_cast<double>(g_file.size()) / t[t.size() / 2] / 1e3;
  }

 private:
  std::map<std::string, std::vector<double>> m_milliseconds;
};

}  // namespace

int main(int argc, char** argv) {
  // The simulated camera allocates and frees a few file-sized blocks per transfer; keep them in the
  // heap instead of returning them to the system each time, so that page faults of the simulator's
  // memory are not what is measured.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  g_file = CorrectionFile();
  g_deflated = Deflate(g_file);

  const auto unit = benchmark::kMillisecond;
  benchmark::RegisterBenchmark("Memcpy", Memcpy)->Unit(unit);
  benchmark::RegisterBenchmark("ZlibInflate", Inflate)->Unit(unit);
  benchmark::RegisterBenchmark("ZlibDeflate", Deflate)->Unit(unit);
  for (bool compressed : {false, true}) {
    for (std::size_t length : {std::size_t{512}, std::size_t{65536}}) {
      const std::string tail =
          std::string(compressed ? "Compressed/" : "Plain/") + std::to_string(length);
      benchmark::RegisterBenchmark(("Download/" + tail).c_str(), [=](benchmark::State& state) {
        Download(state, compressed, length);
      })->Unit(unit);
      benchmark::RegisterBenchmark(("Upload/" + tail).c_str(), [=](benchmark::State& state) {
        Upload(state, compressed, length);
      })->Unit(unit);
    }
  }

  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nfile %zu bytes, deflated to %zu (%.1f %%)\n", g_file.size(), g_deflated.size(),
              100.0 * static_cast<double>(g_deflated.size()) / static_cast<double>(g_file.size()));
  struct Line {
    const char* name;
    const char* baseline;  // null: compared with the 1000 MB/s target
    double target;
  };
  const Line lines[] = {
      {"Download/Compressed/65536", "ZlibInflate", 0.7},
      {"Upload/Compressed/65536", "ZlibDeflate", 0.8},
      {"Download/Plain/65536", nullptr, 1000},
      {"Upload/Plain/65536", nullptr, 1000},
      {"Download/Compressed/512", "ZlibInflate", 0},
      {"Upload/Compressed/512", "ZlibDeflate", 0},
      {"Download/Plain/512", "Memcpy", 0},
      {"Upload/Plain/512", "Memcpy", 0},
  };
  std::printf("%-28s %10s %-12s %10s %8s %10s\n", "transfer (median)", "MB/s", "baseline", "MB/s",
              "ratio", "target");
  for (const Line& line : lines) {
    const double ours = reporter.MBps(line.name);
    const double base = reporter.MBps(line.baseline ? line.baseline : "Memcpy");
    if (ours == 0 || base == 0) continue;
    std::string target = "-";
    if (line.target > 0) {
      char text[32];
      std::snprintf(text, sizeof text, line.baseline ? ">= %.1fx" : ">= %.0f MB/s", line.target);
      target = text;
    }
    std::printf("%-28s %10.1f %-12s %10.1f %8.2f %10s\n", line.name, ours,
                line.baseline ? line.baseline : "Memcpy", base, ours / base, target.c_str());
  }
  benchmark::Shutdown();
  return 0;
}
