// The camera correction file: header rules, loading, windowed reading, saving, the word.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "formats/helpers.h"
#include "tqvSDK.h"

namespace {

using fmt_test::Bytes;
using fmt_test::CameraFile;
using fmt_test::Key;
using fmt_test::WindowLines;
using fmt_test::operator+;

class NucFile : public ::testing::Test {
 protected:
  std::string Write(const Bytes& bytes, const std::string& name = "t.nuc") {
    const std::string path = m_dir.File(name);
    testutil::WriteFile(path, bytes);
    return path;
  }
  testutil::TempDir m_dir;
};

// Every key in the order the writer puts them, each with a value other than the default and
// formatted as the writer formats it: loaded, saved (with the compressed flag set, which saving
// ignores: the data is written as given) and compared byte for byte. A key the reader misses or
// the writer mangles shows as a difference.
TEST_F(NucFile, SaveWritesBackWhatWasLoaded) {
  // clang-format off
  const std::vector<std::string> lines = {
      "cameraType TQV-1280", "cameraSerial SN 42", "fpgaFirmwareNumber 4000000000",
      "fpgaVersion 255", "fpgaMajor 2", "fpgaMinor 3", "windowOffsetX 16", "windowOffsetY 8",
      "windowWidth 5", "windowHeight 3", "maxWidth 1280", "maxHeight 1024", "comprs none",
      "invert true", "revert true", "readoutMode 4", "integrationWidth 123456", "frameWidth 7",
      "filterID 9", "fpaBiasCount 2", "fpaBias -1.250000", "fpaBias1 -0.125000", "fpaGainLevel 3",
      "digitalOffset 100.750000", "digitalGain 0.500000", "globalOffsetVoltage -3.000000",
      "lens 25mm", "lensFilter ND", "skimmingEnabled true", "skimmingVoltage 1.500000", "color 1",
      "nucType 2", "nucSource 3", "nucNumFrames 99", "nucDetectBadPixels false",
      "nucDetectTwinklers false", "nucTwinklerNumFrames 7", "nucTwinklerDelta 65535",
      "nucADMin 1", "nucADMax 2", "nucGainMin 0.250000", "nucGainMax 3.750000", "bpTotal 100",
      "bpTwinkling 5", "bpUser 10", "bpFactory 10", "bpNew 1", "bpAboveGainMax 11",
      "bpBelowGainMin 12", "bpAboveADMaxSrc1 13", "bpBelowADMinSrc1 14", "bpAboveADMaxSrc2 15",
      "bpBelowADMinSrc2 77"};
  // clang-format on
  std::vector<std::uint32_t> words(15);
  for (std::size_t i = 0; i < words.size(); ++i)
    words[i] = 0x9E3779B9u * (i + 1);
  const Bytes file = CameraFile(lines, words);
  tqvSNUCInfo info;
  std::uint32_t* table = nullptr;
  ASSERT_EQ(tqvLoadNUCFile(Write(file).c_str(), &info, &table), TQV_OK);
  info.compressed = true;
  const std::uint32_t saved = tqvSaveNUCFile(m_dir.File("s.nuc").c_str(), &info, table);
  std::free(table);
  ASSERT_EQ(saved, TQV_OK);
  EXPECT_EQ(testutil::ReadFile(m_dir.File("s.nuc")), file);
}

TEST_F(NucFile, SaveCutsLongTextsAndRefusesWhatCannotBeWritten) {
  tqvSNUCInfo info;
  tqvDefaultNUCInfo(&info);
  info.windowWidth = info.windowHeight = 1;
  std::memset(info.cameraSerial, 'S', sizeof info.cameraSerial);  // no terminating NUL
  info.lens[0] = info.lensFilter[0] = '\0';  // the header text has room for 1024 bytes only
  const std::uint32_t word = 5;
  const std::string path = m_dir.File("c.nuc");
  ASSERT_EQ(tqvSaveNUCFile(path.c_str(), &info, &word), TQV_OK);
  tqvSNUCInfo read;
  ASSERT_EQ(tqvReadNUCFileInfo(path.c_str(), &read), TQV_OK);
  EXPECT_EQ(std::string(read.cameraSerial), std::string(63, 'S'));

  // Values this long do not fit the 1024-byte header text.
  info.fpaBias = info.fpaBias1 = info.digitalOffset = info.digitalGain = 3e38f;
  info.globalOffsetVoltage = info.skimmingVoltage = info.nucGainMin = info.nucGainMax = -3e38f;
  EXPECT_EQ(tqvSaveNUCFile(m_dir.File("big.nuc").c_str(), &info, &word), TQV_ERROR);
  tqvDefaultNUCInfo(&info);
  EXPECT_EQ(tqvSaveNUCFile(m_dir.File("null.nuc").c_str(), &info, nullptr), TQV_ERROR);
  EXPECT_EQ(tqvSaveNUCFile((m_dir.path() + "/no/such/dir.nuc").c_str(), &info, &word), TQV_ERROR);
}

// Header reading rules, most of them at once in one file built here.
TEST_F(NucFile, HeaderRules) {
  const std::string cut = "lens " + std::string(122, 'x') + "windowHeight 33";
  // clang-format off
  const std::vector<std::string> lines = {
      "WINDOWWIDTH 12", "windowwidth 13", "fil\rterID 4\r\r", "bpTotal 10", "bpUser 3",
      "bpFactory 5", "invert yes", "revert 0", "skimmingEnabled maybe", "nucDetectBadPixels No",
      "nucDetectTwinklers 5", "comprs GZIP", "nonsense 1", "maxWidth", "color 3",
      "readoutMode 300", "maxHeight 65537", "fpaBias -1.5e1", "digitalGain 1e40",
      "nucGainMin 0.000001", "cameraSerial " + std::string(100, 'z'), cut};
  // clang-format on
  tqvSNUCInfo i;
  ASSERT_EQ(tqvReadNUCFileInfo(
                Write(CameraFile(WindowLines(0, 0, 1, 1, 640, 512) + lines, {}, "\n")).c_str(), &i),
            TQV_OK);
  // clang-format off
  fmt_test::ExpectValues({TQV_V(i.windowWidth, 13), TQV_V(i.filterID, 4), TQV_V(i.bpUser, 5),
      TQV_V(i.bpNew, 5), TQV_V(i.invert, 1), TQV_V(i.revert, 0), TQV_V(i.skimmingEnabled, 0),
      TQV_V(i.nucDetectBadPixels, 0), TQV_V(i.nucDetectTwinklers, 1), TQV_V(i.compressed, 1),
      TQV_V(i.maxWidth, 640), TQV_V(i.color, 3), TQV_V(i.readoutMode, 44), TQV_V(i.maxHeight, 1),
      TQV_V(i.fpaBias, -15), TQV_V(i.nucGainMin, 1e-6), TQV_V(i.windowHeight, 33)});
  // clang-format on
  EXPECT_EQ(i.digitalGain, std::numeric_limits<float>::infinity());
  EXPECT_EQ(std::string(i.cameraSerial), std::string(63, 'z'));
  EXPECT_EQ(std::string(i.lens), std::string(63, 'x'));  // the rest of the line was a line

  Bytes upper =
      CameraFile(WindowLines(0, 0, 1, 1, 640, 512) +
                     std::vector<std::string>{"bpNew 2", "comprs gzip2", "data", "color 9"},
                 {});
  std::memcpy(upper.data(), "HDSIZE AUTO", 11);
  // Lines are read from the start of the file: this first line's key is "HDSIZE".
  upper.insert(upper.begin() + 11, {'c', 'o', 'l', 'o', 'r', ' ', '7'});
  ASSERT_EQ(tqvReadNUCFileInfo(Write(upper).c_str(), &i), TQV_OK);
  fmt_test::ExpectValues({TQV_V(i.bpNew, 2), TQV_V(i.compressed, 0), TQV_V(i.color, 0)});

  Bytes wrongStart = CameraFile(WindowLines(0, 0, 1, 1, 640, 512), {});
  wrongStart[10] = '0';
  const std::pair<const char*, Bytes> invalid[] = {
      {"other first bytes", wrongStart},
      {"empty file", {}},
      {"missing offset x", CameraFile({"windowOffsetY 0", "windowWidth 1", "windowHeight 1"}, {})},
      {"missing offset y", CameraFile({"windowOffsetX 0", "windowWidth 1", "windowHeight 1"}, {})},
      {"missing width", CameraFile({"windowOffsetX 0", "windowOffsetY 0", "windowHeight 1"}, {})},
      {"missing height", CameraFile({"windowOffsetX 0", "windowOffsetY 0", "windowWidth 1"}, {})},
      {"window key after DATA",
       CameraFile({"windowOffsetX 0", "windowOffsetY 0", "windowWidth 1", "DaTa", "windowHeight 1"},
                  {})},
  };
  for (const auto& [name, bytes] : invalid) {
    std::memset(&i, 0xEE, sizeof i);
    EXPECT_EQ(tqvReadNUCFileInfo(Write(bytes).c_str(), &i), TQV_ERROR) << name;
    EXPECT_EQ(i.windowWidth, 0xEEEE) << name;  // left alone
  }
  EXPECT_EQ(tqvReadNUCFileInfo(m_dir.File("missing.nuc").c_str(), &i), TQV_ERROR);
  EXPECT_EQ(tqvReadNUCFileInfo(nullptr, &i), TQV_ERROR);
}

// (Loading a good file is part of SaveWritesBackWhatWasLoaded.)
TEST_F(NucFile, LoadRefusals) {
  const std::vector<std::uint32_t> words(6, 7);
  const Bytes good = CameraFile(WindowLines(2, 4, 3, 2, 640, 512), words);
  tqvSNUCInfo info;
  std::uint32_t* table = nullptr;
  Bytes shortData = good;
  shortData.pop_back();
  const std::vector<std::pair<const char*, Bytes>> refused = {
      {"short data", shortData},
      {"gzip",
       CameraFile(WindowLines(0, 0, 3, 2, 640, 512) + std::vector<std::string>{"comprs gzip"},
                  words)},
      {"no window", CameraFile({"maxWidth 640"}, words)},
      // 65535 x 65535 words claimed, 24 bytes present: refused without reserving 16 GiB.
      {"huge window", CameraFile(WindowLines(0, 0, 65535, 65535, 65535, 65535), words)},
  };
  for (const auto& [name, bytes] : refused) {
    SCOPED_TRACE(name);
    table = reinterpret_cast<std::uint32_t*>(&info);
    EXPECT_EQ(tqvLoadNUCFile(Write(bytes).c_str(), &info, &table), TQV_ERROR);
    EXPECT_EQ(table, reinterpret_cast<std::uint32_t*>(&info));
  }
  EXPECT_EQ(tqvLoadNUCFile(m_dir.File("missing").c_str(), &info, &table), TQV_ERROR);
  EXPECT_EQ(tqvLoadNUCFile(Write(good).c_str(), &info, nullptr), TQV_ERROR);
}

// A pipe's length is unknown: the table grows only as data arrives, and a short stream fails.
TEST_F(NucFile, LoadFromAPipe) {
  const std::string fifo = m_dir.File("pipe.nuc");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  constexpr std::size_t kClaimed = std::size_t{64} << 20;  // 4096 x 4096 words
  for (std::size_t present : {std::size_t{20} << 20, kClaimed}) {
    std::thread writer([&] {
      const Bytes head = CameraFile(WindowLines(0, 0, 4096, 4096, 4096, 4096), {});
      const Bytes chunk(std::size_t{1} << 20, 0xAB);
      std::FILE* f = std::fopen(fifo.c_str(), "wb");
      if (!f) return;
      std::fwrite(head.data(), 1, head.size(), f);
      for (std::size_t n = 0; n < present; n += chunk.size())
        std::fwrite(chunk.data(), 1, chunk.size(), f);
      std::fclose(f);
    });
    tqvSNUCInfo info;
    std::uint32_t* table = nullptr;
    const std::uint32_t result = tqvLoadNUCFile(fifo.c_str(), &info, &table);
    writer.join();
    ASSERT_EQ(result, present == kClaimed ? TQV_OK : TQV_ERROR) << present;
    if (table) {
      EXPECT_EQ(table[kClaimed / 4 - 1], 0xABABABABu);
    }
    std::free(table);
  }
}

// The word stored for sensor position (column, row).
std::uint32_t SensorValue(int column, int row) {
  return static_cast<std::uint32_t>(row * 1000 + column);
}

struct Stored {
  int x, y, w, h, maxW, maxH;
  bool invert, revert;
  bool operator==(const Stored&) const = default;
};

Bytes StoredFile(const Stored& s) {
  std::vector<std::uint32_t> words;
  for (int r = 0; r < s.h; ++r) {
    for (int c = 0; c < s.w; ++c)
      words.push_back(SensorValue(s.x + c, s.y + r));
  }
  return CameraFile(WindowLines(s.x, s.y, s.w, s.h, s.maxW, s.maxH) +
                        std::vector<std::string>{Key("invert", s.invert), Key("revert", s.revert)},
                    words);
}

// Pixel by pixel: request coordinates are mirrored into the stored orientation where the flags
// differ, then looked up by sensor position.
std::vector<std::uint32_t> Reference(const Stored& s, int x, int y, int w, int h, bool invert,
                                     bool revert) {
  std::vector<std::uint32_t> out;
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      const int column = revert != s.revert ? s.maxW - 1 - (x + c) : x + c;
      const int row = invert != s.invert ? s.maxH - 1 - (y + r) : y + r;
      out.push_back(SensorValue(column, row));
    }
  }
  return out;
}

