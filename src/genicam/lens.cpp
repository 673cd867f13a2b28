// Lens, focus, field of view, filter wheel, lens cover and flag over GenICam.
#include <cstdio>

#include "common/lens.h"
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"
#include "genicam/rows.h"
#include "zel/time.h"

namespace {

constexpr u8 kFilterSlots = 4;
constexpr i64 kFlagTemperature = 8;  // the flag's entry of the temperature selector
constexpr i64 kAutoFocusDone = 1;
constexpr u32 kAutoFocusPollMs = 500;

// A focus value of one field of view: the query selects the field of view first.
template <typename T>
u32 GetForFOV(GicDevice device, u8 fov, const char* feature, T* value) {
  const u32 result = gicSetInt64(device, "FocusQueryFOV", fov, kGicAttempts);
  return result != rc::kOk ? result : gicGetValue(device, feature, value);
}
template <typename T>
u32 SetForFOV(GicDevice device, u8 fov, const char* feature, T value) {
  const u32 result = gicSetInt64(device, "FocusQueryFOV", fov, kGicAttempts);
  return result != rc::kOk ? result : gicSetValue(device, feature, value);
}

// The name of a feature that carries a slot digit.
struct SlotFeature {
  SlotFeature(const char* prefix, u8 slot) {
    std::snprintf(name, sizeof name, "%s%u", prefix, static_cast<unsigned>(slot));
  }
  char name[64];
};

}  // namespace

// Cameras that move to a desired value on a command take the value first and then the command;
// the others take the value itself. `tested` is the feature whose presence decides.
u32 CTQVSDKGenICam::MoveToDesired(const char* tested, const char* desired, const char* command,
                                  const char* direct, i64 value) {
  if (!gicIsPresent(m_device, tested)) return gicSetCode(m_device, direct, value, kGicAttempts);
  const u32 result = gicSetCode(m_device, desired, value, kGicAttempts);
  return result != rc::kOk ? result : gicExecute(m_device, command, true);
}

// States 0 and 1 are reached by their own commands where the camera has them.
u32 CTQVSDKGenICam::SetStateByCommand(u8 state, const char* toZero, const char* toOne,
                                      const char* feature) {
  const char* command = state == 0 ? toZero : state == 1 ? toOne : nullptr;
  if (command && gicIsPresent(m_device, command)) return gicExecute(m_device, command, true);
  return gicSetCode(m_device, feature, state, kGicAttempts);
}

// A pair of integer features, handed out only when both are read.
u32 CTQVSDKGenICam::GetRange(const char* minimum, const char* maximum, u32* low, u32* high) {
  u32 values[2] = {};
  u32 result = gicGetUInt32(m_device, minimum, &values[0], kGicAttempts);
  if (result == rc::kOk) result = gicGetUInt32(m_device, maximum, &values[1], kGicAttempts);
  if (result != rc::kOk) return result;
  *low = values[0];
  *high = values[1];
  return rc::kOk;
}

// A bool feature the camera may lack: then false.
u32 CTQVSDKGenICam::GetBoolIfPresent(const char* feature, bool* value) {
  if (!gicIsPresent(m_device, feature)) {
    *value = false;
    return rc::kOk;
  }
  return gicGetBool(m_device, feature, value, kGicAttempts);
}

// --- Filter wheel --------------------------------------------------------------------------------

u32 CTQVSDKGenICam::ScanFilters() {
  TQV_GIC_OPERATION();
  return gicExecute(m_device, "FilterWheelScan", true);
}

// The positions are read in order; the first failure ends it, earlier IDs handed out.
u32 CTQVSDKGenICam::GetFilterIDs(u8* slot0, u8* slot1, u8* slot2, u8* slot3) {
  TQV_GIC_OPERATION();
  u8* const outputs[kFilterSlots] = {slot0, slot1, slot2, slot3};
  for (u8 slot = 0; slot < kFilterSlots; ++slot) {
    const SlotFeature feature("FilterWheelFilterID", slot);
    const u32 result = gicGetCode(m_device, feature.name, outputs[slot], kGicAttempts);
    if (result != rc::kOk) return result;
  }
  return rc::kOk;
}

u32 CTQVSDKGenICam::SetCurrentFilterID(u8 id) {
  TQV_GIC_OPERATION();
  return MoveToDesired("FilterWheelDesiredFilterID", "FilterWheelDesiredFilterID",
                       "FilterWheelSelectDesiredFilterID", "FilterWheelCurrentFilterID", id);
}

