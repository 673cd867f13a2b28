// Data links, lock-in and other camera functions over the property tree.
#include <cstdio>

#include "common/links.h"
#include "common/timing.h"
#include "ptree/CTQVSDKPTree.h"

u32 CTQVSDKPTree::ReadFirstBool(std::initializer_list<const char*> paths, bool* value,
                                bool* found) {
  *found = false;
  for (const char* path : paths) {
    u32 result = PathExists(path, found);
    if (result != rc::kOk) return result;
    if (*found) return resRead(m_tree, path, value);
  }
  return rc::kOk;
}

// --- CameraLink and CoaXPress --------------------------------------------------------------------

u32 CTQVSDKPTree::GetCameraLinkTypeAvailable(bool* available) {
  if (Cached(m_cache.sync.cameraLinkTypeAvailable, available)) return rc::kOk;
  bool value = false, found = false;
  const u32 result = ReadFirstBool(
      {".system.settings.cameraLink.typeAvailable", ".system.settings.cameraLink.present"}, &value,
      &found);
  if (result != rc::kOk) return result;
  Keep(m_cache.sync.cameraLinkTypeAvailable, value);
  *available = value;
  return rc::kOk;
}

u32 CTQVSDKPTree::GetCameraLinkTypeWritable(bool* writable) {
  bool found = false;
  const u32 result = ReadFirstBool({".system.settings.cameraLink.typeWritable"}, writable, &found);
  if (result != rc::kOk || found) return result;
  return GetCameraLinkTypeAvailable(writable);
}

namespace {
constexpr const char* kCameraLinkTypePath = ".system.settings.cameraLink.type";
constexpr const char* kLinkCountPath = ".system.settings.coaXPress.numLinks";
}  // namespace

// A camera that does not report its CameraLink type has the one of its board.
u32 CTQVSDKPTree::GetCameraLinkType(u8* type) {
  if (Cached(m_cache.sync.cameraLinkType, type)) return rc::kOk;
  bool available = false;
  u32 result = GetCameraLinkTypeAvailable(&available);
  if (result != rc::kOk) return result;
  if (available) {
    return CachedGetEnum(m_cache.sync.cameraLinkType, kCameraLinkTypePath, type,
                         &tqvCameraLinkTypeEnum);
  }
  u8 board = 0;
  if ((result = GetBoardType(&board))) return result;
  Keep(m_cache.sync.cameraLinkType, links::BoardCameraLinkType(board));
  *type = links::BoardCameraLinkType(board);
  return rc::kOk;
}

// Without the setting, only the board's own type can be asked for, and nothing is written.
u32 CTQVSDKPTree::SetCameraLinkType(u8 type) {
  bool available = false;
  u32 result = GetCameraLinkTypeAvailable(&available);
  if (result != rc::kOk) return result;
  if (available) {
    return CachedSetEnum(m_cache.sync.cameraLinkType, kCameraLinkTypePath, type,
                         &tqvCameraLinkTypeText);
  }
  u8 board = 0;
  if ((result = GetBoardType(&board))) return result;
  return type == links::BoardCameraLinkType(board) ? rc::kOk : rc::kNotSupported;
}

u32 CTQVSDKPTree::GetCoaXPressLinkCountAvailable(bool* available) {
  bool value = false, found = false;
  const u32 result = ReadFirstBool(
      {".system.settings.coaXPress.numLinksAvailable", ".system.settings.coaXPress.present"},
      &value, &found);
  if (result == rc::kOk) *available = value;
  return result;
}

u32 CTQVSDKPTree::GetCoaXPressLinkCountWritable(bool* writable) {
  bool found = false;
  const u32 result =
      ReadFirstBool({".system.settings.coaXPress.numLinksWritable"}, writable, &found);
  if (result != rc::kOk || found) return result;
  return GetCoaXPressLinkCountAvailable(writable);
}

u32 CTQVSDKPTree::GetCoaXPressLinkCount(u8* count) {
  if (Cached(m_cache.sync.coaXPressLinkCount, count)) return rc::kOk;
  bool available = false;
  u32 result = GetCoaXPressLinkCountAvailable(&available);
  if (result != rc::kOk) return result;
  if (available) return CachedGet(m_cache.sync.coaXPressLinkCount, kLinkCountPath, count);
  u8 board = 0;
  if ((result = GetBoardType(&board))) return result;
  Keep(m_cache.sync.coaXPressLinkCount, links::BoardCoaXPressLinkCount(board));
  *count = links::BoardCoaXPressLinkCount(board);
  return rc::kOk;
}

