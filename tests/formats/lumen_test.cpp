// The desktop-tool correction files and the conversions to and from the camera file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/bytes.h"
#include "formats/fileio.h"
#include "formats/lumen.h"
#include "tqvSDK.h"

namespace {

using fmt_test::Bytes;
using fmt_test::PutLE;
using formats::_tqvLoadLumenNUCFile;
using formats::_tqvSaveLumenNUCFile;
using formats::_tqvSLumenNUCFile;
using formats::_tqvSLumenNUCFileFini;
using formats::_tqvSLumenNUCFileInit;

// A desktop-tool file: header (version 2 adds its own fields) and the given table bytes.
Bytes LumenFile(std::uint8_t version, std::uint8_t type, std::uint16_t width, std::uint16_t height,
                const Bytes& tables) {
  Bytes out = {version, type};
  PutLE(out, width, 2);
  PutLE(out, height, 2);
  PutLE(out, 0xBEEF, 2);  // reserved1
  for (int i = 0; i < 18; ++i)
    out.push_back(static_cast<std::uint8_t>(0x80 + i));  // reserved2
  if (version == 2) {
    out.insert(out.end(), {7, 8, 9});  // flags
    PutLE(out, 0x1234, 2);
    out.insert(out.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    for (char fill : {'a', 'b', 'c'})
      out.insert(out.end(), 128, static_cast<std::uint8_t>(fill));
  }
  out.insert(out.end(), tables.begin(), tables.end());
  return out;
}

// The header of a file the library creates: version 1, reserved fields zero.
Bytes V1Header(std::uint8_t type, std::uint16_t width, std::uint16_t height) {
  Bytes out = {1, type};
  PutLE(out, width, 2);
  PutLE(out, height, 2);
  out.resize(26, 0);
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

TEST_F(Lumen, InitAndFini) {
  _tqvSLumenNUCFile f;
  std::memset(&f, 0x5A, sizeof f);
  _tqvSLumenNUCFileInit(&f);
  EXPECT_EQ(f.version, 1);
  EXPECT_EQ(f.type, 0);
  EXPECT_EQ(f.width + f.height + f.reserved1, 0);
  EXPECT_EQ(f.flag1 + f.flag2 + f.flag3, 3);
  EXPECT_EQ(f.value16, 10);
  const std::uint8_t half[4] = {0x00, 0x00, 0x00, 0x3F};  // 0.5f
  EXPECT_EQ(std::memcmp(f.value32, half, 4), 0);
  EXPECT_EQ(f.data, nullptr);
  EXPECT_EQ(f.text3[127], 0);
  f.type = formats::kLumenMap;
  f.data = std::malloc(4);
  f.extra1 = std::malloc(4);
  f.extra2 = std::malloc(4);
  EXPECT_EQ(_tqvSLumenNUCFileFini(&f), 0u);  // the leak checker sees the tables go
  EXPECT_EQ(f.data, nullptr);
  EXPECT_EQ(f.version, 0);
}

TEST_F(Lumen, LoadsEveryVersionAndTypeAndSavesBackByteForByte) {
  struct Case {
    const char* name;
    Bytes file;
    std::uint8_t version, type;
    std::size_t mainBytes, extraBytes;
  };
  Bytes mapExtras = {0, 1, 2, 3};  // 2 x 2 flags, then two tables of 2 x 2 x 4 bytes
  for (int i = 0; i < 32; ++i)
    mapExtras.push_back(static_cast<std::uint8_t>(i * 7));
  const Case cases[] = {
      {"v1 gains", LumenFile(1, 0, 3, 2, Floats({1, 0.5f, -2, 4, 0, 1e-3f})), 1, 0, 24, 0},
      {"v1 offsets", LumenFile(1, 1, 2, 2, Shorts({-8192, 8191, -1, 0})), 1, 1, 8, 0},
      {"v1 map", LumenFile(1, 2, 3, 1, {0, 1, 3}), 1, 2, 3, 0},
      {"v2 gains", LumenFile(2, 0, 1, 2, Floats({1.5f, 2.5f})), 2, 0, 8, 0},
      {"v2 map with extra tables", LumenFile(2, 2, 2, 2, mapExtras), 2, 2, 4, 16},
      {"v1 empty map", LumenFile(1, 2, 0, 5, {}), 1, 2, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    _tqvSLumenNUCFile f;
    ASSERT_TRUE(_tqvLoadLumenNUCFile(Write(c.file, "in").c_str(), &f));
    const std::size_t header = c.version == 2 ? 419 : 26;
    EXPECT_EQ(header + c.mainBytes + 2 * c.extraBytes, c.file.size());
    EXPECT_EQ(f.version, c.version);
    EXPECT_EQ(f.type, c.type);
    EXPECT_EQ(f.reserved1, 0xBEEF);
    EXPECT_EQ(f.reserved2[17], 0x80 + 17);
    EXPECT_EQ(std::memcmp(f.data, c.file.data() + header, c.mainBytes), 0);
    if (c.version == 2) {
      EXPECT_EQ(f.flag3, 9);
      EXPECT_EQ(f.value16, 0x1234);
      EXPECT_EQ(f.value32[3], 0xEF);
      EXPECT_EQ(f.text2[127], 'b');
    }
    if (c.extraBytes) {
      EXPECT_EQ(
          std::memcmp(f.extra2, c.file.data() + header + c.mainBytes + c.extraBytes, c.extraBytes),
          0);
    }
    ASSERT_TRUE(_tqvSaveLumenNUCFile(File("out").c_str(), &f));
    EXPECT_EQ(testutil::ReadFile(File("out")), c.file);
    _tqvSLumenNUCFileFini(&f);
  }
}

TEST_F(Lumen, LoadRefusals) {
  const Bytes gains = LumenFile(1, 0, 2, 2, Floats({1, 2, 3, 4}));
  Bytes v2map = LumenFile(2, 2, 2, 2, Bytes(4 + 32, 1));
  const auto cut = [](Bytes b, std::size_t n) {
    b.erase(b.end() - static_cast<std::ptrdiff_t>(n), b.end());
    return b;
  };
  const std::pair<const char*, Bytes> cases[] = {
      {"version 0", LumenFile(0, 0, 1, 1, Floats({1}))},
      {"version 3", LumenFile(3, 0, 1, 1, Floats({1}))},
      {"type 3", LumenFile(1, 3, 1, 1, Floats({1}))},
      {"short header", Bytes(gains.begin(), gains.begin() + 25)},
      {"short version 2 header", Bytes(v2map.begin(), v2map.begin() + 400)},
      {"short gains", cut(gains, 1)},
      {"short offsets", cut(LumenFile(1, 1, 2, 2, Shorts({1, 2, 3, 4})), 1)},
      {"short map", cut(LumenFile(1, 2, 2, 2, {1, 1, 1, 1}), 1)},
      {"short extra table", cut(v2map, 1)},
      {"huge size, little data", LumenFile(2, 2, 65535, 65535, Bytes(64, 0))},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    _tqvSLumenNUCFile f;
    std::memset(&f, 0x5A, sizeof f);
    EXPECT_FALSE(_tqvLoadLumenNUCFile(Write(bytes, "bad").c_str(), &f));
    EXPECT_EQ(f.data, nullptr);  // finalised: nothing left to release
    EXPECT_EQ(f.version, 0);
  }
  _tqvSLumenNUCFile untouched;
  std::memset(&untouched, 0x5A, sizeof untouched);
  EXPECT_FALSE(_tqvLoadLumenNUCFile(File("missing").c_str(), &untouched));
  EXPECT_EQ(untouched.version, 0x5A);

  _tqvSLumenNUCFile f;
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

// Camera words of a 3 x 2 window with gains that are exact in single precision.
const std::vector<std::uint32_t> kCameraWords = {0x00000000u,
                                                 16383u << 16 | 0x8000 | 1,
                                                 32766u << 16 | 0x7FFC | 2,
                                                 65532u << 16 | 0xFFFC | 3,
                                                 49149u << 16 | 0x0014,
                                                 8191u << 16 | 0xFB50};

TEST_F(Lumen, CameraFileToDesktopFiles) {
  Write(fmt_test::CameraFile(fmt_test::WindowLines(4, 4, 3, 2, 640, 512), kCameraWords), "cam.nuc");
  ASSERT_EQ(tqvConvertCameraNUCToLumenNUC(File("cam").c_str(), File("out.SCO").c_str()), TQV_OK);
  EXPECT_FALSE(Exists("out.SCO.scg"));
  const Bytes gains = testutil::ReadFile(File("out.scg"));
  const Bytes offsets = testutil::ReadFile(File("out.sco"));
  const Bytes map = testutil::ReadFile(File("out.sbp"));
  EXPECT_EQ(Bytes(gains.begin(), gains.begin() + 26), V1Header(0, 3, 2));
  EXPECT_EQ(Bytes(offsets.begin(), offsets.begin() + 26), V1Header(1, 3, 2));
  EXPECT_EQ(Bytes(map.begin(), map.begin() + 26), V1Header(2, 3, 2));
  ASSERT_EQ(gains.size(), 26u + 24);
  std::vector<float> g(6);
  std::memcpy(g.data(), gains.data() + 26, 24);
  EXPECT_EQ(g[0], 0.0f);
  EXPECT_EQ(g[1], 1.0f);
  EXPECT_EQ(g[2], 2.0f);
  EXPECT_EQ(g[3], 4.0f);
  EXPECT_EQ(g[4], 3.0f);
  EXPECT_NEAR(g[5], 0.499969f, 1e-6f);
  EXPECT_EQ(Bytes(offsets.begin() + 26, offsets.end()), Shorts({0, -8192, 8191, -1, 5, -300}));
  EXPECT_EQ(Bytes(map.begin() + 26, map.end()), (Bytes{0, 1, 2, 3, 0, 0}));

  // A name that already ends in ".nuc" (any case) is taken as it is.
  Write(fmt_test::CameraFile(fmt_test::WindowLines(0, 0, 1, 1, 640, 512), {1}), "UP.NUC");
  EXPECT_EQ(tqvConvertCameraNUCToLumenNUC(File("UP.NUC").c_str(), File("up").c_str()), TQV_OK);
  EXPECT_TRUE(Exists("up.scg") && Exists("up.sco") && Exists("up.sbp"));
  EXPECT_EQ(tqvConvertCameraNUCToLumenNUC(File("none").c_str(), File("none").c_str()), TQV_ERROR);
  EXPECT_FALSE(Exists("none.scg"));
}

// The three files of a 2 x 2 correction, written here.
void WriteDesktopFiles(const std::string& base, std::uint16_t offsetHeight = 2,
                       std::uint8_t mapType = 2) {
  testutil::WriteFile(base + ".scg", LumenFile(1, 0, 2, 2, Floats({1.0f, 0.5f, 5.0f, -1.0f})));
  testutil::WriteFile(base + ".sco",
                      LumenFile(1, 1, 2, offsetHeight, Shorts({-9000, 100, -1, 8191, 0, 0})));
  testutil::WriteFile(
      base + ".sbp",
      LumenFile(1, mapType, 2, 2, mapType == 2 ? Bytes{0, 1, 2, 7} : Floats({0, 0, 0, 0})));
}

const std::vector<std::uint32_t> kEncoded = {0x3FFF8000, 0x1FFF0191, 0xFFFCFFFE, 0x00007FFF};

TEST_F(Lumen, DesktopFilesToCameraFile) {
  WriteDesktopFiles(File("d"));
  ASSERT_EQ(tqvConvertLumenNUCToCameraNUC(File("d.sbp").c_str(), File("c").c_str()), TQV_OK);
  tqvSNUCInfo info;
  std::uint32_t* table = nullptr;
  ASSERT_EQ(tqvLoadNUCFile(File("c.nuc").c_str(), &info, &table), TQV_OK);
  EXPECT_EQ(std::vector<std::uint32_t>(table, table + 4), kEncoded);
  std::free(table);
  EXPECT_EQ(info.windowWidth, 2);
  EXPECT_EQ(info.maxWidth, 640);
  EXPECT_STREQ(info.cameraSerial, "Unknown");

  tqvDefaultNUCInfo(&info);
  std::strcpy(info.cameraSerial, "Mine");
  info.windowOffsetX = 7;
  info.maxWidth = 1;
  info.maxHeight = 1000;
  ASSERT_EQ(tqvConvertLumenNUCToCameraNUCEx(File("d").c_str(), File("e.nuc").c_str(), &info),
            TQV_OK);
  EXPECT_EQ(info.windowWidth, 2);
  EXPECT_EQ(info.windowHeight, 2);
  EXPECT_EQ(info.maxWidth, 2);
  EXPECT_EQ(info.maxHeight, 1000);
  EXPECT_EQ(info.windowOffsetX, 7);
  tqvSNUCInfo read;
  ASSERT_EQ(tqvReadNUCFileInfo(File("e.nuc").c_str(), &read), TQV_OK);
  EXPECT_STREQ(read.cameraSerial, "Mine");
  EXPECT_EQ(read.maxWidth, 2);

  // Tables that do not belong together write nothing.
  WriteDesktopFiles(File("h"), 3);
  WriteDesktopFiles(File("t"), 2, 0);
  WriteDesktopFiles(File("m"));
  std::filesystem::remove(File("m.sbp"));
  for (const char* base : {"h", "t", "m"}) {
    SCOPED_TRACE(base);
    EXPECT_EQ(tqvConvertLumenNUCToCameraNUC(File(base).c_str(), File(base).c_str()), TQV_ERROR);
    EXPECT_FALSE(Exists(std::string(base) + ".nuc"));
  }
  EXPECT_EQ(tqvConvertLumenNUCToCameraNUCEx(File("d").c_str(), File("x").c_str(), nullptr),
            TQV_ERROR);
}

// Camera -> desktop -> camera over every gain field: at most 0xFFFC comes back exactly, above it
// as 0xFFFC; offsets and flags unchanged.
TEST_F(Lumen, CameraDesktopCameraRoundTrip) {
  std::vector<std::uint32_t> words(256 * 256);
  for (std::uint32_t i = 0; i < words.size(); ++i)
    words[i] = i << 16 | ((i * 0x9E37) & 0xFFFF);
  Write(fmt_test::CameraFile(fmt_test::WindowLines(0, 0, 256, 256, 256, 256), words), "a.nuc");
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
  Bytes expected = V1Header(2, 4, 3);
  expected.insert(expected.end(), {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1});
  EXPECT_EQ(testutil::ReadFile(File("map.sbp")), expected);
  const std::uint16_t outside[] = {0, 0, 0, 3};
  EXPECT_EQ(tqvSaveBplAsLumenSbp(File("out").c_str(), 4, 3, outside, 2), TQV_ERROR);
  EXPECT_FALSE(Exists("out.sbp"));
  ASSERT_EQ(tqvSaveBplAsLumenSbp(File("empty.SBP").c_str(), 2, 2, nullptr, 0), TQV_OK);
  expected = V1Header(2, 2, 2);
  expected.resize(26 + 4, 0);
  EXPECT_EQ(testutil::ReadFile(File("empty.SBP")), expected);
  EXPECT_EQ(tqvSaveBplAsLumenSbp(File("null").c_str(), 2, 2, nullptr, 1), TQV_ERROR);
}

TEST_F(Lumen, PathsThatDoNotFitAreRefused) {
  const std::string tooLong = File(std::string(formats::kMaxPath + 100, 'p'));
  const std::uint16_t pixel[] = {0, 0};
  tqvSNUCInfo info;
  tqvDefaultNUCInfo(&info);
  WriteDesktopFiles(File("d"));
  EXPECT_EQ(tqvConvertCameraNUCToLumenNUC(tooLong.c_str(), File("x").c_str()), TQV_ERROR);
  EXPECT_EQ(tqvConvertCameraNUCToLumenNUC(File("x").c_str(), tooLong.c_str()), TQV_ERROR);
  EXPECT_EQ(tqvConvertLumenNUCToCameraNUC(tooLong.c_str(), File("x").c_str()), TQV_ERROR);
  EXPECT_EQ(tqvConvertLumenNUCToCameraNUC(File("d").c_str(), tooLong.c_str()), TQV_ERROR);
  EXPECT_EQ(tqvConvertLumenNUCToCameraNUCEx(File("d").c_str(), tooLong.c_str(), &info), TQV_ERROR);
  EXPECT_EQ(tqvSaveBplAsLumenSbp(tooLong.c_str(), 1, 1, pixel, 1), TQV_ERROR);

  // The name buffer's edge: the longest path that still takes its extension.
  char out[formats::kMaxPath];
  const std::string fits(formats::kMaxPath - 5, 'n');
  ASSERT_TRUE(formats::PathWithExtension(fits.c_str(), ".nuc", out));
  EXPECT_EQ(std::string(out), fits + ".nuc");
  EXPECT_FALSE(formats::PathWithExtension((fits + "n").c_str(), ".nuc", out));
  const std::string hasIt = std::string(formats::kMaxPath - 5, 'n') + ".Nuc";
  ASSERT_TRUE(formats::PathWithExtension(hasIt.c_str(), ".nuc", out));
  EXPECT_EQ(std::string(out), hasIt);
  ASSERT_TRUE(formats::PathWithExtension("abc", ".nuc", out));
  EXPECT_STREQ(out, "abc.nuc");
}

}  // namespace
