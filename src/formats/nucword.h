// The per-pixel correction word of the camera's NUC table: flag code in bits 0..1, a signed
// 14-bit offset in bits 2..15, the gain times 16383 in bits 16..31.
#pragma once

#include <algorithm>
#include <cstddef>

#include "interface/types.h"

namespace formats {

constexpr u32 kMaxGainField = 0xFFFC;  // 4.0, the largest gain the encoder produces

inline u32 EncodeWord(i16 offset, u8 flag, float gain) {
  const i32 clamped = std::clamp<i32>(offset, -8192, 8191);
  u32 word = (static_cast<u32>(clamped * 4) & 0xFFFC) | (flag & 3u);
  // Written so that a NaN gain, like any gain not above zero, leaves the field zero.
  if (gain > 0.0f) {
    const u32 field = gain > 4.0f ? kMaxGainField : static_cast<u32>(gain * 16383);
    word |= field << 16;
  }
  return word;
}

// The gain field / 16383.0, narrowed to float. Multiplying by the reciprocal gives the same float
// for each of the 65536 fields (the tests check all of them) and costs far less than dividing.
inline float DecodeGain(u32 word) { return static_cast<float>((word >> 16) * (1.0 / 16383.0)); }
inline i16 DecodeOffset(u32 word) { return static_cast<i16>(static_cast<u16>(word & 0xFFFC)) >> 2; }
inline u8 DecodeFlag(u32 word) { return static_cast<u8>(word & 3); }

// Unpacks count words: offsets and flag codes into their tables, each gain (f32) in the place of
// its word. table holds count 4-byte entries.
void SplitWords(u8* table, i16* offsets, u8* flags, std::size_t count);

// Packs count pixels: each word in the place of its gain (f32) in table.
void JoinWords(u8* table, const i16* offsets, const u8* flags, std::size_t count);

}  // namespace formats
