// Non-uniformity correction and bad pixels on the simulated camera: the settings, and the
// behaviour "nuc-run" that runs the correction (common/Correction.h) behind the command paths.
#include <iterator>
#include <memory>
#include <string>

#include "Families.h"
#include "common/Correction.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- Non-uniformity correction and bad pixels --------------------------------------------------
behaviour nuc-run
.system.settings.nuc.gigENUCed                      bool    true
.system.settings.nuc.cameraLinkNUCed                bool    true
.system.settings.video.nuced                        bool    true
.system.settings.nuc.badPixelCorrectionMethod       string  "Nearest Neighbor"
.system.settings.nuc.showBadPixels                  bool    false
.system.settings.nuc.type                           string  "Two Point"
.system.settings.nuc.source                         string  "External"
.system.settings.nuc.flagSetpointType               string  "Delta"
.system.settings.nuc.framesToAverage                u8      16                   limits=1,128
.system.settings.nuc.gainMin                        f32     0.5                  limits=0,4
.system.settings.nuc.gainMax                        f32     2.0                  limits=0,4
.system.settings.nuc.adMin                          u16     1000                 limits=0,16383
.system.settings.nuc.adMax                          u16     15000                limits=0,16383
.system.settings.nuc.detectBadPixels                bool    true
.system.settings.nuc.applyFactoryBPL                bool    true
.system.settings.nuc.detectTwinklers                bool    false
.system.settings.nuc.twinklerFramesToCollect        u32     256                  limits=16,4096
.system.settings.nuc.twinklerDelta                  u16     200                  limits=1,16383
.system.settings.nuc.flagSetpointDeltaLow           f32     -5.0                 limits=-20,0
.system.settings.nuc.flagSetpointDeltaHigh          f32     10.0                 limits=0,40
.system.settings.nuc.flagSetpointTempLow            f32     20.0                 limits=-10,60
.system.settings.nuc.flagSetpointTempHigh           f32     40.0                 limits=-10,80
.system.settings.nuc.flagMaxTemp                    f32     70.0                 limits=20,90
.system.settings.nuc.flagStableDelta                f32     0.1                  limits=0.01,5
.system.settings.nuc.flagStableCount                u8      5                    limits=1,100
.system.settings.nuc.flagTimeout                    u32     120                  limits=10,3600
.system.settings.nuc.p0.enabled                     bool    true
.system.settings.nuc.p{1..3}.enabled                bool    false
.system.settings.nuc.start                          bool    false
.system.settings.nuc.continue                       bool    false
.system.settings.nuc.abort                          bool    false
.system.settings.nuc.accept                         bool    false
.system.settings.nuc.p{0..3}.revert                 bool    false
.system.settings.nuc.statusCode                     u16     0                    ro
.system.settings.nuc.statusText                     string  "Idle"               ro
.system.settings.nuc.resultCode                     u16     0                    ro
.system.settings.nuc.resultText                     string  "No correction yet"  ro
.system.settings.nuc.p{0..3}.badPixels.total        u32     0                    ro
.system.settings.nuc.p{0..3}.badPixels.factory      u32     0                    ro
.system.settings.nuc.p{0..3}.badPixels.new          u32     0                    ro
.system.settings.nuc.p{0..3}.badPixels.user         u32     0                    ro
.system.settings.nuc.p{0..3}.badPixels.twinklers    u32     0                    ro
.system.settings.nuc.p{0..3}.badPixels.aboveGainMax u32     0                    ro
.system.settings.nuc.p{0..3}.badPixels.belowGainMin u32     0                    ro
.system.settings.nuc.p{0..3}.badPixels.aboveADMaxSrc1  u32  0                    ro
.system.settings.nuc.p{0..3}.badPixels.belowADMinSrc1  u32  0                    ro
.system.settings.nuc.p{0..3}.badPixels.aboveADMaxSrc2  u32  0                    ro
.system.settings.nuc.p{0..3}.badPixels.belowADMinSrc2  u32  0                    ro
.system.settings.nuc.auto.enabled                   bool    false
.system.settings.nuc.auto.useDeltaTemp              bool    true
.system.settings.nuc.auto.deltaTemp                 f32     2.0                  limits=0.1,20
.system.settings.nuc.auto.useDeltaTime              bool    false
.system.settings.nuc.auto.deltaTime                 u32     600                  limits=10,86400
.system.settings.nuc.auto.InProgress                bool    false                ro
.system.settings.nuc.doupdate                       bool    false
.system.settings.nuc.bpPicker.x                     u16     0                    limits=0,639
.system.settings.nuc.bpPicker.y                     u16     0                    limits=0,511
.system.settings.nuc.bpPicker.preset                i8      0                    limits=-1,3
.system.settings.nuc.bpPicker.bad                   bool    true
.system.settings.nuc.bpPicker.pick                  bool    false
.system.settings.nuc.p{0..3}.bplFile                string  ""
.system.settings.nuc.p{0..3}.saveBPL                bool    false
.system.settings.nuc.p{0..3}.loadBPL                bool    false
.system.settings.nuc.factoryBPL.preset              i32     0                    limits=-1,3
.system.settings.nuc.factoryBPL.create              bool    false
.system.settings.nuc.factoryBPL.append              bool    false
.system.settings.nuc.factoryBPL.apply               bool    false
)";

