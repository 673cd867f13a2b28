// Image geometry, integration and frame timing over GenICam.
#include "common/timing_operations.h"
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"

// --- Window --------------------------------------------------------------------------------------

// Cameras with "ImageHeight" give the height as it is; the others count one row more in "Height".
// The window is the same for every preset.
u32 CTQVSDKGenICam::GetWindow(u8, u16* xOffset, u16* yOffset, u16* width, u16* height) {
  TQV_GIC_OPERATION();
  const bool image = gicIsPresent(m_device, "ImageHeight");
  u16 values[4] = {};
  const char* const names[4] = {"OffsetX", "OffsetY", image ? "ImageWidth" : "Width",
                                image ? "ImageHeight" : "Height"};
  for (int i = 0; i < 4; ++i) {
    if (gicGetUInt16(m_device, names[i], &values[i], kGicAttempts) != rc::kOk) return rc::kError;
  }
  *xOffset = values[0];
  *yOffset = values[1];
  *width = values[2];
  *height = image ? values[3] : static_cast<u16>(values[3] - 1);
  return rc::kOk;
}

// The offsets are zeroed first so that the camera accepts any size the sensor holds.
u32 CTQVSDKGenICam::SetWindow(u8, u16 xOffset, u16 yOffset, u16 width, u16 height) {
  TQV_GIC_OPERATION();
  const bool image = gicIsPresent(m_device, "ImageHeight");
  const struct {
    const char* name;
    i64 value;
  } writes[] = {
      {"OffsetX", 0},
      {"OffsetY", 0},
      {image ? "ImageWidth" : "Width", width},
      {image ? "ImageHeight" : "Height", image ? height : height + 1},
      {"OffsetX", xOffset},
      {"OffsetY", yOffset},
  };
  for (const auto& write : writes) {
    if (u32 result = gicSetInt64(m_device, write.name, write.value, kGicAttempts)) return result;
  }
  return rc::kOk;
}

u32 CTQVSDKGenICam::GetWindowLimits(u16* minWidth, u16* maxWidth, u16* minHeight, u16* maxHeight,
                                    u16* xIncrement, u16* yIncrement) {
  TQV_GIC_OPERATION();
  i64 widthMin = 0, widthMax = 0, heightMin = 0, heightMax = 0, widthInc = 0, heightInc = 0;
  u16 sensorWidth = 0, sensorHeight = 0;
  u32 result = gicGetLimitsInt64(m_device, "Width", &widthMin, &widthMax);
  if (!result) result = gicGetUInt16(m_device, "SensorWidth", &sensorWidth, kGicAttempts);
  if (!result) result = gicGetLimitsInt64(m_device, "Height", &heightMin, &heightMax);
  if (!result) result = gicGetUInt16(m_device, "SensorHeight", &sensorHeight, kGicAttempts);
  if (!result) result = gicGetIncrementInt64(m_device, "Width", &widthInc);
  if (!result) result = gicGetIncrementInt64(m_device, "Height", &heightInc);
  if (result != rc::kOk) return result;
  *minWidth = static_cast<u16>(widthMin);
  *maxWidth = sensorWidth;
  *minHeight = static_cast<u16>(heightMin - 1);
  *maxHeight = sensorHeight;
  *xIncrement = static_cast<u16>(widthInc);
  *yIncrement = static_cast<u16>(heightInc);
  return rc::kOk;
}

// --- Integration and frame periods ---------------------------------------------------------------

u32 CTQVSDKGenICam::GetIntegrationWidth(u8 preset, u32* clocks) {
  TQV_GIC_OPERATION();
  return gicGetUInt32(m_device, PresetFeature(preset, "IntegrationWidth").c_str(), clocks,
                      kGicAttempts);
}
u32 CTQVSDKGenICam::SetIntegrationWidth(u8 preset, u32 clocks) {
  TQV_GIC_OPERATION();
  return gicSetInt64(m_device, PresetFeature(preset, "IntegrationWidth").c_str(), clocks,
                     kGicAttempts);
}

u32 CTQVSDKGenICam::GetIntegrationTime(u8 preset, double* milliseconds) {
  TQV_GIC_OPERATION();
  return gicGetFlt64(m_device, PresetFeature(preset, "IntegrationTime").c_str(), milliseconds,
                     kGicAttempts);
}
u32 CTQVSDKGenICam::SetIntegrationTime(u8 preset, double milliseconds) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, PresetFeature(preset, "IntegrationTime").c_str(), milliseconds,
                     kGicAttempts);
}

