// Non-uniformity correction and bad pixels on the simulated device: the features, and the
// behaviour "nuc-run" that runs the correction (common/Correction.h) behind the commands.
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>

#include "common/Correction.h"
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

// Counts per preset carry the preset text after their name: CorrectionBadPixelTotalPS1.
const char* const kSection = R"(
# --- Non-uniformity correction and bad pixels --------------------------------------------------
bool     CorrectionEnabled                   true
bool     CorrectionDigitalEnabled            true
bool     CorrectionVideoEnabled              true
enum     CorrectionBadPixelMethod            NearestNeighbor  entries=TwoPointGradient:0,NearestNeighbor:1,None:2
bool     CorrectionShowBadPixels             false
enum     CorrectionType                      TwoPoint    entries=OnePoint:0,TwoPoint:1,UpdateOffset:2
enum     CorrectionSource                    External    entries=External:0,Internal:1
enum     CorrectionFlagSetpointType          Delta       entries=Delta:0,Fixed:1
int      CorrectionNumFrames                 16          min=1 max=128
float    CorrectionGainMin                   0.5         min=0.0 max=4.0
float    CorrectionGainMax                   2.0         min=0.0 max=4.0
int      CorrectionADMin                     1000        min=0 max=16383
int      CorrectionADMax                     15000       min=0 max=16383
bool     CorrectionDetectBadPixels           true
bool     CorrectionUseFactoryBadPixels       true
bool     CorrectionDetectTwinklingPixels     false
int      CorrectionTwinklerNumFrames         256         min=16 max=4096
int      CorrectionTwinklerDelta             200         min=1 max=16383
float    CorrectionFlagSetpointDeltaLow      -5.0        min=-20.0 max=0.0
float    CorrectionFlagSetpointDeltaHigh     10.0        min=0.0 max=40.0
float    CorrectionFlagSetpointFixedLow      20.0        min=-10.0 max=60.0
float    CorrectionFlagSetpointFixedHigh     40.0        min=-10.0 max=80.0
float    MfgCorrectionFlagMaxTemp            70.0        min=20.0 max=90.0
float    MfgCorrectionFlagStableDelta        0.1         min=0.01 max=5.0
int      MfgCorrectionFlagStableCount        5           min=1 max=100
int      MfgCorrectionFlagTimeout            120         min=10 max=3600
bool     CorrectionPS0                       true
bool     CorrectionPS1                       false
bool     CorrectionPS2                       false
bool     CorrectionPS3                       false
command  CorrectionStart
command  CorrectionContinue
command  CorrectionAbort
command  CorrectionAccept
command  CorrectionDiscard
enum     CorrectionStatus                    Idle        ro entries=Idle:0,FlagIn:1,FlagSettling:2,Collecting:3,WaitingForOperator:4,FlagOut:5,CollectingTwinklers:6,Computing:7,Done:8,Aborted:9,Failed:10
string   CorrectionStatusText                "Idle"      ro
enum     CorrectionResult                    None        ro entries=None:0,Success:1,Aborted:2,Failed:3
string   CorrectionResultText                "No correction yet" ro
int      CorrectionBadPixelTotal{P}              0       ro min=0
int      CorrectionBadPixelTwinkling{P}          0       ro min=0
int      CorrectionBadPixelAboveGainMax{P}       0       ro min=0
int      CorrectionBadPixelBelowGainMin{P}       0       ro min=0
int      CorrectionBadPixelAboveADMaxSource1{P}  0       ro min=0
int      CorrectionBadPixelBelowADMinSource1{P}  0       ro min=0
int      CorrectionBadPixelAboveADMaxSource2{P}  0       ro min=0
int      CorrectionBadPixelBelowADMinSource2{P}  0       ro min=0
int      CorrectionBadPixelFactory{P}            0       ro min=0
int      CorrectionBadPixelNew{P}                0       ro min=0
bool     CorrectionAutoEnabled               false
bool     CorrectionAutoUseDeltaTemp          true
float    CorrectionAutoDeltaTemp             2.0         min=0.1 max=20.0
bool     CorrectionAutoUseDeltaTime          false
int      CorrectionAutoDeltaTime             600         min=10 max=86400
bool     CorrectionAutoInProgress            false       ro
command  CorrectionAutoPerform
int      BadPixelPickerX                     0           min=0 max=639
int      BadPixelPickerY                     0           min=0 max=511
int      BadPixelPickerPreset                0           min=-1 max=3
bool     BadPixelPickerState                 true
command  BadPixelPickerPick                              polls=1
int      MfgBadPixelListPreset               0           min=0 max=3
string   MfgBadPixelListFile                 ""
command  MfgBadPixelListSave                             polls=2
command  MfgBadPixelListLoad                             polls=2
int      MfgFactoryBadPixelListPreset        0           min=-1 max=3
command  MfgFactoryBadPixelListCreate                    polls=1
command  MfgFactoryBadPixelListAppend                    polls=1
command  MfgFactoryBadPixelListApply                     polls=1
behaviour nuc-run
)";