using namespace paramtree;
using correction::Refusal;
const std::string kNuc = ".system.settings.nuc.";

// The bad-pixel counts of a preset, under ".system.settings.nuc.pN.badPixels.".
constexpr const char* kCounts[] = {
    "total",          "factory",        "user",          "new",
    "twinklers",      "aboveGainMax",   "belowGainMin",  "aboveADMaxSrc1",
    "belowADMinSrc1", "aboveADMaxSrc2", "belowADMinSrc2"};

std::string PresetPath(int preset, const std::string& field) {
  return kNuc + "p" + std::to_string(preset) + "." + field;
}

// The correction as this camera holds it: settings and windows in the tree, files in the store.
class TreeCorrection final : public correction::Camera {
 public:
  explicit TreeCorrection(ptree::Camera& camera) : m_camera(camera), m_model(*this) {}
  correction::Model& model() { return m_model; }

  u64 NowMs() override { return m_camera.NowMs(); }

  correction::Settings ReadSettings() override {
    correction::Settings s;
    const std::string type = m_camera.Text(kNuc + "type");
    s.type = type == "One Point"       ? correction::Type::kOnePoint
             : type == "Update Offset" ? correction::Type::kUpdateOffset
                                       : correction::Type::kTwoPoint;
    s.source = m_camera.Text(kNuc + "source") == "Internal" ? correction::Source::kInternal
                                                            : correction::Source::kExternal;
    s.frames = Count("framesToAverage", s.frames);
    s.gainMin = Real(kNuc + "gainMin", s.gainMin);
    s.gainMax = Real(kNuc + "gainMax", s.gainMax);
    s.adMin = Count("adMin", s.adMin);
    s.adMax = Count("adMax", s.adMax);
    s.detectBadPixels = Count("detectBadPixels", s.detectBadPixels) != 0;
    s.detectTwinklers = Count("detectTwinklers", s.detectTwinklers) != 0;
    s.twinklerFrames = Count("twinklerFramesToCollect", s.twinklerFrames);
    s.twinklerDelta = Count("twinklerDelta", s.twinklerDelta);
    s.useFactoryBadPixels = Count("applyFactoryBPL", s.useFactoryBadPixels) != 0;
    for (int p = 0; p < 4; ++p)
      s.presets[p] = m_camera.Integer(PresetPath(p, "enabled"), 0) != 0;
    const std::string active = std::to_string(m_camera.Integer(".system.settings.activePreset", 0));
    const double frameWidth = Real(".system.settings.p" + active + ".frameWidth", 416667);
    const double clock = Real(".system.info.fpa.clockFrequency", 25e6);
    if (frameWidth > 0 && clock > 0) s.framePeriodMs = frameWidth * 1000.0 / clock;
    s.flagSettleMs = Count("flagStableCount", 5) * 500;
    return s;
  }

