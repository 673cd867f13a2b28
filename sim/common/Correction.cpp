// The simulated cameras' non-uniformity correction (Correction.h).
#include "Correction.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace sim::correction {

namespace {

// --- The detector --------------------------------------------------------------------------------

// Why a pixel of a run's tables is bad (one reason each, tested in this order).
enum Reason : u8 {
  kNoReason = 0,
  kAboveADMax1,
  kBelowADMin1,
  kAboveADMax2,
  kBelowADMin2,
  kAboveGainMax,
  kBelowGainMin,
  kTwinkler,
};

// Scene levels of the two uniform sources (counts above the dark level for a pixel of response
// 1) and the levels a corrected pixel shows for them.
constexpr double kSource1 = 3000;
constexpr double kSource2 = 6000;
constexpr double kTarget1 = 5000;
constexpr double kTarget2 = 8000;
// One pixel in this many is of each defective kind; twinklers are rarer.
constexpr u64 kDefectPeriod = 2039;
constexpr u64 kTwinklerPeriod = 4099;

u64 Mix(u64 z) {
  z += 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

enum class Defect { kNone, kDead, kHot, kStuck, kOverResponsive, kSaturating };

struct Pixel {
  double response;  // counts per count of scene
  double dark;      // counts without scene
  double twinkle;   // how far the pixel jumps between frames
  Defect defect;
};

// Every pixel differs a little; a few are defective: dead (far too little response: its gain
// would be above any maximum), hot (a dark level near the top of the converter), stuck (no
// response and almost no signal: the maker lists these), over-responsive (its gain falls below a
// minimum) and saturating (the warm source drives it past the converter's maximum).
Pixel DetectorPixel(u32 x, u32 y) {
  const u64 h = Mix((static_cast<u64>(y) << 32) | x);
  const u64 h2 = Mix(h);
  Pixel p{0.9 + 0.2 * static_cast<double>(h & 0xFFFF) / 65535.0,
          1500.0 + static_cast<double>((h >> 16) & 0x3FF), static_cast<double>((h2 >> 8) % 30),
          Defect::kNone};
  switch ((h >> 26) % kDefectPeriod) {
    case 0:
      p.defect = Defect::kDead;
      p.response = 0.25;
      break;
    case 1:
      p.defect = Defect::kHot;
      p.dark = 14000;
      break;
    case 2:
      p.defect = Defect::kStuck;
      p.response = 0.01;
      p.dark = 200;
      break;
    case 3:
      p.defect = Defect::kOverResponsive;
      p.response = 2.1;
      break;
    case 4:
      p.defect = Defect::kSaturating;
      p.response = 3.0;
      break;
    default:
      break;
  }
  if (h2 % kTwinklerPeriod == 0) p.twinkle = 50.0 + static_cast<double>((h2 >> 32) % 400);
  return p;
}

u64 Key(u32 x, u32 y) { return (static_cast<u64>(y) << 32) | x; }

// --- Correction words ----------------------------------------------------------------------------

constexpr u32 kUnitGain = 16383;

u32 Encode(double offset, u8 flag, double gain) {
  const long rounded = std::clamp(std::lround(offset), -8192L, 8191L);
  u32 word = (static_cast<u32>(rounded * 4) & 0xFFFCu) | (flag & 3u);
  if (gain > 0) {
    const u32 field = gain > 4.0 ? 0xFFFCu : static_cast<u32>(gain * kUnitGain);
    word |= field << 16;
  }
  return word;
}

double GainOf(u32 word) { return static_cast<double>(word >> 16) / kUnitGain; }

std::string Number(double value) {
  char text[64];
  auto done = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  return std::string(text, done.ptr);
}

}  // namespace

std::string PresetFileName(int preset) { return "preset" + std::to_string(preset) + ".nuc"; }

std::vector<u8> CorrectionFile(const Facts& facts, const Settings& settings, const Window& window,
                               const Counts& counts, const std::vector<u32>& words) {
  std::string text = "HDSize Auto\r\nKeyWrd TQVNUC\r\n";
  auto line = [&text](const char* key, const std::string& value) {
    text += key;
    text += ' ';
    text += value;
    text += "\r\n";
  };
  auto yes = [](bool value) { return std::string(value ? "true" : "false"); };
  using std::to_string;
  line("cameraType", facts.cameraType);
  line("cameraSerial", facts.cameraSerial);
  line("windowOffsetX", to_string(window.x));
  line("windowOffsetY", to_string(window.y));
  line("windowWidth", to_string(window.width));
  line("windowHeight", to_string(window.height));
  line("maxWidth", to_string(facts.sensorWidth));
  line("maxHeight", to_string(facts.sensorHeight));
  line("comprs", "none");
  line("invert", yes(facts.invert));
  line("revert", yes(facts.revert));
  line("integrationWidth", to_string(facts.integrationWidth));
  line("frameWidth", to_string(facts.frameWidth));
  line("nucType", to_string(static_cast<int>(settings.type)));
  line("nucSource", to_string(static_cast<int>(settings.source)));
  line("nucNumFrames", to_string(settings.frames));
  line("nucDetectBadPixels", yes(settings.detectBadPixels));
  line("nucDetectTwinklers", yes(settings.detectTwinklers));
  line("nucTwinklerNumFrames", to_string(settings.twinklerFrames));
  line("nucTwinklerDelta", to_string(settings.twinklerDelta));
  line("nucADMin", to_string(settings.adMin));
  line("nucADMax", to_string(settings.adMax));
  line("nucGainMin", Number(settings.gainMin));
  line("nucGainMax", Number(settings.gainMax));
  line("bpTotal", to_string(counts.total));
  line("bpTwinkling", to_string(counts.twinkling));
  line("bpUser", to_string(counts.factory));
  line("bpFactory", to_string(counts.factory));
  line("bpNew", to_string(counts.newPixels));
  line("bpAboveGainMax", to_string(counts.aboveGainMax));
  line("bpBelowGainMin", to_string(counts.belowGainMin));
  line("bpAboveADMaxSrc1", to_string(counts.aboveADMax1));
  line("bpBelowADMinSrc1", to_string(counts.belowADMin1));
  line("bpAboveADMaxSrc2", to_string(counts.aboveADMax2));
  line("bpBelowADMinSrc2", to_string(counts.belowADMin2));
  text += "DATA\r\n";
  std::vector<u8> bytes(text.size() + words.size() * 4);
  std::copy(text.begin(), text.end(), bytes.begin());
  u8* out = bytes.data() + text.size();
  for (u32 word : words) {
    for (int shift = 0; shift < 32; shift += 8)
      *out++ = static_cast<u8>(word >> shift);
  }
  return bytes;
}

Model::Model(Camera& camera) : m_camera(camera) {}

// --- The procedure -------------------------------------------------------------------------------

Refusal Model::Start(bool automatic) {
  Update();
  if (Running()) return Refusal::kBusy;
  m_settings = m_camera.ReadSettings();
  if (automatic) {
    m_settings.type = Type::kUpdateOffset;
    m_settings.source = Source::kInternal;
  }
  m_automatic = automatic;
  const int covered =
      static_cast<int>(std::count(m_settings.presets, m_settings.presets + 4, true));
  if (covered == 0) {
    m_camera.ShowStatus(kFailed, "Failed: no preset is selected for the correction");
    m_camera.ShowResult(kRunFailed, "No preset is selected for the correction");
    return Refusal::kNone;
  }

  const double period = m_settings.framePeriodMs;
  auto collect = [&](const std::string& what, u32 frames) {
    m_steps.push_back({kCollecting, "Collecting " + what, frames * period, frames});
  };
  auto wait = [&](const std::string& source) {
    m_steps.push_back({kWaitingForOperator,
                       "Waiting for the operator: place a uniform " + source +
                           " in front of the lens, then continue",
                       -1, 0});
  };
  const bool twoPoints = m_settings.type == Type::kTwoPoint;
  m_steps.clear();
  if (m_settings.source == Source::kInternal) {
    m_steps.push_back({kFlagIn, "Moving the flag in", 2000, 0});
    collect("frames of the flag", m_settings.frames);
    if (twoPoints) {
      m_steps.push_back({kFlagSettling, "Bringing the flag to its upper setpoint",
                         static_cast<double>(m_settings.flagSettleMs), 0});
      collect("frames of the warm flag", m_settings.frames);
    }
    m_steps.push_back({kFlagOut, "Moving the flag out", 2000, 0});
  } else if (twoPoints) {
    wait("cold source");
    collect("frames of the cold source", m_settings.frames);
    wait("warm source");
    collect("frames of the warm source", m_settings.frames);
  } else {
    wait("source");
    collect("frames of the source", m_settings.frames);
  }
  if (m_settings.detectTwinklers) {
    m_steps.push_back({kCollectingTwinklers, "Collecting frames for twinkling pixels",
                       m_settings.twinklerFrames * period, m_settings.twinklerFrames});
  }
  m_steps.push_back({kComputing, "Computing the correction tables", 250.0 * covered, 0});
  m_step = 0;
  m_stepStartMs = static_cast<double>(m_camera.NowMs());
  m_camera.ShowResult(kNoResult, "Correction running");
  if (m_automatic) m_camera.ShowAutoInProgress(true);
  Show();
  return Refusal::kNone;
}

void Model::Update() {
  if (!Running()) return;
  const double now = static_cast<double>(m_camera.NowMs());
  while (Running() && m_steps[m_step].durationMs >= 0 &&
         now >= m_stepStartMs + m_steps[m_step].durationMs) {
    m_stepStartMs += m_steps[m_step].durationMs;
    ++m_step;
  }
  if (Running()) {
    Show();
  } else {
    Finish();
  }
}

void Model::Show() {
  const Step& step = m_steps[m_step];
  std::string text = step.text;
  if (step.frames > 0) {
    const double elapsed = static_cast<double>(m_camera.NowMs()) - m_stepStartMs;
    const u32 collected = std::min<u32>(
        step.frames, static_cast<u32>(std::max(0.0, elapsed) / m_settings.framePeriodMs));
    text += ": " + std::to_string(collected) + " of " + std::to_string(step.frames);
  }
  m_camera.ShowStatus(step.status, text);
}

void Model::Continue() {
  Update();
  if (!Running() || m_steps[m_step].durationMs >= 0) return;
  m_stepStartMs = static_cast<double>(m_camera.NowMs());
  ++m_step;
  Update();
}

void Model::Abort() {
  Update();
  if (!Running()) return;
  m_steps.clear();
  m_step = 0;
  m_camera.ShowStatus(kAborted, "Aborted");
  m_camera.ShowResult(kAbortedByHost, "Correction aborted by the host; the previous tables stay");
  if (m_automatic) m_camera.ShowAutoInProgress(false);
}

void Model::Finish() {
  m_steps.clear();
  m_step = 0;
  u32 total = 0;
  for (int p = 0; p < 4; ++p) {
    m_lastRun[p] = m_settings.presets[p];
    if (!m_lastRun[p]) continue;
    Preset& preset = Ensure(p);
    Tables tables = Compute(p, m_settings);
    preset.previous = std::move(preset.current);
    preset.current = std::move(tables);
    WriteTables(p);
    Publish(p);
    total += Count(p).total;
  }
  m_camera.ShowStatus(kDone, "Done");
  m_camera.ShowResult(kSucceeded, "Correction done: " + std::to_string(total) + " bad pixels");
  if (m_automatic) m_camera.ShowAutoInProgress(false);
}

void Model::Accept() {
  Update();
  for (Preset& preset : m_presets)
    preset.previous.reset();
}

void Model::Discard() {
  Update();
  for (int p = 0; p < 4; ++p) {
    if (m_lastRun[p]) Revert(p);
  }
}

void Model::Revert(int preset) {
  Update();
  if (preset < 0 || preset > 3 || !m_presets[preset].previous) return;
  Preset& state = m_presets[preset];
  state.current = std::move(*state.previous);
  state.previous.reset();
  if (state.current.fromRun) {
    WriteTables(preset);
  } else {
    m_camera.RemoveFile(PresetFileName(preset));
  }
  Publish(preset);
}

// --- Tables --------------------------------------------------------------------------------------

Model::Tables Model::Compute(int preset, const Settings& settings) const {
  Tables tables;
  tables.fromRun = true;
  tables.window = m_camera.PresetWindow(preset);
  tables.facts = m_camera.ReadFacts(preset);
  tables.settings = settings;
  const Window& w = tables.window;
  const std::size_t count = static_cast<std::size_t>(w.width) * w.height;
  tables.words.resize(count);
  tables.reasons.resize(count);
  // A one-point correction and an offset update keep the gains they find.
  const Tables& before = m_presets[preset].current;
  const bool sameWindow = before.window.x == w.x && before.window.y == w.y &&
                          before.window.width == w.width && before.window.height == w.height &&
                          before.words.size() == count;
  const bool twoPoints = settings.type == Type::kTwoPoint;
  for (u32 row = 0; row < w.height; ++row) {
    for (u32 column = 0; column < w.width; ++column) {
      const std::size_t i = static_cast<std::size_t>(row) * w.width + column;
      const Pixel pixel = DetectorPixel(w.x + column, w.y + row);
      const double raw1 = pixel.dark + pixel.response * kSource1;
      const double raw2 = pixel.dark + pixel.response * kSource2;
      double gain = sameWindow ? GainOf(before.words[i]) : 1.0;
      if (twoPoints) gain = (kTarget2 - kTarget1) / (raw2 - raw1);
      const double offset = kTarget1 - gain * raw1;
      u8 reason = kNoReason;
      if (settings.detectBadPixels) {
        if (raw1 > settings.adMax) {
          reason = kAboveADMax1;
        } else if (raw1 < settings.adMin) {
          reason = kBelowADMin1;
        } else if (twoPoints && raw2 > settings.adMax) {
          reason = kAboveADMax2;
        } else if (twoPoints && raw2 < settings.adMin) {
          reason = kBelowADMin2;
        } else if (twoPoints && gain > settings.gainMax) {
          reason = kAboveGainMax;
        } else if (twoPoints && gain < settings.gainMin) {
          reason = kBelowGainMin;
        }
      }
      if (reason == kNoReason && settings.detectTwinklers && pixel.twinkle > settings.twinklerDelta)
        reason = kTwinkler;
      const u8 flag = reason == kNoReason ? kGood : reason == kTwinkler ? kTwinkling : kFound;
      tables.words[i] = Encode(offset, flag, gain);
      tables.reasons[i] = reason;
    }
  }
  return tables;
}

// A preset that no run has covered yet holds the factory tables: unit gain, no offset, and the
// maker's bad pixels.
Model::Preset& Model::Ensure(int preset) {
  Preset& state = m_presets[preset];
  if (state.current.words.empty()) {
    Tables& tables = state.current;
    tables.window = m_camera.PresetWindow(preset);
    tables.facts = m_camera.ReadFacts(preset);
    const std::size_t count = static_cast<std::size_t>(tables.window.width) * tables.window.height;
    tables.words.assign(count, Encode(0, kGood, 1.0));
    tables.reasons.assign(count, kNoReason);
  }
  return state;
}

// Which pixels of the preset's window are on the camera's lists, row by row.
std::vector<u8> Model::ListedMask(int preset) {
  const Preset& state = Ensure(preset);
  const Window& w = state.current.window;
  std::vector<u8> mask(static_cast<std::size_t>(w.width) * w.height);
  auto mark = [&](const std::set<u64>& pixels) {
    for (u64 key : pixels) {
      const u32 x = static_cast<u32>(key), y = static_cast<u32>(key >> 32);
      if (x >= w.x && x - w.x < w.width && y >= w.y && y - w.y < w.height)
        mask[static_cast<std::size_t>(y - w.y) * w.width + (x - w.x)] = 1;
    }
  };
  mark(state.listed);
  if (state.current.settings.useFactoryBadPixels) mark(FactoryList());
  return mask;
}

Counts Model::Count(int preset) {
  const std::vector<u8> listed = ListedMask(preset);
  const std::vector<u8>& reasons = m_presets[preset].current.reasons;
  Counts counts;
  u32* category[] = {nullptr,
                     &counts.aboveADMax1,
                     &counts.belowADMin1,
                     &counts.aboveADMax2,
                     &counts.belowADMin2,
                     &counts.aboveGainMax,
                     &counts.belowGainMin,
                     &counts.twinkling};
  for (std::size_t i = 0; i < reasons.size(); ++i) {
    if (listed[i]) {
      ++counts.factory;
    } else if (reasons[i] != kNoReason) {
      ++counts.newPixels;
      ++*category[reasons[i]];
    }
  }
  counts.total = counts.factory + counts.newPixels;
  return counts;
}

std::vector<u32> Model::Words(int preset) {
  const std::vector<u8> listed = ListedMask(preset);
  std::vector<u32> words = m_presets[preset].current.words;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (listed[i]) words[i] = (words[i] & ~3u) | kListed;
  }
  return words;
}

