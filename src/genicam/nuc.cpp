// Non-uniformity correction control and bad pixels over GenICam: the operations that are more than
// one feature (families/nuc.def holds the plain ones).
#include "common/nuc.h"
#include "common/several.h"
#include "genicam/rows.h"

namespace {

// Settings of several values, feature by feature (common/several.h).
template <std::size_t N, typename... T>
u32 ReadAll(const GicDevice& device, const char* const (&features)[N], T*... outputs) {
  return several::Read(
      [&device](const char* feature, auto* value) { return gicGetValue(device, feature, value); },
      features, outputs...);
}
template <std::size_t N, typename... T>
u32 WriteAll(const GicDevice& device, const char* const (&features)[N], T... values) {
  return several::Write(
      [&device](const char* feature, auto value) { return gicSetValue(device, feature, value); },
      features, values...);
}

constexpr const char* kSetup[] = {"CorrectionGainMin", "CorrectionGainMax", "CorrectionADMin",
                                  "CorrectionADMax", "CorrectionDetectBadPixels"};
constexpr const char* kTwinklers[] = {"CorrectionDetectTwinklingPixels",
                                      "CorrectionTwinklerNumFrames", "CorrectionTwinklerDelta"};
constexpr const char* kSetpointDeltas[] = {"CorrectionFlagSetpointDeltaLow",
                                           "CorrectionFlagSetpointDeltaHigh"};
constexpr const char* kSetpointTemps[] = {"CorrectionFlagSetpointFixedLow",
                                          "CorrectionFlagSetpointFixedHigh"};
constexpr const char* kPresets[] = {"CorrectionPS0", "CorrectionPS1", "CorrectionPS2",
                                    "CorrectionPS3"};
constexpr const char* kFlagConfig[] = {"MfgCorrectionFlagMaxTemp", "MfgCorrectionFlagStableDelta",
                                       "MfgCorrectionFlagStableCount", "MfgCorrectionFlagTimeout"};
constexpr const char* kAutoSetup[] = {"CorrectionAutoEnabled", "CorrectionAutoUseDeltaTemp",
                                      "CorrectionAutoDeltaTemp", "CorrectionAutoUseDeltaTime",
                                      "CorrectionAutoDeltaTime"};
constexpr const char* kPickerPosition[] = {"BadPixelPickerX", "BadPixelPickerY"};

constexpr rows::Gic kDigitalOutput = GIC("CorrectionDigitalEnabled", OR("CorrectionEnabled"));

}  // namespace

// --- Output enables ------------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetDigitalOutputNUCEnabled(bool* value) {
  return RowGet(kDigitalOutput, kDigitalOutput.feature, kDigitalOutput.alternative, value);
}

u32 CTQVSDKGenICam::SetDigitalOutputNUCEnabled(bool value) {
  return RowSet(kDigitalOutput, kDigitalOutput.feature, kDigitalOutput.alternative, value);
}

// --- Procedure commands --------------------------------------------------------------------------

u32 CTQVSDKGenICam::AcceptNUC() {
  TQV_GIC_OPERATION();
  return gicExecute(m_device, "CorrectionAccept", false);
}

u32 CTQVSDKGenICam::DiscardNUC() {
  TQV_GIC_OPERATION();
  return gicExecute(m_device, "CorrectionDiscard", false);
}

// --- Status and results --------------------------------------------------------------------------

// A code and its text; the code is given out before the text is read.
u32 CTQVSDKGenICam::CodeAndText(const char* codeFeature, const char* textFeature, u16* code,
                                char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  i64 value = 0;
  u32 result = gicGetCode(m_device, codeFeature, &value, kGicAttempts);
  if (result != rc::kOk) return result;
  *code = static_cast<u16>(value);
  return gicGetString(m_device, textFeature, buffer, size, kGicAttempts);
}

u32 CTQVSDKGenICam::GetNUCStatus(u16* code, char* buffer, i32 size) {
  return CodeAndText("CorrectionStatus", "CorrectionStatusText", code, buffer, size);
}

