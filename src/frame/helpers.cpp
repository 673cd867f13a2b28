// Exported answers that combine camera operations and are not operations themselves.
#include "frame/registry.h"

namespace {
// A frame-grabber board offers a single preset.
constexpr u8 kFrameGrabberBoard = 6;
}  // namespace

extern "C" {

TQV_API uint32_t tqvGetNumPresets(void* handle, uint8_t* count) {
  u8 board = 0;
  u32 result = tqvGetBoardType(handle, &board);
  if (result == rc::kOk) *count = board == kFrameGrabberBoard ? 1 : 4;
  return result;
}

TQV_API uint32_t tqvGetHasFPAGainLevels(void* handle, bool* has) {
  *has = false;
  CTQVSDKArray::Ref sdk = sdks().Resolve(handle);
  if (!sdk) return rc::kError;
  u8 levels = 0;
  u32 result = sdk->GetSupportedGainLevels(&levels);
  if (result == rc::kOk) *has = levels > 1;
  return result;
}

}  // extern "C"
