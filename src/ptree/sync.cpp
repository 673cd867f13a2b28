// Synchronisation, triggering, time, temperatures and identity over the property tree.
#include <strings.h>

#include <cstdio>
#include <initializer_list>
#include <variant>

#include "common/timing.h"
#include "ptree/CTQVSDKPTree.h"

namespace {

// One value of a reading or a write of several paths, in the type the camera stores it.
struct Field {
  const char* path;
  std::variant<u8*, u16*, i32*> out;
};
struct FieldValue {
  const char* path;
  std::variant<u8, u16, i32> value;
};

// Reads the paths in order into their outputs; the first failure ends the reading and leaves the
// later outputs as they were.
u32 ReadFields(void* tree, std::initializer_list<Field> fields) {
  for (const Field& field : fields) {
    const u32 result =
        std::visit([&](auto* out) { return resRead(tree, field.path, out); }, field.out);
    if (result != rc::kOk) return result;
  }
  return rc::kOk;
}

// Writes the values in order; the first failure ends the writing.
u32 WriteFields(void* tree, std::initializer_list<FieldValue> fields) {
  for (const FieldValue& field : fields) {
    const u32 result =
        std::visit([&](auto value) { return resWrite(tree, field.path, value); }, field.value);
    if (result != rc::kOk) return result;
  }
  return rc::kOk;
}

// The names of the children of `path`, appended in the camera's order.
u32 ChildNames(void* tree, const char* path, zel::TArray<zel::CString>& names) {
  void* children = nullptr;
  u32 result = resGetChildren(tree, path, &children);
  if (result != rc::kOk) return result;
  const char* name = nullptr;
  for (result = resGetFirstChild(tree, children, &name); result == rc::kOk;
       result = resGetNextChild(tree, children, &name)) {
    names.Add(zel::CString(name));
  }
  resFreeChildren(tree, children);
  return result == rc::kNotFound ? rc::kOk : result;
}

// The camera keeps the full year; the interface counts years from 2000.
constexpr i32 kCenturyStart = 2000;

}  // namespace

// --- Time ----------------------------------------------------------------------------------------

u32 CTQVSDKPTree::GetRealTimeClock(u8* year, u8* month, u8* day, u8* hour, u8* minute, u8* second) {
  u32 result = resWrite(m_tree, ".system.time.read", true);
  if (result != rc::kOk) return result;
  i32 fullYear = 0;
  if ((result = resRead(m_tree, ".system.time.year", &fullYear))) return result;
  *year = static_cast<u8>(fullYear - kCenturyStart);
  return ReadFields(m_tree, {{".system.time.month", month},
                             {".system.time.day", day},
                             {".system.time.hour", hour},
                             {".system.time.min", minute},
                             {".system.time.sec", second}});
}

u32 CTQVSDKPTree::SetRealTimeClock(u8 year, u8 month, u8 day, u8 hour, u8 minute, u8 second) {
  const u32 result = WriteFields(m_tree, {{".system.time.year", kCenturyStart + year},
                                          {".system.time.month", month},
                                          {".system.time.day", day},
                                          {".system.time.hour", hour},
                                          {".system.time.min", minute},
                                          {".system.time.sec", second}});
  return result ? result : resWrite(m_tree, ".system.time.commit", true);
}

namespace {
constexpr const char* kIRIGYearPath = ".system.irig.year";
}  // namespace

// Cameras whose IRIG input carries no year report year 0.
u32 CTQVSDKPTree::GetIRIGTime(u16* year, u16* day, u8* hour, u8* minute, u8* second,
                              u16* millisecond, u16* microsecond) {
  u32 result = resWrite(m_tree, ".system.irig.read", true);
  bool hasYear = false;
  if (result == rc::kOk) result = PathExists(kIRIGYearPath, &hasYear);
  if (result != rc::kOk) return result;
  if (!hasYear) {
    *year = 0;
  } else if ((result = resRead(m_tree, kIRIGYearPath, year))) {
    return result;
  }
  return ReadFields(m_tree, {{".system.irig.day", day},
                             {".system.irig.hour", hour},
                             {".system.irig.min", minute},
                             {".system.irig.sec", second},
                             {".system.irig.msec", millisecond},
                             {".system.irig.usec", microsecond}});
}