u32 CTQVSDKGenICam::GetNUCResult(u16* code, char* buffer, i32 size) {
  return CodeAndText("CorrectionResult", "CorrectionResultText", code, buffer, size);
}

// These features carry the preset text after the name ("CorrectionBadPixelTotalPS1").
u32 CTQVSDKGenICam::GetNUCResults(u8 preset, u32* total, u32* factory, u32* newPixels,
                                  u32* twinkling, u32* aboveGainMax, u32* belowGainMin,
                                  u32* aboveADMaxSrc1, u32* belowADMinSrc1, u32* aboveADMaxSrc2,
                                  u32* belowADMinSrc2) {
  TQV_GIC_OPERATION();
  static constexpr const char* kWide[7] = {"CorrectionBadPixelTotal",
                                           "CorrectionBadPixelTwinkling",
                                           "CorrectionBadPixelAboveGainMax",
                                           "CorrectionBadPixelBelowGainMin",
                                           "CorrectionBadPixelAboveADMaxSource1",
                                           "CorrectionBadPixelBelowADMinSource1",
                                           "CorrectionBadPixelAboveADMaxSource2"};
  static constexpr const char* kNarrow[3] = {"CorrectionBadPixelBelowADMinSource2",
                                             "CorrectionBadPixelFactory", "CorrectionBadPixelNew"};
  const zel::CString suffix = PresetText(preset);
  u32 counts[10] = {};
  for (int i = 0; i < 7; ++i) {
    i64 value = 0;
    const zel::CString name = zel::CString(kWide[i]) + suffix;
    if (u32 result = gicGetInt64(m_device, name.c_str(), &value, kGicAttempts)) return result;
    counts[i] = static_cast<u32>(value);
  }
  for (int i = 0; i < 3; ++i) {
    const zel::CString name = zel::CString(kNarrow[i]) + suffix;
    if (u32 result = gicGetUInt32(m_device, name.c_str(), &counts[7 + i], kGicAttempts))
      return result;
  }
  *total = counts[0];
  *twinkling = counts[1];
  *aboveGainMax = counts[2];
  *belowGainMin = counts[3];
  *aboveADMaxSrc1 = counts[4];
  *belowADMinSrc1 = counts[5];
  *aboveADMaxSrc2 = counts[6];
  *belowADMinSrc2 = counts[7];
  *factory = counts[8];
  *newPixels = counts[9];
  return rc::kOk;
}

// --- Procedure settings --------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetNUCSetup(float* gainMin, float* gainMax, u16* adMin, u16* adMax,
                                bool* detectBadPixels) {
  TQV_GIC_OPERATION();
  return ReadAll(m_device, kSetup, gainMin, gainMax, adMin, adMax, detectBadPixels);
}

u32 CTQVSDKGenICam::SetNUCSetup(float gainMin, float gainMax, u16 adMin, u16 adMax,
                                bool detectBadPixels) {
  TQV_GIC_OPERATION();
  return WriteAll(m_device, kSetup, gainMin, gainMax, adMin, adMax, detectBadPixels);
}

u32 CTQVSDKGenICam::GetTwinklerSetup(bool* detect, u32* framesToCollect, u16* delta) {
  TQV_GIC_OPERATION();
  return ReadAll(m_device, kTwinklers, detect, framesToCollect, delta);
}

u32 CTQVSDKGenICam::SetTwinklerSetup(bool detect, u32 framesToCollect, u16 delta) {
  TQV_GIC_OPERATION();
  return WriteAll(m_device, kTwinklers, detect, framesToCollect, delta);
}

u32 CTQVSDKGenICam::GetNUCFlagSetpointDeltas(float* low, float* high) {
  TQV_GIC_OPERATION();
  return ReadAll(m_device, kSetpointDeltas, low, high);
}

u32 CTQVSDKGenICam::SetNUCFlagSetpointDeltas(float low, float high) {
  TQV_GIC_OPERATION();
  return WriteAll(m_device, kSetpointDeltas, low, high);
}

u32 CTQVSDKGenICam::GetNUCFlagSetpointTemps(float* low, float* high) {
  TQV_GIC_OPERATION();
  return ReadAll(m_device, kSetpointTemps, low, high);
}

