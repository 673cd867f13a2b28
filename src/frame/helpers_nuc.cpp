// Exported answers about correction that combine camera operations: the availability of the
// bad-pixel correction method and the single-preset view of the correction presets.
#include "frame/nullcheck.h"
#include "frame/registry.h"

namespace {
// "Alder" boards replace bad pixels one way only.
constexpr u8 kAlderBoard = 2;
}  // namespace

extern "C" {

TQV_API uint32_t tqvGetBadPixelCorrectionMethodAvailable(void* handle, bool* available) {
  if (u32 refused = nulls::CheckCall(handle, available)) return refused;
  u8 board = 0;
  u32 result = tqvGetBoardType(handle, &board);
  if (result == rc::kOk) *available = board != kAlderBoard;
  return result;
}

TQV_API uint32_t tqvSetNUCPreset(void* handle, uint8_t preset) {
  if (preset > 3) return rc::kNotSupported;
  return tqvSetNUCPresets(handle, preset == 0, preset == 1, preset == 2, preset == 3);
}

// One preset is the one a correction covers: none enabled becomes preset 0, several become the
// lowest of them.
TQV_API uint32_t tqvGetNUCPreset(void* handle, uint8_t* preset) {
  if (u32 refused = nulls::CheckCall(handle, preset)) return refused;
  bool enabled[4] = {};
  u32 result = tqvGetNUCPresets(handle, &enabled[0], &enabled[1], &enabled[2], &enabled[3]);
  if (result != rc::kOk) return result;
  u8 lowest = 0;
  int count = 0;
  for (u8 p = 4; p-- > 0;) {
    if (enabled[p]) {
      lowest = p;
      ++count;
    }
  }
  if (count != 1) {
    result = tqvSetNUCPreset(handle, lowest);
    if (result != rc::kOk) return result;
  }
  *preset = lowest;
  return rc::kOk;
}

}  // extern "C"