u32 CTQVSDKPTree::SetIRIGTime(u16 year, u16 day, u8 hour, u8 minute, u8 second, u16 millisecond,
                              u16 microsecond) {
  bool hasYear = false;
  u32 result = PathExists(kIRIGYearPath, &hasYear);
  if (result == rc::kOk && hasYear) result = resWrite(m_tree, kIRIGYearPath, year);
  if (result == rc::kOk) {
    result = WriteFields(m_tree, {{".system.irig.day", day},
                                  {".system.irig.hour", hour},
                                  {".system.irig.min", minute},
                                  {".system.irig.sec", second},
                                  {".system.irig.msec", millisecond},
                                  {".system.irig.usec", microsecond}});
  }
  return result ? result : resWrite(m_tree, ".system.irig.commit", true);
}

u32 CTQVSDKPTree::GetIRIGTriggerTime(u16* day, u8* hour, u8* minute, u8* second, u16* millisecond,
                                     u16* microsecond) {
  const u32 result = resWrite(m_tree, ".system.settings.trigger.time.read", true);
  if (result != rc::kOk) return result;
  return ReadFields(m_tree, {{".system.settings.trigger.time.day", day},
                             {".system.settings.trigger.time.hour", hour},
                             {".system.settings.trigger.time.minute", minute},
                             {".system.settings.trigger.time.second", second},
                             {".system.settings.trigger.time.millisecond", millisecond},
                             {".system.settings.trigger.time.microsecond", microsecond}});
}

u32 CTQVSDKPTree::SetIRIGTriggerTime(u16 day, u8 hour, u8 minute, u8 second, u16 millisecond,
                                     u16 microsecond) {
  const u32 result =
      WriteFields(m_tree, {{".system.settings.trigger.time.day", day},
                           {".system.settings.trigger.time.hour", hour},
                           {".system.settings.trigger.time.minute", minute},
                           {".system.settings.trigger.time.second", second},
                           {".system.settings.trigger.time.millisecond", millisecond},
                           {".system.settings.trigger.time.microsecond", microsecond}});
  return result ? result : resWrite(m_tree, ".system.settings.trigger.time.commit", true);
}

// The camera keeps the internal trigger as a period in detector clocks.
u32 CTQVSDKPTree::GetInternalTriggerRate(double* hertz) {
  return WithConstants([&](const FPAConstants& c) {
    u32 width = 0;
    const u32 result = GetInternalTriggerWidth(&width);
    if (result == rc::kOk) *hertz = timing::ClocksToHertz(c, width);
    return result;
  });
}

u32 CTQVSDKPTree::SetInternalTriggerRate(double hertz) {
  return WithConstants([&](const FPAConstants& c) {
    return SetInternalTriggerWidth(timing::HertzToClocks(c, hertz));
  });
}

// --- Temperatures --------------------------------------------------------------------------------

namespace {
struct Sensor {
  const char* path;
  float* out;
};
u32 ReadSensors(void* tree, std::initializer_list<Sensor> sensors) {
  for (const Sensor& sensor : sensors) {
    if (u32 result = resRead(tree, sensor.path, sensor.out)) return result;
  }
  return rc::kOk;
}
}  // namespace

u32 CTQVSDKPTree::GetFPATemperature(float* kelvin) {
  return ReadSensors(m_tree, {{".system.tempsens.FPA", kelvin}});
}

u32 CTQVSDKPTree::GetBoardTemperatures(float* digitizer, float* powerBoard) {
  return ReadSensors(m_tree, {{".system.tempsens.digitizer", digitizer},
                              {".system.tempsens.powerBoard", powerBoard}});
}

u32 CTQVSDKPTree::GetVxTemperatures(float* frontPanel, float* airGap, float* internal) {
  return ReadSensors(m_tree, {{".system.tempsens.frontPanel", frontPanel},
                              {".system.tempsens.airGap", airGap},
                              {".system.tempsens.internal", internal}});
}

u32 CTQVSDKPTree::GetKxTemperatures(float* frontPanel, float* airGap) {
  return ReadSensors(
      m_tree, {{".system.tempsens.frontPanel", frontPanel}, {".system.tempsens.airGap", airGap}});
}

u32 CTQVSDKPTree::GetTxTemperatures(float* chassis) {
  return ReadSensors(m_tree, {{".system.tempsens.chassis", chassis}});
}

u32 CTQVSDKPTree::GetLensTemperature(float* value) {
  return ReadSensors(m_tree, {{".system.lens.temperature", value}});
}

// --- Voltages ------------------------------------------------------------------------------------