using correction::Refusal;
using correction::u16;

// The counts of a preset, each followed by the preset text.
const char* const kCounts[] = {"CorrectionBadPixelTotal",
                               "CorrectionBadPixelFactory",
                               "CorrectionBadPixelNew",
                               "CorrectionBadPixelTwinkling",
                               "CorrectionBadPixelAboveGainMax",
                               "CorrectionBadPixelBelowGainMin",
                               "CorrectionBadPixelAboveADMaxSource1",
                               "CorrectionBadPixelBelowADMinSource1",
                               "CorrectionBadPixelAboveADMaxSource2",
                               "CorrectionBadPixelBelowADMinSource2"};

// The correction as this device holds it: settings and window in features, files in the store.
// Every reading tolerates a feature a variant lacks.
class DeviceCorrection final : public correction::Camera {
 public:
  explicit DeviceCorrection(Device& device) : m_device(device), m_model(*this) {}
  correction::Model& model() { return m_model; }

  u64 NowMs() override { return m_device.NowMs(); }

  correction::Settings ReadSettings() override {
    correction::Settings s;
    s.type = static_cast<correction::Type>(Int("CorrectionType", 1));
    s.source = static_cast<correction::Source>(Int("CorrectionSource", 0));
    s.frames = static_cast<u32>(Int("CorrectionNumFrames", s.frames));
    s.gainMin = static_cast<float>(Real("CorrectionGainMin", s.gainMin));
    s.gainMax = static_cast<float>(Real("CorrectionGainMax", s.gainMax));
    s.adMin = static_cast<u32>(Int("CorrectionADMin", s.adMin));
    s.adMax = static_cast<u32>(Int("CorrectionADMax", s.adMax));
    s.detectBadPixels = Bool("CorrectionDetectBadPixels", s.detectBadPixels);
    s.detectTwinklers = Bool("CorrectionDetectTwinklingPixels", s.detectTwinklers);
    s.twinklerFrames = static_cast<u32>(Int("CorrectionTwinklerNumFrames", s.twinklerFrames));
    s.twinklerDelta = static_cast<u32>(Int("CorrectionTwinklerDelta", s.twinklerDelta));
    s.useFactoryBadPixels = Bool("CorrectionUseFactoryBadPixels", s.useFactoryBadPixels);
    // A camera without correction presets corrects its one preset.
    for (int p = 0; p < 4; ++p)
      s.presets[p] = Bool("CorrectionPS" + std::to_string(p), p == 0);
    const double frameWidth = static_cast<double>(Int(Preset(Active(), "FrameWidth"), 416667));
    const double clock = static_cast<double>(Int("MfgClockFrequency", 25000000));
    if (frameWidth > 0 && clock > 0) s.framePeriodMs = frameWidth * 1000.0 / clock;
    s.flagSettleMs = static_cast<u32>(Int("MfgCorrectionFlagStableCount", 5)) * 500;
    return s;
  }