  correction::Window PresetWindow(int preset) override {
    const std::string base = ".system.settings.p" + std::to_string(preset) + ".window.";
    return {static_cast<u32>(m_camera.Integer(base + "xOffset")),
            static_cast<u32>(m_camera.Integer(base + "yOffset")),
            static_cast<u32>(m_camera.Integer(base + "width")),
            static_cast<u32>(m_camera.Integer(base + "height"))};
  }

  correction::Facts ReadFacts(int preset) override {
    const std::string p = ".system.settings.p" + std::to_string(preset) + ".";
    const std::string limits = ".system.info.fpa.windowLimits.";
    return {m_camera.Text(".version.product.name"),
            m_camera.Text(".version.product.serial"),
            static_cast<u32>(m_camera.Integer(limits + "maxWidth", 640)),
            static_cast<u32>(m_camera.Integer(limits + "maxHeight", 512)),
            m_camera.Integer(".system.settings.fpa.invert") != 0,
            m_camera.Integer(".system.settings.fpa.revert") != 0,
            static_cast<u32>(m_camera.Integer(p + "integrationWidth")),
            static_cast<u32>(m_camera.Integer(p + "frameWidth"))};
  }

  // Like a camera's, the file system writes files into directories that are there.
  bool WriteFile(const std::string& name, const std::vector<u8>& bytes) override {
    const std::string path = PathOf(name);
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !m_camera.Files().IsDir(path.substr(0, slash)))
      return false;
    return m_camera.Files().Put(path, bytes) == kOk;
  }
  std::optional<std::vector<u8>> ReadFile(const std::string& name) override {
    return m_camera.Files().Data(PathOf(name));
  }
  void RemoveFile(const std::string& name) override { m_camera.Files().DeleteFile(PathOf(name)); }

  void ShowStatus(u16 code, const std::string& text) override {
    m_camera.Update(kNuc + "statusCode", Value::U16(code));
    m_camera.Update(kNuc + "statusText", Value::Str(text));
  }
  void ShowResult(u16 code, const std::string& text) override {
    m_camera.Update(kNuc + "resultCode", Value::U16(code));
    m_camera.Update(kNuc + "resultText", Value::Str(text));
  }
  void ShowCounts(int preset, const correction::Counts& c) override {
    const u32 values[] = {c.total,       c.factory,      c.factory,      c.newPixels,
                          c.twinkling,   c.aboveGainMax, c.belowGainMin, c.aboveADMax1,
                          c.belowADMin1, c.aboveADMax2,  c.belowADMin2};
    static_assert(std::size(values) == std::size(kCounts));
    for (std::size_t i = 0; i < std::size(kCounts); ++i) {
      m_camera.Update(PresetPath(preset, std::string("badPixels.") + kCounts[i]),
                      Value::U32(values[i]));
    }
  }
  void ShowAutoInProgress(bool running) override {
    m_camera.Update(kNuc + "auto.InProgress", Value::Bool(running));
  }

 private:
  u32 Count(const char* field, u32 fallback) {
    return static_cast<u32>(m_camera.Integer(kNuc + field, fallback));
  }
  float Real(const std::string& path, double fallback) {
    const std::optional<Value> value = m_camera.Get(path);
    if (!value) return static_cast<float>(fallback);
    if (IsFloating(value->type)) return static_cast<float>(value->real);
    if (IsInteger(value->type)) return static_cast<float>(value->integer);
    return static_cast<float>(fallback);
  }
  // Names without a directory are in the correction directory.
  std::string PathOf(const std::string& name) const {
    if (name.find('/') != std::string::npos) return name;
    return m_camera.Text(kNuc + "directory") + "/" + name;
  }

  ptree::Camera& m_camera;
  correction::Model m_model;
};

