// Stored configurations: states, correction files, lens states, palettes, calibrations on the
// simulated device. The camera really stores them: a state is a snapshot of its writable features
// in a file of the state directory, a lens state the same for the lens features, a correction
// file is written in the camera's own format, and loading puts back what was stored.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "common/Stored.h"
#include "genicam/DeviceImpl.h"
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

using stored::Bytes;
using stored::Setting;

const char* const kSection = R"(
# --- Stored configurations: states, correction files, lens states, palettes, calibrations ---
string   StateName                   "power-up"  ro
string   StateLoadName               ""
command  StateLoad                               polls=3
string   StateSaveName               ""
command  StateSave                               polls=3
bool     StateIsFactoryDefault       false       ro
command  StateLoadFactoryDefaults                polls=3
command  StateSaveFactoryDefaults                polls=3
command  StateLoadHardDefaults                   polls=3
string   LensStateName               "25mm"      ro
string   LensStateLoadName           ""
command  LensStateLoad                           polls=2
string   LensStateSaveName           ""
command  LensStateSave                           polls=2
bool     LensStateModified           false       ro
string   PaletteName                 "iron"      ro
string   PaletteLoadName             ""
command  PaletteLoad                             polls=1
string   {P}CorrectionName           ""          ro
string   {P}CorrectionLoadName       ""
command  {P}CorrectionLoad                       polls=2
command  {P}CorrectionUnload                     polls=1
string   {P}CorrectionSaveName       ""
command  {P}CorrectionSave                       polls=2
string   CorrectionQueryName         ""
command  CorrectionQueryExecute                  polls=1
enum     CorrectionQueryStatus       Success     ro entries={STATUS}
string   CorrectionQueryDeviceModel  ""          ro
string   CorrectionQueryDeviceID     ""          ro
int      CorrectionQueryOffsetX      0           ro
int      CorrectionQueryOffsetY      0           ro
int      CorrectionQueryWidth        0           ro
int      CorrectionQueryHeight       0           ro
bool     CorrectionQueryReverseY     false       ro
bool     CorrectionQueryReverseX     false       ro
int      CorrectionQueryFrameSyncMode 0          ro
int      CorrectionQueryIntegrationWidth 0       ro
int      CorrectionQueryFrameWidth   0           ro
int      CorrectionQueryFilterID     0           ro
int      CorrectionQueryGainLevel    0           ro
float    CorrectionQueryDigitalOffset 0.0        ro
float    CorrectionQueryDigitalGain  0.0         ro
float    CorrectionQueryAnalogOffset 0.0         ro
bool     CorrectionQuerySkimmingEnabled false    ro
float    CorrectionQuerySkimmingVoltage 0.0      ro
int      CorrectionQueryType         0           ro
int      CorrectionQuerySource       0           ro
int      CorrectionQueryNumFrames    0           ro
bool     CorrectionQueryDetectBadPixels false    ro
bool     CorrectionQueryDetectTwinklingPixels false ro
int      CorrectionQueryTwinklerNumFrames 0      ro
int      CorrectionQueryTwinklerDelta 0          ro
int      CorrectionQueryADMin        0           ro
int      CorrectionQueryADMax        0           ro
float    CorrectionQueryGainMin      0.0         ro
float    CorrectionQueryGainMax      0.0         ro
int      CorrectionQueryBadPixelTotal 0          ro
int      CorrectionQueryBadPixelTwinklers 0      ro
int      CorrectionQueryBadPixelFactory 0        ro
int      CorrectionQueryBadPixelNew  0           ro
int      CorrectionQueryBadPixelAboveGainMax 0   ro
int      CorrectionQueryBadPixelBelowGainMin 0   ro
int      CorrectionQueryBadPixelAboveADMaxSource1 0 ro
int      CorrectionQueryBadPixelBelowADMinSource1 0 ro
int      CorrectionQueryBadPixelAboveADMaxSource2 0 ro
int      CorrectionQueryBadPixelBelowADMinSource2 0 ro
int      CorrectionQueryColor        0           ro
int      CorrectionQueryDetectorBiasIndexMax 0   ro
int      CorrectionQueryDetectorBiasIndex 0      min=0 max=1
float    CorrectionQueryDetectorBias 0.0         ro selector=CorrectionQueryDetectorBiasIndex
bool     CalibrationIsFactoryCalibrated true     ro
string   {P}CalibrationTag           ""          ro
string   {P}CalibrationLoadTag       ""
command  {P}CalibrationLoad                      polls=2
command  {P}CalibrationUnload                    polls=1
# Two calibrations; the values of the first are every index's until the index says otherwise.
define   CAL selector=CalibrationQueryIndex
int      CalibrationQueryIndex       0           min=0 max=1
string   CalibrationQueryTag         cal0        ro {CAL}
string   CalibrationQueryName        "MWIR 25mm -20..150 C" ro {CAL}
string   CalibrationQueryLens        "25mm f/2.3" ro {CAL}
string   CalibrationQueryLensFilter  none        ro {CAL}
float    CalibrationQueryMinTemp     -20.0       ro {CAL}
float    CalibrationQueryMaxTemp     150.0       ro {CAL}
float    CalibrationQueryMinRadiance 0.0000125   ro {CAL}
float    CalibrationQueryMaxRadiance 0.0025      ro {CAL}
int      CalibrationQueryMinCounts   1200        ro {CAL}
int      CalibrationQueryMaxCounts   14500       ro {CAL}
int      CalibrationQueryOrder       2           ro {CAL}
float    CalibrationQueryCoeff0      0.05        ro {CAL}
float    CalibrationQueryCoeff1      0.15        ro {CAL}
float    CalibrationQueryCoeff2      0.25        ro {CAL}
float    CalibrationQueryCoeff3      0.35        ro {CAL}
float    CalibrationQueryCoeff4      0.45        ro {CAL}
float    CalibrationQueryCoeff5      0.55        ro {CAL}
float    CalibrationQueryCoeff6      0.65        ro {CAL}
float    CalibrationQueryBandpassLow 3.0         ro {CAL}
float    CalibrationQueryBahdpassHigh 5.0        ro {CAL}
int      CalibrationQueryTempOrder   1           ro {CAL}
float    CalibrationQueryTempCoeff0  1.025       ro {CAL}
float    CalibrationQueryTempCoeff1  1.125       ro {CAL}
float    CalibrationQueryTempCoeff2  1.225       ro {CAL}
float    CalibrationQueryTempCoeff3  1.325       ro {CAL}
float    CalibrationQueryTempCoeff4  1.425       ro {CAL}
float    CalibrationQueryTempCoeff5  1.525       ro {CAL}
float    CalibrationQueryTempCoeff6  1.625       ro {CAL}
float    CalibrationQueryR           14000.5     ro {CAL}
float    CalibrationQueryB           1428.0      ro {CAL}
float    CalibrationQueryF           1.0         ro {CAL}
float    CalibrationQueryX           1.9         ro {CAL}
float    CalibrationQueryA1          0.0066      ro {CAL}
float    CalibrationQueryA2          0.0126      ro {CAL}
float    CalibrationQueryB1          -0.0023     ro {CAL}
float    CalibrationQueryB2          -0.0067     ro {CAL}
int      CalibrationQueryFilterID    0           ro {CAL}
int      CalibrationQueryLUTSize     16          ro {CAL}
float    CalibrationQueryBackgroundValue 21.5    ro {CAL}
at CalibrationQueryIndex=1  CalibrationQueryTag         cal1
at CalibrationQueryIndex=1  CalibrationQueryName        "MWIR 25mm 100..500 C ND"
at CalibrationQueryIndex=1  CalibrationQueryLensFilter  "ND 1.0"
at CalibrationQueryIndex=1  CalibrationQueryMinTemp     100.0
at CalibrationQueryIndex=1  CalibrationQueryMaxTemp     500.0
at CalibrationQueryIndex=1  CalibrationQueryMinCounts   2000
at CalibrationQueryIndex=1  CalibrationQueryMaxCounts   15800
at CalibrationQueryIndex=1  CalibrationQueryOrder       3
at CalibrationQueryIndex=1  CalibrationQueryCoeff0      -0.075
at CalibrationQueryIndex=1  CalibrationQueryTempOrder   2
at CalibrationQueryIndex=1  CalibrationQueryR           15500.0
at CalibrationQueryIndex=1  CalibrationQueryB           1390.25
at CalibrationQueryIndex=1  CalibrationQueryFilterID    2
at CalibrationQueryIndex=1  CalibrationQueryLUTSize     8
at CalibrationQueryIndex=1  CalibrationQueryBackgroundValue 0.0
file /FlashFS/calib/cal1.lut              size=128   seed=10
behaviour stored-configurations
)";

