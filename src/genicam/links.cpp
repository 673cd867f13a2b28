// Data links, lock-in and other camera functions over GenICam.
#include "common/links.h"
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"
#include "genicam/rows.h"

// --- CameraLink and CoaXPress --------------------------------------------------------------------

u32 CTQVSDKGenICam::GetCameraLinkTypeAvailable(bool* available) {
  static constexpr rows::Gic kRow = GIC("CameraLinkTypeAvailable", IF_PRESENT(false));
  return RowGet(kRow, kRow.feature, nullptr, available);
}

u32 CTQVSDKGenICam::GetCameraLinkTypeWritable(bool* writable) {
  TQV_GIC_OPERATION();
  if (gicIsPresent(m_device, "CameraLinkTypeWritable")) {
    return gicGetBool(m_device, "CameraLinkTypeWritable", writable, kGicAttempts);
  }
  return GetCameraLinkTypeAvailable(writable);
}

// A camera that does not report its CameraLink type has the one of its board.
u32 CTQVSDKGenICam::GetCameraLinkType(u8* type) {
  TQV_GIC_OPERATION();
  bool available = false;
  u32 result = GetCameraLinkTypeAvailable(&available);
  if (result != rc::kOk) return result;
  if (available) return gicGetCode(m_device, "CameraLinkType", type, kGicAttempts);
  u8 board = 0;
  if ((result = GetBoardType(&board))) return result;
  *type = links::BoardCameraLinkType(board);
  return rc::kOk;
}

// Without the setting, only the board's own type can be asked for, and nothing is written.
u32 CTQVSDKGenICam::SetCameraLinkType(u8 type) {
  TQV_GIC_OPERATION();
  bool available = false;
  u32 result = GetCameraLinkTypeAvailable(&available);
  if (result != rc::kOk) return result;
  if (available) return gicSetCode(m_device, "CameraLinkType", type, kGicAttempts);
  u8 board = 0;
  if ((result = GetBoardType(&board))) return result;
  return type == links::BoardCameraLinkType(board) ? rc::kOk : rc::kNotSupported;
}

u32 CTQVSDKGenICam::GetCoaXPressLinkCountAvailable(bool* available) {
  static constexpr rows::Gic kRow = GIC("CoaXPressLinkCountAvailable", IF_PRESENT(false));
  return RowGet(kRow, kRow.feature, nullptr, available);
}

u32 CTQVSDKGenICam::GetCoaXPressLinkCountWritable(bool* writable) {
  TQV_GIC_OPERATION();
  if (gicIsPresent(m_device, "CoaXPressLinkCountWritable")) {
    return gicGetBool(m_device, "CoaXPressLinkCountWritable", writable, kGicAttempts);
  }
  return GetCoaXPressLinkCountAvailable(writable);
}

u32 CTQVSDKGenICam::GetCoaXPressLinkCount(u8* count) {
  TQV_GIC_OPERATION();
  bool available = false;
  u32 result = GetCoaXPressLinkCountAvailable(&available);
  if (result != rc::kOk) return result;
  if (available) return gicGetCode(m_device, "CoaXPressLinkCount", count, kGicAttempts);
  u8 board = 0;
  if ((result = GetBoardType(&board))) return result;
  *count = links::BoardCoaXPressLinkCount(board);
  return rc::kOk;
}

u32 CTQVSDKGenICam::SetCoaXPressLinkCount(u8 count) {
  TQV_GIC_OPERATION();
  bool available = false;
  u32 result = GetCoaXPressLinkCountAvailable(&available);
  if (result != rc::kOk) return result;
  if (available) return gicSetCode(m_device, "CoaXPressLinkCount", count, kGicAttempts);
  u8 board = 0;
  if ((result = GetBoardType(&board))) return result;
  return count == links::BoardCoaXPressLinkCount(board) ? rc::kOk : rc::kNotSupported;
}

// --- Frame header modes --------------------------------------------------------------------------

