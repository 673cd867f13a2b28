// The property-tree backend's core: construction, the sensor constants, paths, the shared helpers
// of the family files, the cache operations, board detection, event queue and version.
#include <strings.h>

#include <cstdio>
#include <cstring>

#include "ptree/CTQVSDKPTree.h"

CTQVSDKPTree::CTQVSDKPTree(void* connection) : m_tree(connection) {}

CTQVSDKPTree::~CTQVSDKPTree() = default;

// --- Paths ---------------------------------------------------------------------------------------

namespace {

// Copies at most size - 1 characters and terminates.
void CopyBounded(char* dst, u32 size, const char* src) {
  if (size == 0) return;
  std::size_t length = src ? strnlen(src, size - 1) : 0;
  std::memcpy(dst, src, length);
  dst[length] = '\0';
}

}  // namespace

char* _tqvResourceForPreset(char* dst, u32 size, const char* path, u8 preset) {
  CopyBounded(dst, size, path);
  if (preset > 3) return dst;
  // The prefixes whose n names the preset, and the index of that n.
  static constexpr struct {
    const char* prefix;
    std::size_t index;
  } kPresetPaths[] = {
      {".system.settings.pn.", 18},
      {".system.settings.NUC.pn.", 22},
      {".system.settings.tdrift.pn.", 25},
  };
  for (const auto& form : kPresetPaths) {
    std::size_t length = std::strlen(form.prefix);
    if (std::strlen(dst) >= length && strncasecmp(dst, form.prefix, length) == 0) {
      dst[form.index] = static_cast<char>('0' + preset);
      break;
    }
  }
  return dst;
}

char* _tqvResourceForCal(char* dst, u32 size, const char* calName, const char* field) {
  if (size == 0) return dst;
  std::snprintf(dst, size, ".system.calib.cals.%s.%s", calName ? calName : "", field ? field : "");
  return dst;
}

// --- Shared value helpers ------------------------------------------------------------------------

u32 _tqvGetString(void* tree, const char* path, char* buffer, int size) {
  char* text = nullptr;
  u32 result = resGetString(tree, path, &text);
  if (result != rc::kOk) return result;
  std::size_t length = text ? std::strlen(text) : 0;
  if (buffer && size > 0 && static_cast<std::size_t>(size) > length + 1) {
    std::memcpy(buffer, text ? text : "", length + 1);
  } else {
    result = rc::kError;
  }
  resFreeString(&text);
  return result;
}

u32 resGetEnum(void* tree, const char* path, u8* value, u32 (*textToValue)(const char*)) {
  char* text = nullptr;
  u32 result = resGetString(tree, path, &text);
  if (result != rc::kOk) return result;
  u32 code = textToValue(text ? text : "");
  resFreeString(&text);
  if (code == rc::kError) return rc::kError;
  *value = static_cast<u8>(code);
  return rc::kOk;
}

u32 resSetEnum(void* tree, const char* path, u32 value, const char* (*valueToText)(u32)) {
  const char* text = valueToText(value);
  if (!text) return rc::kError;
  return resSetString(tree, path, text, 1);
}

u32 ReadAsText(void* tree, const char* path, zel::CString* text) {
  resValue value{};
  const u32 result = resGet(tree, path, &value);
  if (result != rc::kOk) return result;
  switch (value.type) {
    case RES_TYPE_BOOL:
      *text = zel::to_string(value.payload.b);
      break;
    case RES_TYPE_UINT32: {
      resAttributes attributes{};
      bool hex =
          resGetAttributes(tree, path, &attributes) == rc::kOk && (attributes.flags & RES_ATTR_HEX);
      *text = zel::strprintf(hex ? "%08X" : "%u", value.payload.u32);
      break;
    }
    case RES_TYPE_DOUBLE:
      *text = zel::to_string(value.payload.f64);
      break;
    case RES_TYPE_STRING:
      *text = value.payload.text;
      break;
    case RES_TYPE_UTF16:
      *text = reinterpret_cast<const char16_t*>(value.payload.utf16);
      break;
    default:
      *text = "Unsupported Type";
      break;
  }
  resFiniValue(&value);
  return rc::kOk;
}

zel::CString GetResString(void* tree, const char* path) {
  zel::CString text;
  ReadAsText(tree, path, &text);
  return text;
}

