// The camera's correction (NUC) file: a text header of "key value" lines from "HDSize Auto" to
// "DATA", then one 32-bit correction word per pixel of the stored window.
#include <locale.h>
#include <strings.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "formats/fileio.h"
#include "formats/nucword.h"
#include "interface/types.h"
#include "tqvSDK.h"

namespace {

using formats::FilePtr;
using formats::MallocPtr;
using formats::MulSize;
using formats::OpenFile;
using formats::ReadBytes;

constexpr char kFirstLine[] = "HDSize Auto";
constexpr std::size_t kFirstLineLength = sizeof kFirstLine - 1;
constexpr std::size_t kMaxHeaderText = 1024;
constexpr std::size_t kMaxLine = 127;
constexpr std::size_t kMaxText = 63;

enum class Kind : u8 { kText, kU8, kU16, kU32, kF32, kBool, kCompressed };

// Keys that the reader must see, or whose absence it makes up for.
enum Track : u8 { kNone = 0, kOffsetX = 1, kOffsetY = 2, kWidth = 4, kHeight = 8, kBpNew = 16 };
constexpr u8 kWindowKeys = kOffsetX | kOffsetY | kWidth | kHeight;

struct Key {
  const char* name;
  u8 length;
  Kind kind;
  u8 track;
  u16 offset;
};

#define TQV_KEY(name, field, kind, track) \
  Key { name, sizeof name - 1, kind, track, offsetof(tqvSNUCInfo, field) }

// In the order the writer puts them; user and factory bad pixels share one field.
constexpr Key kKeys[] = {
    TQV_KEY("cameraType", cameraType, Kind::kText, kNone),
    TQV_KEY("cameraSerial", cameraSerial, Kind::kText, kNone),
    TQV_KEY("fpgaFirmwareNumber", fpgaFirmwareNumber, Kind::kU32, kNone),
    TQV_KEY("fpgaVersion", fpgaVersion, Kind::kU8, kNone),
    TQV_KEY("fpgaMajor", fpgaMajor, Kind::kU8, kNone),
    TQV_KEY("fpgaMinor", fpgaMinor, Kind::kU8, kNone),
    TQV_KEY("windowOffsetX", windowOffsetX, Kind::kU16, kOffsetX),
    TQV_KEY("windowOffsetY", windowOffsetY, Kind::kU16, kOffsetY),
    TQV_KEY("windowWidth", windowWidth, Kind::kU16, kWidth),
    TQV_KEY("windowHeight", windowHeight, Kind::kU16, kHeight),
    TQV_KEY("maxWidth", maxWidth, Kind::kU16, kNone),
    TQV_KEY("maxHeight", maxHeight, Kind::kU16, kNone),
    TQV_KEY("comprs", compressed, Kind::kCompressed, kNone),
    TQV_KEY("invert", invert, Kind::kBool, kNone),
    TQV_KEY("revert", revert, Kind::kBool, kNone),
    TQV_KEY("readoutMode", readoutMode, Kind::kU8, kNone),
    TQV_KEY("integrationWidth", integrationWidth, Kind::kU32, kNone),
    TQV_KEY("frameWidth", frameWidth, Kind::kU32, kNone),
    TQV_KEY("filterID", filterID, Kind::kU8, kNone),
    TQV_KEY("fpaBiasCount", fpaBiasCount, Kind::kU8, kNone),
    TQV_KEY("fpaBias", fpaBias, Kind::kF32, kNone),
    TQV_KEY("fpaBias1", fpaBias1, Kind::kF32, kNone),
    TQV_KEY("fpaGainLevel", fpaGainLevel, Kind::kU8, kNone),
    TQV_KEY("digitalOffset", digitalOffset, Kind::kF32, kNone),
    TQV_KEY("digitalGain", digitalGain, Kind::kF32, kNone),
    TQV_KEY("globalOffsetVoltage", globalOffsetVoltage, Kind::kF32, kNone),
    TQV_KEY("lens", lens, Kind::kText, kNone),
    TQV_KEY("lensFilter", lensFilter, Kind::kText, kNone),
    TQV_KEY("skimmingEnabled", skimmingEnabled, Kind::kBool, kNone),
    TQV_KEY("skimmingVoltage", skimmingVoltage, Kind::kF32, kNone),
    TQV_KEY("color", color, Kind::kU8, kNone),
    TQV_KEY("nucType", nucType, Kind::kU8, kNone),
    TQV_KEY("nucSource", nucSource, Kind::kU8, kNone),
    TQV_KEY("nucNumFrames", nucNumFrames, Kind::kU32, kNone),
    TQV_KEY("nucDetectBadPixels", nucDetectBadPixels, Kind::kBool, kNone),
    TQV_KEY("nucDetectTwinklers", nucDetectTwinklers, Kind::kBool, kNone),
    TQV_KEY("nucTwinklerNumFrames", nucTwinklerNumFrames, Kind::kU32, kNone),
    TQV_KEY("nucTwinklerDelta", nucTwinklerDelta, Kind::kU16, kNone),
    TQV_KEY("nucADMin", nucADMin, Kind::kU16, kNone),
    TQV_KEY("nucADMax", nucADMax, Kind::kU16, kNone),
    TQV_KEY("nucGainMin", nucGainMin, Kind::kF32, kNone),
    TQV_KEY("nucGainMax", nucGainMax, Kind::kF32, kNone),
    TQV_KEY("bpTotal", bpTotal, Kind::kU32, kNone),
    TQV_KEY("bpTwinkling", bpTwinkling, Kind::kU32, kNone),
    TQV_KEY("bpUser", bpUser, Kind::kU32, kNone),
    TQV_KEY("bpFactory", bpUser, Kind::kU32, kNone),
    TQV_KEY("bpNew", bpNew, Kind::kU32, kBpNew),
    TQV_KEY("bpAboveGainMax", bpAboveGainMax, Kind::kU32, kNone),
    TQV_KEY("bpBelowGainMin", bpBelowGainMin, Kind::kU32, kNone),
    TQV_KEY("bpAboveADMaxSrc1", bpAboveADMaxSrc1, Kind::kU32, kNone),
    TQV_KEY("bpBelowADMinSrc1", bpBelowADMinSrc1, Kind::kU32, kNone),
    TQV_KEY("bpAboveADMaxSrc2", bpAboveADMaxSrc2, Kind::kU32, kNone),
    TQV_KEY("bpBelowADMinSrc2", bpBelowADMinSrc2, Kind::kU32, kNone),
};

#undef TQV_KEY

const Key* FindKey(const char* name, std::size_t length) {
  for (const Key& key : kKeys) {
    if (key.length == length && strncasecmp(key.name, name, length) == 0) return &key;
  }
  return nullptr;
}

// Field access goes through bytes: the caller's record may come from C code with bool fields
// that hold other values than 0 and 1.
char* FieldOf(tqvSNUCInfo& info, const Key& key) {
  return reinterpret_cast<char*>(&info) + key.offset;
}
const char* FieldOf(const tqvSNUCInfo& info, const Key& key) {
  return reinterpret_cast<const char*>(&info) + key.offset;
}

// Numbers in the file do not follow the host's locale.
locale_t ClassicLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

float ParseFloat(const char* text) {
  const locale_t locale = ClassicLocale();
  const double value = locale ? strtod_l(text, nullptr, locale) : std::strtod(text, nullptr);
  // Beyond the float range the narrowing saturates to infinity instead of being undefined.
  if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()) {
    return value > 0 ? std::numeric_limits<float>::infinity()
                     : -std::numeric_limits<float>::infinity();
  }
  return static_cast<float>(value);
}