// --- Settings snapshots --------------------------------------------------------------------------

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}
bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// What a state holds: every writable feature but the storage machinery itself (file and
// directory access, the names given to the stored kinds' commands, the queries).
bool InState(const std::string& name) {
  static constexpr std::string_view kElsewhere[] = {
      "File",      "CameraFile",      "Directory",       "State",
      "LensState", "CorrectionQuery", "CalibrationQuery"};
  for (std::string_view prefix : kElsewhere) {
    if (StartsWith(name, prefix)) return false;
  }
  return !EndsWith(name, "LoadName") && !EndsWith(name, "SaveName") && !EndsWith(name, "LoadTag");
}

// What a lens state holds: the lens's writable features.
bool InLensState(const std::string& name) {
  for (std::string_view prefix : {"Focus", "AutoFocus", "FOV", "Lens"}) {
    if (StartsWith(name, prefix)) {
      return !StartsWith(name, "LensState") && !StartsWith(name, "LensControl");
    }
  }
  return false;
}

const char* KindWord(Kind kind) {
  switch (kind) {
    case Kind::Integer:
    case Kind::Enumeration:
      return "int";
    case Kind::Float:
      return "float";
    case Kind::Boolean:
      return "bool";
    case Kind::String:
      return "string";
    default:
      return nullptr;
  }
}

