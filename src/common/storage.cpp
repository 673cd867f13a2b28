#include "common/storage.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "tqvSDK.h"

namespace storage {

namespace {

bool EndsWithNoCase(const char* text, std::size_t length, const char* ending) {
  const std::size_t endLength = std::strlen(ending);
  return length >= endLength && strcasecmp(text + length - endLength, ending) == 0;
}

}  // namespace

u32 WithExtension(const char* name, const char* extension, char (&out)[kNameSize]) {
  if (!name) return rc::kInvalidArgument;
  const std::size_t length = std::strlen(name);
  const std::size_t extLength =
      EndsWithNoCase(name, length, extension) ? 0 : std::strlen(extension);
  if (length + extLength >= kNameSize) return rc::kError;
  std::memcpy(out, name, length);
  std::memcpy(out + length, extension, extLength);
  out[length + extLength] = '\0';
  return rc::kOk;
}

u32 CheckedName(const char* name, const char* extension, char (&out)[kNameSize]) {
  if (name && !*name) return rc::kError;  // an extension alone names nothing
  if (u32 result = WithExtension(name, extension, out)) return result;
  return tqvIsValidFileName(out);
}

Span TrimmedName(const char* stored, const char* extension, bool dropDirectory) {
  const char* start = stored;
  if (dropDirectory) {
    for (const char* c = stored; *c; ++c) {
      if (*c == '/' || *c == '\\') start = c + 1;
    }
  }
  std::size_t length = std::strlen(start);
  if (EndsWithNoCase(start, length, extension)) length -= std::strlen(extension);
  return {start, length};
}

void CopyCut(char (&field)[64], const char* text) {
  const std::size_t length = text ? strnlen(text, sizeof field - 1) : 0;
  if (length) std::memcpy(field, text, length);
  field[length] = '\0';
}

u32 StartCalInfo(const char* tag, tqvSCalInfo* info) {
  if (!tag || !info) return rc::kInvalidArgument;
  info->lutX = nullptr;
  info->lutY = nullptr;
  const std::size_t length = std::strlen(tag);
  if (length >= kTagSize) return rc::kError;
  std::memcpy(info->tag, tag, length + 1);
  return rc::kOk;
}

u32 AttachCalTables(ITQVSDK& sdk, const char* tag, tqvSCalInfo* info) {
  if (info->lutSize == 0) return rc::kOk;
  const std::size_t bytes = sizeof(double) * info->lutSize;
  auto* first = static_cast<double*>(tqvAlloc(bytes));
  auto* second = first ? static_cast<double*>(tqvAlloc(bytes)) : nullptr;
  u32 result = second ? sdk.GetCalLookupTable(tag, first, second, info->lutSize) : rc::kError;
  if (result != rc::kOk) {
    tqvFree(first);
    tqvFree(second);
    return result;
  }
  info->lutX = first;
  info->lutY = second;
  return rc::kOk;
}

bool TableSink::Put(u64 offset, const void* data, u64 length) {
  const u64 whole = 2 * m_half;
  if (offset >= whole) return length == 0;
  const u64 end = std::min(whole, offset + length);
  const auto* bytes = static_cast<const u8*>(data);
  for (u64 at = offset; at < end;) {
    const bool inFirst = at < m_half;
    const u64 stop = inFirst ? std::min(end, m_half) : end;
    u8* target = inFirst ? reinterpret_cast<u8*>(m_first) + at
                         : reinterpret_cast<u8*>(m_second) + (at - m_half);
    std::memcpy(target, bytes + (at - offset), stop - at);
    at = stop;
  }
  m_end = std::max(m_end, end);
  return true;
}

}  // namespace storage