bool ParseBool(const char* text) {
  if (strcasecmp(text, "true") == 0 || strcasecmp(text, "yes") == 0) return true;
  if (strcasecmp(text, "false") == 0 || strcasecmp(text, "no") == 0) return false;
  return std::strtol(text, nullptr, 10) != 0;
}

template <typename T>
void StoreField(char* field, T value) {
  std::memcpy(field, &value, sizeof value);
}

void StoreValue(tqvSNUCInfo& info, const Key& key, const char* value) {
  char* field = FieldOf(info, key);
  switch (key.kind) {
    case Kind::kText: {
      const std::size_t length = strnlen(value, kMaxText);
      std::memcpy(field, value, length);
      field[length] = '\0';
      break;
    }
    case Kind::kU8:
      StoreField(field, static_cast<u8>(std::strtoul(value, nullptr, 10)));
      break;
    case Kind::kU16:
      StoreField(field, static_cast<u16>(std::strtoul(value, nullptr, 10)));
      break;
    case Kind::kU32:
      StoreField(field, static_cast<u32>(std::strtoul(value, nullptr, 10)));
      break;
    case Kind::kF32:
      StoreField(field, ParseFloat(value));
      break;
    case Kind::kBool:
      StoreField(field, ParseBool(value));
      break;
    case Kind::kCompressed:
      StoreField(field, strcasecmp(value, "gzip") == 0);
      break;
  }
}

