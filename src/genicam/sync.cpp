// Synchronisation, triggering, time, temperatures and identity over GenICam.
#include <cstring>
#include <initializer_list>
#include <variant>

#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"
#include "genicam/rows.h"

namespace {

// One value of a reading or a write of several features.
struct Field {
  const char* feature;
  std::variant<u8*, u16*> out;
};
struct FieldValue {
  const char* feature;
  std::variant<u8, u16, i64> value;
};

// Reads the features in order into their outputs; the first failure ends the reading.
u32 ReadFields(const GicDevice& device, std::initializer_list<Field> fields) {
  for (const Field& field : fields) {
    const u32 result =
        std::visit([&](auto* out) { return gicGetValue(device, field.feature, out); }, field.out);
    if (result != rc::kOk) return result;
  }
  return rc::kOk;
}

// Writes the values in order; the first failure ends the writing.
u32 WriteFields(const GicDevice& device, std::initializer_list<FieldValue> fields) {
  for (const FieldValue& field : fields) {
    const u32 result = std::visit(
        [&](auto value) { return gicSetValue(device, field.feature, value); }, field.value);
    if (result != rc::kOk) return result;
  }
  return rc::kOk;
}

// The camera keeps the full year; the interface counts years from 2000.
constexpr i64 kCenturyStart = 2000;
constexpr i64 kYearsPerCentury = 100;

}  // namespace

// --- Time ----------------------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetRealTimeClock(u8* year, u8* month, u8* day, u8* hour, u8* minute,
                                     u8* second) {
  TQV_GIC_OPERATION();
  u32 result = gicExecute(m_device, "RTCRead", true);
  if (result != rc::kOk) return result;
  i64 fullYear = 0;
  if ((result = gicGetInt64(m_device, "RTCYear", &fullYear, kGicAttempts))) return result;
  *year = static_cast<u8>(fullYear % kYearsPerCentury);
  return ReadFields(m_device, {{"RTCMonth", month},
                               {"RTCDay", day},
                               {"RTCHour", hour},
                               {"RTCMinute", minute},
                               {"RTCSecond", second}});
}

u32 CTQVSDKGenICam::SetRealTimeClock(u8 year, u8 month, u8 day, u8 hour, u8 minute, u8 second) {
  TQV_GIC_OPERATION();
  const u32 result = WriteFields(m_device, {{"RTCYear", kCenturyStart + year},
                                            {"RTCMonth", month},
                                            {"RTCDay", day},
                                            {"RTCHour", hour},
                                            {"RTCMinute", minute},
                                            {"RTCSecond", second}});
  return result ? result : gicExecute(m_device, "RTCWrite", true);
}

// Cameras whose IRIG input carries no year report year 0.
u32 CTQVSDKGenICam::GetIRIGTime(u16* year, u16* day, u8* hour, u8* minute, u8* second,
                                u16* millisecond, u16* microsecond) {
  TQV_GIC_OPERATION();
  u32 result = gicExecute(m_device, "IRIGRead", true);
  if (result != rc::kOk) return result;
  if (!gicIsPresent(m_device, "IRIGYear")) {
    *year = 0;
  } else if ((result = gicGetValue(m_device, "IRIGYear", year))) {
    return result;
  }
  return ReadFields(m_device, {{"IRIGDay", day},
                               {"IRIGHour", hour},
                               {"IRIGMinute", minute},
                               {"IRIGSecond", second},
                               {"IRIGMillisecond", millisecond},
                               {"IRIGMicrosecond", microsecond}});
}

u32 CTQVSDKGenICam::SetIRIGTime(u16 year, u16 day, u8 hour, u8 minute, u8 second, u16 millisecond,
                                u16 microsecond) {
  TQV_GIC_OPERATION();
  u32 result = rc::kOk;
  if (gicIsPresent(m_device, "IRIGYear")) result = gicSetValue(m_device, "IRIGYear", year);
  if (result == rc::kOk) {
    result = WriteFields(m_device, {{"IRIGDay", day},
                                    {"IRIGHour", hour},
                                    {"IRIGMinute", minute},
                                    {"IRIGSecond", second},
                                    {"IRIGMillisecond", millisecond},
                                    {"IRIGMicrosecond", microsecond}});
  }
  return result ? result : gicExecute(m_device, "IRIGWrite", true);
}

