// The desktop-tool correction files and the conversions to and from the camera file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "formats/fileio.h"
#include "formats/helpers.h"
#include "formats/lumen.h"
#include "tqvSDK.h"

namespace {

using fmt_test::Bytes;
using fmt_test::PutLE;
using namespace formats;

// A desktop-tool file: header (version 2 adds its own fields) and the given table bytes.
Bytes LumenFile(std::uint8_t version, std::uint8_t type, std::uint16_t width, std::uint16_t height,
                const Bytes& tables) {
  Bytes out = {version, type};
  PutLE(out, width, 2);
  PutLE(out, height, 2);
  PutLE(out, 0xBEEF, 2);  // reserved1
  for (int i = 0; i < 18; ++i)
    out.push_back(static_cast<std::uint8_t>(0x80 + i));
  if (version == 2) {
    out.insert(out.end(), {7, 8, 9, 0x34, 0x12, 0xDE, 0xAD, 0xBE, 0xEF});
    for (char fill : {'a', 'b', 'c'})
      out.insert(out.end(), 128, static_cast<std::uint8_t>(fill));
  }
  out.insert(out.end(), tables.begin(), tables.end());
  return out;
}

// A file the library creates: version 1, reserved fields zero.
Bytes CreatedFile(std::uint8_t type, std::uint16_t width, std::uint16_t height, const Bytes& data) {
  Bytes out = LumenFile(1, type, width, height, data);
  std::fill(out.begin() + 6, out.begin() + 26, 0);
  return out;
}

Bytes Floats(const std::vector<float>& values) {
  Bytes out(values.size() * 4);
  std::memcpy(out.data(), values.data(), out.size());
  return out;
}

Bytes Shorts(const std::vector<std::int16_t>& values) {
  Bytes out;
  for (std::int16_t v : values)
    PutLE(out, static_cast<std::uint16_t>(v), 2);
  return out;
}

class Lumen : public ::testing::Test {
 protected:
  std::string Write(const Bytes& bytes, const std::string& name) {
    testutil::WriteFile(File(name), bytes);
    return File(name);
  }
  std::string File(const std::string& name) const { return m_dir.File(name); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }
  testutil::TempDir m_dir;
};

// A cleared record holds no tables; finalising releases all three, whatever the type.
TEST_F(Lumen, InitAndFini) {
  _tqvSLumenNUCFile f;
  std::memset(&f, 0x5A, sizeof f);
  _tqvSLumenNUCFileInit(&f);
  EXPECT_TRUE(f.version == 1 && f.type == kLumenGain && !f.data && !f.extra1 && !f.extra2);
  f.data = std::malloc(4);
  f.extra1 = std::malloc(4);
  f.extra2 = std::malloc(4);
  EXPECT_EQ(_tqvSLumenNUCFileFini(&f), 0u);  // the leak checker sees the tables go
  EXPECT_TRUE(!f.data && f.version == 0);
}

TEST_F(Lumen, LoadsEveryVersionAndTypeAndSavesBackByteForByte) {
  Bytes mapExtras = {0, 1, 2, 3};  // 2 x 2 flags, then two tables of 2 x 2 x 4 bytes
  for (int i = 0; i < 32; ++i)
    mapExtras.push_back(static_cast<std::uint8_t>(i * 7));
  const struct {
    Bytes file;
    std::size_t mainBytes, extraBytes;
  } cases[] = {
      {LumenFile(1, 0, 3, 2, Floats({1, 0.5f, -2, 4, 0, 1e-3f})), 24, 0},
      {LumenFile(1, 1, 2, 2, Shorts({-8192, 8191, -1, 0})), 8, 0},
      {LumenFile(1, 2, 3, 1, {0, 1, 3}), 3, 0},
      {LumenFile(2, 0, 1, 2, Floats({1.5f, 2.5f})), 8, 0},
      {LumenFile(2, 2, 2, 2, mapExtras), 4, 16},
      {LumenFile(1, 2, 0, 5, {}), 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << int{c.file[0]} << " type " << int{c.file[1]});
    _tqvSLumenNUCFile f;
    ASSERT_TRUE(_tqvLoadLumenNUCFile(Write(c.file, "in").c_str(), &f));
    const std::size_t header = c.file[0] == 2 ? 419 : 26;
    ASSERT_EQ(header + c.mainBytes + 2 * c.extraBytes, c.file.size());
    fmt_test::ExpectValues({TQV_V(f.version, c.file[0]), TQV_V(f.type, c.file[1]),
                            TQV_V(f.reserved1, 0xBEEF), TQV_V(f.reserved2[17], 0x80 + 17),
                            TQV_V(std::memcmp(f.data, &c.file[header], c.mainBytes), 0)});
    if (c.file[0] == 2) {
      fmt_test::ExpectValues({TQV_V(f.flag3, 9), TQV_V(f.value16, 0x1234),
                              TQV_V(f.value32[3], 0xEF), TQV_V(f.text2[127], 'b')});
    }
    if (c.extraBytes) {
      const std::size_t extra2 = header + c.mainBytes + c.extraBytes;
      EXPECT_EQ(std::memcmp(f.extra2, &c.file[extra2], c.extraBytes), 0);
    }
    ASSERT_TRUE(_tqvSaveLumenNUCFile(File("out").c_str(), &f));
    EXPECT_EQ(testutil::ReadFile(File("out")), c.file);
    _tqvSLumenNUCFileFini(&f);
  }
}

TEST_F(Lumen, LoadAndSaveRefusals) {
  const Bytes gains = LumenFile(1, 0, 2, 2, Floats({1, 2, 3, 4}));
  const Bytes v2map = LumenFile(2, 2, 2, 2, Bytes(4 + 32, 1));
  const auto cut = [](Bytes b, std::size_t n) {
    b.erase(b.end() - static_cast<std::ptrdiff_t>(n), b.end());
    return b;
  };
  const Bytes cases[] = {
      LumenFile(0, 0, 1, 1, Floats({1})),
      LumenFile(3, 0, 1, 1, Floats({1})),
      LumenFile(1, 3, 1, 1, Floats({1})),
      cut(gains, gains.size() - 25),
      cut(v2map, v2map.size() - 400),
      cut(gains, 1),
      cut(LumenFile(1, 1, 2, 2, Shorts({1, 2, 3, 4})), 1),
      cut(LumenFile(1, 2, 2, 2, {1, 1, 1, 1}), 1),
      cut(v2map, 1),                                // the second extra table
      LumenFile(2, 2, 65535, 65535, Bytes(64, 0)),  // 38 GiB claimed: refused before allocating
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    _tqvSLumenNUCFile f;
    std::memset(&f, 0x5A, sizeof f);
    EXPECT_FALSE(_tqvLoadLumenNUCFile(Write(cases[i], "bad").c_str(), &f)) << i;
    EXPECT_EQ(f.data, nullptr) << i;  // finalised: nothing left to release
  }
  _tqvSLumenNUCFile f;
  std::memset(&f, 0x5A, sizeof f);
  EXPECT_FALSE(_tqvLoadLumenNUCFile(File("missing").c_str(), &f));
  EXPECT_EQ(f.version, 0x5A);  // untouched

  _tqvSLumenNUCFileInit(&f);
  f.version = 3;
  EXPECT_FALSE(_tqvSaveLumenNUCFile(File("v3").c_str(), &f));
  f.version = 1;
  f.type = 4;
  EXPECT_FALSE(_tqvSaveLumenNUCFile(File("t4").c_str(), &f));
  f.type = 0;
  f.width = f.height = 1;  // a table is due but absent
  EXPECT_FALSE(_tqvSaveLumenNUCFile(File("nodata").c_str(), &f));
  EXPECT_FALSE(Exists("v3") || Exists("t4") || Exists("nodata"));
}

// Ten camera words: eight take the vector path, the last two the one-by-one path.
const std::vector<std::uint32_t> kCameraWords = {0x00000000u,
                                                 16383u << 16 | 0x8000 | 1,
                                                 32766u << 16 | 0x7FFC | 2,
                                                 65532u << 16 | 0xFFFC | 3,
                                                 49149u << 16 | 0x0014,
                                                 8191u << 16 | 0xFB50,
                                                 0xFFFF0003u,
                                                 0x00017FFDu,
                                                 0x12345678u,
                                                 0x8000FFFFu};

TEST_F(Lumen, CameraFileToDesktopFiles) {
  Write(fmt_test::CameraFile(fmt_test::WindowLines(4, 4, 5, 2, 640, 512), kCameraWords), "cam.nuc");
  ASSERT_EQ(tqvConvertCameraNUCToLumenNUC(File("cam").c_str(), File("out.SCO").c_str()), TQV_OK);
  EXPECT_FALSE(Exists("out.SCO.scg"));
  EXPECT_EQ(testutil::ReadFile(File("out.sco")),
            CreatedFile(1, 5, 2, Shorts({0, -8192, 8191, -1, 5, -300, 0, 8191, 5534, -1})));
  EXPECT_EQ(testutil::ReadFile(File("out.sbp")),
            CreatedFile(2, 5, 2, {0, 1, 2, 3, 0, 0, 3, 1, 0, 3}));
  const Bytes gains = testutil::ReadFile(File("out.scg"));
  ASSERT_EQ(gains.size(), 26u + 40);
  EXPECT_EQ(Bytes(gains.begin(), gains.begin() + 26), CreatedFile(0, 5, 2, {}));
  for (int i = 0; i < 10; ++i) {  // as the one-pixel decoding gives them
    float g, expected;
    std::memcpy(&g, &gains[26 + 4 * i], 4);
    tqvDecodeNUC(kCameraWords[i], &expected, nullptr, nullptr);
    EXPECT_EQ(g, expected) << i;
  }

  // A name that already ends in ".nuc" (any case) is taken as it is.
  Write(fmt_test::CameraFile(fmt_test::WindowLines(0, 0, 1, 1, 640, 512), {1}), "UP.NUC");
  EXPECT_EQ(tqvConvertCameraNUCToLumenNUC(File("UP.NUC").c_str(), File("up").c_str()), TQV_OK);
  EXPECT_TRUE(Exists("up.scg") && Exists("up.sco") && Exists("up.sbp"));
  EXPECT_EQ(tqvConvertCameraNUCToLumenNUC(File("none").c_str(), File("none").c_str()), TQV_ERROR);
  EXPECT_FALSE(Exists("none.scg"));
}

// The three files of a 5 x 2 correction, written here.
void WriteDesktopFiles(const std::string& base, std::uint16_t offsetHeight = 2,
                       std::uint8_t mapType = 2, std::uint16_t mapWidth = 5) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  testutil::WriteFile(base + ".scg",
                      LumenFile(1, 0, 5, 2, Floats({1, 0.5f, 5, -1, nan, inf, 4, 1e-9f, 2, 5})));
  std::vector<std::int16_t> offsets = {-9000, 100, -1, 8191, -8192, 9000, 0, -300, -9000, 7};
  offsets.resize(5 * offsetHeight);
  testutil::WriteFile(base + ".sco", LumenFile(2, 1, 5, offsetHeight, Shorts(offsets)));
  testutil::WriteFile(base + ".sbp", LumenFile(1, mapType, mapWidth, 2,
                                               mapType == 2 ? Bytes{0, 1, 2, 7, 3, 255, 4, 1, 6, 3}
                                                            : Floats(std::vector<float>(10))));
}