namespace {
constexpr const char* kVoltages = ".system.manufacturing.hw.biasesAndOffsets";

// The path of a field of a named bias or offset voltage.
bool VoltagePath(char (&path)[kPathSize], const char* name, const char* field) {
  if (!name) return false;
  int length = std::snprintf(path, sizeof path, "%s.%s.%s", kVoltages, name, field);
  return length > 0 && static_cast<u32>(length) < sizeof path;
}
// Voltages without limits of their own may be set within +-5 V.
constexpr float kDefaultVoltageLimit = 5.0f;
}  // namespace

u32 CTQVSDKPTree::ListVoltages(zel::TArray<zel::CString>& list) {
  list.Clear();
  return ChildNames(m_tree, kVoltages, list);
}

// A voltage the camera only reports has an output value and no input one.
u32 CTQVSDKPTree::GetVoltage(const char* name, float* volts) {
  char path[kPathSize];
  if (!VoltagePath(path, name, "voltageIn")) return rc::kInvalidArgument;
  bool editable = false;
  u32 result = PathExists(path, &editable);
  if (result != rc::kOk) return result;
  if (!editable) VoltagePath(path, name, "voltageOut");
  return resRead(m_tree, path, volts);
}

// The detector bias is one of the named voltages, so its cached value and limits go.
u32 CTQVSDKPTree::SetVoltage(const char* name, float volts) {
  char path[kPathSize];
  if (!VoltagePath(path, name, "voltageIn")) return rc::kInvalidArgument;
  const u32 result = resWrite(m_tree, path, volts);
  if (result == rc::kOk) {
    for (int index = 0; index < 2; ++index) {
      Forget([&](PTreeCache& c) { c.fpaBias[index].valid = false; });
      Forget([&](PTreeCache& c) { c.fpaBiasLimits[index].valid = false; });
    }
  }
  return result;
}

u32 CTQVSDKPTree::GetVoltageEditable(const char* name, bool* editable) {
  char path[kPathSize];
  if (!VoltagePath(path, name, "voltageIn")) return rc::kInvalidArgument;
  return PathExists(path, editable);
}

u32 CTQVSDKPTree::GetVoltageLimits(const char* name, float* minimum, float* maximum) {
  char path[kPathSize];
  if (!VoltagePath(path, name, "voltageIn")) return rc::kInvalidArgument;
  float low = 0, high = 0;
  u32 result = resGetLimitsFlt32Ex(m_tree, path, &low, &high);
  if (result == rc::kNoLimits) {
    low = -kDefaultVoltageLimit;
    high = kDefaultVoltageLimit;
    result = rc::kOk;
  }
  if (result == rc::kOk) {
    *minimum = low;
    *maximum = high;
  }
  return result;
}

u32 CTQVSDKPTree::GetVoltageDisplayName(const char* name, char* buffer, i32 size) {
  char path[kPathSize];
  if (!VoltagePath(path, name, "displayName")) return rc::kInvalidArgument;
  return _tqvGetString(m_tree, path, buffer, size);
}

// --- Identity ------------------------------------------------------------------------------------

namespace {
constexpr const char* kSerialPath = ".version.product.serial";
constexpr const char* kVariantPath = ".version.product.variant";
constexpr const char* kPleoraPath = ".system.settings.gigE.type";
constexpr const char* kPleoraTexts[] = {"PT1000", "USB3", "NTX"};
}  // namespace

u32 CTQVSDKPTree::GetCameraSN(char* buffer, i32 size) {
  return CachedGetText(m_cache.sync.cameraSerial, kSerialPath, buffer, size);
}

u32 CTQVSDKPTree::SetCameraSN(const char* text) {
  if (!text) return rc::kInvalidArgument;
  return CachedSetText(m_cache.sync.cameraSerial, kSerialPath, text);
}

// Cameras without a variant path are the first variant.
u32 CTQVSDKPTree::GetVariant(u8* value) {
  if (Cached(m_cache.sync.variant, value)) return rc::kOk;
  bool exists = false;
  u32 result = PathExists(kVariantPath, &exists);
  if (result != rc::kOk) return result;
  if (!exists) {
    *value = 0;
    return rc::kOk;
  }
  return CachedGet(m_cache.sync.variant, kVariantPath, value);
}

u32 CTQVSDKPTree::SetVariant(u8 value) {
  bool exists = false;
  u32 result = PathExists(kVariantPath, &exists);
  if (result != rc::kOk) return result;
  if (!exists) return value == 0 ? rc::kOk : rc::kInvalidArgument;
  result = CachedSet(m_cache.sync.variant, kVariantPath, value);
  if (result == rc::kNotWritable) {
    // A fixed variant refuses the write; asking for the variant it already is still succeeds.
    u8 current = 0;
    if (resRead(m_tree, kVariantPath, &current) == rc::kOk && current == value) {
      Keep(m_cache.sync.variant, value);
      return rc::kOk;
    }
  }
  return result;
}