void Model::Publish(int preset) { m_camera.ShowCounts(preset, Count(preset)); }

void Model::WriteTables(int preset) {
  const Tables& tables = Ensure(preset).current;
  m_camera.WriteFile(
      PresetFileName(preset),
      CorrectionFile(tables.facts, tables.settings, tables.window, Count(preset), Words(preset)));
}

// --- Bad pixels ----------------------------------------------------------------------------------

std::vector<int> Model::Presets(int preset) {
  if (preset == -1) return {0, 1, 2, 3};
  if (preset >= 0 && preset <= 3) return {preset};
  return {};
}

// The pixels the maker found stuck, listed once for the whole sensor.
const std::set<u64>& Model::FactoryList() {
  if (!m_factory) {
    const Facts facts = m_camera.ReadFacts(0);
    m_factory.emplace();
    for (u32 y = 0; y < facts.sensorHeight; ++y) {
      for (u32 x = 0; x < facts.sensorWidth; ++x) {
        if (DetectorPixel(x, y).defect == Defect::kStuck) m_factory->insert(Key(x, y));
      }
    }
  }
  return *m_factory;
}

std::set<u64> Model::BadPixels(int preset) {
  std::set<u64> bad;
  const std::vector<u32> words = Words(preset);
  const Window& w = m_presets[preset].current.window;
  for (u32 row = 0; row < w.height; ++row) {
    for (u32 column = 0; column < w.width; ++column) {
      if (words[static_cast<std::size_t>(row) * w.width + column] & 3u)
        bad.insert(Key(w.x + column, w.y + row));
    }
  }
  return bad;
}