const std::vector<std::uint32_t> kEncoded = {0x3FFF8000, 0x1FFF0191, 0xFFFCFFFE, 0x00007FFF,
                                             0x00008003, 0xFFFC7FFF, 0xFFFC0000, 0x0000FB51,
                                             0x7FFE8002, 0xFFFC001F};

TEST_F(Lumen, DesktopFilesToCameraFile) {
  WriteDesktopFiles(File("d"));
  ASSERT_EQ(tqvConvertLumenNUCToCameraNUC(File("d.sbp").c_str(), File("c").c_str()), TQV_OK);
  tqvSNUCInfo info;
  std::uint32_t* table = nullptr;
  ASSERT_EQ(tqvLoadNUCFile(File("c.nuc").c_str(), &info, &table), TQV_OK);
  EXPECT_EQ(std::vector<std::uint32_t>(table, table + 10), kEncoded);
  std::free(table);
  EXPECT_EQ(info.windowWidth, 5);
  EXPECT_EQ(info.maxWidth, 640);
  EXPECT_STREQ(info.cameraSerial, "Unknown");

  tqvDefaultNUCInfo(&info);
  std::strcpy(info.cameraSerial, "Mine");
  info.windowOffsetX = 7;
  info.maxWidth = 1;
  info.maxHeight = 1000;
  ASSERT_EQ(tqvConvertLumenNUCToCameraNUCEx(File("d").c_str(), File("e.nuc").c_str(), &info),
            TQV_OK);
  fmt_test::ExpectValues({TQV_V(info.windowWidth, 5), TQV_V(info.windowHeight, 2),
                          TQV_V(info.maxWidth, 5), TQV_V(info.maxHeight, 1000),
                          TQV_V(info.windowOffsetX, 7)});
  tqvSNUCInfo read;
  ASSERT_EQ(tqvReadNUCFileInfo(File("e.nuc").c_str(), &read), TQV_OK);
  EXPECT_STREQ(read.cameraSerial, "Mine");
  EXPECT_EQ(read.maxWidth, 5);

  // Tables that do not belong together write nothing.
  WriteDesktopFiles(File("h"), 3);
  WriteDesktopFiles(File("t"), 2, 0);
  WriteDesktopFiles(File("w"), 2, 2, 4);
  WriteDesktopFiles(File("m"));
  std::filesystem::remove(File("m.sbp"));
  for (const char* base : {"h", "t", "w", "m"}) {
    EXPECT_EQ(tqvConvertLumenNUCToCameraNUC(File(base).c_str(), File(base).c_str()), TQV_ERROR);
    EXPECT_FALSE(Exists(std::string(base) + ".nuc")) << base;
  }
  EXPECT_EQ(tqvConvertLumenNUCToCameraNUCEx(File("d").c_str(), File("x").c_str(), nullptr),
            TQV_ERROR);
}