// Cameras that do not say whether their filters can be replaced have replaceable filters
// exactly when they have a wheel.
u32 CTQVSDKGenICam::GetFilterReplaceable(bool* replaceable) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "FilterReplaceable")) return GetFilterWheelPresent(replaceable);
  return gicGetBool(m_device, "FilterReplaceable", replaceable, kGicAttempts);
}

// A camera without slot assignment lacks the feature (2), as on the property tree.
u32 CTQVSDKGenICam::GetFilterIDInSlot(u8 slot, u8* id) {
  if (slot >= kFilterSlots) return rc::kNotFound;
  TQV_GIC_OPERATION();
  const SlotFeature feature("FilterIDInSlot", slot);
  if (!gicIsPresent(m_device, feature.name)) return rc::kNotSupported;
  return gicGetCode(m_device, feature.name, id, kGicAttempts);
}

u32 CTQVSDKGenICam::SetFilterIDInSlot(u8 slot, u8 id) {
  if (slot >= kFilterSlots) return rc::kNotFound;
  TQV_GIC_OPERATION();
  const SlotFeature feature("FilterIDInSlot", slot);
  if (!gicIsPresent(m_device, feature.name)) return rc::kNotSupported;
  return gicSetCode(m_device, feature.name, id, kGicAttempts);
}

u32 CTQVSDKGenICam::GetFilterInfoAvailable(bool* available) {
  TQV_GIC_OPERATION();
  return GetBoolIfPresent("FilterInfoAvailable", available);
}

u32 CTQVSDKGenICam::GetFilterInfoName(u32 id, char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  u32 result = gicSetInt64(m_device, "FilterInfoIndex", id, kGicAttempts);
  if (result != rc::kOk) return result;
  return gicGetString(m_device, "FilterInfoName", buffer, size, kGicAttempts);
}

u32 CTQVSDKGenICam::SetFilterInfoName(u32 id, const char* name) {
  TQV_GIC_OPERATION();
  u32 result = gicSetInt64(m_device, "FilterInfoIndex", id, kGicAttempts);
  if (result != rc::kOk) return result;
  return gicSetString(m_device, "FilterInfoName", name, kGicAttempts);
}

// --- Flag ----------------------------------------------------------------------------------------

u32 CTQVSDKGenICam::SetFlagState(u8 state) {
  TQV_GIC_OPERATION();
  return SetStateByCommand(state, "FlagMoveToStowed", "FlagMoveToInFOV", "FlagState");
}

u32 CTQVSDKGenICam::GetFlagCoolerEnabled(bool* enabled) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "FlagCoolerEnabled", enabled, kGicAttempts);
}

u32 CTQVSDKGenICam::SetFlagCoolerEnabled(bool enabled) {
  TQV_GIC_OPERATION();
  return gicSetBool(m_device, "FlagCoolerEnabled", enabled, kGicAttempts);
}

u32 CTQVSDKGenICam::GetFlagTemperature(float* temperature) {
  TQV_GIC_OPERATION();
  const u32 result =
      gicSetCode(m_device, "DeviceTemperatureSelector", kFlagTemperature, kGicAttempts);
  if (result != rc::kOk) return result;
  return gicGetFlt32(m_device, "DeviceTemperature", temperature, kGicAttempts);
}

// --- Focus ---------------------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetFocusPresent(bool* present) {
  TQV_GIC_OPERATION();
  return GetBoolIfPresent("FocusPresent", present);
}

u32 CTQVSDKGenICam::GetFocusRange(u32* minimum, u32* maximum) {
  TQV_GIC_OPERATION();
  return GetRange("FocusRangeMin", "FocusRangeMax", minimum, maximum);
}

u32 CTQVSDKGenICam::SetFocusPos(u32 position) {
  TQV_GIC_OPERATION();
  return MoveToDesired("FocusMoveToDesiredPosition", "FocusDesiredPosition",
                       "FocusMoveToDesiredPosition", "FocusPosition", position);
}

// The speed is an entry of the camera's enumeration, named by direction and pace.
u32 CTQVSDKGenICam::FocusMove(i32 speed) {
  static constexpr const char* kEntries[7] = {"FarFast",  "FarMedium",  "FarSlow", "Stop",
                                              "NearSlow", "NearMedium", "NearFast"};
  if (speed < -3 || speed > 3) return rc::kFailed;
  TQV_GIC_OPERATION();
  return gicSetEnumValue(m_device, "FocusMove", kEntries[speed + 3], kGicAttempts);
}

