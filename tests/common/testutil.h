// Helpers shared by the test suites.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "zel/zel.h"

namespace testutil {

// A fresh directory under the system's temporary directory, removed with its contents at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  // path() + "/" + name
  std::string File(const std::string& name) const;

 private:
  std::string m_path;
};

// While alive, the library's sleeps return at once and are recorded (milliseconds each).
class SleepRecorder {
 public:
  SleepRecorder();
  ~SleepRecorder();
  SleepRecorder(const SleepRecorder&) = delete;
  SleepRecorder& operator=(const SleepRecorder&) = delete;
  std::vector<zel::u32> Sleeps() const;
  zel::u64 TotalMs() const;
  void Clear();

 private:
  zel::SleepHook m_previous;
};

// While alive, the framework logger's lines are collected instead of written to stderr.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  std::vector<std::string> Lines() const;

 private:
  static void Sink(void* context, const char* line);
  mutable std::mutex m_mutex;
  std::vector<std::string> m_lines;
};

// Whole-file helpers.
std::vector<zel::u8> ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::vector<zel::u8>& bytes);
// Deterministic pseudo-random bytes.
std::vector<zel::u8> RandomBytes(std::size_t count, zel::u32 seed);

}  // namespace testutil
