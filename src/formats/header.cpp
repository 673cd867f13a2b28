// Decoding of the 128-byte header that the camera embeds in each frame, of its IRIG time code and
// of the two extension layouts written into bytes 0x60..0x79.
#include <cstddef>
#include <cstring>
#include <utility>

#include <emmintrin.h>

#include "formats/fileio.h"
#include "interface/types.h"
#include "tqvSDK.h"

namespace {

using formats::LoadU16;
using formats::LoadU32;

constexpr u32 kFastClock = 11100000;
constexpr u32 kSlowClock = 6250000;
constexpr u8 kInvertedBit13Readout = 18;

// Sign-extends the low 24 bits.
inline i32 SignExtend24(u32 value) { return static_cast<i32>(value << 8) >> 8; }

// (signed high byte << 16) | low word, the 24-bit positions of the newer lens extension.
inline i32 Position24(const u8* raw, unsigned lowOffset, unsigned highOffset) {
  return static_cast<i8>(raw[highOffset]) * 65536 + LoadU16(raw + lowOffset);
}

inline float Celsius(u16 centiKelvin) { return static_cast<float>(centiKelvin) / 100.0f - 273.15f; }

// The single-precision fields are all "value / divisor - bias". They are computed four at a time;
// lane-wise IEEE arithmetic gives exactly the results of one-by-one computation.
typedef float Float4 __attribute__((vector_size(16)));
typedef double Double2 __attribute__((vector_size(16)));

template <unsigned... offsets, std::size_t... lanes>
__m128i GatherLanes(const u8* raw, std::index_sequence<lanes...>) {
  __m128i v = _mm_setzero_si128();
  ((v = _mm_insert_epi16(v, LoadU16(raw + offsets), lanes)), ...);
  return v;
}

// Eight 16-bit fields at the given offsets, in lanes 0..7.
template <unsigned... offsets>
__m128i Gather(const u8* raw) {
  return GatherLanes<offsets...>(raw, std::make_index_sequence<sizeof...(offsets)>());
}

// The decoded record repeats these runs of the raw header unchanged.
static_assert(offsetof(tqvSHeader, word2C) - offsetof(tqvSHeader, word22) == 0x2C - 0x22);
static_assert(offsetof(tqvSHeader, byte3D) - offsetof(tqvSHeader, byte3A) == 3);
static_assert(offsetof(tqvSHeader, word5E) - offsetof(tqvSHeader, counter3) == 0x5E - 0x4E);

void Decode(tqvSHeader* out, const u8* raw) {
  const bool fast = raw[0x01] == 1;
  const u32 clock = fast ? kFastClock : kSlowClock;
  const u32 time = static_cast<u32>(LoadU16(raw + 0x02)) << 16 | LoadU16(raw + 0x04);
  const u32 subSecond = static_cast<u32>(LoadU16(raw + 0x06)) << 16 | LoadU16(raw + 0x08);
  const u16 status = LoadU16(raw + 0x0A);
  const u32 counter2 = LoadU32(raw + 0x2E);
  const u32 framePeriod = LoadU32(raw + 0x32);

  // The sixteen 16-bit sources of the single-precision fields, gathered into two vectors and
  // widened to 32 bits. a: temperatures 1..7, scaledValue1; b: centiValue, milliValue2..4,
  // fractionValue, then the signed milliValue1, halfValue1 and halfValue2.
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = Gather<0x0C, 0x0E, 0x10, 0x40, 0x42, 0x44, 0x46, 0x12>(raw);
  const __m128i b = Gather<0x7C, 0x48, 0x4A, 0x4C, 0x36, 0x3E, 0x1C, 0x38>(raw);
  const __m128 bHigh = _mm_move_ss(_mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpackhi_epi16(b, b), 16)),
                                   _mm_cvtepi32_ps(_mm_unpackhi_epi16(b, zero)));
  // Multiplying by 0.5 and dividing by 2 are both exact for 16-bit integers.
  const Float4 r0 = Float4(_mm_cvtepi32_ps(_mm_unpacklo_epi16(a, zero))) / 100.0f - 273.15f;
  const Float4 r1 = Float4(_mm_cvtepi32_ps(_mm_unpackhi_epi16(a, zero))) / 100.0f -
                    Float4{273.15f, 273.15f, 273.15f, 0.0f};
  const Float4 r2 = Float4(_mm_cvtepi32_ps(_mm_unpacklo_epi16(b, zero))) /
                    Float4{100.0f, 1000.0f, 1000.0f, 1000.0f};
  const Float4 r3 = Float4(bHigh) / Float4{16383.0f, 1000.0f, 2.0f, 2.0f};
  // Integration time in milliseconds and the frame period in seconds, in one division.
  const Double2 periods =
      Double2{static_cast<double>(LoadU32(raw + 0x18)), static_cast<double>(framePeriod)} /
      (fast ? Double2{11100.0, 1.11e7} : Double2{6250.0, 6.25e6});

  out->headerByte0 = raw[0x00];
  out->clockFrequency = clock;
  out->day = static_cast<u16>((time >> 18) & 0x1FF);
  out->hour = static_cast<u8>((time >> 12) & 0x3F);
  out->minute = static_cast<u8>((time >> 6) & 0x3F);
  out->second = static_cast<u8>(time & 0x3F);
  out->millisecond = static_cast<u16>(subSecond / 1000);
  out->microsecond = static_cast<u16>(subSecond % 1000);
  out->timeCodeFlag = (time >> 31) != 0;
  out->statusCode = static_cast<u8>(status & 3);
  out->statusBit15 = (status >> 15) & 1;
  out->statusBit14 = (status >> 14) & 1;
  out->statusBit4 = (status >> 4) & 1;
  out->statusBit3 = (status >> 3) & 1;
  out->statusBit2 = (status >> 2) & 1;
  out->statusBit5 = (status >> 5) & 1;
  out->statusBit13 = (((status >> 13) & 1) != 0) != (raw[0x3B] == kInvertedBit13Readout);
  out->temperature1 = r0[0];
  out->temperature2 = r0[1];
  out->temperature3 = r0[2];
  out->scaledValue1 = r1[3];
  out->counter1 = LoadU32(raw + 0x14);
  out->integrationTime = periods[0];
  out->halfValue1 = r3[2];
  out->word1E = LoadU16(raw + 0x1E);
  // word22..word2C stand as in the raw header: one copy.
  std::memcpy(&out->word22, raw + 0x22, 0x2E - 0x22);
  out->counter2 = counter2 & 0x7FFFFFFF;
  out->counter2Flag = (counter2 >> 31) != 0;
  // A period of 0 clocks stands for "no frame rate", not for an infinite one.
  out->frameRate = framePeriod == 0 ? 0.0 : 1.0 / periods[1];
  out->fractionValue = r3[0];
  out->halfValue2 = r3[3];
  std::memcpy(&out->byte3A, raw + 0x3A, 4);  // byte3A, readout, byte3C, byte3D
  out->milliValue1 = r3[1];
  out->temperature4 = r0[3];
  out->temperature5 = r1[0];
  out->temperature6 = r1[1];
  out->temperature7 = r1[2];
  out->milliValue2 = r2[1];
  out->milliValue3 = r2[2];
  out->milliValue4 = r2[3];
  // counter3..word5E stand as in the raw header: one copy.
  std::memcpy(&out->counter3, raw + 0x4E, 0x60 - 0x4E);
  out->byte7A = raw[0x7A];
  out->flag7B = (raw[0x7B] & 1) != 0;
  out->centiValue = r2[0];
}