u32 CodeOf(Refusal refusal) {
  switch (refusal) {
    case Refusal::kNone:
      return kOk;
    case Refusal::kBusy:
      return kNotSupported;
    case Refusal::kBadArgument:
      return kInvalidArgument;
    case Refusal::kNotFound:
      return kNotFound;
    case Refusal::kBadFile:
      return kUnexpectedValue;
    case Refusal::kFailed:
      break;
  }
  return kFailed;
}

// A command path: writing true runs `action`, and the path reads false again.
template <typename Action>
void OnCommand(Camera& camera, const std::string& path, Action action) {
  camera.OnWrite(path, [action](Camera& c, const std::string& at, const Value& value) -> u32 {
    if (!value.integer) return kOk;
    c.Update(at, Value::Bool(false));
    return CodeOf(action(c));
  });
}

// Starting, steering and ending the correction, the bad-pixel picker, lists and factory list. The
// run moves on with the camera's time whenever the host reads what it changes.
void InstallNucRun(Camera& camera) {
  auto correction = std::make_shared<TreeCorrection>(camera);
  auto model = [correction]() -> correction::Model& { return correction->model(); };
  auto done = [](auto call) {
    return [call](Camera&) {
      call();
      return Refusal::kNone;
    };
  };
  OnCommand(camera, kNuc + "start", [model](Camera&) { return model().Start(false); });
  OnCommand(camera, kNuc + "doupdate", [model](Camera&) { return model().Start(true); });
  OnCommand(camera, kNuc + "continue", done([model] { model().Continue(); }));
  OnCommand(camera, kNuc + "abort", done([model] { model().Abort(); }));
  OnCommand(camera, kNuc + "accept", done([model] { model().Accept(); }));
  OnCommand(camera, kNuc + "bpPicker.pick", [model](Camera& c) {
    const std::string picker = kNuc + "bpPicker.";
    return model().Pick(
        static_cast<u32>(c.Integer(picker + "x")), static_cast<u32>(c.Integer(picker + "y")),
        static_cast<int>(c.Integer(picker + "preset")), c.Integer(picker + "bad") != 0);
  });
  for (int p = 0; p < 4; ++p) {
    OnCommand(camera, PresetPath(p, "revert"), done([model, p] { model().Revert(p); }));
    OnCommand(camera, PresetPath(p, "saveBPL"), [model, p](Camera& c) {
      return model().SaveList(p, c.Text(PresetPath(p, "bplFile")));
    });
    OnCommand(camera, PresetPath(p, "loadBPL"), [model, p](Camera& c) {
      return model().LoadList(p, c.Text(PresetPath(p, "bplFile")));
    });
  }
  using Factory = Refusal (correction::Model::*)(int);
  const std::pair<const char*, Factory> factory[] = {
      {"create", &correction::Model::FactoryCreate},
      {"append", &correction::Model::FactoryAppend},
      {"apply", &correction::Model::FactoryApply},
  };
  for (const auto& entry : factory) {
    const Factory action = entry.second;
    OnCommand(camera, kNuc + "factoryBPL." + entry.first, [model, action](Camera& c) {
      return (model().*action)(static_cast<int>(c.Integer(kNuc + "factoryBPL.preset")));
    });
  }

  auto update = [model](Camera&, const std::string&) -> u32 {
    model().Update();
    return kOk;
  };
  for (const char* path :
       {"statusCode", "statusText", "resultCode", "resultText", "auto.InProgress"})
    camera.OnRead(kNuc + path, update);
  for (int p = 0; p < 4; ++p) {
    for (const char* count : kCounts)
      camera.OnRead(PresetPath(p, std::string("badPixels.") + count), update);
  }
}

constexpr Behaviour kBehaviours[] = {{"nuc-run", &InstallNucRun}};

}  // namespace

extern const FamilyPart kNucPart{"nuc", kSection, kBehaviours};

}  // namespace sim::ptree
