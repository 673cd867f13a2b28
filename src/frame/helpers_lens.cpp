// Exported answers about the lens that combine camera operations.
#include "frame/nullcheck.h"
#include "frame/registry.h"

extern "C" {

// Lens states belong to lenses on a lens controller: the focus motor board (1) or the external
// lens controller (2).
TQV_API uint32_t tqvGetHasLensStatesFunctionality(void* handle, bool* has) {
  if (u32 refused = nulls::CheckCall(handle, has)) return refused;
  u8 type = 0;
  const u32 result = tqvGetLensControlType(handle, &type);
  if (result == rc::kOk) *has = type == 1 || type == 2;
  return result;
}

}  // extern "C"
