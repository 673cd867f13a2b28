// Stored configurations: states, correction files, lens states, palettes, calibrations on the
// simulated camera. The camera really stores them: a state is a snapshot of its writable settings
// in a file of the state directory, a lens state the same for the lens settings, a correction
// file is written in the camera's own format, and loading puts back what was stored.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "CameraState.h"
#include "Families.h"
#include "common/Stored.h"

namespace sim::ptree {

namespace {

using namespace paramtree;
using stored::Bytes;
using stored::Setting;

constexpr const char* kSection = R"(
# --- Stored configurations: states, correction files, lens states, palettes, calibrations ---
behaviour stored-configurations
.system.configurations.load.file                    string  ""
.system.configurations.load.commit                  bool    false
.system.configurations.store.file                   string  ""
.system.configurations.store.commit                 bool    false
.system.configurations.factory.load.commit          bool    false
.system.configurations.factory.load.resultOk        bool    true                 ro
.system.configurations.factory.store.commit         bool    false
.system.configurations.factory.store.resultOk       bool    true                 ro
.system.configurations.defaults.commit              bool    false
.system.settings.configurations.store.path          string  "/FlashFS/states"
.system.info.driveFreeSpace                         u32     0                    ro
.system.settings.nuc.driveFreeSpace                 u32     0                    ro
.system.settings.p{0..3}.nuc.name                   string  ""                   ro
.system.settings.p{0..3}.nuc.loadname               string  ""
.system.settings.p{0..3}.nuc.load                   bool    false
.system.settings.p{0..3}.nuc.unload                 bool    false
.system.settings.nuc.p{0..3}.name                   string  ""
.system.settings.nuc.p{0..3}.save                   bool    false
.system.settings.nuc.query.file                     string  ""
.system.settings.nuc.query.read                     bool    false
.system.settings.nuc.query.readOk                   bool    false                ro
.system.settings.nuc.query.cameraModel              string  ""                   ro
.system.settings.nuc.query.cameraSerial             string  ""                   ro
.system.settings.nuc.query.window.xOffset           u16     0                    ro
.system.settings.nuc.query.window.yOffset           u16     0                    ro
.system.settings.nuc.query.window.width             u16     0                    ro
.system.settings.nuc.query.window.height            u16     0                    ro
.system.settings.nuc.query.invert                   bool    false                ro
.system.settings.nuc.query.revert                   bool    false                ro
.system.settings.nuc.query.readoutMode              string  "Integration"        ro
.system.settings.nuc.query.integrationWidth         u32     0                    ro
.system.settings.nuc.query.frameWidth               u32     0                    ro
.system.settings.nuc.query.filter                   u8      0                    ro
.system.settings.nuc.query.detectorBias             f32     0.0                  ro
.system.settings.nuc.query.fpaGainLevel             u8      0                    ro
.system.settings.nuc.query.digitalOffset            f32     0.0                  ro
.system.settings.nuc.query.digitalGain              f32     0.0                  ro
.system.settings.nuc.query.analogOffset             f32     0.0                  ro
.system.settings.nuc.query.nuc.type                 string  "Two Point"          ro
.system.settings.nuc.query.nuc.source               string  "Internal"           ro
.system.settings.nuc.query.nuc.framesToAverage      u32     0                    ro
.system.settings.nuc.query.nuc.detectBadPixels      bool    false                ro
.system.settings.nuc.query.nuc.detectTwinklers      bool    false                ro
.system.settings.nuc.query.nuc.twinklerFramesToCollect u32  0                    ro
.system.settings.nuc.query.nuc.twinklerDelta        u16     0                    ro
.system.settings.nuc.query.nuc.adMin                u16     0                    ro
.system.settings.nuc.query.nuc.adMax                u16     0                    ro
.system.settings.nuc.query.nuc.gainMin              f32     0.0                  ro
.system.settings.nuc.query.nuc.gainMax              f32     0.0                  ro
.system.settings.nuc.query.badPixels.total          u32     0                    ro
.system.settings.nuc.query.badPixels.twinklers      u32     0                    ro
.system.settings.nuc.query.badPixels.aboveGainMax   u32     0                    ro
.system.settings.nuc.query.badPixels.belowGainMin   u32     0                    ro
.system.settings.nuc.query.badPixels.aboveADMaxSrc1 u32     0                    ro
.system.settings.nuc.query.badPixels.belowADMinSrc1 u32     0                    ro
.system.settings.nuc.query.badPixels.aboveADMaxSrc2 u32     0                    ro
.system.settings.nuc.query.badPixels.belowADMinSrc2 u32     0                    ro
.system.settings.nuc.query.badPixels.factory        u32     0                    ro
.system.settings.nuc.query.badPixels.new            u32     0                    ro
.system.settings.nuc.query.badPixels.user           u32     0                    ro
.system.settings.nuc.query.skimmingEnabled          bool    false                ro
.system.settings.nuc.query.skimmingVoltage          f32     0.0                  ro
.system.settings.nuc.query.color                    u8      0                    ro
.system.settings.nuc.query.detectorBiasCount        u8      1                    ro
.system.settings.nuc.query.detectorBias1            f32     0.0                  ro
.system.lens.stateName                              string  "25mm.lens"          ro
.system.lens.stateLoadName                          string  ""
.system.lens.stateLoad                              bool    false
.system.lens.stateSaveName                          string  ""
.system.lens.stateSave                              bool    false
.system.lens.stateModified                          bool    false                ro
.system.palette.name                                string  "iron.pal"
.system.palette.commit                              bool    false
.system.settings.p{0..3}.cal.tag                    string  ""                   ro
.system.settings.p{0..3}.cal.loadtag                string  ""
.system.settings.p{0..3}.cal.load                   bool    false
.system.settings.p{0..3}.cal.unload                 bool    false
.system.calib.isFactoryCalibrated                   bool    true                 ro
.system.calib.directory                             string  "/FlashFS/calib"
.system.calib.cals.cal0.name                        string  "MWIR 25mm -20..150 C" ro
.system.calib.cals.cal0.lens                        string  "25mm f/2.3"         ro
.system.calib.cals.cal0.lensFilter                  string  "none"               ro
.system.calib.cals.cal0.filterID                    u8      0                    ro
.system.calib.cals.cal0.minTemp                     f64     -20.0                ro
.system.calib.cals.cal0.maxTemp                     f64     150.0                ro
.system.calib.cals.cal0.minRad                      f64     0.0000125            ro
.system.calib.cals.cal0.maxRad                      f64     0.0025               ro
.system.calib.cals.cal0.minCounts                   u16     1200                 ro
.system.calib.cals.cal0.maxCounts                   u16     14500                ro
.system.calib.cals.cal0.lutSize                     u32     16                   ro
.system.calib.cals.cal0.lutFile                     string  "cal0"               ro
.system.calib.cals.cal0.nucFile                     string  "office.nuc"         ro
.system.calib.cals.cal0.order                       i32     2                    ro
.system.calib.cals.cal0.C{0..6}                     f64     0.{}5                ro
.system.calib.cals.cal0.bgValue                     f64     21.5                 ro
.system.calib.cals.cal0.bandpassLow                 f64     3.0                  ro
.system.calib.cals.cal0.bandpassHigh                f64     5.0                  ro
.system.calib.cals.cal0.tempOrder                   i32     1                    ro
.system.calib.cals.cal0.tempC{0..6}                 f64     1.{}25               ro
.system.calib.cals.cal0.r                           f64     14000.5              ro
.system.calib.cals.cal0.b                           f64     1428.0               ro
.system.calib.cals.cal0.f                           f64     1.0                  ro
.system.calib.cals.cal0.atmX                        f64     1.9                  ro
.system.calib.cals.cal0.atmAlpha1                   f64     0.0066               ro
.system.calib.cals.cal0.atmAlpha2                   f64     0.0126               ro
.system.calib.cals.cal0.atmBeta1                    f64     -0.0023              ro
.system.calib.cals.cal0.atmBeta2                    f64     -0.0067              ro
.system.calib.cals.cal1.name                        string  "MWIR 25mm 100..500 C ND" ro
.system.calib.cals.cal1.lens                        string  "25mm f/2.3"         ro
.system.calib.cals.cal1.lensFilter                  string  "ND 1.0"             ro
.system.calib.cals.cal1.filterID                    u8      2                    ro
.system.calib.cals.cal1.minTemp                     f64     100.0                ro
.system.calib.cals.cal1.maxTemp                     f64     500.0                ro
.system.calib.cals.cal1.minRad                      f64     0.00035              ro
.system.calib.cals.cal1.maxRad                      f64     0.041                ro
.system.calib.cals.cal1.minCounts                   u16     2000                 ro
.system.calib.cals.cal1.maxCounts                   u16     15800                ro
.system.calib.cals.cal1.lutSize                     u32     8                    ro
.system.calib.cals.cal1.lutFile                     string  "cal1.LUT"           ro
.system.calib.cals.cal1.nucFile                     string  "lab.v2.nuc"         ro
.system.calib.cals.cal1.order                       i32     3                    ro
.system.calib.cals.cal1.C{0..6}                     f64     -0.{}75              ro
.system.calib.cals.cal1.bgValue                     f64     0.0                  ro
.system.calib.cals.cal1.bandpassLow                 f64     3.5                  ro
.system.calib.cals.cal1.bandpassHigh                f64     4.9                  ro
.system.calib.cals.cal1.tempOrder                   i32     2                    ro
.system.calib.cals.cal1.tempC{0..6}                 f64     2.{}5                ro
.system.calib.cals.cal1.r                           f64     15500.0              ro
.system.calib.cals.cal1.b                           f64     1390.25              ro
.system.calib.cals.cal1.f                           f64     1.25                 ro
dir /FlashFS/calib
)";

// --- Settings snapshots --------------------------------------------------------------------------

std::string ChildPath(const std::string& parent, const std::string& name) {
  return parent == "." ? "." + name : parent + "." + name;
}

bool StartsWith(const std::string& text, std::string_view start) {
  return text.compare(0, start.size(), start) == 0;
}

// What a state holds: every writable setting but the storage machinery itself (the names and
// commands of the stored kinds, the places they live, the calibrations, query results).
bool InState(const std::string& path) {
  static constexpr std::string_view kElsewhere[] = {
      ".system.configurations.",     ".system.settings.configurations.",
      ".system.settings.nuc.query.", ".system.settings.nuc.directory",
      ".system.lens.state",          ".system.calib.",
      ".system.palette.directory"};
  for (std::string_view prefix : kElsewhere) {
    if (StartsWith(path, prefix)) return false;
  }
  return true;
}

// What a lens state holds: the lens's writable settings.
bool InLensState(const std::string& path) {
  return StartsWith(path, ".system.lens.") && !StartsWith(path, ".system.lens.state");
}

// The writable values below `root` that `keep` takes, in the tree's order.
void Collect(const Camera& camera, const std::string& root, bool (*keep)(const std::string&),
             std::vector<Setting>* settings) {
  for (const std::string& child : camera.Children(root)) {
    const std::string path = ChildPath(root, child);
    const std::optional<Value> value = camera.Get(path);
    if (value && value->type != Type::None && !camera.IsReadOnly(path) && keep(path)) {
      settings->push_back({path, TypeName(value->type), ToText(*value)});
    }
    Collect(camera, path, keep, settings);
  }
}

std::vector<Setting> StateSettings(const Camera& camera) {
  std::vector<Setting> settings;
  Collect(camera, ".", &InState, &settings);
  return settings;
}

std::vector<Setting> LensSettings(const Camera& camera) {
  std::vector<Setting> settings;
  Collect(camera, ".system.lens", &InLensState, &settings);
  return settings;
}

// Runs what a host's write of true to a commit path would run, so that settings held back until
// committed (a preset's window, say) take effect.
void Commit(Camera& camera, const std::string& path) {
  std::vector<Camera::WriteHook> hooks;
  {
    std::lock_guard<std::recursive_mutex> hold(camera.state().mutex);
    auto found = camera.state().writeHooks.find(path);
    if (found == camera.state().writeHooks.end()) return;
    hooks = found->second;
  }
  for (Camera::WriteHook& hook : hooks) {
    if (hook(camera, path, Value::Bool(true)) != kOk) break;
  }
}

// Puts stored settings back, then commits them; a setting the camera no longer has is passed
// over.
void Restore(Camera& camera, const std::vector<Setting>& settings) {
  std::vector<std::string> commits;
  for (const Setting& setting : settings) {
    if (setting.name.ends_with(".commit")) commits.push_back(setting.name);
    Type type = Type::None;
    if (!TypeFromName(setting.kind, &type)) continue;
    Value value = Value::Str(setting.value);
    if (type == Type::Bool) {
      value = Value::Bool(setting.value == "true");
    } else if (IsInteger(type)) {
      value = Value::OfInteger(type, std::strtoll(setting.value.c_str(), nullptr, 10));
    } else if (IsFloating(type)) {
      value = Value::OfReal(type, std::strtod(setting.value.c_str(), nullptr));
    }
    camera.Update(setting.name, value);
  }
  for (const std::string& path : commits)
    Commit(camera, path);
}

// A file written by the camera itself: the free space and the parent directory count.
u32 Store(Camera& camera, const std::string& path, Bytes data) {
  return camera.Files().StoreUpload(path, std::move(data));
}

// 160 for a missing file, 165 for one that holds no settings.
u32 LoadSettings(Camera& camera, const std::string& path) {
  const std::optional<Bytes> data = camera.Files().Data(path);
  if (!data) return kNotFound;
  const std::optional<std::vector<Setting>> settings = stored::ReadSnapshot(*data);
  if (!settings) return kFailed;
  Restore(camera, *settings);
  return kOk;
}

// --- Behaviour ---------------------------------------------------------------------------------

// What the camera keeps beside its tree: the settings its profile gave it (the hard defaults),
// the correction each preset holds, the palette shown.
struct Memory {
  std::vector<Setting> hardDefaults;
  std::array<std::optional<Bytes>, 4> corrections;
  std::string palette;
};

std::string Preset(const char* path, int preset) {
  std::string text = path;
  const std::size_t at = text.find(".pN.");
  if (at != std::string::npos) text[at + 2] = static_cast<char>('0' + preset);
  return text;
}

// A command path: true runs `act` (its result is the write's), and the path reads back false.
void OnCommand(Camera& camera, const std::string& path, std::function<u32(Camera&)> act) {
  camera.OnWrite(path, [act](Camera& c, const std::string& written, const Value& value) -> u32 {
    if (!value.integer) return kOk;
    c.Update(written, Value::Bool(false));
    return act(c);
  });
}

void SetText(Camera& camera, const std::string& path, const std::string& text) {
  camera.Update(path, Value::Str(text));
}

std::string StatePath(const Camera& camera, const std::string& name) {
  return stored::Join(camera.Text(".system.configurations.store.path"),
                      stored::WithExtension(name, ".rsc"));
}

std::string FactoryPath(const Camera& camera) {
  return stored::Join(camera.Text(".system.configurations.factory.load.path"),
                      camera.Text(".system.configurations.factory.load.file"));
}

// The loaded or saved state becomes the camera's current (power-up) state.
void MakeCurrent(Camera& camera, const std::string& directory, const std::string& file) {
  SetText(camera, ".system.configurations.powerup.path", directory);
  SetText(camera, ".system.configurations.powerup.file", file);
}

void InstallStates(Camera& camera, const std::shared_ptr<Memory>& memory) {
  const std::string config = ".system.configurations.";
  OnCommand(camera, config + "store.commit", [](Camera& c) {
    const std::string file =
        stored::WithExtension(c.Text(".system.configurations.store.file"), ".rsc");
    const u32 result = Store(c, StatePath(c, file), stored::WriteSnapshot(StateSettings(c)));
    if (result == kOk) MakeCurrent(c, c.Text(".system.configurations.store.path"), file);
    return result;
  });
  OnCommand(camera, config + "load.commit", [](Camera& c) {
    const std::string file =
        stored::WithExtension(c.Text(".system.configurations.load.file"), ".rsc");
    const u32 result = LoadSettings(c, StatePath(c, file));
    if (result == kOk) MakeCurrent(c, c.Text(".system.configurations.store.path"), file);
    return result;
  });
  // Factory defaults report through their result flag; the command itself is always taken.
  OnCommand(camera, config + "factory.load.commit", [](Camera& c) {
    const bool done = LoadSettings(c, FactoryPath(c)) == kOk;
    c.Update(".system.configurations.factory.load.resultOk", Value::Bool(done));
    if (done) {
      MakeCurrent(c, c.Text(".system.configurations.factory.load.path"),
                  c.Text(".system.configurations.factory.load.file"));
    }
    return kOk;
  });
  OnCommand(camera, config + "factory.store.commit", [](Camera& c) {
    const bool done = Store(c, FactoryPath(c), stored::WriteSnapshot(StateSettings(c))) == kOk;
    c.Update(".system.configurations.factory.store.resultOk", Value::Bool(done));
    if (done) {
      MakeCurrent(c, c.Text(".system.configurations.factory.load.path"),
                  c.Text(".system.configurations.factory.load.file"));
    }
    return kOk;
  });
  OnCommand(camera, config + "defaults.commit", [memory](Camera& c) {
    Restore(c, memory->hardDefaults);
    return kOk;
  });
}

std::string LensStatePath(const Camera& camera, const std::string& name) {
  return stored::Join(camera.Text(".system.lens.stateDir"), stored::WithExtension(name, ".lens"));
}

void InstallLensStates(Camera& camera) {
  OnCommand(camera, ".system.lens.stateSave", [](Camera& c) {
    const std::string file = stored::WithExtension(c.Text(".system.lens.stateSaveName"), ".lens");
    const u32 result = Store(c, LensStatePath(c, file), stored::WriteSnapshot(LensSettings(c)));
    if (result == kOk) {
      SetText(c, ".system.lens.stateName", file);
      c.Update(".system.lens.stateModified", Value::Bool(false));
    }
    return result;
  });
  OnCommand(camera, ".system.lens.stateLoad", [](Camera& c) {
    const std::string file = stored::WithExtension(c.Text(".system.lens.stateLoadName"), ".lens");
    const u32 result = LoadSettings(c, LensStatePath(c, file));
    if (result == kOk) {
      SetText(c, ".system.lens.stateName", file);
      c.Update(".system.lens.stateModified", Value::Bool(false));
    }
    return result;
  });
  // Any change of a lens setting leaves the lens state behind.
  for (const Setting& setting : LensSettings(camera)) {
    camera.OnWrite(setting.name, [](Camera& c, const std::string&, const Value&) -> u32 {
      c.Update(".system.lens.stateModified", Value::Bool(true));
      return kOk;
    });
  }
}

void InstallPalettes(Camera& camera, const std::shared_ptr<Memory>& memory) {
  OnCommand(camera, ".system.palette.commit", [memory](Camera& c) -> u32 {
    const std::string name = c.Text(".system.palette.name");
    const std::string directory = c.Has(".system.palette.directory")
                                      ? c.Text(".system.palette.directory")
                                      : std::string("/FlashFS/system/palettes");
    if (!c.Files().IsFile(stored::Join(directory, name))) {
      SetText(c, ".system.palette.name", memory->palette);  // the shown palette stays
      return kNotFound;
    }
    memory->palette = name;
    return kOk;
  });
}

// --- Correction files ----------------------------------------------------------------------------

std::string CorrectionPath(const Camera& camera, const std::string& name) {
  return stored::Join(camera.Text(".system.settings.nuc.directory"),
                      stored::WithExtension(name, ".nuc"));
}

// A value as the camera writes it into a header: floats with six decimals.
std::string HeaderText(const Camera& camera, const std::string& path) {
  const std::optional<Value> value = camera.Get(path);
  if (!value || !IsFloating(value->type)) return camera.Text(path);
  char text[64];
  std::snprintf(text, sizeof text, "%f", value->real);
  return text;
}

// A correction of the preset's present settings, for a preset that holds none loaded.
Bytes CorrectionOfSettings(const Camera& camera, int preset) {
  static constexpr std::pair<const char*, const char*> kSources[] = {
      {"cameraType", ".version.product.name"},
      {"cameraSerial", ".version.product.serial"},
      {"windowOffsetX", ".system.settings.pN.window.xOffset"},
      {"windowOffsetY", ".system.settings.pN.window.yOffset"},
      {"windowWidth", ".system.settings.pN.window.width"},
      {"windowHeight", ".system.settings.pN.window.height"},
      {"maxWidth", ".system.info.fpa.windowLimits.maxWidth"},
      {"maxHeight", ".system.info.fpa.windowLimits.maxHeight"},
      {"invert", ".system.settings.fpa.invert"},
      {"revert", ".system.settings.fpa.revert"},
      {"integrationWidth", ".system.settings.pN.integrationWidth"},
      {"frameWidth", ".system.settings.pN.frameWidth"},
      {"fpaBiasCount", ".system.bias.count"},
      {"fpaBias", ".system.bias.detector"},
      {"fpaBias1", ".system.bias.detector1"},
      {"fpaGainLevel", ".system.settings.fpa.gainLevel"},
      {"digitalOffset", ".system.settings.pN.digitalOffset"},
      {"digitalGain", ".system.settings.pN.digitalGain"},
      {"globalOffsetVoltage", ".system.offset.global"},
      {"skimmingEnabled", ".system.settings.fpa.skimmingEnabled"},
      {"skimmingVoltage", ".system.settings.fpa.skimmingVoltage"},
  };
  std::map<std::string, std::string> values;
  for (const auto& [key, path] : kSources) {
    const std::string at = Preset(path, preset);
    if (camera.Has(at)) values[key] = HeaderText(camera, at);
  }
  values["readoutMode"] = camera.Text(".system.settings.sync.start") == "Readout" ? "1" : "0";
  return stored::WriteCorrectionFile(values);
}

// The query's results, each from its header key; texts the camera reports for coded values.
struct QueryResult {
  const char* path;
  const char* key;
  std::string (*text)(long code) = nullptr;
};
constexpr QueryResult kQueryResults[] = {
    {"cameraModel", "cameratype"},
    {"cameraSerial", "cameraserial"},
    {"window.xOffset", "windowoffsetx"},
    {"window.yOffset", "windowoffsety"},
    {"window.width", "windowwidth"},
    {"window.height", "windowheight"},
    {"invert", "invert"},
    {"revert", "revert"},
    {"readoutMode", "readoutmode", &stored::ReadoutModeText},
    {"integrationWidth", "integrationwidth"},
    {"frameWidth", "framewidth"},
    {"filter", "filterid"},
    {"detectorBias", "fpabias"},
    {"fpaGainLevel", "fpagainlevel"},
    {"digitalOffset", "digitaloffset"},
    {"digitalGain", "digitalgain"},
    {"analogOffset", "globaloffsetvoltage"},
    {"nuc.type", "nuctype", &stored::NUCTypeText},
    {"nuc.source", "nucsource", &stored::NUCSourceText},
    {"nuc.framesToAverage", "nucnumframes"},
    {"nuc.detectBadPixels", "nucdetectbadpixels"},
    {"nuc.detectTwinklers", "nucdetecttwinklers"},
    {"nuc.twinklerFramesToCollect", "nuctwinklernumframes"},
    {"nuc.twinklerDelta", "nuctwinklerdelta"},
    {"nuc.adMin", "nucadmin"},
    {"nuc.adMax", "nucadmax"},
    {"nuc.gainMin", "nucgainmin"},
    {"nuc.gainMax", "nucgainmax"},
    {"badPixels.total", "bptotal"},
    {"badPixels.twinklers", "bptwinkling"},
    {"badPixels.aboveGainMax", "bpabovegainmax"},
    {"badPixels.belowGainMin", "bpbelowgainmin"},
    {"badPixels.aboveADMaxSrc1", "bpaboveadmaxsrc1"},
    {"badPixels.belowADMinSrc1", "bpbelowadminsrc1"},
    {"badPixels.aboveADMaxSrc2", "bpaboveadmaxsrc2"},
    {"badPixels.belowADMinSrc2", "bpbelowadminsrc2"},
    {"badPixels.factory", "bpfactory"},
    {"badPixels.new", "bpnew"},
    {"badPixels.user", "bpuser"},
    {"skimmingEnabled", "skimmingenabled"},
    {"skimmingVoltage", "skimmingvoltage"},
    {"color", "color"},
    {"detectorBiasCount", "fpabiascount"},
    {"detectorBias1", "fpabias1"},
};

// A header value into a result path of whatever type the path holds (integers narrowed as the
// camera's fields narrow them).
void PutResult(Camera& camera, const std::string& path, const std::string& text) {
  const std::optional<Value> now = camera.Get(path);
  if (!now) return;
  if (now->type == Type::Bool) {
    camera.Update(path, Value::Bool(stored::ParseBool(text)));
  } else if (IsInteger(now->type)) {
    camera.Update(path, Value::OfInteger(now->type, std::strtoll(text.c_str(), nullptr, 10)));
  } else if (IsFloating(now->type)) {
    camera.Update(path, Value::OfReal(now->type, std::strtod(text.c_str(), nullptr)));
  } else {
    camera.Update(path, Value::Str(text));
  }
}

// Reads the header of the file named at ".query.file" into the query's results.
u32 Query(Camera& camera) {
  const std::string base = ".system.settings.nuc.query.";
  const std::optional<Bytes> file =
      camera.Files().Data(CorrectionPath(camera, camera.Text(base + "file")));
  std::optional<stored::Header> header;
  if (file) header = stored::ReadCorrectionHeader(*file);
  camera.Update(base + "readOk", Value::Bool(header.has_value()));
  if (!header) return kOk;
  const stored::Header values = stored::CompleteHeader(*header);
  for (const QueryResult& result : kQueryResults) {
    const std::string& text = values.at(result.key);
    PutResult(camera, base + result.path,
              result.text ? result.text(std::strtol(text.c_str(), nullptr, 10)) : text);
  }
  return kOk;
}

void InstallCorrections(Camera& camera, const std::shared_ptr<Memory>& memory) {
  for (int p = 0; p < 4; ++p) {
    OnCommand(camera, Preset(".system.settings.pN.nuc.load", p), [memory, p](Camera& c) -> u32 {
      const std::string path =
          CorrectionPath(c, c.Text(Preset(".system.settings.pN.nuc.loadname", p)));
      std::optional<Bytes> file = c.Files().Data(path);
      if (!file) return kNotFound;
      if (!stored::ReadCorrectionHeader(*file)) return kFailed;
      memory->corrections[p] = std::move(file);
      SetText(c, Preset(".system.settings.pN.nuc.name", p), path);
      return kOk;
    });
    OnCommand(camera, Preset(".system.settings.pN.nuc.unload", p), [memory, p](Camera& c) {
      memory->corrections[p].reset();
      SetText(c, Preset(".system.settings.pN.nuc.name", p), "");
      return kOk;
    });
    OnCommand(camera, Preset(".system.settings.nuc.pN.save", p), [memory, p](Camera& c) -> u32 {
      const std::string path = CorrectionPath(c, c.Text(Preset(".system.settings.nuc.pN.name", p)));
      Bytes file = memory->corrections[p] ? *memory->corrections[p] : CorrectionOfSettings(c, p);
      const u32 result = Store(c, path, file);
      if (result != kOk) return result;
      memory->corrections[p] = std::move(file);
      SetText(c, Preset(".system.settings.pN.nuc.name", p), path);
      return kOk;
    });
  }
  OnCommand(camera, ".system.settings.nuc.query.read", &Query);
  // Free space in KiB, as the drive has it when asked.
  for (const char* path : {".system.info.driveFreeSpace", ".system.settings.nuc.driveFreeSpace"}) {
    camera.OnRead(path, [](Camera& c, const std::string& read) -> u32 {
      c.Update(read,
               Value::OfInteger(Type::UInt32, static_cast<i64>(c.Files().FreeSpace() / 1024)));
      return kOk;
    });
  }
}

// --- Calibrations --------------------------------------------------------------------------------

std::string CalField(const std::string& tag, const char* field) {
  return ".system.calib.cals." + tag + "." + field;
}

void InstallCalibrations(Camera& camera) {
  // Each calibration's look-up table: counts over its range, and their temperatures.
  for (const std::string& tag : camera.Children(".system.calib.cals")) {
    const std::string file = stored::WithExtension(camera.Text(CalField(tag, "lutFile")), ".lut");
    camera.Files().Put(
        stored::Join(camera.Text(".system.calib.directory"), file),
        stored::LookupTableFile(static_cast<u32>(camera.Integer(CalField(tag, "lutSize"))),
                                static_cast<double>(camera.Integer(CalField(tag, "minCounts"))),
                                static_cast<double>(camera.Integer(CalField(tag, "maxCounts"))),
                                camera.Get(CalField(tag, "minTemp")).value_or(Value{}).real,
                                camera.Get(CalField(tag, "maxTemp")).value_or(Value{}).real));
  }
  for (int p = 0; p < 4; ++p) {
    OnCommand(camera, Preset(".system.settings.pN.cal.load", p), [p](Camera& c) -> u32 {
      const std::string tag = c.Text(Preset(".system.settings.pN.cal.loadtag", p));
      if (tag.empty() || tag.find('.') != std::string::npos || !c.Has(CalField(tag, "name"))) {
        return kNotFound;
      }
      SetText(c, Preset(".system.settings.pN.cal.tag", p), tag);
      return kOk;
    });
    OnCommand(camera, Preset(".system.settings.pN.cal.unload", p), [p](Camera& c) {
      SetText(c, Preset(".system.settings.pN.cal.tag", p), "");
      return kOk;
    });
  }
}

// The profile's settings are the hard defaults; they are also what the factory default state and
// the current state and lens state files hold to begin with.
void InstallStoredConfigurations(Camera& camera) {
  auto memory = std::make_shared<Memory>();
  memory->hardDefaults = StateSettings(camera);
  memory->palette = camera.Text(".system.palette.name");
  const Bytes defaults = stored::WriteSnapshot(memory->hardDefaults);
  camera.Files().Put(FactoryPath(camera), defaults);
  camera.Files().Put(StatePath(camera, camera.Text(".system.configurations.powerup.file")),
                     defaults);
  camera.Files().Put(LensStatePath(camera, camera.Text(".system.lens.stateName")),
                     stored::WriteSnapshot(LensSettings(camera)));
  InstallStates(camera, memory);
  InstallLensStates(camera);
  InstallPalettes(camera, memory);
  InstallCorrections(camera, memory);
  InstallCalibrations(camera);
}

constexpr Behaviour kBehaviours[] = {
    {"stored-configurations", &InstallStoredConfigurations},
};

}  // namespace

extern const FamilyPart kStoragePart{"storage", kSection, kBehaviours};

}  // namespace sim::ptree