u32 CTQVSDKGenICam::SetNUCFlagSetpointTemps(float low, float high) {
  TQV_GIC_OPERATION();
  return WriteAll(m_device, kSetpointTemps, low, high);
}

// A camera without correction presets corrects the one preset it has.
u32 CTQVSDKGenICam::GetNUCPresets(bool* preset0, bool* preset1, bool* preset2, bool* preset3) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "CorrectionPS0")) {
    *preset0 = true;
    *preset1 = *preset2 = *preset3 = false;
    return rc::kOk;
  }
  return ReadAll(m_device, kPresets, preset0, preset1, preset2, preset3);
}

u32 CTQVSDKGenICam::SetNUCPresets(bool preset0, bool preset1, bool preset2, bool preset3) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "CorrectionPS0")) {
    return preset0 && !preset1 && !preset2 && !preset3 ? rc::kOk : rc::kNotSupported;
  }
  return WriteAll(m_device, kPresets, preset0, preset1, preset2, preset3);
}

u32 CTQVSDKGenICam::GetNUCFlagConfig(float* maxTemp, float* stableDelta, u8* stableCount,
                                     u32* timeout) {
  TQV_GIC_OPERATION();
  return ReadAll(m_device, kFlagConfig, maxTemp, stableDelta, stableCount, timeout);
}

u32 CTQVSDKGenICam::SetNUCFlagConfig(float maxTemp, float stableDelta, u8 stableCount,
                                     u32 timeout) {
  TQV_GIC_OPERATION();
  return WriteAll(m_device, kFlagConfig, maxTemp, stableDelta, stableCount, timeout);
}

// --- Automatic correction ------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetAutoNUCSetup(bool* enabled, bool* useDeltaTemp, float* deltaTemp,
                                    bool* useDeltaTime, u32* deltaTime) {
  TQV_GIC_OPERATION();
  return ReadAll(m_device, kAutoSetup, enabled, useDeltaTemp, deltaTemp, useDeltaTime, deltaTime);
}

u32 CTQVSDKGenICam::SetAutoNUCSetup(bool enabled, bool useDeltaTemp, float deltaTemp,
                                    bool useDeltaTime, u32 deltaTime) {
  TQV_GIC_OPERATION();
  return WriteAll(m_device, kAutoSetup, enabled, useDeltaTemp, deltaTemp, useDeltaTime, deltaTime);
}

// Unlike the property tree, a camera without the feature answers 1 (with false).
u32 CTQVSDKGenICam::GetAutoNUCInProgress(bool* value) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "CorrectionAutoInProgress")) {
    *value = false;
    return rc::kTimeout;
  }
  return gicGetBool(m_device, "CorrectionAutoInProgress", value, kGicAttempts);
}

// --- Bad pixels ----------------------------------------------------------------------------------

// The preset of a bad-pixel operation (signed: -1 stands for every preset), when the camera has a
// feature for it. A camera without one takes preset 0 and, where `everyPreset` says so, -1; any
// other preset gives 2 and nothing is written.
u32 CTQVSDKGenICam::WritePreset(const char* feature, i64 preset, bool everyPreset) {
  if (gicIsPresent(m_device, feature)) return gicSetInt64(m_device, feature, preset, kGicAttempts);
  return preset == 0 || (everyPreset && preset == -1) ? rc::kOk : rc::kNotSupported;
}

u32 CTQVSDKGenICam::PickBadPixel(u16 x, u16 y, i8 preset, bool bad) {
  TQV_GIC_OPERATION();
  const bool hasPreset = gicIsPresent(m_device, "BadPixelPickerPreset");
  if (!hasPreset && preset != 0 && preset != -1) return rc::kNotSupported;
  u32 result = WriteAll(m_device, kPickerPosition, x, y);
  if (result == rc::kOk && hasPreset) {
    result = gicSetInt64(m_device, "BadPixelPickerPreset", preset, kGicAttempts);
  }
  if (result == rc::kOk) result = gicSetBool(m_device, "BadPixelPickerState", bad, kGicAttempts);
  return result ? result : gicExecute(m_device, "BadPixelPickerPick", true);
}