u32 CTQVSDKGenICam::GetFrameWidth(u8 preset, u32* clocks) {
  TQV_GIC_OPERATION();
  return gicGetUInt32(m_device, PresetFeature(preset, "FrameWidth").c_str(), clocks, kGicAttempts);
}
u32 CTQVSDKGenICam::SetFrameWidth(u8 preset, u32 clocks) {
  TQV_GIC_OPERATION();
  return gicSetInt64(m_device, PresetFeature(preset, "FrameWidth").c_str(), clocks, kGicAttempts);
}

u32 CTQVSDKGenICam::GetFrameRate(u8 preset, double* hertz) {
  TQV_GIC_OPERATION();
  return gicGetFlt64(m_device, PresetFeature(preset, "FrameRate").c_str(), hertz, kGicAttempts);
}
u32 CTQVSDKGenICam::SetFrameRate(u8 preset, double hertz) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, PresetFeature(preset, "FrameRate").c_str(), hertz, kGicAttempts);
}

// --- Presets and superframes ---------------------------------------------------------------------

// Without the feature a camera has one preset mode, single preset (0).
u32 CTQVSDKGenICam::GetPresetSequencingMode(u8* value) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "PresetSequencingMode")) {
    *value = 0;
    return rc::kOk;
  }
  return gicGetEnumValue(m_device, "PresetSequencingMode", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetPresetSequencingMode(u8 value) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "PresetSequencingMode")) {
    return value == 0 ? rc::kOk : rc::kNotSupported;
  }
  return gicSetEnumValue(m_device, "PresetSequencingMode", static_cast<i64>(value), kGicAttempts);
}

u32 CTQVSDKGenICam::GetSuperframeWidth(u32* value) {
  TQV_GIC_OPERATION();
  return gicGetUInt32(m_device, "SuperframeWidth", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetSuperframeWidth(u32 value) {
  TQV_GIC_OPERATION();
  return gicSetInt64(m_device, "SuperframeWidth", value, kGicAttempts);
}

u32 CTQVSDKGenICam::GetSuperframeRate(double* value) {
  TQV_GIC_OPERATION();
  return gicGetFlt64(m_device, "SuperframeRate", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetSuperframeRate(double value) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, "SuperframeRate", value, kGicAttempts);
}

u32 CTQVSDKGenICam::GetActivePreset(u8* value) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "ActivePreset")) {
    *value = 0;
    return rc::kOk;
  }
  return gicGetUInt8(m_device, "ActivePreset", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetActivePreset(u8 preset) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "ActivePreset")) return preset == 0 ? rc::kOk : rc::kNotSupported;
  return gicSetInt64(m_device, "ActivePreset", preset, kGicAttempts);
}

u32 CTQVSDKGenICam::GetInvertEnabled(bool* value) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "ReverseY", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetInvertEnabled(bool value) {
  TQV_GIC_OPERATION();
  return gicSetBool(m_device, "ReverseY", value, kGicAttempts);
}

u32 CTQVSDKGenICam::GetRevertEnabled(bool* value) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "ReverseX", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetRevertEnabled(bool value) {
  TQV_GIC_OPERATION();
  return gicSetBool(m_device, "ReverseX", value, kGicAttempts);
}

// --- Per-preset gain, offset, dwell and subframes ------------------------------------------------

u32 CTQVSDKGenICam::GetDigitalGain(u8 preset, float* gain) {
  TQV_GIC_OPERATION();
  return gicGetFlt32(m_device, PresetFeature(preset, "DigitalGain").c_str(), gain, kGicAttempts);
}
u32 CTQVSDKGenICam::SetDigitalGain(u8 preset, float gain) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, PresetFeature(preset, "DigitalGain").c_str(), gain, kGicAttempts);
}

u32 CTQVSDKGenICam::GetDigitalOffset(u8 preset, float* offset) {
  TQV_GIC_OPERATION();
  return gicGetFlt32(m_device, PresetFeature(preset, "DigitalOffset").c_str(), offset,
                     kGicAttempts);
}
u32 CTQVSDKGenICam::SetDigitalOffset(u8 preset, float offset) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, PresetFeature(preset, "DigitalOffset").c_str(), offset,
                     kGicAttempts);
}