u32 resRead(void* tree, const char* path, bool* value) { return resGetBool(tree, path, value); }
u32 resRead(void* tree, const char* path, i8* value) { return resGetInt8(tree, path, value); }
u32 resRead(void* tree, const char* path, u8* value) { return resGetUInt8(tree, path, value); }
u32 resRead(void* tree, const char* path, i16* value) { return resGetInt16(tree, path, value); }
u32 resRead(void* tree, const char* path, u16* value) { return resGetUInt16(tree, path, value); }
u32 resRead(void* tree, const char* path, i32* value) { return resGetInt32(tree, path, value); }
u32 resRead(void* tree, const char* path, u32* value) { return resGetUInt32(tree, path, value); }
u32 resRead(void* tree, const char* path, float* value) { return resGetFlt32(tree, path, value); }
u32 resRead(void* tree, const char* path, double* value) { return resGetFlt64(tree, path, value); }
u32 resWrite(void* tree, const char* path, bool value, int commit) {
  return resSetBool(tree, path, value, commit);
}
u32 resWrite(void* tree, const char* path, i8 value, int commit) {
  return resSetInt8(tree, path, value, commit);
}
u32 resWrite(void* tree, const char* path, u8 value, int commit) {
  return resSetUInt8(tree, path, value, commit);
}
u32 resWrite(void* tree, const char* path, i16 value, int commit) {
  return resSetInt16(tree, path, value, commit);
}
u32 resWrite(void* tree, const char* path, u16 value, int commit) {
  return resSetUInt16(tree, path, value, commit);
}
u32 resWrite(void* tree, const char* path, i32 value, int commit) {
  return resSetInt32(tree, path, value, commit);
}
u32 resWrite(void* tree, const char* path, u32 value, int commit) {
  return resSetUInt32(tree, path, value, commit);
}
u32 resWrite(void* tree, const char* path, float value, int commit) {
  return resSetFlt32(tree, path, value, commit);
}
u32 resWrite(void* tree, const char* path, double value, int commit) {
  return resSetFlt64(tree, path, value, commit);
}

u32 CTQVSDKPTree::CachedGetEnum(TCached<u8>& entry, const char* path, u8* out,
                                u32 (*textToValue)(const char*)) {
  if (Cached(entry, out)) return rc::kOk;
  u8 value = 0;
  u32 result = resGetEnum(m_tree, path, &value, textToValue);
  if (result == rc::kError) {
    *out = 255;  // the camera's text is not one the library knows
    return result;
  }
  if (result != rc::kOk) return result;
  Keep(entry, value);
  *out = value;
  return rc::kOk;
}

u32 CTQVSDKPTree::CachedSetEnum(TCached<u8>& entry, const char* path, u8 value,
                                const char* (*valueToText)(u32)) {
  u32 result = resSetEnum(m_tree, path, value, valueToText);
  if (result == rc::kOk) Keep(entry, value);
  return result;
}

u32 CTQVSDKPTree::CachedLimits(TCached<std::array<float, 2>>& entry, const char* path,
                               float* minimum, float* maximum) {
  std::array<float, 2> limits{};
  if (!Cached(entry, &limits)) {
    u32 result = resGetLimitsFlt32Ex(m_tree, path, &limits[0], &limits[1]);
    if (result != rc::kOk) return result;
    Keep(entry, limits);
  }
  *minimum = limits[0];
  *maximum = limits[1];
  return rc::kOk;
}

// --- Sensor constants ----------------------------------------------------------------------------

namespace {

bool IsAbsent(u32 result) { return result == rc::kNotFound || result == rc::kFailed; }

}  // namespace

