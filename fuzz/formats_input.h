// Helpers of the offline-format fuzz targets: the functions under test take paths, so each input
// is written to a file of its own process first.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace fuzz {

// A temporary file for this process, rewritten for every input and removed at exit. It lives in
// TMPDIR, else in memory (/dev/shm) where there is one: rewriting a file on a disk file system
// can cost milliseconds.
class TempFile {
 public:
  explicit TempFile(const char* tag) {
    const char* dir = getenv("TMPDIR");
    if (!dir || !*dir) dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(dir) + "/tqvfuzz." + tag + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) abort();
    close(fd);
    m_path = name.data();
  }
  ~TempFile() { unlink(m_path.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const char* Write(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(m_path.c_str(), "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) abort();
    return m_path.c_str();
  }
  std::vector<std::uint8_t> Read() const {
    std::vector<std::uint8_t> bytes;
    if (std::FILE* f = std::fopen(m_path.c_str(), "rb")) {
      std::uint8_t chunk[4096];
      for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) {
        bytes.insert(bytes.end(), chunk, chunk + n);
      }
      std::fclose(f);
    }
    return bytes;
  }
  const char* path() const { return m_path.c_str(); }

 private:
  std::string m_path;
};

// A broken expectation: stop with a crash that libFuzzer records.
inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace fuzz
