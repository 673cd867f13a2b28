// Video operations that are the same on both backends, over the camera interface (so that each
// backend's cache and lock still apply).
#pragma once

#include "interface/ITQVSDK.h"

namespace video {

// The manual AGC limits as a pair: the low one, then the high one; the first failure ends the
// call, and the outputs are written only when both were read.
inline u32 GetAGCManual(ITQVSDK& sdk, u16* low, u16* high) {
  u16 lowRead = 0, highRead = 0;
  if (u32 result = sdk.GetVideoAGCManualLow(&lowRead)) return result;
  if (u32 result = sdk.GetVideoAGCManualHigh(&highRead)) return result;
  *low = lowRead;
  *high = highRead;
  return rc::kOk;
}

inline u32 SetAGCManual(ITQVSDK& sdk, u16 low, u16 high) {
  if (u32 result = sdk.SetVideoAGCManualLow(low)) return result;
  return sdk.SetVideoAGCManualHigh(high);
}

}  // namespace video