// Camera -> desktop -> camera over every gain field: at most 0xFFFC comes back exactly, above it
// as 0xFFFC; offsets and flags unchanged.
TEST_F(Lumen, CameraDesktopCameraRoundTrip) {
  std::vector<std::uint32_t> words(255 * 259);  // every field, and a few pixels after the last 8
  for (std::uint32_t i = 0; i < words.size(); ++i)
    words[i] = i << 16 | ((i * 0x9E37) & 0xFFFF);
  Write(fmt_test::CameraFile(fmt_test::WindowLines(0, 0, 255, 259, 255, 259), words), "a.nuc");
  ASSERT_EQ(tqvConvertCameraNUCToLumenNUC(File("a.nuc").c_str(), File("mid").c_str()), TQV_OK);
  ASSERT_EQ(tqvConvertLumenNUCToCameraNUC(File("mid").c_str(), File("b.nuc").c_str()), TQV_OK);
  tqvSNUCInfo info;
  std::uint32_t* back = nullptr;
  ASSERT_EQ(tqvLoadNUCFile(File("b.nuc").c_str(), &info, &back), TQV_OK);
  for (std::uint32_t i = 0; i < words.size(); ++i) {
    const std::uint32_t gain = words[i] >> 16;
    const std::uint32_t expected = (gain <= 0xFFFC ? gain : 0xFFFC) << 16 | (words[i] & 0xFFFF);
    ASSERT_EQ(back[i], expected) << i;
  }
  std::free(back);
}

