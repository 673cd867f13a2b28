// Frame header, IRIG time code and extension decoding, from headers built byte by byte.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "formats/helpers.h"
#include "tqvSDK.h"

namespace {

using fmt_test::PutLE;

struct Raw {
  tqvSHeaderRaw raw{};
  Raw& U8(int offset, std::uint8_t v) {
    raw.bytes[offset] = v;
    return *this;
  }
  Raw& U16(int offset, std::uint16_t v) {
    PutLE(raw.bytes + offset, v, 2);
    return *this;
  }
  Raw& U32(int offset, std::uint32_t v) {
    PutLE(raw.bytes + offset, v, 4);
    return *this;
  }
  tqvSHeader Decode() const {
    tqvSHeader h;
    EXPECT_EQ(tqvDecodeHeader(&h, raw.bytes), TQV_OK);
    return h;
  }
};

#define V TQV_V
using fmt_test::ExpectValues;

// Every field from one header whose fields all hold different values.
TEST(FrameHeader, DecodesEveryField) {
  const std::uint32_t time = 1u << 31 | 1u << 28 | 300u << 18 | 13u << 12 | 47u << 6 | 59u;
  const std::uint32_t subSecond = 1234567;
  Raw r;
  r.U8(0x00, 0xA5).U8(0x01, 1).U16(0x02, time >> 16).U16(0x04, time & 0xFFFF);
  r.U16(0x06, subSecond >> 16).U16(0x08, subSecond & 0xFFFF);
  r.U16(0x0A, 1u << 15 | 1u << 13 | 1u << 5 | 1u << 3 | 1u << 2 | 2u);
  r.U16(0x0C, 29815).U16(0x0E, 27315).U16(0x10, 0).U16(0x12, 12345).U32(0x14, 0xDEADBEEF);
  r.U32(0x18, 22200).U16(0x1C, static_cast<std::uint16_t>(-7)).U16(0x1E, 0x1E1E);
  r.U16(0x20, 0xFFFF).U16(0x22, 0x2222).U16(0x24, 0x2424).U16(0x26, 0x2626).U16(0x28, 0x2828);
  r.U16(0x2A, 0x2A2A).U16(0x2C, 0x2C2C).U32(0x2E, 0x80000005).U32(0x32, 111000);
  r.U16(0x36, 16383).U16(0x38, 9).U8(0x3A, 0x3A).U8(0x3B, 7).U8(0x3C, 0x3C).U8(0x3D, 0x3D);
  r.U16(0x3E, static_cast<std::uint16_t>(-1500)).U16(0x40, 30315).U16(0x42, 26315);
  r.U16(0x44, 37315).U16(0x46, 27316).U16(0x48, 3300).U16(0x4A, 500).U16(0x4C, 65535);
  r.U32(0x4E, 0x01020304).U32(0x52, 0xA0B0C0D0).U16(0x56, 0x5656).U8(0x58, 0x58).U8(0x59, 0x59);
  r.U16(0x5A, 0x5A5A).U16(0x5C, 0x5C5C).U16(0x5E, 0x5E5E).U8(0x7A, 0x7A).U8(0x7B, 0xFE);
  r.U16(0x7C, 4321);
  const tqvSHeader h = r.Decode();

  // clang-format off
  ExpectValues({V(h.headerByte0, 0xA5), V(h.clockFrequency, 11100000), V(h.day, 300),
      V(h.hour, 13), V(h.minute, 47), V(h.second, 59), V(h.millisecond, 1234),
      V(h.microsecond, 567), V(h.timeCodeFlag, 1), V(h.statusCode, 2), V(h.statusBit15, 1),
      V(h.statusBit14, 0), V(h.statusBit4, 0), V(h.statusBit3, 1), V(h.statusBit2, 1),
      V(h.statusBit5, 1), V(h.statusBit13, 1), V(h.temperature1, 25.0), V(h.temperature2, 0.0),
      V(h.temperature3, -273.15), V(h.scaledValue1, 123.45), V(h.counter1, 0xDEADBEEF),
      V(h.integrationTime, 2.0), V(h.halfValue1, -3.5), V(h.word1E, 0x1E1E), V(h.word22, 0x2222),
      V(h.word24, 0x2424), V(h.word26, 0x2626), V(h.word28, 0x2828), V(h.word2A, 0x2A2A),
      V(h.word2C, 0x2C2C), V(h.counter2, 5), V(h.counter2Flag, 1), V(h.frameRate, 100.0),
      V(h.fractionValue, 1.0), V(h.halfValue2, 4.5), V(h.byte3A, 0x3A), V(h.readout, 7),
      V(h.byte3C, 0x3C), V(h.byte3D, 0x3D), V(h.milliValue1, -1.5), V(h.temperature4, 30.0),
      V(h.temperature5, -10.0), V(h.temperature6, 100.0), V(h.temperature7, 0.01),
      V(h.milliValue2, 3.3), V(h.milliValue3, 0.5), V(h.milliValue4, 65.535),
      V(h.counter3, 0x01020304), V(h.counter4, 0xA0B0C0D0), V(h.word56, 0x5656), V(h.byte58, 0x58),
      V(h.byte59, 0x59), V(h.word5A, 0x5A5A), V(h.word5C, 0x5C5C), V(h.word5E, 0x5E5E),
      V(h.byte7A, 0x7A), V(h.flag7B, 0), V(h.centiValue, 43.21)});
  // clang-format on
  EXPECT_EQ(+h.temperature2, 0.0f);  // exactly, in single precision

  // The other status bits and the flag byte's bit 0.
  const tqvSHeader other = r.U16(0x0A, 1u << 14 | 1u << 4 | 1u).U8(0x7B, 0x01).Decode();
  EXPECT_EQ(+other.statusCode, 1);
  EXPECT_TRUE(other.statusBit14);
  EXPECT_TRUE(other.statusBit4);
  EXPECT_FALSE(other.statusBit15 || other.statusBit13 || other.statusBit5 || other.statusBit3 ||
               other.statusBit2);
  EXPECT_TRUE(other.flag7B);
}

TEST(FrameHeader, ClockByteSelectsFrequencyAndUnits) {
  struct Case {
    std::uint8_t clockByte;
    std::uint32_t frequency;
    double integrationMs;  // of 55500 clocks
    double frameRateHz;    // of a 62500-clock period
  };
  for (const Case& c : {Case{1, 11100000, 5.0, 177.6}, Case{0, 6250000, 8.88, 100.0},
                        Case{2, 6250000, 8.88, 100.0}, Case{255, 6250000, 8.88, 100.0}}) {
    SCOPED_TRACE(int{c.clockByte});
    const tqvSHeader h = Raw().U8(0x01, c.clockByte).U32(0x18, 55500).U32(0x32, 62500).Decode();
    EXPECT_EQ(+h.clockFrequency, c.frequency);
    EXPECT_DOUBLE_EQ(h.integrationTime, c.integrationMs);
    EXPECT_DOUBLE_EQ(h.frameRate, c.frameRateHz);
  }
  EXPECT_EQ(+Raw().U32(0x32, 0).Decode().frameRate, 0.0);
}

TEST(FrameHeader, TimeCodeEdgesAndReadout18Inversion) {
  const tqvSHeader flagOnly = Raw().U16(0x02, 0x8000).Decode();
  EXPECT_TRUE(flagOnly.timeCodeFlag);
  EXPECT_EQ(flagOnly.day + flagOnly.hour + flagOnly.minute + flagOnly.second, 0);
  const tqvSHeader allOnes = Raw().U32(0x06, 0xFFFFFFFF).Decode();
  EXPECT_EQ(+allOnes.millisecond, static_cast<std::uint16_t>(4294967u));
  EXPECT_EQ(+allOnes.microsecond, 295);

  struct Case {
    std::uint8_t readout;
    bool bit13;
    bool expected;
  };
  for (const Case& c : {Case{18, true, false}, Case{18, false, true}, Case{7, true, true},
                        Case{7, false, false}, Case{19, true, true}}) {
    const tqvSHeader h = Raw().U8(0x3B, c.readout).U16(0x0A, c.bit13 ? 1u << 13 : 0).Decode();
    EXPECT_EQ(h.statusBit13, c.expected) << int{c.readout} << " " << c.bit13;
  }
}

TEST(FrameHeader, RawCopyAndUnalignedInputGiveTheSameRecord) {
  std::array<std::uint8_t, 129> buffer;
  for (std::size_t i = 0; i < buffer.size(); ++i)
    buffer[i] = static_cast<std::uint8_t>(i * 37 + 11);
  tqvSHeaderRaw raw;
  ASSERT_EQ(tqvDecodeHeaderRaw(&raw, buffer.data() + 1), TQV_OK);
  EXPECT_EQ(std::memcmp(raw.bytes, buffer.data() + 1, 128), 0);
  tqvSHeader fromRaw, fromBytes;
  ASSERT_EQ(tqvHeaderFromRawHeader(&fromRaw, &raw), TQV_OK);
  ASSERT_EQ(tqvDecodeHeader(&fromBytes, buffer.data() + 1), TQV_OK);
  EXPECT_EQ(std::memcmp(&fromRaw, &fromBytes, sizeof fromRaw), 0);  // packed: no padding
  EXPECT_EQ(+fromBytes.headerByte0, buffer[1]);
  EXPECT_EQ(+fromBytes.counter4, buffer[0x53] | buffer[0x54] << 8 | buffer[0x55] << 16 |
                                     static_cast<std::uint32_t>(buffer[0x56]) << 24);
}

TEST(FrameHeader, IrigMatchesTheHeaderTimeLayout) {
  const std::uint32_t time = 0u << 31 | 365u << 18 | 23u << 12 | 59u << 6 | 58u;
  const std::uint32_t subSecond = 999999;
  const std::uint16_t words[4] = {
      static_cast<std::uint16_t>(time >> 16), static_cast<std::uint16_t>(time),
      static_cast<std::uint16_t>(subSecond >> 16), static_cast<std::uint16_t>(subSecond)};
  tqvSIRIGTime t;
  bool flag = true;
  ASSERT_EQ(tqvDecodeIRIG(words, &t, &flag), TQV_OK);
  ExpectValues({V(t.day, 365), V(t.hour, 23), V(t.minute, 59), V(t.second, 58),
                V(t.millisecond, 999), V(t.microsecond, 999), V(flag, 0)});
  const std::uint16_t flagged[4] = {0x8000, 0, 0, 1000};
  ASSERT_EQ(tqvDecodeIRIG(flagged, &t, &flag), TQV_OK);
  ExpectValues({V(flag, 1), V(t.day, 0), V(t.millisecond, 1), V(t.microsecond, 0)});
}

void ExpectVorn(const tqvSVornHeader& v, const tqvSVornHeader& e) {
  // clang-format off
  ExpectValues({V(v.type, e.type), V(v.value1, e.value1), V(v.position1, e.position1),
      V(v.position2, e.position2), V(v.value2, e.value2), V(v.value3, e.value3),
      V(v.value4, e.value4), V(v.value5, e.value5), V(v.value6, e.value6), V(v.word1, e.word1),
      V(v.byte1, e.byte1)});
  // clang-format on
}

// The older lens layout: aligned fields, written whatever its type.
Raw VornV0(std::uint8_t type) {
  Raw r;
  r.U8(0x60, type).U8(0x61, 0).U32(0x62, 123456).U32(0x66, 0xABFFFFFE).U32(0x6A, 0x00123456);
  r.U16(0x6E, 15).U16(0x70, 250).U16(0x72, 1).U16(0x74, 65535).U16(0x76, 0).U16(0x78, 0xBEEF);
  return r;
}

// The newer lens layout: 24-bit and 16-bit fields at odd offsets.
Raw VornV1(std::uint8_t type) {
  Raw r;
  r.U8(0x60, type).U8(0x61, 1).U16(0x62, 0x5678).U8(0x64, 0x01);
  r.U16(0x65, 0x0010).U8(0x67, 0xFF).U16(0x68, 0xFFFF).U8(0x6A, 0x7F);
  r.U16(0x6B, 100).U16(0x6D, 200).U16(0x6F, 300).U16(0x71, 400).U16(0x73, 500).U8(0x75, 0x99);
  return r;
}

TEST(FrameHeader, LensExtensionVersionsAndTypes) {
  struct Case {
    const char* name;
    Raw raw;
    std::uint32_t result;
    tqvSVornHeader expected;
  };
  const tqvSVornHeader v0{9, 12345.6f, -2, 0x123456, 1.5f, 25.0f, 0.1f, 6553.5f, 0.0f, 0xBEEF, 0};
  tqvSVornHeader v0type2 = v0;
  v0type2.type = 2;
  const tqvSVornHeader v1t1{0x11, 8767.2f, -65520, 8388607, 10, 20, 30, 40, 50, 0x99, 0};
  const tqvSVornHeader v1t3{0x0B, 8767.2f, -65520, 8388607, 0, 0, 10, 20, 0, 0, 0};
  const tqvSVornHeader v1t4{0x04, 8767.2f, -65520, 8388607, 0, 0, 10, 20, 0, 0, 0x01};
  const Case cases[] = {
      {"v0 type 1", VornV0(9), TQV_OK, v0},
      {"v0 type 2 written anyway", VornV0(2), TQV_NOT_SUPPORTED, v0type2},
      {"v1 type 1", VornV1(0x11), TQV_OK, v1t1},
      {"v1 type 3", VornV1(0x0B), TQV_OK, v1t3},
      {"v1 type 4", VornV1(0x04), TQV_OK, v1t4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tqvSVornHeader v;
    EXPECT_EQ(tqvDecodeVORNHeader(&v, &c.raw.raw), c.result);
    ExpectVorn(v, c.expected);
  }
  // Unknown layouts leave the output alone.
  for (const Raw& raw : {VornV1(2), VornV1(0), VornV1(5), VornV1(7), VornV0(1).U8(0x61, 2)}) {
    tqvSVornHeader v;
    std::memset(&v, 0xCD, sizeof v);
    EXPECT_EQ(tqvDecodeVORNHeader(&v, &raw.raw), TQV_NOT_SUPPORTED);
    EXPECT_EQ(v.type, 0xCDCD);
    EXPECT_EQ(v.byte1, 0xCD);
  }
}

TEST(FrameHeader, SecondPlatformExtension) {
  Raw base;
  base.U8(0x61, 2).U16(0x62, 0x1234).U16(0x65, 29815);
  tqvSTeskHeader t;
  ASSERT_EQ(tqvDecodeTeskHeader(&t, &Raw(base).U8(0x60, 1).raw), TQV_OK);
  ExpectValues({V(t.type, 1), V(t.word1, 0x1234), V(t.temperature, 0.0)});
  ASSERT_EQ(tqvDecodeTeskHeader(&t, &Raw(base).U8(0x60, 2).raw), TQV_OK);
  ExpectValues({V(t.type, 2), V(t.word1, 0x1234), V(t.temperature, 25.0)});
  for (const Raw& raw : {Raw(base).U8(0x60, 3), Raw(base).U8(0x60, 0),
                         Raw(base).U8(0x60, 1).U8(0x61, 1), Raw(base).U8(0x60, 2).U8(0x61, 0)}) {
    tqvSTeskHeader untouched;
    std::memset(&untouched, 0xCD, sizeof untouched);
    EXPECT_EQ(tqvDecodeTeskHeader(&untouched, &raw.raw), TQV_NOT_SUPPORTED);
    EXPECT_EQ(untouched.type + untouched.word1, 0xCD + 0xCDCD);
  }
}

}  // namespace
