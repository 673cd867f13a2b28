// The non-uniformity correction of a simulated camera, the same for both kinds of camera: the
// procedure that moves through its steps in simulated time, a detector whose pixels differ (a few
// of them badly), the gain and offset tables computed from it, the bad-pixel lists, and the
// correction files the camera writes. Each simulated camera plugs it in through `Camera` (how it
// reads its settings, stores files and shows what the host reads) and calls it from its hooks,
// under its own lock.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sim::correction {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;

enum class Type : u8 { kOnePoint = 0, kTwoPoint = 1, kUpdateOffset = 2 };
enum class Source : u8 { kExternal = 0, kInternal = 1 };

// What the host configured, taken when a run starts.
struct Settings {
  Type type = Type::kTwoPoint;
  Source source = Source::kExternal;
  u32 frames = 16;
  float gainMin = 0.5f;
  float gainMax = 2.0f;
  u32 adMin = 1000;
  u32 adMax = 15000;
  bool detectBadPixels = true;
  bool detectTwinklers = false;
  u32 twinklerFrames = 256;
  u32 twinklerDelta = 200;
  bool useFactoryBadPixels = true;
  bool presets[4] = {true, false, false, false};
  double framePeriodMs = 1000.0 / 60;
  u32 flagSettleMs = 2500;
};

// A preset's window on the sensor (image coordinates as the camera delivers them).
struct Window {
  u32 x = 0;
  u32 y = 0;
  u32 width = 0;
  u32 height = 0;
};

// What a correction file says about the camera besides its tables.
struct Facts {
  std::string cameraType;
  std::string cameraSerial;
  u32 sensorWidth = 0;
  u32 sensorHeight = 0;
  bool invert = false;
  bool revert = false;
  u32 integrationWidth = 0;
  u32 frameWidth = 0;
};

// The bad-pixel counts the host reads per preset.
struct Counts {
  u32 total = 0;
  u32 factory = 0;  // on the camera's lists (picked, loaded, factory): also the user count
  u32 newPixels = 0;
  u32 twinkling = 0;
  u32 aboveGainMax = 0;
  u32 belowGainMin = 0;
  u32 aboveADMax1 = 0;
  u32 belowADMin1 = 0;
  u32 aboveADMax2 = 0;
  u32 belowADMin2 = 0;
};

// Status codes (the texts say more).
enum Status : u16 {
  kIdle = 0,
  kFlagIn = 1,
  kFlagSettling = 2,
  kCollecting = 3,
  kWaitingForOperator = 4,
  kFlagOut = 5,
  kCollectingTwinklers = 6,
  kComputing = 7,
  kDone = 8,
  kAborted = 9,
  kFailed = 10,
};

// Result codes.
enum Result : u16 { kNoResult = 0, kSucceeded = 1, kAbortedByHost = 2, kRunFailed = 3 };

// Flag codes of the correction words: 0 a good pixel, 1 a bad pixel the run found, 2 a pixel on
// the camera's lists, 3 a twinkling pixel.
enum Flag : u8 { kGood = 0, kFound = 1, kListed = 2, kTwinkling = 3 };

// Why the camera refuses a request; each camera answers in its own terms.
enum class Refusal { kNone, kBusy, kBadArgument, kNotFound, kBadFile, kFailed };

// The camera a correction runs in.
class Camera {
 public:
  virtual ~Camera() = default;
  virtual u64 NowMs() = 0;
  virtual Settings ReadSettings() = 0;
  virtual Window PresetWindow(int preset) = 0;
  virtual Facts ReadFacts(int preset) = 0;
  // Files by name in the correction directory, or by path when the name holds a '/'.
  virtual bool WriteFile(const std::string& name, const std::vector<u8>& bytes) = 0;
  virtual std::optional<std::vector<u8>> ReadFile(const std::string& name) = 0;
  virtual void RemoveFile(const std::string& name) = 0;
  // What the host reads.
  virtual void ShowStatus(u16 code, const std::string& text) = 0;
  virtual void ShowResult(u16 code, const std::string& text) = 0;
  virtual void ShowCounts(int preset, const Counts& counts) = 0;
  virtual void ShowAutoInProgress(bool running) = 0;
};

// The name of the file a finished run writes for a preset: "preset<N>.nuc".
std::string PresetFileName(int preset);

// The correction file of one window: the text header of "key value" lines from "HDSize Auto" to
// "DATA", then one little-endian 32-bit word per pixel. Written as the camera writes it, without
// the library's help, so that reading it is a real test of the library's reader.
std::vector<u8> CorrectionFile(const Facts& facts, const Settings& settings, const Window& window,
                               const Counts& counts, const std::vector<u32>& words);

class Model {
 public:
  explicit Model(Camera& camera);
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  // --- The procedure (automatic: an offset update on the flag, as DoAutoNUC asks) ---
  Refusal Start(bool automatic);
  void Continue();
  void Abort();
  // Keeps the last run's tables: they can no longer be reverted.
  void Accept();
  // Reverts every preset of the last run, or one preset.
  void Discard();
  void Revert(int preset);
  // Brings the run up to the camera's time; the cameras call it before the host reads anything
  // the run changes.
  void Update();

  // --- Bad pixels: x and y on the sensor, preset -1 for every preset ---
  Refusal Pick(u32 x, u32 y, int preset, bool bad);
  // The preset's bad pixels ("x y flag" lines), and a list read back onto the camera's list.
  Refusal SaveList(int preset, const std::string& name);
  Refusal LoadList(int preset, const std::string& name);
  // The factory list: made from, or extended by, the preset's bad pixels; applied to its list.
  Refusal FactoryCreate(int preset);
  Refusal FactoryAppend(int preset);
  Refusal FactoryApply(int preset);

 private:
  struct Step {
    u16 status;
    std::string text;
    double durationMs;  // negative: until the operator continues
    u32 frames;         // frames collected in the step (for the text), 0 for none
  };
  // One preset's tables: the correction words (flags as the run found them) and why each bad
  // pixel is bad (0 none, then one reason each: see Reason in Correction.cpp).
  struct Tables {
    bool fromRun = false;
    Window window;
    Facts facts;
    Settings settings;
    std::vector<u32> words;
    std::vector<u8> reasons;
  };
  struct Preset {
    Tables current;
    std::optional<Tables> previous;  // what a revert brings back
    std::set<u64> listed;            // sensor pixels (y << 32 | x) on the camera's list
  };

  bool Running() const { return m_step < m_steps.size(); }
  void Show();
  void Finish();
  Tables Compute(int preset, const Settings& settings) const;
  Preset& Ensure(int preset);
  std::vector<u8> ListedMask(int preset);
  Counts Count(int preset);
  std::vector<u32> Words(int preset);
  void Publish(int preset);
  void WriteTables(int preset);
  // Presets -1 (every one) or 0..3; empty for anything else.
  static std::vector<int> Presets(int preset);
  std::set<u64> BadPixels(int preset);
  const std::set<u64>& FactoryList();

  Camera& m_camera;
  std::vector<Step> m_steps;
  std::size_t m_step = 0;
  double m_stepStartMs = 0;
  bool m_automatic = false;
  Settings m_settings;
  bool m_lastRun[4] = {};
  Preset m_presets[4];
  std::optional<std::set<u64>> m_factory;
};

}  // namespace sim::correction
