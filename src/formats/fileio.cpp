#include "formats/fileio.h"

#include <strings.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <algorithm>

namespace formats {

namespace {

enum class Holds { kNo, kYes, kUnknown };

Holds HoldsBytes(std::FILE* file, std::size_t count) {
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) return Holds::kUnknown;
  const off_t position = ftello(file);
  if (position < 0) return Holds::kUnknown;
  const off_t left = info.st_size > position ? info.st_size - position : 0;
  return static_cast<std::size_t>(left) >= count ? Holds::kYes : Holds::kNo;
}

}  // namespace

bool MayHoldBytes(std::FILE* file, std::size_t count) {
  return HoldsBytes(file, count) != Holds::kNo;
}

void* ReadNewBlock(std::FILE* file, std::size_t count) {
  // Up to kTrusted bytes are reserved before the file is known to hold them (a short file costs
  // that much, briefly); a larger size field is believed only as far as the file goes.
  constexpr std::size_t kTrusted = std::size_t{1} << 24;
  const Holds holds = count <= kTrusted ? Holds::kYes : HoldsBytes(file, count);
  if (holds == Holds::kNo) return nullptr;
  // When the stream's length is unknown, grow in steps so that a short pipe cannot make us
  // reserve what a lying size field asks for.
  std::size_t capacity = holds == Holds::kYes ? count : std::min(count, kTrusted);
  capacity = std::max<std::size_t>(capacity, 1);
  MallocPtr<u8> block(static_cast<u8*>(std::malloc(capacity)));
  if (!block) return nullptr;
  std::size_t done = 0;
  for (;;) {
    const std::size_t step = std::min(count, capacity) - done;
    if (!ReadBytes(file, block.get() + done, step)) return nullptr;
    done += step;
    if (done == count) return block.release();
    capacity = count - capacity > capacity ? capacity * 2 : count;
    void* grown = std::realloc(block.get(), capacity);
    if (!grown) return nullptr;
    block.release();
    block.reset(static_cast<u8*>(grown));
  }
}

bool EndsWithNoCase(const char* text, std::size_t length, const char* suffix) {
  const std::size_t suffixLength = std::strlen(suffix);
  return length >= suffixLength &&
         strncasecmp(text + length - suffixLength, suffix, suffixLength) == 0;
}

bool PathWithExtension(const char* path, const char* extension, char (&out)[kMaxPath]) {
  if (!path) return false;
  const std::size_t length = strnlen(path, kMaxPath);
  const std::size_t extra = EndsWithNoCase(path, length, extension) ? 0 : std::strlen(extension);
  if (length + extra >= kMaxPath) return false;
  std::memcpy(out, path, length);
  std::memcpy(out + length, extension, extra);
  out[length + extra] = '\0';
  return true;
}

}  // namespace formats