std::string ValueText(Kind kind, const State& state) {
  char text[64];
  switch (kind) {
    case Kind::Float:
      std::snprintf(text, sizeof text, "%.17g", state.f);
      return text;
    case Kind::Boolean:
      return state.b ? "true" : "false";
    case Kind::String:
      return state.s;
    default:
      return std::to_string(state.i);
  }
}

// The writable values of the features `keep` takes; a selected feature's under "<name>@<value of
// its selector>".
std::vector<Setting> Collect(Device& device, bool (*keep)(const std::string&)) {
  Device::Impl& impl = device.Internal();
  std::lock_guard<std::recursive_mutex> hold(impl.mutex);
  std::vector<Setting> settings;
  for (const auto& [name, node] : impl.nodes) {
    const char* kind = KindWord(node.kind);
    if (!kind || !keep(name)) continue;
    if (node.selector.empty()) {
      if (node.base.writable) settings.push_back({name, kind, ValueText(node.kind, node.base)});
      continue;
    }
    for (const auto& [key, state] : node.selected) {
      if (state.writable) {
        settings.push_back({name + "@" + std::to_string(key), kind, ValueText(node.kind, state)});
      }
    }
  }
  return settings;
}

// Puts stored values back, then lets the features that follow them (times of widths, limits of
// the window, read-only twins) catch up. A feature the device no longer has is passed over.
void Restore(Device& device, const std::vector<Setting>& settings) {
  Device::Impl& impl = device.Internal();
  std::lock_guard<std::recursive_mutex> hold(impl.mutex);
  std::vector<std::string> changed;
  for (const Setting& setting : settings) {
    const std::size_t at = setting.name.find('@');
    Node* node = impl.Find(setting.name.substr(0, at));
    if (!node) continue;
    State* state = &node->base;
    if (at != std::string::npos) {
      const i64 key = std::strtoll(setting.name.c_str() + at + 1, nullptr, 10);
      state = &node->selected.emplace(key, node->base).first->second;
    }
    if (!state->writable) continue;
    const char* text = setting.value.c_str();
    switch (node->kind) {
      case Kind::Float:
        state->f = std::strtod(text, nullptr);
        break;
      case Kind::Boolean:
        state->b = setting.value == "true";
        break;
      case Kind::String:
        state->s = setting.value;
        break;
      default:
        state->i = std::strtoll(text, nullptr, 10);
        break;
    }
    if (at == std::string::npos) changed.push_back(node->name);
  }
  for (const std::string& name : changed) {
    try {
      impl.RunHooks(name, HookKind::kWrite);
    } catch (const std::exception&) {
      // a follower that refuses keeps its value; the stored one stays in place
    }
  }
}

