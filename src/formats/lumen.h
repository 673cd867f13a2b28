// The desktop analysis tool's correction files: a gain table (".scg"), an offset table (".sco")
// and a bad-pixel map (".sbp"), each a small binary header followed by its tables.
#pragma once

#include <cstddef>
#include <cstdio>

#include "interface/types.h"

namespace formats {

enum LumenType : u8 { kLumenGain = 0, kLumenOffset = 1, kLumenMap = 2 };

constexpr std::size_t kLumenHeaderV1 = 26;
constexpr std::size_t kLumenHeaderV2 = kLumenHeaderV1 + 3 + 2 + 4 + 3 * 128;

// One desktop-tool file in memory. The record owns its tables (malloc'ed): data is the main
// table (f32 gains, i16 offsets or u8 flags by type), extra1 and extra2 the two further tables of
// a version 2 map. The reserved and version-2-only fields are carried unchanged.
struct _tqvSLumenNUCFile {
  u8 version;
  u8 type;
  u16 width;
  u16 height;
  u16 reserved1;
  u8 reserved2[18];
  u8 flag1;
  u8 flag2;
  u8 flag3;
  u16 value16;
  u8 value32[4];
  char text1[128];
  char text2[128];
  char text3[128];
  void* data;
  void* extra1;
  void* extra2;
};

// Clears the record: version 1, gain table, no tables.
void _tqvSLumenNUCFileInit(_tqvSLumenNUCFile* file);
// Releases the record's tables and clears it; 0.
u32 _tqvSLumenNUCFileFini(_tqvSLumenNUCFile* file);
// Exactly count bytes, or false.
bool _tqvReadFile(std::FILE* file, void* buffer, std::size_t count);
bool _tqvWriteFile(std::FILE* file, const void* buffer, std::size_t count);
// On failure the record is finalised (or untouched when the file cannot be opened).
bool _tqvLoadLumenNUCFile(const char* path, _tqvSLumenNUCFile* file);
bool _tqvSaveLumenNUCFile(const char* path, const _tqvSLumenNUCFile* file);

}  // namespace formats
