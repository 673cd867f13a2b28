// Small helpers shared by the offline file formats: owned C streams and blocks, checked sizes,
// reads that refuse a short file before allocating, little-endian loads and path names.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "interface/types.h"

namespace formats {

// Tables are moved between files and memory without byte swapping.
static_assert(std::endian::native == std::endian::little, "the file formats are little-endian");

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

struct FreeDeleter {
  void operator()(void* block) const { std::free(block); }
};
template <typename T>
using MallocPtr = std::unique_ptr<T[], FreeDeleter>;

inline FilePtr OpenFile(const char* path, const char* mode) {
  return FilePtr(path ? std::fopen(path, mode) : nullptr);
}

// Closes a file that was written; false when buffered data could not be written out.
inline bool CloseWritten(FilePtr& file) { return std::fclose(file.release()) == 0; }

// a * b, false when it does not fit.
inline bool MulSize(std::size_t a, std::size_t b, std::size_t* out) {
  return !__builtin_mul_overflow(a, b, out);
}

inline bool ReadBytes(std::FILE* file, void* buffer, std::size_t count) {
  return count == 0 || std::fread(buffer, 1, count, file) == count;
}
inline bool WriteBytes(std::FILE* file, const void* buffer, std::size_t count) {
  return count == 0 || std::fwrite(buffer, 1, count, file) == count;
}

// False when the file is known to hold fewer than count bytes after the present position.
bool MayHoldBytes(std::FILE* file, std::size_t count);

// Reads exactly count bytes into a new malloc'ed block (at least one byte, so that an empty table
// is still a block). Null on a short read or when memory is exhausted. The size fields of a file
// are not trusted beyond 16 MiB: a larger block is reserved only when the (regular) file holds
// that much, and other streams grow it only as data arrives.
void* ReadNewBlock(std::FILE* file, std::size_t count);

inline u16 LoadU16(const u8* p) {
  u16 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline u32 LoadU32(const u8* p) {
  u32 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void StoreU16(u8* p, u16 v) { std::memcpy(p, &v, sizeof v); }

// ASCII case-insensitive suffix test on a text of the given length.
bool EndsWithNoCase(const char* text, std::size_t length, const char* suffix);

// Paths with an added extension go into buffers of this size (terminating NUL included).
constexpr std::size_t kMaxPath = 4096;

// path + extension into out unless path already ends with the extension (case-insensitively);
// false when path is null or the result would not fit.
bool PathWithExtension(const char* path, const char* extension, char (&out)[kMaxPath]);

}  // namespace formats