TEST_F(NucFile, WindowsInEveryOrientation) {
  struct Case {
    Stored s;
    int x, y, w, h;
    bool invert, revert;
  };
  std::vector<Case> cases;
  // A whole-sensor table stored in each orientation, read in each orientation.
  for (int stored = 0; stored < 4; ++stored) {
    for (int wanted = 0; wanted < 4; ++wanted) {
      for (auto [x, y, w, h] : {std::array{0, 0, 8, 6},
                                {1, 2, 3, 3},
                                {5, 0, 3, 1},
                                {0, 5, 8, 1},
                                {2, 1, 4, 5},
                                {0, 0, 1, 6}}) {
        cases.push_back({{0, 0, 8, 6, 8, 6, (stored & 1) != 0, (stored & 2) != 0},
                         x,
                         y,
                         w,
                         h,
                         (wanted & 1) != 0,
                         (wanted & 2) != 0});
      }
    }
  }
  // Rows far apart in a wide table, each read on its own; mirrored across the sensor.
  cases.push_back({{0, 0, 20000, 3, 20000, 3, false, false}, 19990, 0, 5, 3, true, true});
  // A stored sub-window: same orientation, and mirrored where the mirror stays inside it.
  const Stored sub{2, 1, 4, 4, 8, 6, false, false};
  cases.push_back({sub, 2, 1, 4, 4, false, false});
  cases.push_back({sub, 3, 2, 2, 3, false, false});
  cases.push_back({sub, 2, 1, 4, 4, true, true});
  cases.push_back({sub, 3, 1, 2, 4, false, true});
  std::string path;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    if (i == 0 || !(c.s == cases[i - 1].s)) path = Write(StoredFile(c.s));  // each file once
    SCOPED_TRACE(testing::Message() << "stored " << c.s.invert << c.s.revert << " wanted "
                                    << c.invert << c.revert << " window " << c.x << "," << c.y
                                    << " " << c.w << "x" << c.h << " of " << c.s.maxW);
    std::vector<std::uint32_t> table(c.w * c.h, 0xDEAD);
    tqvSNUCInfo info;
    ASSERT_EQ(tqvReadNUCFileTable(path.c_str(), table.data(), c.x, c.y, c.w, c.h, c.invert,
                                  c.revert, c.s.maxW, c.s.maxH, &info),
              TQV_OK);
    EXPECT_EQ(table, Reference(c.s, c.x, c.y, c.w, c.h, c.invert, c.revert));
    EXPECT_EQ(info.invert, c.s.invert);
  }
}