// Throws what the host sees as a failed command.
[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("sim device: " + what); }

void Write(Device& device, const std::string& path, const Bytes& data) {
  if (path.empty()) Fail("no place for the file");
  if (device.Files().Write(path, data) != kFileSuccess) Fail("cannot write " + path);
}

Bytes Read(Device& device, const std::string& path) {
  std::optional<Bytes> data = path.empty() ? std::nullopt : device.Files().Read(path);
  if (!data) Fail("no file " + path);
  return *data;
}

void LoadSettings(Device& device, const std::string& path) {
  const std::optional<std::vector<Setting>> settings = stored::ReadSnapshot(Read(device, path));
  if (!settings) Fail(path + " holds no settings");
  Restore(device, *settings);
}

// The factory default state is kept read-only; only the camera itself writes it.
void WriteFactoryDefaults(Device& device, const Bytes& data) {
  const std::string path = device.PathOf(5, "");
  device.Files().SetReadOnly(path, false);
  const i64 status = device.Files().Write(path, data);
  device.Files().SetReadOnly(path, true);
  if (status != kFileSuccess) Fail("cannot write " + path);
}

// A name as the camera reports it: without the kind's extension.
std::string Bare(std::string name, std::string_view extension) {
  if (stored::WithExtension(name, extension) == name) name.resize(name.size() - extension.size());
  return name;
}

// --- Behaviour ---------------------------------------------------------------------------------

// What the camera keeps beside its features: the settings its profile gave it (the hard
// defaults) and the correction each preset holds.
struct Memory {
  std::vector<Setting> hardDefaults;
  std::map<std::string, Bytes> corrections;  // by preset prefix
};

void InstallStates(Device& device, const std::shared_ptr<Memory>& memory) {
  device.OnExecute("StateSave", [](Device& d, const std::string&) {
    const std::string name = d.GetString("StateSaveName");
    Write(d, d.PathOf(1, name), stored::WriteSnapshot(Collect(d, &InState)));
    d.SetString("StateName", Bare(name, ".rsc"));
    d.SetBool("StateIsFactoryDefault", false);
  });
  device.OnExecute("StateLoad", [](Device& d, const std::string&) {
    const std::string name = d.GetString("StateLoadName");
    LoadSettings(d, d.PathOf(1, name));
    d.SetString("StateName", Bare(name, ".rsc"));
    d.SetBool("StateIsFactoryDefault", false);
  });
  device.OnExecute("StateLoadFactoryDefaults", [](Device& d, const std::string&) {
    LoadSettings(d, d.PathOf(5, ""));
    d.SetBool("StateIsFactoryDefault", true);
  });
  device.OnExecute("StateSaveFactoryDefaults", [](Device& d, const std::string&) {
    WriteFactoryDefaults(d, stored::WriteSnapshot(Collect(d, &InState)));
    d.SetBool("StateIsFactoryDefault", true);
  });
  device.OnExecute("StateLoadHardDefaults",
                   [memory](Device& d, const std::string&) { Restore(d, memory->hardDefaults); });
}

void InstallLensStates(Device& device) {
  device.OnExecute("LensStateSave", [](Device& d, const std::string&) {
    const std::string name = d.GetString("LensStateSaveName");
    Write(d, d.PathOf(3, name), stored::WriteSnapshot(Collect(d, &InLensState)));
    d.SetString("LensStateName", Bare(name, ".lens"));
    d.SetBool("LensStateModified", false);
  });
  device.OnExecute("LensStateLoad", [](Device& d, const std::string&) {
    const std::string name = d.GetString("LensStateLoadName");
    LoadSettings(d, d.PathOf(3, name));
    d.SetString("LensStateName", Bare(name, ".lens"));
    d.SetBool("LensStateModified", false);
  });
  // Any change of a lens feature leaves the lens state behind.
  for (const Setting& setting : Collect(device, &InLensState)) {
    device.OnWrite(setting.name.substr(0, setting.name.find('@')),
                   [](Device& d, const std::string&) { d.SetBool("LensStateModified", true); });
  }
}