Refusal Model::Pick(u32 x, u32 y, int preset, bool bad) {
  Update();
  const std::vector<int> presets = Presets(preset);
  const Facts facts = m_camera.ReadFacts(0);
  if (presets.empty() || x >= facts.sensorWidth || y >= facts.sensorHeight) {
    return Refusal::kBadArgument;
  }
  for (int p : presets) {
    std::set<u64>& listed = Ensure(p).listed;
    if (bad) {
      listed.insert(Key(x, y));
    } else {
      listed.erase(Key(x, y));
    }
    Publish(p);
  }
  return Refusal::kNone;
}

Refusal Model::SaveList(int preset, const std::string& name) {
  Update();
  if (preset < 0 || preset > 3) return Refusal::kBadArgument;
  if (name.empty()) return Refusal::kBadFile;
  const std::vector<u32> words = Words(preset);
  const Window& w = m_presets[preset].current.window;
  std::ostringstream text;
  text << "# Bad pixels of preset " << preset << ": " << w.width << " x " << w.height << " at "
       << w.x << "," << w.y << "; x y flag\n";
  for (u32 row = 0; row < w.height; ++row) {
    for (u32 column = 0; column < w.width; ++column) {
      const u32 flag = words[static_cast<std::size_t>(row) * w.width + column] & 3u;
      if (flag) text << (w.x + column) << ' ' << (w.y + row) << ' ' << flag << '\n';
    }
  }
  const std::string list = text.str();
  if (!m_camera.WriteFile(name, std::vector<u8>(list.begin(), list.end()))) {
    return Refusal::kFailed;
  }
  return Refusal::kNone;
}