TEST_F(NucFile, WindowRefusals) {
  const Stored sub{2, 1, 4, 4, 8, 6, false, false};
  const std::string path = Write(StoredFile(sub));
  Bytes truncated = StoredFile(sub);
  truncated.resize(truncated.size() - 4);
  const std::string shortPath = Write(truncated, "short.nuc");
  // Columns 1..4, rows 1..3 and columns 3..6, rows 2..4 of 8 x 6: mirrored windows may leave them.
  const std::string asym = Write(StoredFile({1, 1, 4, 3, 8, 6, false, false}), "asym.nuc");
  const std::string asym2 = Write(StoredFile({3, 2, 4, 3, 8, 6, false, false}), "asym2.nuc");
  const std::string gzipPath =
      Write(CameraFile(WindowLines(2, 1, 4, 4, 8, 6) + std::vector<std::string>{"comprs gzip"},
                       std::vector<std::uint32_t>(16)),
            "gzip.nuc");
  struct Case {
    const char* name;
    const std::string* file;
    int x, y, w, h;
    bool invert, revert;
    int maxW, maxH;
  };
  const Case cases[] = {
      {"max width differs", &path, 2, 1, 4, 4, false, false, 9, 6},
      {"max height differs", &path, 2, 1, 4, 4, false, false, 8, 5},
      {"left of stored", &path, 1, 1, 2, 2, false, false, 8, 6},
      {"above stored", &path, 2, 0, 2, 2, false, false, 8, 6},
      {"right of stored", &path, 3, 1, 4, 2, false, false, 8, 6},
      {"below stored", &path, 2, 2, 2, 4, false, false, 8, 6},
      {"mirror lands right of stored", &asym, 1, 1, 2, 2, false, true, 8, 6},
      {"mirror lands below stored", &asym, 1, 1, 2, 2, true, false, 8, 6},
      {"mirror lands left of stored", &asym2, 5, 2, 2, 2, false, true, 8, 6},
      {"mirror lands above stored", &asym2, 3, 3, 2, 2, true, false, 8, 6},
      {"short data, whole", &shortPath, 2, 1, 4, 4, false, false, 8, 6},
      {"short data, window", &shortPath, 5, 4, 1, 1, false, false, 8, 6},
      {"compressed", &gzipPath, 2, 1, 4, 4, false, false, 8, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint32_t> table(16);
    EXPECT_EQ(tqvReadNUCFileTable(c.file->c_str(), table.data(), c.x, c.y, c.w, c.h, c.invert,
                                  c.revert, c.maxW, c.maxH, nullptr),
              TQV_ERROR);
  }
  // A height of 0 reads nothing.
  std::uint32_t untouched = 0xABCD;
  EXPECT_EQ(tqvReadNUCFileTable(path.c_str(), &untouched, 2, 1, 4, 0, false, false, 8, 6, nullptr),
            TQV_OK);
  EXPECT_EQ(untouched, 0xABCDu);
  EXPECT_EQ(tqvReadNUCFileTable(m_dir.File("none").c_str(), &untouched, 0, 0, 1, 1, false, false, 8,
                                6, nullptr),
            TQV_ERROR);
}

TEST(NucWord, EncodeAndDecode) {
  struct Case {
    std::int16_t offset;
    std::uint8_t flag;
    float gain;
    std::uint32_t word;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (const Case& c : {Case{-9000, 1, 5.0f, 0xFFFC8001}, Case{0, 0, 1.0f, 0x3FFF0000},
                        Case{8191, 3, 0.0f, 0x00007FFF}, Case{-1, 6, -1.0f, 0x0000FFFE},
                        Case{9000, 0, 4.0f, 0xFFFC7FFC}, Case{0, 0, 4.0001f, 0xFFFC0000},
                        Case{0, 0, nan, 0}, Case{0, 0, inf, 0xFFFC0000},
                        Case{-8192, 0, 0.5f, 0x1FFF8000}, Case{5, 2, 1e-9f, 0x00000016}}) {
    EXPECT_EQ(tqvEncodeNUC(c.offset, c.flag, c.gain), c.word) << c.offset << " " << c.gain;
  }
  float gain;
  std::uint16_t offset;
  std::uint8_t flag;
  EXPECT_EQ(tqvDecodeNUC(0xFFFC8001, &gain, &offset, &flag), TQV_OK);
  fmt_test::ExpectValues(
      {TQV_V(gain, 4.0), TQV_V(static_cast<std::int16_t>(offset), -8192), TQV_V(flag, 1)});
  tqvDecodeNUC(0x3FFF7FFE, &gain, &offset, &flag);
  fmt_test::ExpectValues({TQV_V(gain, 1.0), TQV_V(offset, 8191), TQV_V(flag, 2)});
}

// Every gain field decodes to field / 16383 and, like every offset, survives a decode and
// re-encode; gains above 4.0 saturate.
TEST(NucWord, EveryFieldRoundTrips) {
  for (std::uint32_t field = 0; field <= 0xFFFF; ++field) {
    const std::uint32_t word = field << 16 | ((field * 4) & 0xFFFC) | (field & 3);
    float gain;
    std::uint16_t offset;
    std::uint8_t flag;
    tqvDecodeNUC(word, &gain, &offset, &flag);
    ASSERT_EQ(gain, static_cast<float>(field / 16383.0)) << field;
    const std::uint32_t back = tqvEncodeNUC(static_cast<std::int16_t>(offset), flag, gain);
    ASSERT_EQ(back, field <= 0xFFFC ? word : (0xFFFCu << 16 | (word & 0xFFFF))) << field;
  }
}

}  // namespace