u32 CTQVSDKGenICam::GetDwellCount(u8 preset, u32* count) {
  TQV_GIC_OPERATION();
  return gicGetUInt32(m_device, PresetFeature(preset, "DwellCount").c_str(), count, kGicAttempts);
}
u32 CTQVSDKGenICam::SetDwellCount(u8 preset, u32 count) {
  TQV_GIC_OPERATION();
  return gicSetInt64(m_device, PresetFeature(preset, "DwellCount").c_str(), count, kGicAttempts);
}

u32 CTQVSDKGenICam::GetSubframeEnabled(u8 preset, bool* enabled) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, PresetFeature(preset, "SubframeEnabled").c_str(), enabled,
                    kGicAttempts);
}
u32 CTQVSDKGenICam::SetSubframeEnabled(u8 preset, bool enabled) {
  TQV_GIC_OPERATION();
  return gicSetBool(m_device, PresetFeature(preset, "SubframeEnabled").c_str(), enabled,
                    kGicAttempts);
}

// --- Gain, bias, offset and skimming -------------------------------------------------------------

// Without the feature a camera has one gain level, 0.
u32 CTQVSDKGenICam::GetGainLevel(u8* value) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "GainLevel")) {
    *value = 0;
    return rc::kOk;
  }
  return gicGetUInt8(m_device, "GainLevel", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetGainLevel(u8 value) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "GainLevel")) return value == 0 ? rc::kOk : rc::kNotSupported;
  return gicSetInt64(m_device, "GainLevel", value, kGicAttempts);
}

u32 CTQVSDKGenICam::GetFPABiasCount(u8* value) {
  TQV_GIC_OPERATION();
  if (!gicIsAvailable(m_device, "DetectorBiasIndexMax")) {
    *value = 1;
    return rc::kOk;
  }
  u8 last = 0;
  u32 result = gicGetUInt8(m_device, "DetectorBiasIndexMax", &last, kGicAttempts);
  if (result == rc::kOk) *value = static_cast<u8>(last + 1);
  return result;
}

// Cameras with several detector biases select one through "DetectorBiasIndex" first.
u32 CTQVSDKGenICam::SelectBias(u8 index) {
  if (!gicIsAvailable(m_device, "DetectorBiasIndex")) return rc::kOk;
  return gicSetInt64(m_device, "DetectorBiasIndex", index, kGicAttempts);
}

u32 CTQVSDKGenICam::GetFPABiasEx(u8 index, float* volts) {
  TQV_GIC_OPERATION();
  u32 result = SelectBias(index);
  return result ? result : gicGetFlt32(m_device, "DetectorBias", volts, kGicAttempts);
}
u32 CTQVSDKGenICam::SetFPABiasEx(u8 index, float volts) {
  TQV_GIC_OPERATION();
  u32 result = SelectBias(index);
  return result ? result : gicSetFlt64(m_device, "DetectorBias", volts, kGicAttempts);
}
u32 CTQVSDKGenICam::GetFPABiasLimitsEx(u8 index, float* minimum, float* maximum) {
  TQV_GIC_OPERATION();
  u32 result = SelectBias(index);
  return result ? result : gicGetLimitsFlt32(m_device, "DetectorBias", minimum, maximum);
}

u32 CTQVSDKGenICam::GetFPABias(float* volts) { return GetFPABiasEx(0, volts); }
u32 CTQVSDKGenICam::SetFPABias(float volts) { return SetFPABiasEx(0, volts); }
u32 CTQVSDKGenICam::GetFPABiasLimits(float* minimum, float* maximum) {
  return GetFPABiasLimitsEx(0, minimum, maximum);
}

u32 CTQVSDKGenICam::GetGlobalOffsetVoltage(float* value) {
  TQV_GIC_OPERATION();
  return gicGetFlt32(m_device, "AnalogOffsetVoltage", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetGlobalOffsetVoltage(float value) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, "AnalogOffsetVoltage", value, kGicAttempts);
}
u32 CTQVSDKGenICam::GetGlobalOffsetVoltageLimits(float* minimum, float* maximum) {
  TQV_GIC_OPERATION();
  return gicGetLimitsFlt32(m_device, "AnalogOffsetVoltage", minimum, maximum);
}

u32 CTQVSDKGenICam::GetSkimmingAvailable(bool* value) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "SkimmingAvailable", value, kGicAttempts);
}

u32 CTQVSDKGenICam::GetSkimmingEnabled(bool* value) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "SkimmingEnabled", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetSkimmingEnabled(bool value) {
  TQV_GIC_OPERATION();
  return gicSetBool(m_device, "SkimmingEnabled", value, kGicAttempts);
}