u32 CTQVSDKGenICam::BadPixelListFile(u8 preset, const char* fileName, const char* command) {
  TQV_GIC_OPERATION();
  if (!fileName) return rc::kInvalidArgument;
  u32 result = WritePreset("MfgBadPixelListPreset", preset, false);
  if (result == rc::kOk)
    result = gicSetString(m_device, "MfgBadPixelListFile", fileName, kGicAttempts);
  return result ? result : gicExecute(m_device, command, true);
}

u32 CTQVSDKGenICam::SaveBadPixelList(u8 preset, const char* fileName) {
  return BadPixelListFile(preset, fileName, "MfgBadPixelListSave");
}

u32 CTQVSDKGenICam::LoadBadPixelList(u8 preset, const char* fileName) {
  return BadPixelListFile(preset, fileName, "MfgBadPixelListLoad");
}

// Every camera of this kind can save and load its lists.
u32 CTQVSDKGenICam::GetBadPixelListIOSupported(bool* value) {
  *value = true;
  return rc::kOk;
}

u32 CTQVSDKGenICam::FactoryBadPixelList(i8 preset, const char* command) {
  TQV_GIC_OPERATION();
  u32 result = WritePreset("MfgFactoryBadPixelListPreset", preset, true);
  return result ? result : gicExecute(m_device, command, true);
}

u32 CTQVSDKGenICam::MfgFactoryBPLCreate(i8 preset) {
  return FactoryBadPixelList(preset, "MfgFactoryBadPixelListCreate");
}

u32 CTQVSDKGenICam::MfgFactoryBPLAppend(i8 preset) {
  return FactoryBadPixelList(preset, "MfgFactoryBadPixelListAppend");
}

u32 CTQVSDKGenICam::MfgFactoryBPLApply(i8 preset) {
  return FactoryBadPixelList(preset, "MfgFactoryBadPixelListApply");
}

// --- Size and identity ---------------------------------------------------------------------------

u32 CTQVSDKGenICam::GuessNUCSize(u16 width, u16 height, u32* size) {
  *size = GuessedNUCFileSize(width, height);
  return rc::kOk;
}

u32 CTQVSDKGenICam::GetNUCSize(const char* name, u32* size) {
  return GetNUCFileInfo(name, size, nullptr);
}

// The correction file of each calibration, read once per handle: a failure leaves the list
// unfilled, so that the next call starts over.
u32 CTQVSDKGenICam::FillFactoryNUCNames() {
  if (m_factoryNUCNamesFilled) return rc::kOk;
  m_factoryNUCNames.Clear();
  i64 first = 0, last = 0;
  u32 result = gicGetLimitsInt64(m_device, "CalibrationQueryIndex", &first, &last);
  for (i64 index = first; result == rc::kOk && index <= last; ++index) {
    zel::CString name;
    result = gicSetInt64(m_device, "CalibrationQueryIndex", index, kGicAttempts);
    if (result == rc::kOk) {
      result = gicGetString(m_device, "CalibrationQueryCorrection", name, kGicAttempts);
    }
    if (result == rc::kOk) m_factoryNUCNames.Add(name);
  }
  if (result != rc::kOk) {
    m_factoryNUCNames.Clear();
    return result;
  }
  m_factoryNUCNamesFilled = true;
  return rc::kOk;
}

// The name is compared as given: these cameras name corrections without an extension.
u32 CTQVSDKGenICam::IsFactoryNUC(const char* name, bool* isFactory) {
  TQV_GIC_OPERATION();
  if (!name) return rc::kInvalidArgument;
  u32 result = FillFactoryNUCNames();
  if (result != rc::kOk) return result;
  *isFactory = false;
  for (u32 i = 0; i < m_factoryNUCNames.GetCount(); ++i) {
    if (m_factoryNUCNames[i].compare(name) == 0) {
      *isFactory = true;
      break;
    }
  }
  return rc::kOk;
}