// Reads one header line after the first `length` characters already in line: at most kMaxLine
// characters (the rest of a longer line is the next line), CR dropped, LF or the end of the file
// ends it. False at the end of the file when nothing was read.
bool ReadLine(std::FILE* file, char (&line)[kMaxLine + 1], std::size_t& length) {
  bool any = length > 0;
  while (length < kMaxLine) {
    const int c = getc_unlocked(file);
    if (c == EOF) break;
    any = true;
    if (c == '\n') break;
    if (c != '\r') line[length++] = static_cast<char>(c);
  }
  line[length] = '\0';
  return any;
}

// Parses the header into info (defaults first). True when it is valid; the stream then stands at
// the first byte of the data section.
bool ParseHeader(std::FILE* file, tqvSNUCInfo& info) {
  tqvDefaultNUCInfo(&info);
  // The first bytes are the start of the first line as well: it goes on from them.
  char line[kMaxLine + 1];
  if (!ReadBytes(file, line, kFirstLineLength) ||
      strncasecmp(line, kFirstLine, kFirstLineLength) != 0) {
    return false;
  }
  std::size_t length = kFirstLineLength;
  u8 seen = 0;
  for (; ReadLine(file, line, length); length = 0) {
    if (length == 4 && strcasecmp(line, "data") == 0) break;
    const char* space = static_cast<const char*>(std::memchr(line, ' ', length));
    if (!space) continue;
    const Key* key = FindKey(line, static_cast<std::size_t>(space - line));
    if (!key) continue;
    StoreValue(info, *key, space + 1);
    seen |= key->track;
  }
  if (!(seen & kBpNew)) info.bpNew = info.bpTotal - info.bpUser;
  return (seen & kWindowKeys) == kWindowKeys;
}

bool IsCompressed(const tqvSNUCInfo& info) {
  u8 flag;
  std::memcpy(&flag, &info.compressed, 1);
  return flag != 0;
}

// The header text, built in one bounded buffer.
class HeaderText {
 public:
  bool Append(const char* text, std::size_t length) {
    if (length > kMaxHeaderText - m_length) {
      m_overflow = true;
      return false;
    }
    std::memcpy(m_text + m_length, text, length);
    m_length += length;
    return true;
  }
  bool Append(const char* text) { return Append(text, std::strlen(text)); }
  bool AppendValue(const tqvSNUCInfo& info, const Key& key);
  bool ok() const { return !m_overflow; }
  const char* data() const { return m_text; }
  std::size_t size() const { return m_length; }

 private:
  char m_text[kMaxHeaderText];
  std::size_t m_length = 0;
  bool m_overflow = false;
};

template <typename T>
T LoadField(const char* field) {
  T value;
  std::memcpy(&value, field, sizeof value);
  return value;
}

bool HeaderText::AppendValue(const tqvSNUCInfo& info, const Key& key) {
  const char* field = FieldOf(info, key);
  char number[64];
  std::to_chars_result done{number, std::errc()};
  switch (key.kind) {
    case Kind::kText:
      return Append(field, strnlen(field, kMaxText));
    case Kind::kCompressed:
      return Append("none");
    case Kind::kBool:
      return Append(LoadField<u8>(field) ? "true" : "false");
    case Kind::kU8:
      done = std::to_chars(number, number + sizeof number, LoadField<u8>(field));
      break;
    case Kind::kU16:
      done = std::to_chars(number, number + sizeof number, LoadField<u16>(field));
      break;
    case Kind::kU32:
      done = std::to_chars(number, number + sizeof number, LoadField<u32>(field));
      break;
    case Kind::kF32:
      // Six decimals, as "%f" gives in the C locale.
      done =
          std::to_chars(number, number + sizeof number,
                        static_cast<double>(LoadField<float>(field)), std::chars_format::fixed, 6);
      break;
  }
  if (done.ec != std::errc()) {
    m_overflow = true;
    return false;
  }
  return Append(number, static_cast<std::size_t>(done.ptr - number));
}