u32 CTQVSDKPTree::SetCoaXPressLinkCount(u8 count) {
  bool available = false;
  u32 result = GetCoaXPressLinkCountAvailable(&available);
  if (result != rc::kOk) return result;
  if (available) return CachedSet(m_cache.sync.coaXPressLinkCount, kLinkCountPath, count);
  u8 board = 0;
  if ((result = GetBoardType(&board))) return result;
  return count == links::BoardCoaXPressLinkCount(board) ? rc::kOk : rc::kNotSupported;
}

// --- Frame header modes --------------------------------------------------------------------------

namespace {
// ".system.settings.<link>.headerOnly" or ".headerDisabled".
void HeaderPath(char (&path)[kPathSize], const char* link, links::HeaderSwitch which) {
  std::snprintf(path, sizeof path, ".system.settings.%s.%s", link,
                which == links::HeaderSwitch::kOnly ? "headerOnly" : "headerDisabled");
}
constexpr const char* kCameraLink = "cameraLink";
constexpr const char* kCoaXPress = "coaXPress";
constexpr const char* kGigE = "gigE";
}  // namespace

u32 CTQVSDKPTree::GetLinkHeaderMode(const char* link, u8* mode) {
  return links::ReadHeaderMode(
      [&](links::HeaderSwitch which, bool* on) {
        char path[kPathSize];
        HeaderPath(path, link, which);
        return resRead(m_tree, path, on);
      },
      mode);
}

u32 CTQVSDKPTree::SetLinkHeaderMode(const char* link, u8 mode) {
  return links::WriteHeaderMode(
      [&](links::HeaderSwitch which, bool on) {
        char path[kPathSize];
        HeaderPath(path, link, which);
        return resWrite(m_tree, path, on);
      },
      mode);
}

u32 CTQVSDKPTree::GetCameraLinkHeaderMode(u8* mode) { return GetLinkHeaderMode(kCameraLink, mode); }
u32 CTQVSDKPTree::SetCameraLinkHeaderMode(u8 mode) { return SetLinkHeaderMode(kCameraLink, mode); }
u32 CTQVSDKPTree::GetCoaXPressHeaderMode(u8* mode) { return GetLinkHeaderMode(kCoaXPress, mode); }
u32 CTQVSDKPTree::SetCoaXPressHeaderMode(u8 mode) { return SetLinkHeaderMode(kCoaXPress, mode); }
u32 CTQVSDKPTree::GetGigEHeaderMode(u8* mode) { return GetLinkHeaderMode(kGigE, mode); }
u32 CTQVSDKPTree::SetGigEHeaderMode(u8 mode) { return SetLinkHeaderMode(kGigE, mode); }

// --- Transport layer and GigE presets ------------------------------------------------------------

// The property tree does not tell which transport carries the images.
u32 CTQVSDKPTree::GetDeviceTLTypeAvailable(bool* available) {
  *available = false;
  return rc::kOk;
}

u32 CTQVSDKPTree::GetDeviceTLType(u8*) { return rc::kNotFound; }

// Only TQV2 boards offer GigE presets, and only when the camera has the setting.
u32 CTQVSDKPTree::GetGigEPresetSupported(bool* supported) {
  if (Cached(m_cache.sync.gigEPresetSupported, supported)) return rc::kOk;
  u8 board = 0;
  u32 result = GetBoardType(&board);
  if (result != rc::kOk) return result;
  bool value = false;
  if (board == 1 && (result = PathExists(".system.settings.gigePreset", &value))) return result;
  Keep(m_cache.sync.gigEPresetSupported, value);
  *supported = value;
  return rc::kOk;
}

// --- Lock-in imaging -----------------------------------------------------------------------------

namespace {
constexpr const char* kCouplingPath = ".system.settings.lockIn.coupling";
constexpr const char* kCouplings[] = {"AC", "DC"};

// The lock-in reference runs at a quarter of the detector clock (whole hertz).
double LockinClock(const FPAConstants& c) { return static_cast<double>(c.clockFrequency / 4); }
// The one-shot delay counts three quarters of a reference period.
constexpr double kOneShotShare = 0.75;
}  // namespace

u32 CTQVSDKPTree::GetLockinAvailable(bool* available) {
  bool found = false;
  u32 result = ReadFirstBool({".system.settings.lockIn.available"}, available, &found);
  if (result != rc::kOk || found) return result;
  return PathExists(kCouplingPath, available);
}

