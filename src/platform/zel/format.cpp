#include "zel/format.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace zel {
namespace {

CString vformat(const char* format, va_list args) {
  char small[256];
  va_list copy;
  va_copy(copy, args);
  int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (needed < 0) return CString();
  if (static_cast<std::size_t>(needed) < sizeof small) return CString(small);
  std::vector<char> large(static_cast<std::size_t>(needed) + 1);
  std::vsnprintf(large.data(), large.size(), format, args);
  return CString(large.data());
}

}  // namespace

CString to_string(bool value) { return CString(value ? "true" : "false"); }
CString to_string(int value) { return strprintf("%d", value); }
CString to_string(double value) { return strprintf("%f", value); }

CString strprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  CString result = vformat(format, args);
  va_end(args);
  return result;
}

}  // namespace zel