u32 CTQVSDKPTree::GetConstants() {
  if (m_constantsLoaded) return rc::kOk;
  FPAConstants& c = m_constants;

  u32 result = resGetUInt32(m_tree, ".system.info.fpa.deadRows", &c.deadRows);
  if (IsAbsent(result)) {
    c.deadRows = 2;
  } else if (result != rc::kOk) {
    return result;
  }

  struct Required {
    const char* path;
    u32* value;
  };
  if ((result = resGetUInt8(m_tree, ".system.info.fpa.readoutChannels", &c.readoutChannels))) {
    return result;
  }
  const Required required[] = {
      {".system.info.fpa.clockFrequency", &c.clockFrequency},
      {".system.info.fpa.lineDeadWidth", &c.lineDeadWidth},
      {".system.info.fpa.preIntegrationDeadWidth", &c.preIntegrationDeadWidth},
      {".system.info.fpa.postIntegrationDeadWidth", &c.postIntegrationDeadWidth},
      {".system.info.fpa.minimumIntegrationWidth", &c.minimumIntegrationWidth},
      {".system.info.fpa.maximumIntegrationWidth", &c.maximumIntegrationWidth},
      {".system.info.fpa.minimumFrameWidth", &c.minimumFrameWidth},
      {".system.info.fpa.maximumFrameWidth", &c.maximumFrameWidth},
      {".system.info.fpa.pipelineDelay", &c.pipelineDelay},
  };
  for (const Required& constant : required) {
    if ((result = resGetUInt32(m_tree, constant.path, constant.value))) return result;
  }
  if ((result = resGetUInt8(m_tree, ".system.info.fpa.maximumGainLevel", &c.maximumGainLevel))) {
    return result;
  }

  const Required optional[] = {
      {".system.info.fpa.intDeadWidth", &c.intDeadWidth},
      {".system.info.fpa.frameDeadWidth", &c.frameDeadWidth},
  };
  for (const Required& constant : optional) {
    result = resGetUInt32(m_tree, constant.path, constant.value);
    if (IsAbsent(result)) {
      *constant.value = 0;
    } else if (result != rc::kOk) {
      return result;
    }
  }

  // Cameras whose lens is driven by the separate lens controller show it only under ".vorn.".
  bool focusPresent = false;
  bool fovPresent = false;
  if (resVerify(m_tree, ".system.lens.focusPresent") == rc::kOk &&
      resVerify(m_tree, ".system.lens.fovPresent") == rc::kOk) {
    if ((result = resGetBool(m_tree, ".system.lens.focusPresent", &focusPresent))) return result;
    if ((result = resGetBool(m_tree, ".system.lens.fovPresent", &fovPresent))) return result;
  }
  if (!focusPresent && !fovPresent && resVerify(m_tree, ".vorn.settings.enabled") == rc::kOk) {
    bool enabled = false;
    if (resGetBool(m_tree, ".vorn.settings.enabled", &enabled) == rc::kOk && enabled) {
      m_lensController = true;
    }
  }

  m_constantsLoaded = true;
  return rc::kOk;
}

// --- Core operations -----------------------------------------------------------------------------

u32 CTQVSDKPTree::TestConnection() { return resVerify(m_tree, "."); }

u32 CTQVSDKPTree::GetCacheEnabled(bool* enabled) {
  std::lock_guard<std::mutex> hold(m_cacheLock);
  *enabled = m_cacheEnabled;
  return rc::kOk;
}

u32 CTQVSDKPTree::SetCacheEnabled(bool enable) {
  std::lock_guard<std::mutex> hold(m_cacheLock);
  m_cacheEnabled = enable;
  if (!enable) m_cache = PTreeCache{};
  return rc::kOk;
}

u32 CTQVSDKPTree::ClearCache() {
  std::lock_guard<std::mutex> hold(m_cacheLock);
  m_cache = PTreeCache{};
  return rc::kOk;
}

u32 CTQVSDKPTree::CopyText(const char* text, char* buffer, int size) {
  const std::size_t length = std::strlen(text);
  if (size <= 0 || static_cast<std::size_t>(size) <= length + 1) return rc::kError;
  std::memcpy(buffer, text, length + 1);
  return rc::kOk;
}

u32 CTQVSDKPTree::IsTQV2(bool* result) {
  *result = false;
  bool named = false;
  if (u32 verify = PathExists(".version.product.tqvBoardType", &named)) return verify;
  if (named) {
    char* text = nullptr;
    u32 read = resGetString(m_tree, ".version.product.tqvBoardType", &text);
    if (read == rc::kOk) *result = text && strcasecmp(text, "tqv2") == 0;
    resFreeString(&text);
    return read;
  }
  u8 type = 0;
  u8 subtype = 0;
  u32 read = GetCameraType(&type);
  if (read == rc::kOk) read = GetCameraSubtype(&subtype);
  if (read != rc::kOk) return read;
  *result = (type == 4 && ((subtype >= 2 && subtype <= 7) || (subtype >= 9 && subtype <= 14))) ||
            (type == 3 && subtype >= 16 && subtype <= 21);
  return rc::kOk;
}

u32 CTQVSDKPTree::GetBoardType(u8* board) {
  if (Cached(m_cache.boardType, board)) return rc::kOk;
  u8 value = 0;
  bool named = false;
  if (u32 verify = PathExists(".version.product.tqvBoardType", &named)) return verify;
  if (named) {
    u32 result = resGetEnum(m_tree, ".version.product.tqvBoardType", &value, &tqvBoardTypeEnum);
    if (result == rc::kError) {
      *board = 255;  // a board the library does not know
      return result;
    }
    if (result != rc::kOk) return result;
  } else {
    bool tqv2 = false;
    u32 result = IsTQV2(&tqv2);
    if (result != rc::kOk) return result;
    value = tqv2 ? 1 : 0;
  }
  Keep(m_cache.boardType, value);
  *board = value;
  return rc::kOk;
}