  // The window is the same for every preset; a device without ImageHeight holds its rows in
  // Height less one.
  correction::Window PresetWindow(int) override {
    const bool image = m_device.Has("ImageWidth");
    return {static_cast<u32>(Int("OffsetX", 0)), static_cast<u32>(Int("OffsetY", 0)),
            static_cast<u32>(image ? Int("ImageWidth", 640) : Int("Width", 640)),
            static_cast<u32>(image ? Int("ImageHeight", 512) : Int("Height", 513) - 1)};
  }

  correction::Facts ReadFacts(int preset) override {
    return {Text("DeviceModelName"),
            Text("DeviceSerialNumber"),
            static_cast<u32>(Int("SensorWidth", 640)),
            static_cast<u32>(Int("SensorHeight", 512)),
            Bool("ReverseY", false),
            Bool("ReverseX", false),
            static_cast<u32>(Int(Preset(preset, "IntegrationWidth"), 0)),
            static_cast<u32>(Int(Preset(preset, "FrameWidth"), 0))};
  }

  bool WriteFile(const std::string& name, const std::vector<u8>& bytes) override {
    return m_device.Files().Write(PathOf(name), bytes) == kFileSuccess;
  }
  std::optional<std::vector<u8>> ReadFile(const std::string& name) override {
    return m_device.Files().Read(PathOf(name));
  }
  void RemoveFile(const std::string& name) override { m_device.Files().Remove(PathOf(name)); }

  void ShowStatus(u16 code, const std::string& text) override {
    Set("CorrectionStatus", code);
    if (m_device.Has("CorrectionStatusText")) m_device.SetString("CorrectionStatusText", text);
  }
  void ShowResult(u16 code, const std::string& text) override {
    Set("CorrectionResult", code);
    if (m_device.Has("CorrectionResultText")) m_device.SetString("CorrectionResultText", text);
  }
  void ShowCounts(int preset, const correction::Counts& c) override {
    const u32 values[] = {c.total,        c.factory,      c.newPixels,   c.twinkling,
                          c.aboveGainMax, c.belowGainMin, c.aboveADMax1, c.belowADMin1,
                          c.aboveADMax2,  c.belowADMin2};
    static_assert(std::size(values) == std::size(kCounts));
    for (std::size_t i = 0; i < std::size(kCounts); ++i)
      Set(kCounts[i] + Suffix(preset), values[i]);
  }
  void ShowAutoInProgress(bool running) override {
    if (m_device.Has("CorrectionAutoInProgress"))
      m_device.SetBool("CorrectionAutoInProgress", running);
  }

  // The preset text after a count's name: "PS0".."PS3", nothing on a device whose per-preset
  // features carry no prefix.
  std::string Suffix(int preset) const {
    return m_device.Has("PS0FrameWidth") ? "PS" + std::to_string(preset) : "";
  }
  std::string Preset(int preset, const char* name) const { return Suffix(preset) + name; }
  int Active() const { return static_cast<int>(Int("ActivePreset", 0)); }

  i64 Int(const std::string& name, i64 fallback) const {
    return m_device.Has(name) ? m_device.GetInt(name) : fallback;
  }
  bool Bool(const std::string& name, bool fallback) const {
    return m_device.Has(name) ? m_device.GetBool(name) : fallback;
  }

 private:
  double Real(const std::string& name, double fallback) const {
    return m_device.Has(name) ? m_device.GetFloat(name) : fallback;
  }
  std::string Text(const std::string& name) const {
    return m_device.Has(name) ? m_device.GetString(name) : std::string();
  }
  void Set(const std::string& name, i64 value) {
    if (m_device.Has(name)) m_device.SetInt(name, value);
  }
  // Names without a directory are in the correction directory.
  std::string PathOf(const std::string& name) const {
    if (name.find('/') != std::string::npos) return name;
    const std::string example = m_device.PathOf(2, "list");
    return example.substr(0, example.rfind('/') + 1) + name;
  }

  Device& m_device;
  correction::Model m_model;
};