u32 CTQVSDKPTree::GetLockinCoupling(u8* coupling) {
  return CachedGetTextCode(m_cache.sync.lockinCoupling, kCouplingPath, kCouplings, coupling);
}

u32 CTQVSDKPTree::SetLockinCoupling(u8 coupling) {
  return CachedSetTextCode(m_cache.sync.lockinCoupling, kCouplingPath, kCouplings, coupling);
}

u32 CTQVSDKPTree::GetLockinEstInputFreq(float* hertz) {
  return WithConstants([&](const FPAConstants& c) {
    u32 delay = 0;
    const u32 result = GetLockinOneShotDelay(&delay);
    if (result == rc::kOk) {
      *hertz = static_cast<float>(LockinClock(c) / (static_cast<double>(delay) / kOneShotShare));
    }
    return result;
  });
}

u32 CTQVSDKPTree::SetLockinEstInputFreq(float hertz) {
  return WithConstants([&](const FPAConstants& c) {
    return SetLockinOneShotDelay(timing::RoundToClocks(kOneShotShare * LockinClock(c) / hertz));
  });
}

u32 CTQVSDKPTree::GetLockinAlphaFilter(u8* alpha) {
  return resRead(m_tree, ".system.settings.lockIn.alpha", alpha);
}

// A non-zero alpha only filters once the data filter is on.
u32 CTQVSDKPTree::SetLockinAlphaFilter(u8 alpha) {
  const u32 result = resWrite(m_tree, ".system.settings.lockIn.alpha", alpha);
  if (result != rc::kOk) return result;
  return resSetString(m_tree, ".system.settings.lockIn.dataFilter", alpha ? "enabled" : "disabled",
                      1);
}

u32 CTQVSDKPTree::GetLockinSampleFreq(float* hertz) {
  return WithConstants([&](const FPAConstants& c) {
    u32 decimation = 0;
    const u32 result = GetLockinSampleDecimation(&decimation);
    if (result == rc::kOk) *hertz = static_cast<float>(LockinClock(c) / decimation);
    return result;
  });
}

u32 CTQVSDKPTree::SetLockinSampleFreq(float hertz) {
  return WithConstants([&](const FPAConstants& c) {
    return SetLockinSampleDecimation(timing::RoundToClocks(LockinClock(c) / hertz));
  });
}

// --- Black hot, colours, reboot ------------------------------------------------------------------

u32 CTQVSDKPTree::GetBlackHotEnabled(bool* enabled) {
  bool value = false, found = false;
  const u32 result = ReadFirstBool({".system.settings.gigE.blackHot"}, &value, &found);
  if (result == rc::kOk) *enabled = value;
  return result;
}

// Every link the camera has takes the polarity; a camera without any of them has no black hot.
u32 CTQVSDKPTree::SetBlackHotEnabled(bool enabled) {
  bool written = false;
  for (const char* path : {".system.settings.gigE.blackHot", ".system.settings.coaXPress.blackHot",
                           ".system.settings.cameraLink.blackHot"}) {
    const u32 result = resWrite(m_tree, path, enabled);
    if (result == rc::kNotFound) continue;
    if (result != rc::kOk) return result;
    written = true;
  }
  return written ? rc::kOk : rc::kNotSupported;
}

u32 CTQVSDKPTree::GetNumColors(u8* colors) {
  if (Cached(m_cache.sync.numColors, colors)) return rc::kOk;
  constexpr const char* kPath = ".system.info.fpa.numColors";
  bool exists = false;
  const u32 result = PathExists(kPath, &exists);
  if (result != rc::kOk) return result;
  if (exists) return CachedGet(m_cache.sync.numColors, kPath, colors);
  Keep(m_cache.sync.numColors, u8{1});
  *colors = 1;
  return rc::kOk;
}

namespace {
constexpr const char* kColorPath = ".system.settings.pn.color";
}  // namespace

// A single-colour camera has colour 0 in every preset, without a setting for it.
u32 CTQVSDKPTree::GetColor(u8 preset, u8* color) {
  if (preset > 3) return rc::kInvalidArgument;
  u8 colors = 0;
  const u32 result = GetNumColors(&colors);
  if (result != rc::kOk) return result;
  if (colors <= 1) {
    *color = 0;
    return rc::kOk;
  }
  char path[kPathSize];
  return CachedGet(m_cache.preset[preset].sync.color,
                   _tqvResourceForPreset(path, sizeof path, kColorPath, preset), color);
}

