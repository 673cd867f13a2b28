#include "zel/log.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace zel {

void CLog::WriteLine(const char* format, ...) {
  char small[512];
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  std::vector<char> large;
  const char* line = small;
  if (needed >= static_cast<int>(sizeof small)) {
    large.resize(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(large.data(), large.size(), format, args);
    line = large.data();
  } else if (needed < 0) {
    line = format;
  }
  va_end(args);

  std::lock_guard<std::mutex> hold(m_mutex);
  if (m_sink) {
    m_sink(m_context, line);
  } else {
    std::fprintf(stderr, "%s\n", line);
  }
}

void CLog::SetSink(Sink sink, void* context) {
  std::lock_guard<std::mutex> hold(m_mutex);
  m_sink = sink;
  m_context = context;
}

CLog& logger() {
  static CLog log;
  return log;
}

}  // namespace zel
