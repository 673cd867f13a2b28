// Lens decisions that both backends make alike.
#pragma once

#include "interface/ITQVSDK.h"

namespace lens {

// Camera types 7 and 11 to 17 have a lens controller that cannot be changed; the camera type is
// asked through the interface, so a cached one is reused.
inline u32 ControlTypeWritable(ITQVSDK& sdk, bool* writable) {
  u8 cameraType = 0;
  const u32 result = sdk.GetCameraType(&cameraType);
  if (result == rc::kOk) *writable = !(cameraType == 7 || (cameraType >= 11 && cameraType <= 17));
  return result;
}

}  // namespace lens