u32 CTQVSDKPTree::CachedGetTextCode(TCached<u8>& entry, const char* path,
                                    std::span<const char* const> texts, u8* code) {
  if (Cached(entry, code)) return rc::kOk;
  char* text = nullptr;
  u32 result = resGetString(m_tree, path, &text);
  if (result != rc::kOk) return result;
  result = rc::kOutOfEnumeration;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (text && strcasecmp(text, texts[i]) == 0) {
      Keep(entry, static_cast<u8>(i));
      *code = static_cast<u8>(i);
      result = rc::kOk;
      break;
    }
  }
  resFreeString(&text);
  return result;
}

u32 CTQVSDKPTree::CachedSetTextCode(TCached<u8>& entry, const char* path,
                                    std::span<const char* const> texts, u8 code) {
  if (code >= texts.size()) return rc::kOutOfEnumeration;
  const u32 result = resSetString(m_tree, path, texts[code], 1);
  if (result == rc::kOk) Keep(entry, code);
  return result;
}

// The interface board stores its type as text: PT1000, USB3 or NTX.
u32 CTQVSDKPTree::GetPleoraBoardType(u8* value) {
  if (Cached(m_cache.sync.pleoraBoardType, value)) return rc::kOk;
  bool exists = false;
  const u32 result = PathExists(kPleoraPath, &exists);
  if (result != rc::kOk) return result;
  if (!exists) {
    *value = 0;
    return rc::kOk;
  }
  return CachedGetTextCode(m_cache.sync.pleoraBoardType, kPleoraPath, kPleoraTexts, value);
}

u32 CTQVSDKPTree::SetPleoraBoardType(u8 value) {
  if (value >= std::size(kPleoraTexts)) return rc::kOutOfEnumeration;
  bool exists = false;
  const u32 result = PathExists(kPleoraPath, &exists);
  if (result != rc::kOk) return result;
  if (!exists) return value == 0 ? rc::kOk : rc::kNotSupported;
  return CachedSetTextCode(m_cache.sync.pleoraBoardType, kPleoraPath, kPleoraTexts, value);
}

// --- Extra information ---------------------------------------------------------------------------

// Each value is shown whatever its type; one that does not read shows "Error" and the listing
// goes on.
u32 CTQVSDKPTree::GetCameraExtraInfo(zel::TArray<tqvSInfoEntry>& list) {
  auto add = [&](const zel::CString& name, const char* path) {
    zel::CString value;
    if (ReadAsText(m_tree, path, &value) != rc::kOk) value = "Error";
    list.Add(tqvSInfoEntry{name, value});
  };
  add("CPLD Version", ".version.hw.cpld.version");
  for (const char* fpga : {"NFPGA", "VFPGA", "PFPGA", "CFPGA", "SSDFPGA"}) {
    const zel::CString version = zel::CString(".version.hw.fpga.version") + fpga;
    bool exists = true;
    // Only a missing version path leaves the FPGA out; any other failure shows as "Error".
    if (PathExists(version.c_str(), &exists) == rc::kOk && !exists) continue;
    add(zel::CString(fpga) + " Version", version.c_str());
    add(zel::CString(fpga) + " CRC", (zel::CString(".version.hw.fpga.crc") + fpga).c_str());
  }
  add("Digitizer Version", ".version.hw.fpga.versionDigitizer");
  add("FPA Serial", ".version.product.fpaSerial");
  add("IDCA/DDCA Serial", ".version.product.idcaSerial");
  add("Cooler Serial", ".version.product.coolerSerial");
  add("Flex Part Number", ".version.product.flexPartNumber");
  add("Flex Revision", ".version.product.flexRevision");
  add("Flex Serial", ".version.product.flexSerial");
  zel::TArray<zel::CString> programs;
  const u32 result = ChildNames(m_tree, ".version.sw", programs);
  if (result != rc::kOk && result != rc::kNotFound) return result;
  for (u32 i = 0; i < programs.GetCount(); ++i) {
    add(programs[i] + " Version", (zel::CString(".version.sw.") + programs[i] + ".ver").c_str());
  }
  add("Updater Version", ".version.kits.updater.ver");
  return rc::kOk;
}
