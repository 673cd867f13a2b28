#include "formats/lumen.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "formats/fileio.h"
#include "formats/nucword.h"
#include "tqvSDK.h"

namespace formats {

namespace {

// Bytes of the main table per pixel, and of each further table of a version 2 map.
bool TableBytes(const _tqvSLumenNUCFile& file, std::size_t* main, std::size_t* extra) {
  if (file.version != 1 && file.version != 2) return false;
  std::size_t perPixel;
  switch (file.type) {
    case kLumenGain:
      perPixel = sizeof(float);
      break;
    case kLumenOffset:
      perPixel = sizeof(i16);
      break;
    case kLumenMap:
      perPixel = 1;
      break;
    default:
      return false;
  }
  const std::size_t pixels = static_cast<std::size_t>(file.width) * file.height;
  *main = pixels * perPixel;
  *extra = file.version == 2 && file.type == kLumenMap ? pixels * sizeof(u32) : 0;
  return true;
}

void DecodeHeader(const u8* head, _tqvSLumenNUCFile& file) {
  file.version = head[0];
  file.type = head[1];
  file.width = LoadU16(head + 2);
  file.height = LoadU16(head + 4);
  file.reserved1 = LoadU16(head + 6);
  std::memcpy(file.reserved2, head + 8, sizeof file.reserved2);
}

void DecodeHeaderV2(const u8* head, _tqvSLumenNUCFile& file) {
  file.flag1 = head[0];
  file.flag2 = head[1];
  file.flag3 = head[2];
  file.value16 = LoadU16(head + 3);
  std::memcpy(file.value32, head + 5, sizeof file.value32);
  std::memcpy(file.text1, head + 9, sizeof file.text1);
  std::memcpy(file.text2, head + 9 + 128, sizeof file.text2);
  std::memcpy(file.text3, head + 9 + 256, sizeof file.text3);
}

std::size_t EncodeHeader(const _tqvSLumenNUCFile& file, u8 (&head)[kLumenHeaderV2]) {
  head[0] = file.version;
  head[1] = file.type;
  StoreU16(head + 2, file.width);
  StoreU16(head + 4, file.height);
  StoreU16(head + 6, file.reserved1);
  std::memcpy(head + 8, file.reserved2, sizeof file.reserved2);
  if (file.version != 2) return kLumenHeaderV1;
  u8* v2 = head + kLumenHeaderV1;
  v2[0] = file.flag1;
  v2[1] = file.flag2;
  v2[2] = file.flag3;
  StoreU16(v2 + 3, file.value16);
  std::memcpy(v2 + 5, file.value32, sizeof file.value32);
  std::memcpy(v2 + 9, file.text1, sizeof file.text1);
  std::memcpy(v2 + 9 + 128, file.text2, sizeof file.text2);
  std::memcpy(v2 + 9 + 256, file.text3, sizeof file.text3);
  return kLumenHeaderV2;
}

bool LoadInto(std::FILE* stream, _tqvSLumenNUCFile& file) {
  u8 head[kLumenHeaderV2];
  if (!_tqvReadFile(stream, head, kLumenHeaderV1)) return false;
  DecodeHeader(head, file);
  if (file.version == 2) {
    if (!_tqvReadFile(stream, head + kLumenHeaderV1, kLumenHeaderV2 - kLumenHeaderV1)) return false;
    DecodeHeaderV2(head + kLumenHeaderV1, file);
  }
  std::size_t main, extra;
  if (!TableBytes(file, &main, &extra) || !MayHoldBytes(stream, main + 2 * extra)) return false;
  if (!(file.data = ReadNewBlock(stream, main))) return false;
  if (extra && (!(file.extra1 = ReadNewBlock(stream, extra)) ||
                !(file.extra2 = ReadNewBlock(stream, extra)))) {
    return false;
  }
  return true;
}

// A record that is initialised on construction and finalised on every way out.
class ScopedLumen {
 public:
  ScopedLumen() { _tqvSLumenNUCFileInit(&m_file); }
  ~ScopedLumen() { _tqvSLumenNUCFileFini(&m_file); }
  ScopedLumen(const ScopedLumen&) = delete;
  ScopedLumen& operator=(const ScopedLumen&) = delete;
  _tqvSLumenNUCFile* operator->() { return &m_file; }
  _tqvSLumenNUCFile* get() { return &m_file; }