u32 CTQVSDKPTree::SetColor(u8 preset, u8 color) {
  if (preset > 3) return rc::kInvalidArgument;
  u8 colors = 0;
  const u32 result = GetNumColors(&colors);
  if (result != rc::kOk) return result;
  if (color >= colors) return rc::kInvalidArgument;
  if (colors <= 1) return rc::kOk;
  char path[kPathSize];
  return CachedSet(m_cache.preset[preset].sync.color,
                   _tqvResourceForPreset(path, sizeof path, kColorPath, preset), color);
}

// Boards up to 2 cannot be restarted from the host. A restarted camera comes back with its
// power-up settings, so nothing cached stays true.
u32 CTQVSDKPTree::Reboot() {
  u8 board = 0;
  u32 result = GetBoardType(&board);
  if (result != rc::kOk) return result;
  if (board <= 2) return rc::kNotSupported;
  result = resWrite(m_tree, ".system.restart", true, 0);
  if (result == rc::kOk) ForgetAll();
  return result;
}

// Cameras that do not say which video FPGA they carry have the legacy one when their main
// application is older than 2.2.
u32 CTQVSDKPTree::GetLegacyVFPGA(bool* legacy) {
  if (Cached(m_cache.sync.legacyVFPGA, legacy)) return rc::kOk;
  constexpr const char* kPath = ".version.product.legacyVFPGA";
  bool exists = false;
  u32 result = PathExists(kPath, &exists);
  if (result != rc::kOk) return result;
  if (exists) return CachedGet(m_cache.sync.legacyVFPGA, kPath, legacy);
  u16 major = 0, minor = 0, build = 0;
  if ((result = GetMainAppVersion(&major, &minor, &build))) return result;
  const bool value = major < 2 || (major == 2 && minor < 2);
  Keep(m_cache.sync.legacyVFPGA, value);
  *legacy = value;
  return rc::kOk;
}

// --- Coolers -------------------------------------------------------------------------------------

// The prefix of the manufacturing values of the cooler the camera has: 167 for a cooler type other
// than the detector's (1) or the flag's (0).
u32 CTQVSDKPTree::CoolerPrefix(zel::CString* prefix) {
  u8 type = 0;
  const u32 result = MfgGetCoolerType(&type);
  if (result != rc::kOk) return result;
  if (type > 1) return rc::kUnexpectedValue;
  *prefix = type == 1 ? ".system.manufacturing.hw.detectorCooler."
                      : ".system.manufacturing.hw.flagCooler.";
  return rc::kOk;
}

u32 CTQVSDKPTree::MfgGetCoolerSetup(float* p, float* i, float* d, float* offset) {
  zel::CString prefix;
  u32 result = CoolerPrefix(&prefix);
  const struct {
    const char* field;
    float* out;
  } values[] = {{"kp", p}, {"ki", i}, {"kd", d}, {"koff", offset}};
  for (const auto& value : values) {
    if (result == rc::kOk) result = resRead(m_tree, (prefix + value.field).c_str(), value.out);
  }
  return result;
}

u32 CTQVSDKPTree::MfgSetCoolerSetup(float p, float i, float d, float offset) {
  zel::CString prefix;
  u32 result = CoolerPrefix(&prefix);
  const struct {
    const char* field;
    float value;
  } values[] = {{"kp", p}, {"ki", i}, {"kd", d}, {"koff", offset}};
  for (const auto& value : values) {
    if (result == rc::kOk) result = resWrite(m_tree, (prefix + value.field).c_str(), value.value);
  }
  return result;
}

u32 CTQVSDKPTree::MfgGetCoolerSetpoint(float* value) {
  zel::CString prefix;
  const u32 result = CoolerPrefix(&prefix);
  return result ? result : resRead(m_tree, (prefix + "setpoint").c_str(), value);
}

u32 CTQVSDKPTree::MfgSetCoolerSetpoint(float value) {
  zel::CString prefix;
  const u32 result = CoolerPrefix(&prefix);
  return result ? result : resWrite(m_tree, (prefix + "setpoint").c_str(), value);
}

u32 CTQVSDKPTree::MfgGetCoolerPowerEnabled(bool* value) {
  zel::CString prefix;
  const u32 result = CoolerPrefix(&prefix);
  return result ? result : resRead(m_tree, (prefix + "powerEnabled").c_str(), value);
}

u32 CTQVSDKPTree::MfgSetCoolerPowerEnabled(bool value) {
  zel::CString prefix;
  const u32 result = CoolerPrefix(&prefix);
  return result ? result : resWrite(m_tree, (prefix + "powerEnabled").c_str(), value);
}
