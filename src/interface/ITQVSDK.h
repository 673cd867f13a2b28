// ITQVSDK: the camera interface. Every exported camera function reaches one of its operations;
// both backends implement all of them. The operations come from operations.def.
#pragma once

#include "interface/types.h"
#include "tqvSDK.h"

class ITQVSDK {
 public:
  virtual ~ITQVSDK() = default;

#define TQV_OP(name, params, args) virtual u32 name params = 0;
#include "interface/operations.def"
};

// A backend declares its overrides of every operation with:
//   #define TQV_OP(name, params, args) u32 name params override;
//   #include "interface/operations.def"
