// Synchronisation, triggering, time, temperatures and identity over GenICam.
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"

// --- Identity ------------------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetVariant(u8* value) {
  TQV_GIC_OPERATION();
  return gicGetCode(m_device, "CameraVariant", value, kGicAttempts);
}
u32 CTQVSDKGenICam::SetVariant(u8 value) {
  TQV_GIC_OPERATION();
  return gicSetCode(m_device, "MfgCameraVariant", value, kGicAttempts);
}

// Cameras without an interface board report the first board type.
u32 CTQVSDKGenICam::GetPleoraBoardType(u8* value) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "PleoraBoardType")) {
    *value = 0;
    return rc::kOk;
  }
  return gicGetCode(m_device, "PleoraBoardType", value, kGicAttempts);
}

u32 CTQVSDKGenICam::SetPleoraBoardType(u8 value) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "MfgPleoraBoardType")) {
    return value == 0 ? rc::kOk : rc::kNotSupported;
  }
  return gicSetCode(m_device, "MfgPleoraBoardType", value, kGicAttempts);
}

// --- Voltages ------------------------------------------------------------------------------------

// The camera's voltage names, read once: each index of "VoltageIndex" names one voltage.
u32 CTQVSDKGenICam::FillVoltageNames() {
  if (m_voltageNamesFilled) return rc::kOk;
  m_voltageNames.Clear();
  i64 first = 0, last = 0;
  u32 result = gicGetLimitsInt64(m_device, "VoltageIndex", &first, &last);
  for (i64 index = first; result == rc::kOk && index <= last; ++index) {
    zel::CString name;
    result = gicSetInt64(m_device, "VoltageIndex", index, kGicAttempts);
    if (result == rc::kOk) result = gicGetString(m_device, "VoltageName", name, kGicAttempts);
    if (result == rc::kOk) m_voltageNames.Add(name);
  }
  if (result != rc::kOk) {
    m_voltageNames.Clear();
    return result;
  }
  m_voltageFirstIndex = first;
  m_voltageNamesFilled = true;
  return rc::kOk;
}

u32 CTQVSDKGenICam::SelectVoltage(const char* name) {
  if (!name) return rc::kInvalidArgument;
  u32 result = FillVoltageNames();
  if (result != rc::kOk) return result;
  for (u32 i = 0; i < m_voltageNames.GetCount(); ++i) {
    if (m_voltageNames[i].compare(name) == 0) {
      return gicSetInt64(m_device, "VoltageIndex", m_voltageFirstIndex + i, kGicAttempts);
    }
  }
  return rc::kNotFound;
}

u32 CTQVSDKGenICam::GetVoltageLimits(const char* name, float* minimum, float* maximum) {
  TQV_GIC_OPERATION();
  u32 result = SelectVoltage(name);
  return result ? result : gicGetLimitsFlt32(m_device, "VoltageVolts", minimum, maximum);
}
