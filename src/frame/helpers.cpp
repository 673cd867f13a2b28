// Exported answers that combine camera operations and are not operations themselves.
#include "frame/nullcheck.h"
#include "frame/registry.h"

namespace {
// A frame-grabber board offers a single preset.
constexpr u8 kFrameGrabberBoard = 6;
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
  zel::TSharedPtr<ITQVSDK> sdk = sdks().Resolve(handle);
  if (has) *has = false;
  if (!sdk) return rc::kError;
  if (!has) return rc::kInvalidArgument;
  u8 levels = 0;
  u32 result = sdk->GetSupportedGainLevels(&levels);
  if (result == rc::kOk) *has = levels > 1;
  return result;
}

}  // extern "C"
