#include "common/testutil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace testutil {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tqvtest.XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) {
    ADD_FAILURE() << "cannot create a temporary directory";
    return;
  }
  m_path = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::File(const std::string& name) const { return m_path + "/" + name; }

namespace {
std::mutex g_sleepMutex;
std::vector<zel::u32> g_sleeps;
void RecordSleep(zel::u32 milliseconds) {
  std::lock_guard<std::mutex> hold(g_sleepMutex);
  g_sleeps.push_back(milliseconds);
}
}  // namespace

SleepRecorder::SleepRecorder() {
  Clear();
  m_previous = zel::SetSleepHook(&RecordSleep);
}

SleepRecorder::~SleepRecorder() { zel::SetSleepHook(m_previous); }

std::vector<zel::u32> SleepRecorder::Sleeps() const {
  std::lock_guard<std::mutex> hold(g_sleepMutex);
  return g_sleeps;
}

zel::u64 SleepRecorder::TotalMs() const {
  zel::u64 total = 0;
  for (zel::u32 ms : Sleeps())
    total += ms;
  return total;
}

void SleepRecorder::Clear() {
  std::lock_guard<std::mutex> hold(g_sleepMutex);
  g_sleeps.clear();
}

LogCapture::LogCapture() { zel::logger().SetSink(&LogCapture::Sink, this); }
LogCapture::~LogCapture() { zel::logger().SetSink(nullptr, nullptr); }

void LogCapture::Sink(void* context, const char* line) {
  auto* self = static_cast<LogCapture*>(context);
  std::lock_guard<std::mutex> hold(self->m_mutex);
  self->m_lines.emplace_back(line);
}

std::vector<std::string> LogCapture::Lines() const {
  std::lock_guard<std::mutex> hold(m_mutex);
  return m_lines;
}

std::vector<zel::u8> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<zel::u8>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<zel::u8>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<zel::u8> RandomBytes(std::size_t count, zel::u32 seed) {
  std::mt19937 engine(seed);
  std::vector<zel::u8> bytes(count);
  for (zel::u8& b : bytes)
    b = static_cast<zel::u8>(engine());
  return bytes;
}

}  // namespace testutil
