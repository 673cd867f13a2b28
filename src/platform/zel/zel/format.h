// Text helpers of the framework.
#pragma once

#include "zel/string.h"

namespace zel {

ZEL_API CString to_string(bool value);  // "true" or "false"
ZEL_API CString to_string(int value);
ZEL_API CString to_string(double value);  // "%f"
ZEL_API CString strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zel
