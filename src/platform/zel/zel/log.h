// The framework logger. Lines go to stderr unless a sink takes them (tests capture them so).
#pragma once

#include <mutex>

#include "zel/base.h"

namespace zel {

class ZEL_API CLog {
 public:
  using Sink = void (*)(void* context, const char* line);

  // Formats one line (printf rules) and hands it to the sink, or writes it to stderr.
  void WriteLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Installs a sink (null: back to stderr).
  void SetSink(Sink sink, void* context);

 private:
  std::mutex m_mutex;
  Sink m_sink = nullptr;
  void* m_context = nullptr;
};

ZEL_API CLog& logger();

}  // namespace zel