 private:
  _tqvSLumenNUCFile m_file;
};

// Sets up a version 1 record of the given type with a new (uninitialised) main table of
// width x height entries.
template <typename T>
T* PrepareTable(ScopedLumen& file, u8 type, u16 width, u16 height) {
  file->version = 1;
  file->type = type;
  file->width = width;
  file->height = height;
  const std::size_t pixels = static_cast<std::size_t>(width) * height;
  file->data = std::malloc(std::max<std::size_t>(pixels, 1) * sizeof(T));
  return static_cast<T*>(file->data);
}

// The three file names of a desktop-tool correction; a given extension of one of them is dropped.
struct LumenNames {
  char gain[kMaxPath];
  char offset[kMaxPath];
  char map[kMaxPath];
};

bool MakeLumenNames(const char* base, LumenNames& names) {
  if (!base) return false;
  std::size_t length = strnlen(base, kMaxPath);
  for (const char* extension : {".sco", ".scg", ".sbp"}) {
    if (EndsWithNoCase(base, length, extension)) {
      length -= 4;
      break;
    }
  }
  if (length + 4 >= kMaxPath) return false;
  const auto compose = [&](char* out, const char* extension) {
    std::memcpy(out, base, length);
    std::memcpy(out + length, extension, 5);
  };
  compose(names.gain, ".scg");
  compose(names.offset, ".sco");
  compose(names.map, ".sbp");
  return true;
}

}  // namespace

void _tqvSLumenNUCFileInit(_tqvSLumenNUCFile* file) {
  std::memset(file, 0, sizeof *file);
  file->version = 1;
  file->type = kLumenGain;
  file->flag1 = file->flag2 = file->flag3 = 1;
  file->value16 = 10;
  const float half = 0.5f;
  std::memcpy(file->value32, &half, sizeof half);
}

u32 _tqvSLumenNUCFileFini(_tqvSLumenNUCFile* file) {
  // Tables a record of another type might hold are released as well: nothing may leak.
  std::free(file->data);
  std::free(file->extra1);
  std::free(file->extra2);
  std::memset(file, 0, sizeof *file);
  return 0;
}

bool _tqvReadFile(std::FILE* file, void* buffer, std::size_t count) {
  return ReadBytes(file, buffer, count);
}

bool _tqvWriteFile(std::FILE* file, const void* buffer, std::size_t count) {
  return WriteBytes(file, buffer, count);
}

bool _tqvLoadLumenNUCFile(const char* path, _tqvSLumenNUCFile* file) {
  if (!file) return false;
  FilePtr stream = OpenFile(path, "rb");
  if (!stream) return false;
  _tqvSLumenNUCFileInit(file);
  if (LoadInto(stream.get(), *file)) return true;
  _tqvSLumenNUCFileFini(file);
  return false;
}

bool _tqvSaveLumenNUCFile(const char* path, const _tqvSLumenNUCFile* file) {
  std::size_t main, extra;
  if (!file || !TableBytes(*file, &main, &extra) || (main && !file->data) ||
      (extra && (!file->extra1 || !file->extra2))) {
    return false;
  }
  u8 head[kLumenHeaderV2];
  const std::size_t headLength = EncodeHeader(*file, head);
  FilePtr stream = OpenFile(path, "wb");
  if (!stream || !_tqvWriteFile(stream.get(), head, headLength) ||
      !_tqvWriteFile(stream.get(), file->data, main) ||
      !_tqvWriteFile(stream.get(), file->extra1, extra) ||
      !_tqvWriteFile(stream.get(), file->extra2, extra)) {
    return false;
  }
  return CloseWritten(stream);
}

}  // namespace formats

using namespace formats;