// A refused request reaches the host as the exception a camera would raise.
void Raise(Refusal refusal) {
  switch (refusal) {
    case Refusal::kNone:
      return;
    case Refusal::kBusy:
      throw std::logic_error("a correction is running");
    case Refusal::kBadArgument:
      throw std::out_of_range("no such pixel or preset");
    case Refusal::kNotFound:
      throw std::runtime_error("no such bad-pixel list");
    case Refusal::kBadFile:
      throw std::runtime_error("the bad-pixel list is malformed");
    case Refusal::kFailed:
      break;
  }
  throw std::runtime_error("the bad-pixel list could not be written");
}

// Starting, steering and ending the correction, the bad-pixel picker, lists and factory list. The
// run moves on with the device's time whenever the host reads what it changes.
void InstallNucRun(Device& device) {
  auto correction = std::make_shared<DeviceCorrection>(device);
  auto on = [&device, correction](const char* command, auto action) {
    device.OnExecute(command, [correction, action](Device&, const std::string&) {
      Raise(action(*correction, correction->model()));
    });
  };
  using Model = correction::Model;
  using Side = DeviceCorrection;
  on("CorrectionStart", [](Side&, Model& m) { return m.Start(false); });
  on("CorrectionAutoPerform", [](Side&, Model& m) { return m.Start(true); });
  auto done = [](void (Model::*call)()) {
    return [call](Side&, Model& m) {
      (m.*call)();
      return Refusal::kNone;
    };
  };
  on("CorrectionContinue", done(&Model::Continue));
  on("CorrectionAbort", done(&Model::Abort));
  on("CorrectionAccept", done(&Model::Accept));
  on("CorrectionDiscard", done(&Model::Discard));
  on("BadPixelPickerPick", [](Side& s, Model& m) {
    return m.Pick(static_cast<u32>(s.Int("BadPixelPickerX", 0)),
                  static_cast<u32>(s.Int("BadPixelPickerY", 0)),
                  static_cast<int>(s.Int("BadPixelPickerPreset", 0)),
                  s.Bool("BadPixelPickerState", true));
  });
  auto listFile = [&device]() { return device.GetString("MfgBadPixelListFile"); };
  on("MfgBadPixelListSave", [listFile](Side& s, Model& m) {
    return m.SaveList(static_cast<int>(s.Int("MfgBadPixelListPreset", 0)), listFile());
  });
  on("MfgBadPixelListLoad", [listFile](Side& s, Model& m) {
    return m.LoadList(static_cast<int>(s.Int("MfgBadPixelListPreset", 0)), listFile());
  });
  using Factory = Refusal (Model::*)(int);
  auto factory = [](Factory action) {
    return [action](Side& s, Model& m) {
      return (m.*action)(static_cast<int>(s.Int("MfgFactoryBadPixelListPreset", 0)));
    };
  };
  on("MfgFactoryBadPixelListCreate", factory(&Model::FactoryCreate));
  on("MfgFactoryBadPixelListAppend", factory(&Model::FactoryAppend));
  on("MfgFactoryBadPixelListApply", factory(&Model::FactoryApply));

  auto update = [correction](Device&, const std::string&) { correction->model().Update(); };
  for (const char* name : {"CorrectionStatus", "CorrectionStatusText", "CorrectionResult",
                           "CorrectionResultText", "CorrectionAutoInProgress"}) {
    device.OnRead(name, update);
  }
  // Without preset texts the four presets' counts are the same features.
  const int presets = correction->Suffix(0).empty() ? 1 : 4;
  for (int p = 0; p < presets; ++p) {
    for (const char* count : kCounts)
      device.OnRead(count + correction->Suffix(p), update);
  }
}

bool Install(Device& device, const std::vector<std::string>& args) {
  if (args[0] != "nuc-run") return false;
  if (args.size() != 1) throw std::runtime_error("behaviour nuc-run takes no arguments");
  InstallNucRun(device);
  return true;
}

}  // namespace

extern const FamilyPart kNucPart{"nuc", kSection, &Install};

}  // namespace sim::genicam