// Cameras without the availability feature can focus to a distance when that feature is
// available.
u32 CTQVSDKGenICam::GetFocusToDistanceAvailable(bool* available) {
  TQV_GIC_OPERATION();
  if (gicIsPresent(m_device, "FocusToDistanceAvailable")) {
    return gicGetBool(m_device, "FocusToDistanceAvailable", available, kGicAttempts);
  }
  *available = gicIsAvailable(m_device, "FocusToDistance");
  return rc::kOk;
}

u32 CTQVSDKGenICam::GetFocusNearPos(u8 fov, u32* position) {
  TQV_GIC_OPERATION();
  return GetForFOV(m_device, fov, "FocusNearPosition", position);
}
u32 CTQVSDKGenICam::SetFocusNearPos(u8 fov, u32 position) {
  TQV_GIC_OPERATION();
  return SetForFOV(m_device, fov, "FocusNearPosition", position);
}
u32 CTQVSDKGenICam::GetFocusFarPos(u8 fov, u32* position) {
  TQV_GIC_OPERATION();
  return GetForFOV(m_device, fov, "FocusFarPosition", position);
}
u32 CTQVSDKGenICam::SetFocusFarPos(u8 fov, u32 position) {
  TQV_GIC_OPERATION();
  return SetForFOV(m_device, fov, "FocusFarPosition", position);
}

// --- Autofocus -----------------------------------------------------------------------------------

u32 CTQVSDKGenICam::AutoFocusFull(bool wait) {
  TQV_GIC_OPERATION();
  return StartAutoFocus("FocusAutoFull", wait);
}

u32 CTQVSDKGenICam::AutoFocusFast(bool wait) {
  TQV_GIC_OPERATION();
  return StartAutoFocus("FocusAutoFast", wait);
}

// The autofocus reports its own progress, so the start command is not waited on.
u32 CTQVSDKGenICam::StartAutoFocus(const char* command, bool wait) {
  const u32 result = gicExecute(m_device, command, false);
  if (result != rc::kOk || !wait) return result;
  return WaitForAutoFocusDone();
}

u32 CTQVSDKGenICam::GetAutoFocusStatus(u16* code, char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  return GetAutoFocusReport("FocusAutoStatus", "FocusAutoStatusText", code, buffer, size);
}

u32 CTQVSDKGenICam::GetAutoFocusResult(u16* code, char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  return GetAutoFocusReport("FocusAutoResult", "FocusAutoResultText", code, buffer, size);
}

// The code is handed out before the text is read.
u32 CTQVSDKGenICam::GetAutoFocusReport(const char* codeFeature, const char* textFeature, u16* code,
                                       char* buffer, i32 size) {
  i64 value = 0;
  const u32 result = gicGetCode(m_device, codeFeature, &value, kGicAttempts);
  if (result != rc::kOk) return result;
  *code = static_cast<u16>(value);
  return gicGetString(m_device, textFeature, buffer, size, kGicAttempts);
}

// No overall limit: the wait ends when the camera says it is done or cannot be asked. Other
// calls on the handle run while it sleeps.
u32 CTQVSDKGenICam::WaitForAutoFocusDone() {
  TQV_GIC_OPERATION();
  for (;;) {
    i64 code = 0;
    const u32 result = gicGetCode(m_device, "FocusAutoStatus", &code, kGicAttempts);
    if (result != rc::kOk) return result;
    if (code == kAutoFocusDone) return rc::kOk;
    GenICamLockRelease released(*this);
    zel::SleepMs(kAutoFocusPollMs);
  }
}

// --- Field of view -------------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetFOVPresent(bool* present) {
  TQV_GIC_OPERATION();
  return GetBoolIfPresent("FOVPresent", present);
}

u32 CTQVSDKGenICam::GetFOV(u8* fov) {
  TQV_GIC_OPERATION();
  return gicGetCode(m_device, "FOVState", fov, kGicAttempts);
}

u32 CTQVSDKGenICam::SetFOV(u8 fov) {
  TQV_GIC_OPERATION();
  return gicSetCode(m_device, "FOVState", fov, kGicAttempts);
}

u32 CTQVSDKGenICam::GetFOVIsContinuous(bool* continuous) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "FOVIsContinuous", continuous, kGicAttempts);
}

u32 CTQVSDKGenICam::GetFOVRange(u32* minimum, u32* maximum) {
  TQV_GIC_OPERATION();
  return GetRange("FOVRangeMin", "FOVRangeMax", minimum, maximum);
}