namespace {
struct HeaderFeatures {
  const char* only;
  const char* disabled;
  const char* operator[](links::HeaderSwitch which) const {
    return which == links::HeaderSwitch::kOnly ? only : disabled;
  }
};
constexpr HeaderFeatures kCameraLink{"CLHeaderOnly", "CLHeaderDisable"};
constexpr HeaderFeatures kCoaXPress{"CXPHeaderOnly", "CXPHeaderDisable"};
constexpr HeaderFeatures kGigE{"GigeHeaderOnly", "GigeHeaderDisable"};

u32 GetHeaderMode(const GicDevice& device, const HeaderFeatures& link, u8* mode) {
  return links::ReadHeaderMode(
      [&](links::HeaderSwitch which, bool* on) {
        return gicGetBool(device, link[which], on, kGicAttempts);
      },
      mode);
}

u32 SetHeaderMode(const GicDevice& device, const HeaderFeatures& link, u8 mode) {
  return links::WriteHeaderMode(
      [&](links::HeaderSwitch which, bool on) {
        return gicSetBool(device, link[which], on, kGicAttempts);
      },
      mode);
}
}  // namespace

u32 CTQVSDKGenICam::GetCameraLinkHeaderMode(u8* mode) {
  TQV_GIC_OPERATION();
  return GetHeaderMode(m_device, kCameraLink, mode);
}
u32 CTQVSDKGenICam::SetCameraLinkHeaderMode(u8 mode) {
  TQV_GIC_OPERATION();
  return SetHeaderMode(m_device, kCameraLink, mode);
}
u32 CTQVSDKGenICam::GetCoaXPressHeaderMode(u8* mode) {
  TQV_GIC_OPERATION();
  return GetHeaderMode(m_device, kCoaXPress, mode);
}
u32 CTQVSDKGenICam::SetCoaXPressHeaderMode(u8 mode) {
  TQV_GIC_OPERATION();
  return SetHeaderMode(m_device, kCoaXPress, mode);
}
u32 CTQVSDKGenICam::GetGigEHeaderMode(u8* mode) {
  TQV_GIC_OPERATION();
  return GetHeaderMode(m_device, kGigE, mode);
}
u32 CTQVSDKGenICam::SetGigEHeaderMode(u8 mode) {
  TQV_GIC_OPERATION();
  return SetHeaderMode(m_device, kGigE, mode);
}

// --- Transport layer and GigE presets ------------------------------------------------------------

u32 CTQVSDKGenICam::GetDeviceTLTypeAvailable(bool* available) {
  TQV_GIC_OPERATION();
  *available = gicIsAvailable(m_device, "DeviceTLType");
  return rc::kOk;
}

u32 CTQVSDKGenICam::GetDeviceTLType(u8* type) {
  TQV_GIC_OPERATION();
  return gicGetEnumValue(m_device, "DeviceTLType", type, kGicAttempts);
}

// TQV2 and WZN boards offer GigE presets.
u32 CTQVSDKGenICam::GetGigEPresetSupported(bool* supported) {
  TQV_GIC_OPERATION();
  u8 board = 0;
  const u32 result = GetBoardType(&board);
  if (result == rc::kOk) *supported = board == 1 || board == 3;
  return result;
}

// --- Lock-in imaging -----------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetLockinAvailable(bool* available) {
  static constexpr rows::Gic kRow = GIC("LockinAvailable", IF_PRESENT(false));
  return RowGet(kRow, kRow.feature, nullptr, available);
}

u32 CTQVSDKGenICam::GetLockinCoupling(u8* coupling) {
  TQV_GIC_OPERATION();
  return gicGetCode(m_device, "LockinCoupling", coupling, kGicAttempts);
}

u32 CTQVSDKGenICam::SetLockinCoupling(u8 coupling) {
  TQV_GIC_OPERATION();
  return gicSetCode(m_device, "LockinCoupling", coupling, kGicAttempts);
}

u32 CTQVSDKGenICam::GetLockinEstInputFreq(float* hertz) {
  TQV_GIC_OPERATION();
  return gicGetFlt32(m_device, "LockinEstInputFreq", hertz, kGicAttempts);
}

u32 CTQVSDKGenICam::SetLockinEstInputFreq(float hertz) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, "LockinEstInputFreq", hertz, kGicAttempts);
}

u32 CTQVSDKGenICam::GetLockinAlphaFilter(u8* alpha) {
  TQV_GIC_OPERATION();
  return gicGetCode(m_device, "LockinAlphaFilter", alpha, kGicAttempts);
}

u32 CTQVSDKGenICam::SetLockinAlphaFilter(u8 alpha) {
  TQV_GIC_OPERATION();
  return gicSetCode(m_device, "LockinAlphaFilter", alpha, kGicAttempts);
}