bool FormatHeader(const tqvSNUCInfo& info, HeaderText& text) {
  text.Append("HDSize Auto\r\nKeyWrd TQVNUC\r\n");
  for (const Key& key : kKeys) {
    text.Append(key.name, key.length);
    text.Append(" ");
    text.AppendValue(info, key);
    text.Append("\r\n");
  }
  text.Append("DATA\r\n");
  return text.ok();
}

// Words of the stored window.
bool WordCount(u32 width, u32 height, std::size_t* words, std::size_t* bytes) {
  return MulSize(width, height, words) && MulSize(*words, sizeof(u32), bytes);
}

// Reads rows of width words that stand stride words apart, from the first word of the first row.
// Rows pass through a bounded buffer so that the gaps cost neither seeks nor extra calls.
bool ReadRows(std::FILE* file, u32* table, std::size_t stride, std::size_t width,
              std::size_t rows) {
  if (width == stride) return ReadBytes(file, table, width * rows * sizeof(u32));
  // Kept below the allocator's threshold for fresh mappings, which would cost page faults.
  constexpr std::size_t kBufferWords = 30 * 1024;
  const std::size_t rowsPerRead = std::max<std::size_t>(1, kBufferWords / stride);
  MallocPtr<u32> buffer(static_cast<u32*>(std::malloc(std::min(rowsPerRead, rows) * stride * 4)));
  if (!buffer) return false;
  for (std::size_t row = 0; row < rows; row += rowsPerRead) {
    const std::size_t n = std::min(rowsPerRead, rows - row);
    // Each read ends where the next one's first row starts; the last ends with its last word.
    const std::size_t words = (n - 1) * stride + (row + n == rows ? width : stride);
    if (!ReadBytes(file, buffer.get(), words * sizeof(u32))) return false;
    for (std::size_t r = 0; r < n; ++r) {
      std::memcpy(table + (row + r) * width, buffer.get() + r * stride, width * sizeof(u32));
    }
  }
  return true;
}

void ReverseRows(u32* table, std::size_t width, std::size_t height) {
  for (std::size_t row = 0; row < height; ++row)
    std::reverse(table + row * width, table + (row + 1) * width);
}

void SwapRows(u32* table, std::size_t width, std::size_t height) {
  for (std::size_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(table + top * width, table + (top + 1) * width, table + bottom * width);
  }
}

}  // namespace

