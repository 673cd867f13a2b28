// The GenICam backend's core: construction, initialisation, preset prefixes, connection test,
// cache answers, board detection, event queue and version.
#include <cstdio>

#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"

const CTQVSDKGenICam::FileFeatureNames CTQVSDKGenICam::kStandardFileNames = {
    "FileNewName",      "FileModifiedTime",      "FileName",
    "FileSelector",     "FileOperationSelector", "FileOperationExecute",
    "FileOpenMode",     "FileAccessBuffer",      "FileAccessOffset",
    "FileAccessLength", "FileOperationStatus",   "FileOperationResult",
    "FileSize",         "FileCompression",
};

const CTQVSDKGenICam::FileFeatureNames CTQVSDKGenICam::kCameraFileNames = {
    "CameraFileNewName",      "CameraFileModifiedTime",      "CameraFileName",
    "CameraFileSelector",     "CameraFileOperationSelector", "CameraFileOperationExecute",
    "CameraFileOpenMode",     "CameraFileAccessBuffer",      "CameraFileAccessOffset",
    "CameraFileAccessLength", "CameraFileOperationStatus",   "CameraFileOperationResult",
    "CameraFileSize",         "CameraFileCompression",
};

namespace {
// Flags bit 0: keep the handle even when the sensor constants do not read.
constexpr u32 kKeepOnConstantsFailure = 1;
// A frame-grabber board: one preset, features without preset prefix.
constexpr u32 kFrameGrabberBoard = 6;
}  // namespace

CTQVSDKGenICam::CTQVSDKGenICam(Device device) : m_device(std::move(device)) {}

CTQVSDKGenICam::~CTQVSDKGenICam() = default;

zel::CString CTQVSDKGenICam::PresetText(u8 preset) const {
  if (m_boardType == kFrameGrabberBoard) return zel::CString();
  static const char* const kPrefixes[] = {"PS0", "PS1", "PS2", "PS3"};
  return zel::CString(preset < 4 ? kPrefixes[preset] : "PSX");
}

zel::CString CTQVSDKGenICam::PresetFeature(u8 preset, const char* name) const {
  return PresetText(preset) + name;
}

u32 CTQVSDKGenICam::Init(u32 flags) {
  TQV_GIC_OPERATION();
  bool ready = false;
  u32 result = gicGetBool(m_device, "Ready", &ready, kGicAttempts);
  if (result != rc::kOk) return result;
  if (!ready) return rc::kError;

  i64 board = 0;
  if ((result = gicGetEnumValue(m_device, "BoardType", &board, kGicAttempts))) return result;
  m_boardType = static_cast<u32>(board);

  FPAConstants& c = m_constants;
  const bool keep = flags & kKeepOnConstantsFailure;
  c.maximumGainLevel = 0;
  if (m_boardType != kFrameGrabberBoard) {
    result = gicGetLimitsUInt8(m_device, "GainLevel", nullptr, &c.maximumGainLevel);
    if (result != rc::kOk) {
      if (!keep) return result;
      c.maximumGainLevel = 0;
    }
  }

  struct Constant {
    zel::CString feature;
    u32* value;
  };
  const Constant constants[] = {
      {"MfgDeadRows", &c.deadRows},
      {"MfgClockFrequency", &c.clockFrequency},
      {"MfgLineDeadWidth", &c.lineDeadWidth},
      {"MfgPreIntegrationDeadWidth", &c.preIntegrationDeadWidth},
      {"MfgPostIntegrationDeadWidth", &c.postIntegrationDeadWidth},
      {PresetFeature(0, "IntegrationWidthMin"), &c.minimumIntegrationWidth},
      {PresetFeature(0, "IntegrationWidthMax"), &c.maximumIntegrationWidth},
      {PresetFeature(0, "FrameWidthMin"), &c.minimumFrameWidth},
      {PresetFeature(0, "FrameWidthMax"), &c.maximumFrameWidth},
      {"MfgPipelineDelay", &c.pipelineDelay},
      {"MfgIntegrationDeadWidth", &c.intDeadWidth},
      {"MfgFrameDeadWidth", &c.frameDeadWidth},
  };
  // The readout channels come second, after the dead rows.
  result = gicGetUInt32(m_device, constants[0].feature.c_str(), constants[0].value, kGicAttempts);
  if (result == rc::kOk) {
    result = gicGetUInt8(m_device, "MfgReadoutChannels", &c.readoutChannels, kGicAttempts);
  }
  for (std::size_t i = 1; result == rc::kOk && i < std::size(constants); ++i) {
    result = gicGetUInt32(m_device, constants[i].feature.c_str(), constants[i].value, kGicAttempts);
  }
  if (result != rc::kOk && !keep) return rc::kError;

  if (gicIsPresent(m_device, "CameraFileSelector")) m_fileNames = &kCameraFileNames;
  return rc::kOk;
}

u32 CTQVSDKGenICam::TestConnection() {
  TQV_GIC_OPERATION();
  bool ready = false;
  return gicGetBool(m_device, "Ready", &ready, kGicAttempts);
}

// The device answers every read itself; this backend keeps no cache.
u32 CTQVSDKGenICam::GetCacheEnabled(bool* enabled) {
  *enabled = true;
  return rc::kOk;
}

u32 CTQVSDKGenICam::SetCacheEnabled(bool enable) { return enable ? rc::kOk : rc::kNotSupported; }

u32 CTQVSDKGenICam::ClearCache() { return rc::kNotSupported; }

u32 CTQVSDKGenICam::FillCache() { return rc::kNotSupported; }

u32 CTQVSDKGenICam::IsTQV2(bool* result) {
  TQV_GIC_OPERATION();
  i64 board = 0;
  u32 read = gicGetEnumValue(m_device, "BoardType", &board, kGicAttempts);
  if (read == rc::kOk) *result = board == 1;
  return read;
}

u32 CTQVSDKGenICam::GetBoardType(u8* board) {
  TQV_GIC_OPERATION();
  return gicGetEnumValue(m_device, "BoardType", board, kGicAttempts);
}

u32 CTQVSDKGenICam::ReadEventQueue(tqvEEventType* event) {
  TQV_GIC_OPERATION();
  if (!gicIsAvailable(m_device, "EventQueue")) {
    *event = 0;
    return rc::kOk;
  }
  i64 value = 0;
  u32 result = gicGetInt64(m_device, "EventQueue", &value, kGicAttempts);
  if (result != rc::kOk) return result;
  // Codes 1 and 2 announce a lens control type change, which the camera wants acknowledged.
  if (value == 1 || value == 2) gicSetBool(m_device, "LensControlTypeChanged", true, kGicAttempts);
  *event = static_cast<tqvEEventType>(value);
  return rc::kOk;
}

u32 CTQVSDKGenICam::GetMainAppVersion(u16* major, u16* minor, u16* build) {
  TQV_GIC_OPERATION();
  u32 result = gicSetEnumValue(m_device, "ComponentInfoSelector", "AppCore_Version", kGicAttempts);
  if (result != rc::kOk) return result;
  zel::CString text;
  if ((result = gicGetString(m_device, "ComponentInfo", text, kGicAttempts))) return result;
  int numbers[4] = {};
  if (std::sscanf(text.c_str(), "%d.%d.%d.%d", &numbers[0], &numbers[1], &numbers[2],
                  &numbers[3]) != 4) {
    return rc::kUnexpectedValue;
  }
  *major = static_cast<u16>(numbers[0]);
  *minor = static_cast<u16>(numbers[1]);
  *build = static_cast<u16>(numbers[3]);
  return rc::kOk;
}