u32 CTQVSDKPTree::ReadEventQueue(tqvEEventType* event) {
  bool queue = false;
  if (u32 verify = PathExists(".system.eventQueue", &queue)) return verify;
  if (!queue) {
    *event = 0;
    return rc::kOk;
  }
  u32 value = 0;
  u32 result = resGetUInt32(m_tree, ".system.eventQueue", &value);
  if (result == rc::kOk) *event = value;
  return result;
}

u32 CTQVSDKPTree::GetMainAppVersion(u16* major, u16* minor, u16* build) {
  u8 board = 0;
  u32 result = GetBoardType(&board);
  if (result != rc::kOk) return result;
  u16 values[3] = {};
  const char* minorPath =
      board <= 2 ? ".version.sw.AppCore.minor" : ".version.sw.AppCore.intermediate";
  const char* paths[3] = {".version.sw.AppCore.major", minorPath, ".version.sw.AppCore.build"};
  for (int i = 0; i < 3; ++i) {
    if ((result = resGetUInt16(m_tree, paths[i], &values[i]))) return result;
  }
  *major = values[0];
  *minor = values[1];
  *build = values[2];
  return rc::kOk;
}

// Reads every cached setting once through the interface, ignoring the results, so that a host can
// pay for all of those reads at one moment.
u32 CTQVSDKPTree::FillCache() {
  char text[512];
  u8 b1, b2, b3, b4;
  u16 w1, w2, w3, w4, w5, w6;
  u32 d1, d2;
  float f1, f2;
  double x1;
  bool on1, on2, on3;

  for (u8 p = 0; p < 4; ++p) {
    GetWindow(p, &w1, &w2, &w3, &w4);
    GetIntegrationWidth(p, &d1);
    GetFrameWidth(p, &d1);
    GetDwellCount(p, &d1);
    GetSubframeEnabled(p, &on1);
    GetSaturationCountThreshold(p, &w1);
    GetSaturationPixelThreshold(p, &d1);
    GetNUCName(p, text, sizeof text);
    GetCalTag(p, text, sizeof text);
    GetDigitalGain(p, &f1);
    GetDigitalOffset(p, &f1);
    GetSyncOutDelay(p, &f1);
  }

  GetPresetSequencingMode(&b1);
  GetSuperframeWidth(&d1);
  GetActivePreset(&b1);
  GetInvertEnabled(&on1);
  GetRevertEnabled(&on1);
  GetCameraModel(text, sizeof text);
  GetCameraSN(text, sizeof text);
  GetCameraType(&b1);
  GetCameraSubtype(&b1);
  GetDetectorType(&b1);
  GetReadout(&b1);
  GetFPAColdTemperature(&f1);
  GetFrameSyncMode(&b1);
  GetFrameSyncSource(&b1);
  GetFrameSyncPolarity(&b1);
  GetFrameSyncDelay(&f1);
  GetGainLevel(&b1);
  GetTriggerSource(&b1);
  GetTriggerPolarity(&b1);
  GetTriggerDelay(&f1);
  GetSequenceCount(&d1);
  GetInternalTriggerWidth(&d1);
  GetTriggerMode(&b1);
  GetIRIGTriggerTime(&w1, &b1, &b2, &b3, &w2, &w3);
  GetIntegrateOutPolarity(&b1);
  GetIRIGLatchSource(&b1);
  GetFilterWheelPresent(&on1);
  GetFilterIDs(&b1, &b2, &b3, &b4);
  GetCurrentFilterID(&b1);
  GetFPABias(&f1);
  GetFPABiasLimits(&f1, &f2);
  GetGlobalOffsetVoltage(&f1);
  GetGlobalOffsetVoltageLimits(&f1, &f2);
  GetSkimmingEnabled(&on1);
  GetSkimmingVoltage(&f1);
  GetSkimmingVoltageLimits(&f1, &f2);
  GetSyncOutSource(&b1);
  GetSyncOutPolarity(&b1);
  GetFlagPresent(&on1);
  GetFlagTemperatureControlled(&on1);
  GetFlagState(&b1);
  GetFlagDesiredTemperature(&f1);
  GetFlagCoolerEnabled(&on1);

  GetConstants();
  GetFocusPresent(&on1);
  GetFocusRange(&d1, &d2);
  GetFocusPos(&d1);
  GetAutoFocusROIShowWhenFocusing(&on1);
  GetAutoFocusROISize(&w1);
  GetAutoFocusROIPosition(&b1);
  GetFOVPresent(&on1);
  GetFOV(&b1);
  GetLensStateName(text, sizeof text);

  GetVideoPreset(&b1);
  GetVideoFormat(&b1);
  GetVideoUpdateRate(&b1);
  GetVideoPosition(&b1);
  GetVideoTemporalFilter(&b1);
  GetVideoTemporalFilterThreshold(&w1);
  GetVideoZoomFactor(&b1);
  GetVideoZoomBilinear(&on1);
  i16 x, y;
  GetVideoOffset(&x, &y);
  GetVideoAGCMethod(&b1);
  GetVideoAGCDampeningEnabled(&on1);
  GetVideoAGCDampening(&f1);
  GetVideoAGCFilterRateEnabled(&on1);
  GetVideoAGCFilterRate(&x1);
  GetVideoAGCPlateauP(&d1);
  GetVideoAGCManual(&w1, &w2);
  GetVideoAGCDDESharpness(&w1);
  GetVideoAGCDDEThreshold(&w1);
  GetVideoAGCROIEnabled(&on1);
  GetVideoAGCROIShowWhenEnabled(&on1);
  GetVideoAGCROI(&w1, &w2, &w3, &w4);
  GetVideoOverlayEnabled(&on1);
  using ShowGetter = u32 (CTQVSDKPTree::*)(bool*);
  static constexpr ShowGetter kOverlayShows[] = {
      &CTQVSDKPTree::GetVideoOverlayShowDate,
      &CTQVSDKPTree::GetVideoOverlayShowTime,
      &CTQVSDKPTree::GetVideoOverlayShowLogo,
      &CTQVSDKPTree::GetVideoOverlayShowFOV,
      &CTQVSDKPTree::GetVideoOverlayShowZoom,
      &CTQVSDKPTree::GetVideoOverlayShowFocus,
      &CTQVSDKPTree::GetVideoOverlayShowLensTemp,
      &CTQVSDKPTree::GetVideoOverlayShowAirGapTemp,
      &CTQVSDKPTree::GetVideoOverlayShowInternalTemp,
      &CTQVSDKPTree::GetVideoOverlayShowChassisTemp,
      &CTQVSDKPTree::GetVideoOverlayShowFrontPanelTemp,
      &CTQVSDKPTree::GetVideoOverlayShowAGCROI,
      &CTQVSDKPTree::GetVideoOverlayShowFocusROI,
      &CTQVSDKPTree::GetVideoOverlayShowFlag,
      &CTQVSDKPTree::GetVideoOverlayShowPalette,
      &CTQVSDKPTree::GetVideoOverlayShowIRIG,
      &CTQVSDKPTree::GetVideoOverlayShowFrameRate,
      &CTQVSDKPTree::GetVideoOverlayShowPreset,
      &CTQVSDKPTree::GetVideoOverlayShowHourMeter,
      &CTQVSDKPTree::GetVideoOverlayShowMessage,
      &CTQVSDKPTree::GetVideoOverlayShowCameraInfo,
      &CTQVSDKPTree::GetVideoOverlayShowStateName,
  };
  for (ShowGetter show : kOverlayShows)
    (this->*show)(&on1);
  GetVideoOverlayTextColor(&b1);
  GetVideoOverlayTextBackground(&b1);
  GetVideoOverlayAGCROIColor(&b1);
  GetVideoOverlayFocusROIColor(&b1);
  i8 level;
  GetVideoBrightness(&level);
  GetVideoContrast(&level);

  GetStateName(text, sizeof text);
  GetDigitalOutputNUCEnabled(&on1);
  GetVideoOutputNUCEnabled(&on1);
  GetBadPixelCorrectionMethod(&b1);
  GetShowBadPixels(&on1);
  GetAutoNUCSetup(&on1, &on2, &f1, &on3, &d1);
  GetPalette(text, sizeof text);
  IsFactoryCalibrated(&on1);
  GetGigEPreset(&b1);
  GetGigEPresetSupported(&on1);
  GetWindowLimits(&w1, &w2, &w3, &w4, &w5, &w6);
  GetLegacyVFPGA(&on1);
  GetCameraLinkTypeAvailable(&on1);
  GetCameraLinkType(&b1);
  return rc::kOk;
}
