// Exported answers about the video output that combine camera operations.
#include "frame/nullcheck.h"
#include "frame/registry.h"

namespace {

constexpr u8 kBirchBoard = 4;

// The video position and the overlay text colours are the host's to set, except on cameras that
// refresh their outputs the new way and on Birch boards.
u32 VideoLaidOutByHost(void* handle, bool* answer) {
  if (u32 refused = nulls::CheckCall(handle, answer)) return refused;
  bool xRefresh = false;
  if (u32 result = tqvIsXRefresh(handle, &xRefresh)) return result;
  u8 board = 0;
  if (u32 result = tqvGetBoardType(handle, &board)) return result;
  *answer = !xRefresh && board != kBirchBoard;
  return rc::kOk;
}

}  // namespace

extern "C" {

TQV_API uint32_t tqvGetVideoPositionWritable(void* handle, bool* writable) {
  return VideoLaidOutByHost(handle, writable);
}

TQV_API uint32_t tqvGetVideoOverlayTextColorsAvailable(void* handle, bool* available) {
  return VideoLaidOutByHost(handle, available);
}

}  // extern "C"