u32 CTQVSDKGenICam::GetSkimmingVoltage(float* value) {
  TQV_GIC_OPERATION();
  return gicGetFlt32(m_device, "SkimmingVoltage", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetSkimmingVoltage(float value) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, "SkimmingVoltage", value, kGicAttempts);
}

// The skimming voltage is the voltage "vos"; cameras that do not list it give its own limits.
u32 CTQVSDKGenICam::GetSkimmingVoltageLimits(float* minimum, float* maximum) {
  TQV_GIC_OPERATION();
  if (GetVoltageLimits("vos", minimum, maximum) == rc::kOk) return rc::kOk;
  float low = 0, high = 0;
  u32 result = gicGetFlt32(m_device, "SkimmingVoltageMin", &low, kGicAttempts);
  if (result == rc::kOk) result = gicGetFlt32(m_device, "SkimmingVoltageMax", &high, kGicAttempts);
  if (result == rc::kOk) {
    *minimum = low;
    *maximum = high;
  }
  return result;
}

// --- Manufacturing values of the detector timing -------------------------------------------------

u32 CTQVSDKGenICam::SetConstantFeature(const char* name, u32 value, u32* constant) {
  u32 result = gicSetInt64(m_device, name, value, kGicAttempts);
  if (result == rc::kOk) *constant = value;
  return result;
}

u32 CTQVSDKGenICam::SetDeadRowsFeature(const char* name, u32 value) {
  u32 result = gicSetInt64(m_device, name, value, kGicAttempts);
  return result ? result
                : gicGetUInt32(m_device, "MfgDeadRows", &m_constants.deadRows, kGicAttempts);
}

u32 CTQVSDKGenICam::GetMfgOverrideRoicConfig(bool* value) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "MfgOverrideRoicConfig", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetMfgOverrideRoicConfig(bool value) {
  TQV_GIC_OPERATION();
  return gicSetBool(m_device, "MfgOverrideRoicConfig", value, kGicAttempts);
}
u32 CTQVSDKGenICam::GetMfgLineDeadWidth(u32* value) {
  TQV_GIC_OPERATION();
  return gicGetUInt32(m_device, "MfgLineDeadWidth", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetMfgLineDeadWidth(u32 value) {
  TQV_GIC_OPERATION();
  return SetConstantFeature("MfgLineDeadWidth", value, &m_constants.lineDeadWidth);
}
u32 CTQVSDKGenICam::GetMfgPreIntDeadWidth(u32* value) {
  TQV_GIC_OPERATION();
  return gicGetUInt32(m_device, "MfgPreIntegrationDeadWidth", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetMfgPreIntDeadWidth(u32 value) {
  TQV_GIC_OPERATION();
  return SetConstantFeature("MfgPreIntegrationDeadWidth", value,
                            &m_constants.preIntegrationDeadWidth);
}
u32 CTQVSDKGenICam::GetMfgPostIntDeadWidth(u32* value) {
  TQV_GIC_OPERATION();
  return gicGetUInt32(m_device, "MfgPostIntegrationDeadWidth", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetMfgPostIntDeadWidth(u32 value) {
  TQV_GIC_OPERATION();
  return SetConstantFeature("MfgPostIntegrationDeadWidth", value,
                            &m_constants.postIntegrationDeadWidth);
}
u32 CTQVSDKGenICam::GetMfgPreDeadRows(u32* value) {
  TQV_GIC_OPERATION();
  return gicGetUInt32(m_device, "MfgPreDeadRows", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetMfgPreDeadRows(u32 value) {
  TQV_GIC_OPERATION();
  return SetDeadRowsFeature("MfgPreDeadRows", value);
}
u32 CTQVSDKGenICam::GetMfgPostDeadRows(u32* value) {
  TQV_GIC_OPERATION();
  return gicGetUInt32(m_device, "MfgPostDeadRows", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetMfgPostDeadRows(u32 value) {
  TQV_GIC_OPERATION();
  return SetDeadRowsFeature("MfgPostDeadRows", value);
}
u32 CTQVSDKGenICam::GetMfgHasExtraLSync(bool* value) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "MfgHasExtraLSync", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetMfgHasExtraLSync(bool value) {
  TQV_GIC_OPERATION();
  return gicSetBool(m_device, "MfgHasExtraLSync", value, kGicAttempts);
}

// --- Constants, conversions, minimum widths, bounds and four-preset loops ---------------------

TQV_TIMING_OPERATIONS(CTQVSDKGenICam)