constexpr float kLensDivisor = 10.0f;

}  // namespace

extern "C" {

uint32_t tqvDecodeHeaderRaw(tqvSHeaderRaw* raw, const void* header) {
  if (!raw || !header) return TQV_ERROR;
  std::memcpy(raw->bytes, header, sizeof raw->bytes);
  return TQV_OK;
}

uint32_t tqvHeaderFromRawHeader(tqvSHeader* header, const tqvSHeaderRaw* raw) {
  if (!header || !raw) return TQV_ERROR;
  Decode(header, raw->bytes);
  return TQV_OK;
}

uint32_t tqvDecodeHeader(tqvSHeader* header, const void* bytes) {
  if (!header || !bytes) return TQV_ERROR;
  tqvSHeaderRaw raw;
  std::memcpy(raw.bytes, bytes, sizeof raw.bytes);
  Decode(header, raw.bytes);
  return TQV_OK;
}

uint32_t tqvDecodeIRIG(const uint16_t* words, tqvSIRIGTime* time, bool* flag) {
  if (!words || !time || !flag) return TQV_ERROR;
  u16 w[4];
  std::memcpy(w, words, sizeof w);
  const u32 code = static_cast<u32>(w[0]) << 16 | w[1];
  const u32 subSecond = static_cast<u32>(w[2]) << 16 | w[3];
  time->day = static_cast<u16>((w[0] >> 2) & 0x1FF);
  time->hour = static_cast<u8>((code >> 12) & 0x3F);
  time->minute = static_cast<u8>((w[1] >> 6) & 0x3F);
  time->second = static_cast<u8>(w[1] & 0x3F);
  time->millisecond = static_cast<u16>(subSecond / 1000);
  time->microsecond = static_cast<u16>(subSecond % 1000);
  *flag = (w[0] >> 15) != 0;
  return TQV_OK;
}

uint32_t tqvDecodeVORNHeader(tqvSVornHeader* vorn, const tqvSHeaderRaw* raw) {
  if (!vorn || !raw) return TQV_ERROR;
  const u8* r = raw->bytes;
  tqvSVornHeader v{};
  switch (r[0x61]) {
    case 0: {
      v.type = LoadU16(r + 0x60);
      v.value1 = static_cast<float>(LoadU32(r + 0x62)) / kLensDivisor;
      v.position1 = SignExtend24(LoadU32(r + 0x66));
      v.position2 = SignExtend24(LoadU32(r + 0x6A));
      v.value2 = static_cast<float>(LoadU16(r + 0x6E)) / kLensDivisor;
      v.value3 = static_cast<float>(LoadU16(r + 0x70)) / kLensDivisor;
      v.value4 = static_cast<float>(LoadU16(r + 0x72)) / kLensDivisor;
      v.value5 = static_cast<float>(LoadU16(r + 0x74)) / kLensDivisor;
      v.value6 = static_cast<float>(LoadU16(r + 0x76)) / kLensDivisor;
      v.word1 = LoadU16(r + 0x78);
      v.byte1 = 0;
      // The older layout is handed out whatever its type; only type 1 is vouched for.
      *vorn = v;
      return (v.type & 7) == 1 ? TQV_OK : TQV_NOT_SUPPORTED;
    }
    case 1: {
      const u8 layout = r[0x60] & 7;
      if (layout != 1 && layout != 3 && layout != 4) return TQV_NOT_SUPPORTED;
      v.type = r[0x60];
      v.value1 =
          static_cast<float>(static_cast<u32>(r[0x64]) << 16 | LoadU16(r + 0x62)) / kLensDivisor;
      v.position1 = Position24(r, 0x65, 0x67);
      v.position2 = Position24(r, 0x68, 0x6A);
      if (layout == 1) {
        v.value2 = static_cast<float>(LoadU16(r + 0x6B)) / kLensDivisor;
        v.value3 = static_cast<float>(LoadU16(r + 0x6D)) / kLensDivisor;
        v.value4 = static_cast<float>(LoadU16(r + 0x6F)) / kLensDivisor;
        v.value5 = static_cast<float>(LoadU16(r + 0x71)) / kLensDivisor;
        v.value6 = static_cast<float>(LoadU16(r + 0x73)) / kLensDivisor;
        v.word1 = r[0x75];
      } else {
        v.value4 = static_cast<float>(LoadU16(r + 0x6B)) / kLensDivisor;
        v.value5 = static_cast<float>(LoadU16(r + 0x6D)) / kLensDivisor;
        if (layout == 4) v.byte1 = r[0x72];
      }
      *vorn = v;
      return TQV_OK;
    }
    default:
      return TQV_NOT_SUPPORTED;
  }
}

uint32_t tqvDecodeTeskHeader(tqvSTeskHeader* tesk, const tqvSHeaderRaw* raw) {
  if (!tesk || !raw) return TQV_ERROR;
  const u8* r = raw->bytes;
  if (r[0x61] != 2) return TQV_NOT_SUPPORTED;
  const u8 type = r[0x60];
  if (type != 1 && type != 2) return TQV_NOT_SUPPORTED;
  tqvSTeskHeader t{};
  t.type = type;
  t.word1 = LoadU16(r + 0x62);
  t.temperature = type == 2 ? Celsius(LoadU16(r + 0x65)) : 0.0f;
  *tesk = t;
  return TQV_OK;
}

}  // extern "C"