extern "C" {

uint32_t tqvDefaultNUCInfo(tqvSNUCInfo* info) {
  if (!info) return TQV_ERROR;
  std::memset(info, 0, sizeof *info);
  std::strcpy(info->cameraType, "TQV infrared camera");
  std::strcpy(info->cameraSerial, "Unknown");
  info->windowWidth = 640;
  info->windowHeight = 512;
  info->maxWidth = 640;
  info->maxHeight = 512;
  info->integrationWidth = 6250;
  info->frameWidth = 1000000;
  info->filterID = 63;
  info->fpaBiasCount = 1;
  info->digitalGain = 1.0f;
  std::strcpy(info->lens, "unknown");
  std::strcpy(info->lensFilter, "no filter");
  info->nucType = 1;
  info->nucSource = 1;
  info->nucNumFrames = 16;
  info->nucDetectBadPixels = true;
  info->nucDetectTwinklers = true;
  info->nucTwinklerNumFrames = 256;
  info->nucTwinklerDelta = 200;
  info->nucADMin = 1000;
  info->nucADMax = 15000;
  info->nucGainMin = 0.9f;
  info->nucGainMax = 1.9f;
  return TQV_OK;
}

uint32_t tqvReadNUCFileInfo(const char* path, tqvSNUCInfo* info) {
  if (!info) return TQV_ERROR;
  FilePtr file = OpenFile(path, "rb");
  tqvSNUCInfo parsed;
  if (!file || !ParseHeader(file.get(), parsed)) return TQV_ERROR;
  *info = parsed;
  return TQV_OK;
}

uint32_t tqvLoadNUCFile(const char* path, tqvSNUCInfo* info, uint32_t** table) {
  if (!info || !table) return TQV_ERROR;
  FilePtr file = OpenFile(path, "rb");
  tqvSNUCInfo parsed;
  std::size_t words, bytes;
  if (!file || !ParseHeader(file.get(), parsed) || IsCompressed(parsed) ||
      !WordCount(parsed.windowWidth, parsed.windowHeight, &words, &bytes)) {
    return TQV_ERROR;
  }
  void* data = formats::ReadNewBlock(file.get(), bytes);
  if (!data) return TQV_ERROR;
  *info = parsed;
  *table = static_cast<u32*>(data);
  return TQV_OK;
}

uint32_t tqvReadNUCFileTable(const char* path, uint32_t* table, uint16_t xOffset, uint16_t yOffset,
                             uint16_t width, uint16_t height, bool invert, bool revert,
                             uint16_t maxWidth, uint16_t maxHeight, tqvSNUCInfo* info) {
  FilePtr file = OpenFile(path, "rb");
  tqvSNUCInfo stored;
  if (!file || !ParseHeader(file.get(), stored) || IsCompressed(stored)) return TQV_ERROR;
  const i64 fx = stored.windowOffsetX, fy = stored.windowOffsetY;
  const i64 fw = stored.windowWidth, fh = stored.windowHeight;
  i64 x = xOffset, y = yOffset;
  const i64 w = width, h = height;
  if (stored.maxWidth != maxWidth || stored.maxHeight != maxHeight || fx > x || fy > y ||
      x + w > fx + fw || y + h > fy + fh) {
    return TQV_ERROR;
  }
  const bool flipColumns = stored.revert != revert;
  const bool flipRows = stored.invert != invert;
  if (flipColumns) x = maxWidth - (x + w);
  if (flipRows) y = maxHeight - (y + h);
  if (h == 0) {
    if (info) *info = stored;
    return TQV_OK;
  }
  // A stored window that does not cover the whole sensor may not hold the mirrored window.
  if (x < fx || y < fy || x + w > fx + fw || y + h > fy + fh || !table) return TQV_ERROR;

  const std::size_t rowWords = static_cast<std::size_t>(w);
  const std::size_t rows = static_cast<std::size_t>(h);
  std::FILE* f = file.get();
  // Up to the last word wanted; a short regular file is refused before anything is read.
  const i64 skip = (y - fy) * fw + (x - fx);
  const i64 last = skip + (h - 1) * fw + w;
  if (!formats::MayHoldBytes(f, static_cast<std::size_t>(last) * sizeof(u32)) ||
      (skip != 0 && fseeko(f, skip * static_cast<i64>(sizeof(u32)), SEEK_CUR) != 0) ||
      !ReadRows(f, table, static_cast<std::size_t>(fw), rowWords, rows)) {
    return TQV_ERROR;
  }
  file.reset();

  if (flipColumns && flipRows) {
    std::reverse(table, table + rowWords * rows);
  } else if (flipRows) {
    SwapRows(table, rowWords, rows);
  } else if (flipColumns) {
    ReverseRows(table, rowWords, rows);
  }
  if (info) *info = stored;
  return TQV_OK;
}

uint32_t tqvSaveNUCFile(const char* path, const tqvSNUCInfo* info, const uint32_t* table) {
  if (!info) return TQV_ERROR;
  std::size_t words, bytes;
  HeaderText text;
  if (!WordCount(info->windowWidth, info->windowHeight, &words, &bytes) || (words && !table) ||
      !FormatHeader(*info, text)) {
    return TQV_ERROR;
  }
  FilePtr file = OpenFile(path, "wb");
  if (!file || !formats::WriteBytes(file.get(), text.data(), text.size()) ||
      !formats::WriteBytes(file.get(), table, bytes)) {
    return TQV_ERROR;
  }
  return formats::CloseWritten(file) ? TQV_OK : TQV_ERROR;
}

uint32_t tqvEncodeNUC(int16_t offset, uint8_t flag, float gain) {
  return formats::EncodeWord(offset, flag, gain);
}

uint32_t tqvDecodeNUC(uint32_t word, float* gain, uint16_t* offset, uint8_t* flag) {
  if (gain) *gain = formats::DecodeGain(word);
  if (offset) *offset = static_cast<u16>(formats::DecodeOffset(word));
  if (flag) *flag = formats::DecodeFlag(word);
  return TQV_OK;
}

}  // extern "C"
