// Offline formats against the raw I/O of the same bytes, measured in the same run: loading,
// windowed reading and saving of camera correction files, both desktop-tool conversions, and
// frame-header decoding. At the end the ratios to the baselines are printed.
//
//   bench_formats --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tqvSDK.h"

namespace {

struct Size {
  int width, height;
  std::string Name() const { return std::to_string(width) + "x" + std::to_string(height); }
};
constexpr Size kSizes[] = {{640, 512}, {1280, 1024}};

std::string g_dir;

std::string PathFor(const Size& s, const char* what) { return g_dir + "/" + what + "_" + s.Name(); }

std::vector<std::uint32_t> RandomWords(std::size_t count) {
  std::mt19937 random(12345);
  std::vector<std::uint32_t> words(count);
  for (std::uint32_t& w : words)
    w = (random() % 40000 + 8000) << 16 | (random() & 0xFFFF);
  return words;
}

tqvSNUCInfo InfoFor(const Size& s) {
  tqvSNUCInfo info;
  tqvDefaultNUCInfo(&info);
  info.windowWidth = info.maxWidth = static_cast<std::uint16_t>(s.width);
  info.windowHeight = info.maxHeight = static_cast<std::uint16_t>(s.height);
  return info;
}

// The files every benchmark works on: a camera file and its three desktop-tool files.
void MakeFiles() {
  for (const Size& s : kSizes) {
    const tqvSNUCInfo info = InfoFor(s);
    const auto words = RandomWords(static_cast<std::size_t>(s.width) * s.height);
    const std::string camera = PathFor(s, "camera") + ".nuc";
    if (tqvSaveNUCFile(camera.c_str(), &info, words.data()) != TQV_OK ||
        tqvConvertCameraNUCToLumenNUC(camera.c_str(), PathFor(s, "desktop").c_str()) != TQV_OK) {
      std::fprintf(stderr, "cannot create the benchmark files in %s\n", g_dir.c_str());
      std::exit(1);
    }
  }
}

std::size_t FileSize(const std::string& path) { return std::filesystem::file_size(path); }

// One fread of a whole file (or of its first bytes) into a buffer allocated beforehand.
bool RawRead(const std::string& path, void* buffer, std::size_t bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  const bool ok = std::fread(buffer, 1, bytes, f) == bytes;
  std::fclose(f);
  return ok;
}

bool RawWrite(const std::string& path, const void* buffer, std::size_t bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(buffer, 1, bytes, f) == bytes;
  return std::fclose(f) == 0 && ok;
}

void SetBytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void Load(benchmark::State& state, Size s) {
  const std::string path = PathFor(s, "camera") + ".nuc";
  for (auto _ : state) {
    tqvSNUCInfo info;
    std::uint32_t* table = nullptr;
    if (tqvLoadNUCFile(path.c_str(), &info, &table) != TQV_OK) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(table);
    std::free(table);
  }
  SetBytes(state, FileSize(path));
}

void LoadRaw(benchmark::State& state, Size s) {
  const std::string path = PathFor(s, "camera") + ".nuc";
  std::vector<char> buffer(FileSize(path));
  for (auto _ : state) {
    if (!RawRead(path, buffer.data(), buffer.size())) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(buffer.data());
  }
  SetBytes(state, buffer.size());
}

// A centred window of half the width and height, mirrored in both directions.
void Window(benchmark::State& state, Size s) {
  const std::string path = PathFor(s, "camera") + ".nuc";
  const int w = s.width / 2, h = s.height / 2;
  std::vector<std::uint32_t> table(static_cast<std::size_t>(w) * h);
  for (auto _ : state) {
    if (tqvReadNUCFileTable(path.c_str(), table.data(), s.width / 4, s.height / 4, w, h, true, true,
                            s.width, s.height, nullptr) != TQV_OK) {
      state.SkipWithError("window read failed");
    }
    benchmark::DoNotOptimize(table.data());
  }
  SetBytes(state, table.size() * 4);
}

// The whole stored window with its rows mirrored.
void WholeMirrored(benchmark::State& state, Size s) {
  const std::string path = PathFor(s, "camera") + ".nuc";
  std::vector<std::uint32_t> table(static_cast<std::size_t>(s.width) * s.height);
  for (auto _ : state) {
    if (tqvReadNUCFileTable(path.c_str(), table.data(), 0, 0, s.width, s.height, false, true,
                            s.width, s.height, nullptr) != TQV_OK) {
      state.SkipWithError("table read failed");
    }
    benchmark::DoNotOptimize(table.data());
  }
  SetBytes(state, table.size() * 4);
}

void WholeRaw(benchmark::State& state, Size s) {
  const std::string path = PathFor(s, "camera") + ".nuc";
  std::vector<std::uint32_t> table(static_cast<std::size_t>(s.width) * s.height);
  for (auto _ : state) {
    if (!RawRead(path, table.data(), table.size() * 4)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(table.data());
  }
  SetBytes(state, table.size() * 4);
}

void WindowRaw(benchmark::State& state, Size s) {
  const std::string path = PathFor(s, "camera") + ".nuc";
  std::vector<std::uint32_t> table(static_cast<std::size_t>(s.width / 2) * (s.height / 2));
  for (auto _ : state) {
    if (!RawRead(path, table.data(), table.size() * 4)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(table.data());
  }
  SetBytes(state, table.size() * 4);
}

void Save(benchmark::State& state, Size s) {
  const tqvSNUCInfo info = InfoFor(s);
  const auto words = RandomWords(static_cast<std::size_t>(s.width) * s.height);
  const std::string path = PathFor(s, "saved") + ".nuc";
  for (auto _ : state) {
    if (tqvSaveNUCFile(path.c_str(), &info, words.data()) != TQV_OK) state.SkipWithError("save");
  }
  SetBytes(state, FileSize(path));
}

void SaveRaw(benchmark::State& state, Size s) {
  std::vector<char> bytes(FileSize(PathFor(s, "camera") + ".nuc"), 'x');
  const std::string path = PathFor(s, "raw") + ".nuc";
  for (auto _ : state) {
    if (!RawWrite(path, bytes.data(), bytes.size())) state.SkipWithError("write failed");
  }
  SetBytes(state, bytes.size());
}

void CameraToDesktop(benchmark::State& state, Size s) {
  const std::string camera = PathFor(s, "camera") + ".nuc", out = PathFor(s, "converted");
  for (auto _ : state) {
    if (tqvConvertCameraNUCToLumenNUC(camera.c_str(), out.c_str()) != TQV_OK) {
      state.SkipWithError("conversion failed");
    }
  }
}

// The same files moved without conversion: the camera file read, three files of the desktop
// tool's sizes written (or the other way round).
struct RawFiles {
  explicit RawFiles(Size s)
      : camera(PathFor(s, "camera") + ".nuc"), desktop(PathFor(s, "desktop")) {
    for (const char* ext : {".scg", ".sco", ".sbp"}) {
      buffers.emplace_back(FileSize(desktop + ext));
      names.push_back(PathFor(s, "rawdesktop") + ext);
      sources.push_back(desktop + ext);
    }
    cameraBuffer.resize(FileSize(camera));
  }
  std::string camera, desktop;
  std::vector<std::vector<char>> buffers;
  std::vector<std::string> names, sources;
  std::vector<char> cameraBuffer;
};

void CameraToDesktopRaw(benchmark::State& state, Size s) {
  RawFiles files(s);
  for (auto _ : state) {
    bool ok = RawRead(files.camera, files.cameraBuffer.data(), files.cameraBuffer.size());
    for (std::size_t i = 0; i < 3; ++i) {
      ok = RawWrite(files.names[i], files.buffers[i].data(), files.buffers[i].size()) && ok;
    }
    if (!ok) state.SkipWithError("raw I/O failed");
  }
}

void DesktopToCamera(benchmark::State& state, Size s) {
  const std::string desktop = PathFor(s, "desktop"), out = PathFor(s, "back") + ".nuc";
  for (auto _ : state) {
    if (tqvConvertLumenNUCToCameraNUC(desktop.c_str(), out.c_str()) != TQV_OK) {
      state.SkipWithError("conversion failed");
    }
  }
}

void DesktopToCameraRaw(benchmark::State& state, Size s) {
  RawFiles files(s);
  const std::string out = PathFor(s, "rawback") + ".nuc";
  for (auto _ : state) {
    bool ok = true;
    for (std::size_t i = 0; i < 3; ++i) {
      ok = RawRead(files.sources[i], files.buffers[i].data(), files.buffers[i].size()) && ok;
    }
    ok = RawWrite(out, files.cameraBuffer.data(), files.cameraBuffer.size()) && ok;
    if (!ok) state.SkipWithError("raw I/O failed");
  }
}

constexpr int kHeaders = 1000000;
constexpr int kPool = 1024;  // distinct headers, cycled through: decoding, not memory, is measured

std::vector<std::uint8_t> HeaderPool() {
  std::mt19937 random(7);
  std::vector<std::uint8_t> pool(kPool * 128);
  for (std::uint8_t& b : pool)
    b = static_cast<std::uint8_t>(random());
  return pool;
}

void DecodeHeaders(benchmark::State& state) {
  const auto pool = HeaderPool();
  tqvSHeader out;
  for (auto _ : state) {
    for (int i = 0; i < kHeaders; ++i) {
      tqvDecodeHeader(&out, pool.data() + (i % kPool) * 128);
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(state.iterations() * kHeaders);
}

void DecodeHeadersRaw(benchmark::State& state) {
  const auto pool = HeaderPool();
  tqvSHeaderRaw out;
  for (auto _ : state) {
    for (int i = 0; i < kHeaders; ++i) {
      std::memcpy(&out, pool.data() + (i % kPool) * 128, 128);
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(state.iterations() * kHeaders);
}

// Keeps the median real and CPU times of every benchmark for the ratio table: the median
// aggregate when repetitions are reported that way, else the median of the runs.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0, cpu = 0;
  };
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Iteration) {
        m_runs[name].push_back({run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()});
      } else if (run.aggregate_name == "median") {
        m_medians[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  Times Median(const std::string& name) {
    if (const auto found = m_medians.find(name); found != m_medians.end()) return found->second;
    std::vector<Times>& t = m_runs[name];
    if (t.empty()) return {};
    Times out;
    std::vector<double> v;
    for (const Times& x : t)
      v.push_back(x.real);
    std::sort(v.begin(), v.end());
    out.real = v[v.size() / 2];
    v.clear();
    for (const Times& x : t)
      v.push_back(x.cpu);
    std::sort(v.begin(), v.end());
    out.cpu = v[v.size() / 2];
    return out;
  }

 private:
  std::map<std::string, std::vector<Times>> m_runs;
  std::map<std::string, Times> m_medians;
};

struct Pair {
  std::string name;
  double target;  // the most the ratio may be; 0 for none
};

}  // namespace

int main(int argc, char** argv) {
  char pattern[] = "/tmp/tqvbench.XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  g_dir = pattern;
  MakeFiles();

  std::vector<Pair> pairs;
  const auto add = [&](const std::string& name, double target, auto ours, auto raw) {
    benchmark::RegisterBenchmark(name.c_str(), ours)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((name + "/raw").c_str(), raw)->Unit(benchmark::kMicrosecond);
    pairs.push_back({name, target});
  };
  for (const Size& s : kSizes) {
    const auto bind = [s](void (*f)(benchmark::State&, Size)) {
      return [f, s](benchmark::State& state) { f(state, s); };
    };
    add("Load/" + s.Name(), 1.3, bind(Load), bind(LoadRaw));
    add("ReadWindow/" + s.Name(), 0, bind(Window), bind(WindowRaw));
    add("ReadMirrored/" + s.Name(), 0, bind(WholeMirrored), bind(WholeRaw));
    add("Save/" + s.Name(), 0, bind(Save), bind(SaveRaw));
    add("CameraToDesktop/" + s.Name(), 2.0, bind(CameraToDesktop), bind(CameraToDesktopRaw));
    add("DesktopToCamera/" + s.Name(), 2.0, bind(DesktopToCamera), bind(DesktopToCameraRaw));
  }
  add("DecodeHeaders/1000000", 0, DecodeHeaders, DecodeHeadersRaw);

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n%-28s %10s %10s %7s %10s %10s %7s %7s\n", "median, microseconds", "real",
              "raw real", "ratio", "cpu", "raw cpu", "ratio", "target");
  for (const Pair& p : pairs) {
    const auto ours = reporter.Median(p.name), raw = reporter.Median(p.name + "/raw");
    if (ours.real == 0 || raw.real == 0) continue;
    char target[16] = "-";
    if (p.target) std::snprintf(target, sizeof target, "<= %.1f", p.target);
    std::printf("%-28s %10.1f %10.1f %7.2f %10.1f %10.1f %7.2f %7s\n", p.name.c_str(), ours.real,
                raw.real, ours.real / raw.real, ours.cpu, raw.cpu, ours.cpu / raw.cpu, target);
  }
  const auto decode = reporter.Median("DecodeHeaders/1000000");
  if (decode.real > 0) {
    std::printf("decoded headers per second: %.1f million (real time), %.1f million (CPU time)\n",
                kHeaders / decode.real, kHeaders / decode.cpu);
  }

  benchmark::Shutdown();
  std::filesystem::remove_all(g_dir);
  return 0;
}
