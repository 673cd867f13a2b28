// Operations over all four presets in turn, shared by both backends. They stop at the first
// failure; values of earlier presets stay read or written.
#pragma once

#include "interface/ITQVSDK.h"

namespace presets {

template <typename T>
u32 GetEach(ITQVSDK& sdk, u32 (ITQVSDK::*get)(u8, T*), T* v0, T* v1, T* v2, T* v3) {
  T* const outputs[4] = {v0, v1, v2, v3};
  for (u8 p = 0; p < 4; ++p) {
    if (u32 result = (sdk.*get)(p, outputs[p])) return result;
  }
  return rc::kOk;
}

template <typename T>
u32 SetEach(ITQVSDK& sdk, u32 (ITQVSDK::*set)(u8, T), T v0, T v1, T v2, T v3) {
  const T values[4] = {v0, v1, v2, v3};
  for (u8 p = 0; p < 4; ++p) {
    if (u32 result = (sdk.*set)(p, values[p])) return result;
  }
  return rc::kOk;
}

}  // namespace presets