u32 CTQVSDKGenICam::GetIRIGTriggerTime(u16* day, u8* hour, u8* minute, u8* second, u16* millisecond,
                                       u16* microsecond) {
  TQV_GIC_OPERATION();
  const u32 result = gicExecute(m_device, "TriggerIRIGRead", true);
  if (result != rc::kOk) return result;
  return ReadFields(m_device, {{"TriggerIRIGDay", day},
                               {"TriggerIRIGHour", hour},
                               {"TriggerIRIGMinute", minute},
                               {"TriggerIRIGSecond", second},
                               {"TriggerIRIGMillisecond", millisecond},
                               {"TriggerIRIGMicrosecond", microsecond}});
}

u32 CTQVSDKGenICam::SetIRIGTriggerTime(u16 day, u8 hour, u8 minute, u8 second, u16 millisecond,
                                       u16 microsecond) {
  TQV_GIC_OPERATION();
  const u32 result = WriteFields(m_device, {{"TriggerIRIGDay", day},
                                            {"TriggerIRIGHour", hour},
                                            {"TriggerIRIGMinute", minute},
                                            {"TriggerIRIGSecond", second},
                                            {"TriggerIRIGMillisecond", millisecond},
                                            {"TriggerIRIGMicrosecond", microsecond}});
  return result ? result : gicExecute(m_device, "TriggerIRIGWrite", true);
}

u32 CTQVSDKGenICam::GetInternalTriggerRate(double* hertz) {
  TQV_GIC_OPERATION();
  return gicGetFlt64(m_device, "TriggerInternalRate", hertz, kGicAttempts);
}

u32 CTQVSDKGenICam::SetInternalTriggerRate(double hertz) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, "TriggerInternalRate", hertz, kGicAttempts);
}

// --- Temperatures --------------------------------------------------------------------------------

namespace {
// Values of "DeviceTemperatureSelector".
enum TemperatureSensor : i64 {
  kFPASensor = 0,
  kDigitizerSensor = 1,
  kPowerBoardSensor = 2,
  kFrontPanelSensor = 3,
  kAirGapSensor = 4,
  kInternalSensor = 5,
  kChassisSensor = 6,
  kLensSensor = 7,
};
// The camera reports degrees Celsius; the FPA temperature of the interface is in kelvin.
constexpr double kCelsiusZero = 273.15;
}  // namespace

u32 CTQVSDKGenICam::ReadTemperatures(std::initializer_list<Sensor> sensors) {
  TQV_GIC_OPERATION();
  for (const Sensor& sensor : sensors) {
    u32 result = gicSetCode(m_device, "DeviceTemperatureSelector", sensor.selector, kGicAttempts);
    double celsius = 0;
    if (result == rc::kOk)
      result = gicGetFlt64(m_device, "DeviceTemperature", &celsius, kGicAttempts);
    if (result != rc::kOk) return result;
    *sensor.out = static_cast<float>(celsius + sensor.offset);
  }
  return rc::kOk;
}

u32 CTQVSDKGenICam::GetFPATemperature(float* kelvin) {
  return ReadTemperatures({{kFPASensor, kelvin, kCelsiusZero}});
}

u32 CTQVSDKGenICam::GetBoardTemperatures(float* digitizer, float* powerBoard) {
  return ReadTemperatures({{kDigitizerSensor, digitizer}, {kPowerBoardSensor, powerBoard}});
}

u32 CTQVSDKGenICam::GetVxTemperatures(float* frontPanel, float* airGap, float* internal) {
  return ReadTemperatures(
      {{kFrontPanelSensor, frontPanel}, {kAirGapSensor, airGap}, {kInternalSensor, internal}});
}

u32 CTQVSDKGenICam::GetKxTemperatures(float* frontPanel, float* airGap) {
  return ReadTemperatures({{kFrontPanelSensor, frontPanel}, {kAirGapSensor, airGap}});
}

u32 CTQVSDKGenICam::GetTxTemperatures(float* chassis) {
  return ReadTemperatures({{kChassisSensor, chassis}});
}