u32 CTQVSDKGenICam::GetLockinSampleFreq(float* hertz) {
  TQV_GIC_OPERATION();
  return gicGetFlt32(m_device, "LockinSampleFreq", hertz, kGicAttempts);
}

u32 CTQVSDKGenICam::SetLockinSampleFreq(float hertz) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, "LockinSampleFreq", hertz, kGicAttempts);
}

// --- Black hot, colours, reboot ------------------------------------------------------------------

u32 CTQVSDKGenICam::GetBlackHotEnabled(bool* enabled) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "BlackHot", enabled, kGicAttempts);
}

u32 CTQVSDKGenICam::SetBlackHotEnabled(bool enabled) {
  TQV_GIC_OPERATION();
  return gicSetBool(m_device, "BlackHot", enabled, kGicAttempts);
}

u32 CTQVSDKGenICam::GetNumColors(u8* colors) {
  TQV_GIC_OPERATION();
  if (!gicIsAvailable(m_device, "ColorMax")) {
    *colors = 1;
    return rc::kOk;
  }
  return gicGetCode(m_device, "ColorMax", colors, kGicAttempts);
}

// A camera without colours has colour 0 in every preset.
u32 CTQVSDKGenICam::GetColor(u8 preset, u8* color) {
  TQV_GIC_OPERATION();
  if (!gicIsAvailable(m_device, "ColorMax")) {
    *color = 0;
    return rc::kOk;
  }
  return gicGetCode(m_device, PresetFeature(preset, "Color").c_str(), color, kGicAttempts);
}

u32 CTQVSDKGenICam::SetColor(u8 preset, u8 color) {
  TQV_GIC_OPERATION();
  if (!gicIsAvailable(m_device, "ColorMax")) return color == 0 ? rc::kOk : rc::kNotSupported;
  return gicSetCode(m_device, PresetFeature(preset, "Color").c_str(), color, kGicAttempts);
}

// The camera goes away at once; nobody would answer a completion query.
u32 CTQVSDKGenICam::Reboot() {
  TQV_GIC_OPERATION();
  return gicExecute(m_device, "MfgUpdateReboot", false);
}

u32 CTQVSDKGenICam::GetLegacyVFPGA(bool* legacy) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "MfgIsLegacyVFPGA", legacy, kGicAttempts);
}

// --- Coolers -------------------------------------------------------------------------------------

u32 CTQVSDKGenICam::MfgGetCoolerSetup(float* p, float* i, float* d, float* offset) {
  TQV_GIC_OPERATION();
  u32 result = gicGetFlt32(m_device, "MfgCoolerP", p, kGicAttempts);
  if (result == rc::kOk) result = gicGetFlt32(m_device, "MfgCoolerI", i, kGicAttempts);
  if (result == rc::kOk) result = gicGetFlt32(m_device, "MfgCoolerD", d, kGicAttempts);
  if (result == rc::kOk) result = gicGetFlt32(m_device, "MfgCoolerOffset", offset, kGicAttempts);
  return result;
}

u32 CTQVSDKGenICam::MfgSetCoolerSetup(float p, float i, float d, float offset) {
  TQV_GIC_OPERATION();
  u32 result = gicSetFlt64(m_device, "MfgCoolerP", p, kGicAttempts);
  if (result == rc::kOk) result = gicSetFlt64(m_device, "MfgCoolerI", i, kGicAttempts);
  if (result == rc::kOk) result = gicSetFlt64(m_device, "MfgCoolerD", d, kGicAttempts);
  if (result == rc::kOk) result = gicSetFlt64(m_device, "MfgCoolerOffset", offset, kGicAttempts);
  return result;
}

u32 CTQVSDKGenICam::MfgGetCoolerSetpoint(float* value) {
  TQV_GIC_OPERATION();
  return gicGetFlt32(m_device, "MfgCoolerSetpoint", value, kGicAttempts);
}

u32 CTQVSDKGenICam::MfgSetCoolerSetpoint(float value) {
  TQV_GIC_OPERATION();
  return gicSetFlt64(m_device, "MfgCoolerSetpoint", value, kGicAttempts);
}

u32 CTQVSDKGenICam::MfgGetCoolerPowerEnabled(bool* value) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "MfgCoolerPowerEnabled", value, kGicAttempts);
}

u32 CTQVSDKGenICam::MfgSetCoolerPowerEnabled(bool value) {
  TQV_GIC_OPERATION();
  return gicSetBool(m_device, "MfgCoolerPowerEnabled", value, kGicAttempts);
}
