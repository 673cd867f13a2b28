// Exported answers that combine camera operations and are not operations themselves.
#include "frame/nullcheck.h"
#include "frame/registry.h"

namespace {
// A frame-grabber board offers a single preset.
constexpr u8 kFrameGrabberBoard = 6;
constexpr u8 kWZNBoard = 3;
}  // namespace

extern "C" {

TQV_API uint32_t tqvGetNumPresets(void* handle, uint8_t* count) {
  if (u32 refused = nulls::CheckCall(handle, count)) return refused;
  u8 board = 0;
  u32 result = tqvGetBoardType(handle, &board);
  if (result == rc::kOk) *count = board == kFrameGrabberBoard ? 1 : 4;
  return result;
}

TQV_API uint32_t tqvGetHasFPAGainLevels(void* handle, bool* has) {
  CTQVSDKArray::Ref sdk = sdks().Resolve(handle);
  if (has) *has = false;
  if (!sdk) return rc::kError;
  if (!has) return rc::kInvalidArgument;
  u8 levels = 0;
  u32 result = sdk->GetSupportedGainLevels(&levels);
  if (result == rc::kOk) *has = levels > 1;
  return result;
}

TQV_API uint32_t tqvIsWZN(void* handle, bool* result) {
  if (u32 refused = nulls::CheckCall(handle, result)) return refused;
  u8 board = 0;
  u32 code = tqvGetBoardType(handle, &board);
  if (code == rc::kOk) *result = board == kWZNBoard;
  return code;
}

// A WZN board whose main application is newer than 3.3 refreshes its outputs the new way.
TQV_API uint32_t tqvIsXRefresh(void* handle, bool* result) {
  if (u32 refused = nulls::CheckCall(handle, result)) return refused;
  bool wzn = false;
  u32 code = tqvIsWZN(handle, &wzn);
  if (code != rc::kOk) return code;
  if (!wzn) {
    *result = false;
    return rc::kOk;
  }
  u16 major = 0, minor = 0, build = 0;
  code = tqvGetMainAppVersion(handle, &major, &minor, &build);
  if (code == rc::kOk) *result = major > 3 || (major == 3 && minor > 3);
  return code;
}

}  // extern "C"