Refusal Model::LoadList(int preset, const std::string& name) {
  Update();
  if (preset < 0 || preset > 3) return Refusal::kBadArgument;
  const std::optional<std::vector<u8>> bytes = m_camera.ReadFile(name);
  if (!bytes) return Refusal::kNotFound;
  const Facts facts = m_camera.ReadFacts(0);
  std::set<u64> listed;
  std::istringstream text(std::string(bytes->begin(), bytes->end()));
  std::string line;
  while (std::getline(text, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    long long x = -1, y = -1;
    if (!(fields >> x >> y) || x < 0 || y < 0 || x >= facts.sensorWidth ||
        y >= facts.sensorHeight) {
      return Refusal::kBadFile;
    }
    listed.insert(Key(static_cast<u32>(x), static_cast<u32>(y)));
  }
  Ensure(preset).listed = std::move(listed);
  Publish(preset);
  return Refusal::kNone;
}

Refusal Model::FactoryCreate(int preset) {
  Update();
  const std::vector<int> presets = Presets(preset);
  if (presets.empty()) return Refusal::kBadArgument;
  std::set<u64> list;
  for (int p : presets)
    list.merge(BadPixels(p));
  m_factory = std::move(list);
  for (int p = 0; p < 4; ++p)
    Publish(p);
  return Refusal::kNone;
}

Refusal Model::FactoryAppend(int preset) {
  Update();
  const std::vector<int> presets = Presets(preset);
  if (presets.empty()) return Refusal::kBadArgument;
  FactoryList();
  for (int p : presets)
    m_factory->merge(BadPixels(p));
  for (int p = 0; p < 4; ++p)
    Publish(p);
  return Refusal::kNone;
}

Refusal Model::FactoryApply(int preset) {
  Update();
  const std::vector<int> presets = Presets(preset);
  if (presets.empty()) return Refusal::kBadArgument;
  const std::set<u64>& factory = FactoryList();
  for (int p : presets) {
    Ensure(p).listed.insert(factory.begin(), factory.end());
    Publish(p);
  }
  return Refusal::kNone;
}

}  // namespace sim::correction
