// Correction logic that does not depend on the backend.
#pragma once

#include "interface/types.h"

// A correction file of a window: one 32-bit word per pixel after a header of at most 1 KiB. The
// arithmetic is the camera's: unsigned 32 bits, so an impossible size wraps as it does there.
inline u32 GuessedNUCFileSize(u16 width, u16 height) {
  return static_cast<u32>(width) * height * 4u + 1024u;
}