u32 CTQVSDKGenICam::GetLensTemperature(float* value) {
  return ReadTemperatures({{kLensSensor, value}});
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

u32 CTQVSDKGenICam::ListVoltages(zel::TArray<zel::CString>& list) {
  TQV_GIC_OPERATION();
  const u32 result = FillVoltageNames();
  if (result == rc::kOk) list = m_voltageNames;
  return result;
}

u32 CTQVSDKGenICam::GetVoltage(const char* name, float* volts) {
  TQV_GIC_OPERATION();
  const u32 result = SelectVoltage(name);
  return result ? result : gicGetFlt32(m_device, "VoltageVolts", volts, kGicAttempts);
}

u32 CTQVSDKGenICam::SetVoltage(const char* name, float volts) {
  TQV_GIC_OPERATION();
  const u32 result = SelectVoltage(name);
  return result ? result : gicSetFlt64(m_device, "VoltageVolts", volts, kGicAttempts);
}

u32 CTQVSDKGenICam::GetVoltageEditable(const char* name, bool* editable) {
  TQV_GIC_OPERATION();
  const u32 result = SelectVoltage(name);
  return result ? result : gicGetBool(m_device, "VoltageEditable", editable, kGicAttempts);
}

u32 CTQVSDKGenICam::GetVoltageLimits(const char* name, float* minimum, float* maximum) {
  TQV_GIC_OPERATION();
  const u32 result = SelectVoltage(name);
  return result ? result : gicGetLimitsFlt32(m_device, "VoltageVolts", minimum, maximum);
}

u32 CTQVSDKGenICam::GetVoltageDisplayName(const char* name, char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  const u32 result = SelectVoltage(name);
  return result ? result : gicGetString(m_device, "VoltageDisplayName", buffer, size, kGicAttempts);
}

// --- Identity ------------------------------------------------------------------------------------

// Cameras name their serial number differently; the first of the names that reads is the one.
u32 CTQVSDKGenICam::GetCameraSN(char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  zel::CString serial;
  u32 result = rc::kError;
  for (const char* feature : {"CameraSerial", "DeviceSerialNumber", "DeviceID"}) {
    result = gicGetString(m_device, feature, serial, kGicAttempts);
    if (result == rc::kOk) break;
  }
  if (result != rc::kOk) return result;
  if (!buffer || size <= 0 || static_cast<u32>(size) <= serial.length()) return rc::kError;
  std::memcpy(buffer, serial.c_str(), serial.length() + 1);
  return rc::kOk;
}

u32 CTQVSDKGenICam::SetCameraSN(const char* text) {
  TQV_GIC_OPERATION();
  return gicSetString(m_device, "MfgDeviceID", text, kGicAttempts);
}

u32 CTQVSDKGenICam::GetVariant(u8* value) {
  TQV_GIC_OPERATION();
  return gicGetCode(m_device, "CameraVariant", value, kGicAttempts);
}

u32 CTQVSDKGenICam::SetVariant(u8 value) {
  TQV_GIC_OPERATION();
  return gicSetCode(m_device, "MfgCameraVariant", value, kGicAttempts);
}

// Cameras without an interface board report the first board type.
namespace {
constexpr rows::Gic kPleoraRow =
    GIC("PleoraBoardType", IF_PRESENT(0), WRITE_TO("MfgPleoraBoardType"));
}  // namespace

u32 CTQVSDKGenICam::GetPleoraBoardType(u8* value) {
  return RowGet(kPleoraRow, kPleoraRow.feature, nullptr, value);
}

u32 CTQVSDKGenICam::SetPleoraBoardType(u8 value) {
  return RowSet(kPleoraRow, kPleoraRow.feature, nullptr, value);
}

// One entry per component the camera lists, in its order; a component that does not read shows
// "Error" and the listing goes on.
u32 CTQVSDKGenICam::GetCameraExtraInfo(zel::TArray<tqvSInfoEntry>& list) {
  TQV_GIC_OPERATION();
  zel::TArray<zel::cam::gic::CEnumEntry> components;
  const u32 result =
      gicGetEnumEntries(m_device, "ComponentInfoSelector", &components, kGicAttempts);
  if (result != rc::kOk) return result;
  for (u32 i = 0; i < components.GetCount(); ++i) {
    zel::CString value;
    u32 read =
        gicSetEnumValue(m_device, "ComponentInfoSelector", components[i].value, kGicAttempts);
    if (read == rc::kOk) read = gicGetString(m_device, "ComponentInfo", value, kGicAttempts);
    list.Add(tqvSInfoEntry{components[i].name, read == rc::kOk ? value : zel::CString("Error")});
  }
  return rc::kOk;
}
