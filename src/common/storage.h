// Stored configurations: the parts that both backends share. Names with their extension and the
// camera's name rules, names as the camera stores them, the calibration record's first and last
// steps, and the placing of a calibration look-up table file into its two arrays.
#pragma once

#include <cstddef>
#include <variant>

#include "interface/ITQVSDK.h"

namespace storage {

// Room for a file name with its extension and terminator.
constexpr u32 kNameSize = 512;
// The longest palette name: with ".pal" it still fits kNameSize.
constexpr std::size_t kLongestPaletteName = 506;
// Calibration tags of this length or more are refused.
constexpr std::size_t kTagSize = 255;

// `name` with `extension` appended unless it already ends with it (in any case). 166 for a null
// name; 0xFFFFFFFF when the result does not fit.
u32 WithExtension(const char* name, const char* extension, char (&out)[kNameSize]);
// WithExtension, then the camera's file-name rules: an empty name, or one they refuse, gives
// 0xFFFFFFFF.
u32 CheckedName(const char* name, const char* extension, char (&out)[kNameSize]);

// A part of a text.
struct Span {
  const char* text;
  std::size_t length;
};
// A name as the camera stores it, as the library hands it out: a trailing `extension` (in any
// case) dropped and, with `dropDirectory`, everything up to the last '/' or '\\'.
Span TrimmedName(const char* stored, const char* extension, bool dropDirectory);

// Fields of the calibration record, by member, so that each backend reads a table of them.
using CalMember = std::variant<char (tqvSCalInfo::*)[256], u8 tqvSCalInfo::*, u16 tqvSCalInfo::*,
                               u32 tqvSCalInfo::*, i32 tqvSCalInfo::*, double tqvSCalInfo::*>;
struct CalField {
  const char* name;
  CalMember member;
};

// Fields of the correction file record, by member, for the correction file query.
using NUCMember = std::variant<char (tqvSNUCInfo::*)[64], bool tqvSNUCInfo::*, u8 tqvSNUCInfo::*,
                               u16 tqvSNUCInfo::*, u32 tqvSNUCInfo::*, float tqvSNUCInfo::*>;
// A text into a text field of the correction file record, cut to fit.
void CopyCut(char (&field)[64], const char* text);

// First step of GetCalInfo: no tables yet, the tag checked (null: 166; too long: 0xFFFFFFFF) and
// copied.
u32 StartCalInfo(const char* tag, tqvSCalInfo* info);
// Last step with tables: two arrays of lutSize values from the library's allocator, filled by
// GetCalLookupTable; on any failure both are freed and the pointers cleared. An empty table
// needs no arrays.
u32 AttachCalTables(ITQVSDK& sdk, const char* tag, tqvSCalInfo* info);

// A calibration look-up table file arriving in pieces: bytes 0 .. 8 x size - 1 go to `first`,
// the next 8 x size bytes to `second`; a piece that crosses from one to the other is split, bytes
// past the two arrays are dropped, and a piece that starts past them is refused.
class TableSink {
 public:
  TableSink(double* first, double* second, u32 size)
      : m_first(first), m_second(second), m_half(u64{8} * size) {}
  bool Put(u64 offset, const void* data, u64 length);
  // Whether both arrays have been filled (pieces arriving in order, as transfers deliver them).
  bool Complete() const { return m_end >= 2 * m_half; }

 private:
  double* m_first;
  double* m_second;
  u64 m_half;
  u64 m_end = 0;
};

}  // namespace storage