TEST_F(Lumen, BadPixelListBounds) {
  // Column 4 of a 4-wide map is the first pixel of the next row.
  const std::uint16_t pixels[] = {4, 0, 0, 0, 3, 2};
  ASSERT_EQ(tqvSaveBplAsLumenSbp(File("map").c_str(), 4, 3, pixels, 3), TQV_OK);
  EXPECT_EQ(testutil::ReadFile(File("map.sbp")),
            CreatedFile(2, 4, 3, {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
  const std::uint16_t outside[] = {0, 0, 0, 3};  // the row after the last
  EXPECT_EQ(tqvSaveBplAsLumenSbp(File("out").c_str(), 4, 3, outside, 2), TQV_ERROR);
  EXPECT_FALSE(Exists("out.sbp"));
  ASSERT_EQ(tqvSaveBplAsLumenSbp(File("empty.SBP").c_str(), 2, 2, nullptr, 0), TQV_OK);
  EXPECT_EQ(testutil::ReadFile(File("empty.SBP")), CreatedFile(2, 2, 2, {0, 0, 0, 0}));
  EXPECT_EQ(tqvSaveBplAsLumenSbp(File("null").c_str(), 2, 2, nullptr, 1), TQV_ERROR);
}

TEST_F(Lumen, PathsThatDoNotFitAreRefused) {
  const std::string tooLong = File(std::string(kMaxPath + 100, 'p'));
  const std::uint16_t pixel[] = {0, 0};
  tqvSNUCInfo info;
  tqvDefaultNUCInfo(&info);
  WriteDesktopFiles(File("d"));
  EXPECT_EQ(tqvConvertCameraNUCToLumenNUC(tooLong.c_str(), File("x").c_str()), TQV_ERROR);
  EXPECT_EQ(tqvConvertCameraNUCToLumenNUC(File("x").c_str(), tooLong.c_str()), TQV_ERROR);
  EXPECT_EQ(tqvConvertLumenNUCToCameraNUC(tooLong.c_str(), File("x").c_str()), TQV_ERROR);
  EXPECT_EQ(tqvConvertLumenNUCToCameraNUCEx(File("d").c_str(), tooLong.c_str(), &info), TQV_ERROR);
  EXPECT_EQ(tqvSaveBplAsLumenSbp(tooLong.c_str(), 1, 1, pixel, 1), TQV_ERROR);

  // The name buffer's edge: the longest path that still takes its extension.
  char out[kMaxPath];
  const std::string fits(kMaxPath - 5, 'n');
  ASSERT_TRUE(PathWithExtension(fits.c_str(), ".nuc", out));
  EXPECT_EQ(std::string(out), fits + ".nuc");
  EXPECT_FALSE(PathWithExtension((fits + "n").c_str(), ".nuc", out));
  ASSERT_TRUE(PathWithExtension((fits + ".Nuc").c_str(), ".nuc", out));
  EXPECT_EQ(std::string(out), fits + ".Nuc");
  ASSERT_TRUE(PathWithExtension("abc", ".nuc", out));
  EXPECT_STREQ(out, "abc.nuc");
}

}  // namespace