extern "C" {

uint32_t tqvConvertCameraNUCToLumenNUC(const char* cameraPath, const char* lumenPath) {
  char cameraName[kMaxPath];
  LumenNames names;
  if (!PathWithExtension(cameraPath, ".nuc", cameraName) || !MakeLumenNames(lumenPath, names)) {
    return TQV_ERROR;
  }
  tqvSNUCInfo info;
  u32* loaded = nullptr;
  if (const u32 result = tqvLoadNUCFile(cameraName, &info, &loaded); result != TQV_OK) {
    return result;
  }
  MallocPtr<u8> words(reinterpret_cast<u8*>(loaded));
  ScopedLumen gain, offset, map;
  const u16 width = info.windowWidth, height = info.windowHeight;
  i16* offsets = PrepareTable<i16>(offset, kLumenOffset, width, height);
  u8* flags = PrepareTable<u8>(map, kLumenMap, width, height);
  if (!offsets || !flags) return TQV_ERROR;
  // The gains take the place of the words they come from, which keeps one table fewer alive.
  SplitWords(words.get(), offsets, flags, static_cast<std::size_t>(width) * height);
  gain->version = 1;
  gain->type = kLumenGain;
  gain->width = width;
  gain->height = height;
  gain->data = words.release();
  const bool saved = _tqvSaveLumenNUCFile(names.gain, gain.get()) &&
                     _tqvSaveLumenNUCFile(names.offset, offset.get()) &&
                     _tqvSaveLumenNUCFile(names.map, map.get());
  return saved ? TQV_OK : TQV_ERROR;
}

uint32_t tqvConvertLumenNUCToCameraNUCEx(const char* lumenPath, const char* cameraPath,
                                         tqvSNUCInfo* info) {
  char cameraName[kMaxPath];
  LumenNames names;
  if (!info || !PathWithExtension(cameraPath, ".nuc", cameraName) ||
      !MakeLumenNames(lumenPath, names)) {
    return TQV_ERROR;
  }
  ScopedLumen gain, offset, map;
  const auto load = [](const char* path, ScopedLumen& file, u8 type) {
    return _tqvLoadLumenNUCFile(path, file.get()) && file->type == type;
  };
  if (!load(names.gain, gain, kLumenGain) || !load(names.offset, offset, kLumenOffset) ||
      offset->width != gain->width || offset->height != gain->height ||
      !load(names.map, map, kLumenMap) || map->width != gain->width ||
      map->height != gain->height) {
    return TQV_ERROR;
  }
  const u16 width = gain->width, height = gain->height;
  // Each word takes the place of its gain, which keeps one table fewer alive.
  u8* table = static_cast<u8*>(gain->data);
  JoinWords(table, static_cast<const i16*>(offset->data), static_cast<const u8*>(map->data),
            static_cast<std::size_t>(width) * height);

  tqvSNUCInfo updated = *info;
  updated.windowWidth = width;
  updated.windowHeight = height;
  updated.maxWidth = std::max(updated.maxWidth, width);
  updated.maxHeight = std::max(updated.maxHeight, height);
  const u32 result = tqvSaveNUCFile(cameraName, &updated, reinterpret_cast<const u32*>(table));
  if (result == TQV_OK) *info = updated;
  return result;
}

uint32_t tqvConvertLumenNUCToCameraNUC(const char* lumenPath, const char* cameraPath) {
  tqvSNUCInfo info;
  tqvDefaultNUCInfo(&info);
  return tqvConvertLumenNUCToCameraNUCEx(lumenPath, cameraPath, &info);
}

uint32_t tqvSaveBplAsLumenSbp(const char* path, uint16_t width, uint16_t height,
                              const uint16_t* pixels, uint32_t count) {
  char name[kMaxPath];
  if (!PathWithExtension(path, ".sbp", name) || (count && !pixels)) return TQV_ERROR;
  ScopedLumen map;
  u8* flags = PrepareTable<u8>(map, kLumenMap, width, height);
  if (!flags) return TQV_ERROR;
  const std::size_t size = static_cast<std::size_t>(width) * height;
  std::memset(flags, 0, size);
  for (u32 i = 0; i < count; ++i) {
    // A column beyond the row's end runs on into the next row, as the index is formed.
    const std::size_t index = static_cast<std::size_t>(pixels[2 * i + 1]) * width + pixels[2 * i];
    if (index >= size) return TQV_ERROR;
    flags[index] = 1;
  }
  return _tqvSaveLumenNUCFile(name, map.get()) ? TQV_OK : TQV_ERROR;
}

}  // extern "C"
