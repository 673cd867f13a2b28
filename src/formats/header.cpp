// Decoding of the 128-byte header that the camera embeds in each frame, of its IRIG time code and
// of the two extension layouts written into bytes 0x60..0x79.
#include <cstring>

#include "formats/fileio.h"
#include "interface/types.h"
#include "tqvSDK.h"

namespace {

using formats::LoadU16;
using formats::LoadU32;

constexpr u32 kFastClock = 11100000;
constexpr u32 kSlowClock = 6250000;
constexpr u8 kInvertedBit13Readout = 18;

inline i16 LoadI16(const u8* p) { return static_cast<i16>(LoadU16(p)); }

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

void Decode(tqvSHeader* out, const u8* raw) {
  const bool fast = raw[0x01] == 1;
  const u32 clock = fast ? kFastClock : kSlowClock;
  const u32 time = static_cast<u32>(LoadU16(raw + 0x02)) << 16 | LoadU16(raw + 0x04);
  const u32 subSecond = static_cast<u32>(LoadU16(raw + 0x06)) << 16 | LoadU16(raw + 0x08);
  const u16 status = LoadU16(raw + 0x0A);
  const u32 counter2 = LoadU32(raw + 0x2E);
  const u32 framePeriod = LoadU32(raw + 0x32);

  const Float4 n0 = {
      static_cast<float>(LoadU16(raw + 0x0C)), static_cast<float>(LoadU16(raw + 0x0E)),
      static_cast<float>(LoadU16(raw + 0x10)), static_cast<float>(LoadU16(raw + 0x40))};
  const Float4 n1 = {
      static_cast<float>(LoadU16(raw + 0x42)), static_cast<float>(LoadU16(raw + 0x44)),
      static_cast<float>(LoadU16(raw + 0x46)), static_cast<float>(LoadU16(raw + 0x12))};
  const Float4 n2 = {
      static_cast<float>(LoadU16(raw + 0x7C)), static_cast<float>(LoadI16(raw + 0x3E)),
      static_cast<float>(LoadU16(raw + 0x48)), static_cast<float>(LoadU16(raw + 0x4A))};
  const Float4 n3 = {
      static_cast<float>(LoadU16(raw + 0x4C)), static_cast<float>(LoadU16(raw + 0x36)),
      static_cast<float>(LoadI16(raw + 0x1C)), static_cast<float>(LoadI16(raw + 0x38))};
  // Multiplying by 0.5 and dividing by 2 are both exact for 16-bit integers.
  const Float4 r0 = n0 / Float4{100.0f, 100.0f, 100.0f, 100.0f} - 273.15f;
  const Float4 r1 =
      n1 / Float4{100.0f, 100.0f, 100.0f, 100.0f} - Float4{273.15f, 273.15f, 273.15f, 0.0f};
  const Float4 r2 = n2 / Float4{100.0f, 1000.0f, 1000.0f, 1000.0f};
  const Float4 r3 = n3 / Float4{1000.0f, 16383.0f, 2.0f, 2.0f};

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
  out->integrationTime = static_cast<double>(LoadU32(raw + 0x18)) / (fast ? 11100.0 : 6250.0);
  out->halfValue1 = r3[2];
  out->word1E = LoadU16(raw + 0x1E);
  out->word22 = LoadU16(raw + 0x22);
  out->word24 = LoadU16(raw + 0x24);
  out->word26 = LoadU16(raw + 0x26);
  out->word28 = LoadU16(raw + 0x28);
  out->word2A = LoadU16(raw + 0x2A);
  out->word2C = LoadU16(raw + 0x2C);
  out->counter2 = counter2 & 0x7FFFFFFF;
  out->counter2Flag = (counter2 >> 31) != 0;
  // A period of 0 clocks stands for "no frame rate", not for an infinite one.
  out->frameRate =
      framePeriod == 0 ? 0.0 : 1.0 / (static_cast<double>(framePeriod) / (fast ? 1.11e7 : 6.25e6));
  out->fractionValue = r3[1];
  out->halfValue2 = r3[3];
  out->byte3A = raw[0x3A];
  out->readout = raw[0x3B];
  out->byte3C = raw[0x3C];
  out->byte3D = raw[0x3D];
  out->milliValue1 = r2[1];
  out->temperature4 = r0[3];
  out->temperature5 = r1[0];
  out->temperature6 = r1[1];
  out->temperature7 = r1[2];
  out->milliValue2 = r2[2];
  out->milliValue3 = r2[3];
  out->milliValue4 = r3[0];
  out->counter3 = LoadU32(raw + 0x4E);
  out->counter4 = LoadU32(raw + 0x52);
  out->word56 = LoadU16(raw + 0x56);
  out->byte58 = raw[0x58];
  out->byte59 = raw[0x59];
  out->word5A = LoadU16(raw + 0x5A);
  out->word5C = LoadU16(raw + 0x5C);
  out->word5E = LoadU16(raw + 0x5E);
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