u32 CTQVSDKGenICam::SetFOVPos(u32 position) {
  TQV_GIC_OPERATION();
  return MoveToDesired("FOVMoveToDesiredPos", "FOVDesiredPos", "FOVMoveToDesiredPos", "FOVPos",
                       position);
}

// --- Lens control, cover and information ---------------------------------------------------------

u32 CTQVSDKGenICam::GetLensControlType(u8* type) {
  TQV_GIC_OPERATION();
  return gicGetCode(m_device, "LensControlType", type, kGicAttempts);
}

u32 CTQVSDKGenICam::SetLensControlType(u8 type) {
  TQV_GIC_OPERATION();
  bool writable = false;
  const u32 result = GetLensControlTypeWritable(&writable);
  if (result != rc::kOk) return result;
  if (!writable) return rc::kNotWritable;
  return gicSetCode(m_device, "LensControlType", type, kGicAttempts);
}

u32 CTQVSDKGenICam::GetLensControlTypeWritable(bool* writable) {
  TQV_GIC_OPERATION();
  return lens::ControlTypeWritable(*this, writable);
}

u32 CTQVSDKGenICam::GetLensCoverState(u8* state) {
  TQV_GIC_OPERATION();
  return gicGetCode(m_device, "LensCoverState", state, kGicAttempts);
}

// The cover's "Unknown" state cannot be asked for.
u32 CTQVSDKGenICam::SetLensCoverState(u8 state) {
  if (state == 2) return rc::kNotSupported;
  TQV_GIC_OPERATION();
  return SetStateByCommand(state, "LensCoverMoveToOpen", "LensCoverMoveToClosed", "LensCoverState");
}

// A camera that knows its lens gives its focal length.
u32 CTQVSDKGenICam::GetLensInfoAvailable(bool* available) {
  TQV_GIC_OPERATION();
  *available = gicIsAvailable(m_device, "LensFocalLength");
  return rc::kOk;
}

// --- Manufacturing values of the lens ------------------------------------------------------------

namespace {
constexpr const char* kSpeedFeatures[3] = {"FocusSlowSpeed", "FocusMediumSpeed", "FocusFastSpeed"};
}  // namespace

u32 CTQVSDKGenICam::MfgGetFocusSpeeds(u8 fov, u32* slow, u32* medium, u32* fast) {
  u32* const speeds[3] = {slow, medium, fast};
  TQV_GIC_OPERATION();
  u32 result = GetForFOV(m_device, fov, kSpeedFeatures[0], speeds[0]);
  for (int i = 1; result == rc::kOk && i < 3; ++i)
    result = gicGetValue(m_device, kSpeedFeatures[i], speeds[i]);
  return result;
}

u32 CTQVSDKGenICam::MfgSetFocusSpeeds(u8 fov, u32 slow, u32 medium, u32 fast) {
  const u32 speeds[3] = {slow, medium, fast};
  TQV_GIC_OPERATION();
  u32 result = SetForFOV(m_device, fov, kSpeedFeatures[0], speeds[0]);
  for (int i = 1; result == rc::kOk && i < 3; ++i)
    result = gicSetValue(m_device, kSpeedFeatures[i], speeds[i]);
  return result;
}

u32 CTQVSDKGenICam::MfgGetFocusSlowControl(u8 fov, u8* control) {
  TQV_GIC_OPERATION();
  return GetForFOV(m_device, fov, "FocusSlowControl", control);
}
u32 CTQVSDKGenICam::MfgSetFocusSlowControl(u8 fov, u8 control) {
  TQV_GIC_OPERATION();
  return SetForFOV(m_device, fov, "FocusSlowControl", control);
}
u32 CTQVSDKGenICam::MfgGetFocusPositionIncrement(u8 fov, u32* increment) {
  TQV_GIC_OPERATION();
  return GetForFOV(m_device, fov, "FocusPositionIncrement", increment);
}
u32 CTQVSDKGenICam::MfgSetFocusPositionIncrement(u8 fov, u32 increment) {
  TQV_GIC_OPERATION();
  return SetForFOV(m_device, fov, "FocusPositionIncrement", increment);
}
u32 CTQVSDKGenICam::MfgGetFocusAccuracy(u8 fov, u32* accuracy) {
  TQV_GIC_OPERATION();
  return GetForFOV(m_device, fov, "FocusAccuracy", accuracy);
}
u32 CTQVSDKGenICam::MfgSetFocusAccuracy(u8 fov, u32 accuracy) {
  TQV_GIC_OPERATION();
  return SetForFOV(m_device, fov, "FocusAccuracy", accuracy);
}