void InstallPalettes(Device& device) {
  device.OnExecute("PaletteLoad", [](Device& d, const std::string&) {
    const std::string name = d.GetString("PaletteLoadName");
    const std::string path = d.PathOf(4, name);
    if (path.empty() || !d.Files().Exists(path)) Fail("no palette " + name);
    d.SetString("PaletteName", Bare(name, ".pal"));
  });
}

// --- Correction files ----------------------------------------------------------------------------

// A value as the camera writes it into a header: floats with six decimals.
std::string HeaderText(const Device& device, const std::string& feature) {
  switch (device.KindOf(feature)) {
    case Kind::Float: {
      char text[64];
      std::snprintf(text, sizeof text, "%f", device.GetFloat(feature));
      return text;
    }
    case Kind::Boolean:
      return device.GetBool(feature) ? "true" : "false";
    case Kind::String:
      return device.GetString(feature);
    default:
      return std::to_string(device.GetInt(feature));
  }
}

// A correction of the preset's present settings, for a preset that holds none loaded.
Bytes CorrectionOfSettings(const Device& device, const std::string& prefix) {
  const std::pair<const char*, std::string> sources[] = {
      {"cameraType", "DeviceModelName"},
      {"cameraSerial", "DeviceSerialNumber"},
      {"windowOffsetX", "OffsetX"},
      {"windowOffsetY", "OffsetY"},
      {"windowWidth", device.Has("ImageWidth") ? "ImageWidth" : "Width"},
      {"maxWidth", "SensorWidth"},
      {"maxHeight", "SensorHeight"},
      {"invert", "ReverseY"},
      {"revert", "ReverseX"},
      {"readoutMode", "FrameSyncMode"},
      {"integrationWidth", prefix + "IntegrationWidth"},
      {"frameWidth", prefix + "FrameWidth"},
      {"fpaGainLevel", "GainLevel"},
      {"digitalOffset", prefix + "DigitalOffset"},
      {"digitalGain", prefix + "DigitalGain"},
      {"globalOffsetVoltage", "AnalogOffsetVoltage"},
      {"skimmingEnabled", "SkimmingEnabled"},
      {"skimmingVoltage", "SkimmingVoltage"},
  };
  std::map<std::string, std::string> values;
  for (const auto& [key, feature] : sources) {
    if (device.Has(feature)) values[key] = HeaderText(device, feature);
  }
  // Without "ImageHeight" the device holds the rows plus one in "Height".
  values["windowHeight"] = device.Has("ImageHeight") ? HeaderText(device, "ImageHeight")
                                                     : std::to_string(device.GetInt("Height") - 1);
  return stored::WriteCorrectionFile(values);
}

// The query's results, each from its header key.
constexpr std::pair<const char*, const char*> kQueryResults[] = {
    {"CorrectionQueryDeviceModel", "cameratype"},
    {"CorrectionQueryDeviceID", "cameraserial"},
    {"CorrectionQueryOffsetX", "windowoffsetx"},
    {"CorrectionQueryOffsetY", "windowoffsety"},
    {"CorrectionQueryWidth", "windowwidth"},
    {"CorrectionQueryHeight", "windowheight"},
    {"CorrectionQueryReverseY", "invert"},
    {"CorrectionQueryReverseX", "revert"},
    {"CorrectionQueryFrameSyncMode", "readoutmode"},
    {"CorrectionQueryIntegrationWidth", "integrationwidth"},
    {"CorrectionQueryFrameWidth", "framewidth"},
    {"CorrectionQueryFilterID", "filterid"},
    {"CorrectionQueryGainLevel", "fpagainlevel"},
    {"CorrectionQueryDigitalOffset", "digitaloffset"},
    {"CorrectionQueryDigitalGain", "digitalgain"},
    {"CorrectionQueryAnalogOffset", "globaloffsetvoltage"},
    {"CorrectionQuerySkimmingEnabled", "skimmingenabled"},
    {"CorrectionQuerySkimmingVoltage", "skimmingvoltage"},
    {"CorrectionQueryType", "nuctype"},
    {"CorrectionQuerySource", "nucsource"},
    {"CorrectionQueryNumFrames", "nucnumframes"},
    {"CorrectionQueryDetectBadPixels", "nucdetectbadpixels"},
    {"CorrectionQueryDetectTwinklingPixels", "nucdetecttwinklers"},
    {"CorrectionQueryTwinklerNumFrames", "nuctwinklernumframes"},
    {"CorrectionQueryTwinklerDelta", "nuctwinklerdelta"},
    {"CorrectionQueryADMin", "nucadmin"},
    {"CorrectionQueryADMax", "nucadmax"},
    {"CorrectionQueryGainMin", "nucgainmin"},
    {"CorrectionQueryGainMax", "nucgainmax"},
    {"CorrectionQueryBadPixelTotal", "bptotal"},
    {"CorrectionQueryBadPixelTwinklers", "bptwinkling"},
    {"CorrectionQueryBadPixelFactory", "bpfactory"},
    {"CorrectionQueryBadPixelNew", "bpnew"},
    {"CorrectionQueryBadPixelAboveGainMax", "bpabovegainmax"},
    {"CorrectionQueryBadPixelBelowGainMin", "bpbelowgainmin"},
    {"CorrectionQueryBadPixelAboveADMaxSource1", "bpaboveadmaxsrc1"},
    {"CorrectionQueryBadPixelBelowADMinSource1", "bpbelowadminsrc1"},
    {"CorrectionQueryBadPixelAboveADMaxSource2", "bpaboveadmaxsrc2"},
    {"CorrectionQueryBadPixelBelowADMinSource2", "bpbelowadminsrc2"},
    {"CorrectionQueryColor", "color"},
};

// A header value into a result feature of whatever kind it is (an older camera lacks some).
void PutResult(Device& device, const std::string& feature, const std::string& text) {
  if (!device.Has(feature)) return;
  switch (device.KindOf(feature)) {
    case Kind::Float:
      device.SetFloat(feature, std::strtod(text.c_str(), nullptr));
      break;
    case Kind::Boolean:
      device.SetBool(feature, stored::ParseBool(text));
      break;
    case Kind::String:
      device.SetString(feature, text);
      break;
    default:
      device.SetInt(feature, std::strtoll(text.c_str(), nullptr, 10));
      break;
  }
}

// Reads the header of the named file into the query's results; the status tells whether it
// could.
void Query(Device& device) {
  const std::string path = device.PathOf(2, device.GetString("CorrectionQueryName"));
  const std::optional<Bytes> file = path.empty() ? std::nullopt : device.Files().Read(path);
  const std::optional<stored::Header> header =
      file ? stored::ReadCorrectionHeader(*file) : std::nullopt;
  device.SetInt("CorrectionQueryStatus", !file    ? kFileNotFound
                                         : header ? kFileSuccess
                                                  : kFileFailure);
  if (!header) return;
  const stored::Header values = stored::CompleteHeader(*header);
  for (const auto& [feature, key] : kQueryResults)
    PutResult(device, feature, values.at(key));
  const long count = std::strtol(values.at("fpabiascount").c_str(), nullptr, 10);
  PutResult(device, "CorrectionQueryDetectorBiasIndexMax", count > 1 ? "1" : "0");
  if (!device.Has("CorrectionQueryDetectorBiasIndex")) return;
  const i64 selected = device.GetInt("CorrectionQueryDetectorBiasIndex");
  for (i64 index = 0; index < 2; ++index) {
    device.SetInt("CorrectionQueryDetectorBiasIndex", index);
    PutResult(device, "CorrectionQueryDetectorBias", values.at(index ? "fpabias1" : "fpabias"));
  }
  device.SetInt("CorrectionQueryDetectorBiasIndex", selected);
}

void InstallCorrections(Device& device, const std::shared_ptr<Memory>& memory) {
  for (const std::string prefix : {"PS0", "PS1", "PS2", "PS3", ""}) {
    if (!device.Has(prefix + "CorrectionLoad")) continue;
    device.OnExecute(prefix + "CorrectionLoad", [memory, prefix](Device& d, const std::string&) {
      const std::string name = d.GetString(prefix + "CorrectionLoadName");
      Bytes file = Read(d, d.PathOf(2, name));
      if (!stored::ReadCorrectionHeader(file)) Fail(name + " is no correction file");
      memory->corrections[prefix] = std::move(file);
      d.SetString(prefix + "CorrectionName", Bare(name, ".nuc"));
    });
    device.OnExecute(prefix + "CorrectionUnload", [memory, prefix](Device& d, const std::string&) {
      memory->corrections.erase(prefix);
      d.SetString(prefix + "CorrectionName", "");
    });
    device.OnExecute(prefix + "CorrectionSave", [memory, prefix](Device& d, const std::string&) {
      const std::string name = d.GetString(prefix + "CorrectionSaveName");
      auto held = memory->corrections.find(prefix);
      const Bytes file =
          held != memory->corrections.end() ? held->second : CorrectionOfSettings(d, prefix);
      Write(d, d.PathOf(2, name), file);
      memory->corrections[prefix] = file;
      d.SetString(prefix + "CorrectionName", Bare(name, ".nuc"));
    });
  }
  device.OnExecute("CorrectionQueryExecute", [](Device& d, const std::string&) { Query(d); });
}

// --- Calibrations --------------------------------------------------------------------------------

void InstallCalibrations(Device& device) {
  // Each calibration's look-up table: counts over its range, and their temperatures.
  const FeatureSpec index = device.Spec("CalibrationQueryIndex");
  const i64 selected = index.intValue;
  std::vector<std::string> tags;
  for (i64 i = index.intMin; i <= index.intMax; ++i) {
    device.SetInt("CalibrationQueryIndex", i);
    const std::string tag = device.GetString("CalibrationQueryTag");
    tags.push_back(tag);
    const std::string path = device.PathOf(6, tag);
    if (path.empty()) continue;
    device.Files().Write(path, stored::LookupTableFile(
                                   static_cast<u32>(device.GetInt("CalibrationQueryLUTSize")),
                                   static_cast<double>(device.GetInt("CalibrationQueryMinCounts")),
                                   static_cast<double>(device.GetInt("CalibrationQueryMaxCounts")),
                                   device.GetFloat("CalibrationQueryMinTemp"),
                                   device.GetFloat("CalibrationQueryMaxTemp")));
  }
  device.SetInt("CalibrationQueryIndex", selected);
  for (const std::string prefix : {"PS0", "PS1", "PS2", "PS3", ""}) {
    if (!device.Has(prefix + "CalibrationLoad")) continue;
    device.OnExecute(prefix + "CalibrationLoad", [prefix, tags](Device& d, const std::string&) {
      const std::string tag = d.GetString(prefix + "CalibrationLoadTag");
      if (std::find(tags.begin(), tags.end(), tag) == tags.end()) Fail("no calibration " + tag);
      d.SetString(prefix + "CalibrationTag", tag);
    });
    device.OnExecute(prefix + "CalibrationUnload", [prefix](Device& d, const std::string&) {
      d.SetString(prefix + "CalibrationTag", "");
    });
  }
}

// The profile's settings are the hard defaults; they are also what the factory default state and
// the current state and lens state files hold to begin with.
bool Install(Device& device, const std::vector<std::string>& args) {
  if (args[0] != "stored-configurations") return false;
  if (args.size() != 1) throw std::runtime_error("behaviour stored-configurations takes nothing");
  auto memory = std::make_shared<Memory>();
  memory->hardDefaults = Collect(device, &InState);
  const Bytes defaults = stored::WriteSnapshot(memory->hardDefaults);
  WriteFactoryDefaults(device, defaults);
  Write(device, device.PathOf(1, device.GetString("StateName")), defaults);
  Write(device, device.PathOf(3, device.GetString("LensStateName")),
        stored::WriteSnapshot(Collect(device, &InLensState)));
  InstallStates(device, memory);
  InstallLensStates(device);
  InstallPalettes(device);
  InstallCorrections(device, memory);
  InstallCalibrations(device);
  return true;
}

}  // namespace

extern const FamilyPart kStoragePart{"storage", kSection, &Install};

}  // namespace sim::genicam
