// Correction files and frame headers through tqv, checked against the library and libpng.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>

#include "tool.h"
#include "tqvSDK.h"

namespace clitest {
namespace {

constexpr std::uint16_t kWidth = 40, kHeight = 30;

// A camera correction file of known words: gains up to 0xFFFC (which survive the desktop
// tool's floats exactly), every flag code, offsets of both signs.
std::vector<std::uint32_t> WriteNuc(const std::string& path) {
  tqvSNUCInfo info{};
  tqvDefaultNUCInfo(&info);
  info.windowWidth = kWidth;
  info.windowHeight = kHeight;
  info.windowOffsetX = 16;
  std::snprintf(info.cameraSerial, sizeof info.cameraSerial, "SN-4711");
  std::vector<std::uint32_t> words(kWidth * kHeight);
  const std::vector<zel::u8> noise = testutil::RandomBytes(words.size() * 4, 11);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::uint32_t gain = (noise[4 * i] << 8 | noise[4 * i + 1]) % 0xFFFD;
    const std::uint32_t offset = (noise[4 * i + 2] << 6 | noise[4 * i + 3] >> 2) & 0x3FFF;
    const std::uint32_t flag = i % 7 == 0 ? i % 4 : 0;
    words[i] = gain << 16 | offset << 2 | flag;
  }
  EXPECT_EQ(tqvSaveNUCFile(path.c_str(), &info, words.data()), TQV_OK);
  return words;
}

std::vector<std::uint32_t> LoadTable(const std::string& path, tqvSNUCInfo& info) {
  std::uint32_t* table = nullptr;
  EXPECT_EQ(tqvLoadNUCFile(path.c_str(), &info, &table), TQV_OK) << path;
  std::vector<std::uint32_t> words;
  if (table) words.assign(table, table + std::size_t{info.windowWidth} * info.windowHeight);
  std::free(table);
  return words;
}

struct Png {
  std::uint32_t width = 0, height = 0;
  int depth = 0, colour = -1;
  std::vector<std::uint8_t> pixels;
};

Png ReadPng(const std::string& path) {
  Png png;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << "libpng cannot read " << path << ": " << image.message;
    return png;
  }
  png.width = image.width;
  png.height = image.height;
  png.colour = static_cast<int>(image.format);
  image.format = PNG_FORMAT_GRAY;
  png.pixels.resize(PNG_IMAGE_SIZE(image));
  EXPECT_TRUE(png_image_finish_read(&image, nullptr, png.pixels.data(), 0, nullptr));
  return png;
}

TEST(CliNuc, InfoShowsTheHeader) {
  testutil::TempDir dir;
  WriteNuc(dir.File("a.nuc"));
  const Outcome run = Tool({"nuc", "info", dir.File("a.nuc"), "--json"});
  ASSERT_EQ(run.exit, 0) << run.err;
  const Json info = Json::parse(run.out);
  EXPECT_EQ(info["windowWidth"], kWidth);
  EXPECT_EQ(info["windowHeight"], kHeight);
  EXPECT_EQ(info["windowOffsetX"], 16);
  EXPECT_EQ(info["cameraSerial"], "SN-4711");
  EXPECT_EQ(info.size(), 52u) << "every field of the record";

  const Outcome text = Tool({"nuc", "info", dir.File("a.nuc")});
  EXPECT_NE(text.out.find("cameraSerial:"), std::string::npos);
  EXPECT_NE(text.out.find("SN-4711\n"), std::string::npos);

  testutil::WriteFile(dir.File("not.nuc"), {'h', 'e', 'l', 'l', 'o'});
  const Outcome bad = Tool({"nuc", "info", dir.File("not.nuc")});
  EXPECT_EQ(bad.exit, 1);
  EXPECT_NE(bad.err.find("not a readable correction file"), std::string::npos);
}

TEST(CliNuc, ConvertToTheDesktopToolAndBackKeepsTheTable) {
  testutil::TempDir dir;
  const std::vector<std::uint32_t> words = WriteNuc(dir.File("a.nuc"));
  const Outcome there = Tool({"nuc", "convert", dir.File("a.nuc"), dir.File("tool.scg")});
  ASSERT_EQ(there.exit, 0) << there.err;
  for (const char* extension : {".scg", ".sco", ".sbp"})
    EXPECT_TRUE(std::filesystem::exists(dir.File(std::string("tool") + extension))) << extension;

  const Outcome back = Tool(
      {"nuc", "convert", dir.File("tool.sbp"), dir.File("b.nuc"), "--like", dir.File("a.nuc")});
  ASSERT_EQ(back.exit, 0) << back.err;
  tqvSNUCInfo info{};
  EXPECT_EQ(LoadTable(dir.File("b.nuc"), info), words);
  EXPECT_EQ(info.windowOffsetX, 16) << "the header of the --like file";
  EXPECT_STREQ(info.cameraSerial, "SN-4711");

  const Outcome plain = Tool({"nuc", "convert", dir.File("tool.sco"), dir.File("c.nuc")});
  ASSERT_EQ(plain.exit, 0) << plain.err;
  EXPECT_EQ(LoadTable(dir.File("c.nuc"), info), words);

  struct Mistake {
    std::vector<std::string> arguments;
    int exit;
  };
  for (const Mistake& test : std::vector<Mistake>{
           {{"nuc", "convert", dir.File("a.txt"), dir.File("b.txt")}, 2},
           {{"nuc", "convert", dir.File("a.nuc"), dir.File("b.nuc")}, 2},
           {{"nuc", "convert", dir.File("a.nuc"), dir.File("t.scg"), "--like", dir.File("a.nuc")},
            2},
           {{"nuc", "convert", dir.File("missing.scg"), dir.File("m.nuc")}, 1},
       }) {
    SCOPED_TRACE(testing::PrintToString(test.arguments));
    const Outcome run = Tool(test.arguments);
    EXPECT_EQ(run.exit, test.exit);
    EXPECT_FALSE(run.err.empty());
  }
}

TEST(CliNuc, ImageIsAPngOfTheTablesSizeSpanningBlackToWhite) {
  testutil::TempDir dir;
  const std::vector<std::uint32_t> words = WriteNuc(dir.File("a.nuc"));
  struct Case {
    const char* flag;
    std::uint32_t (*value)(std::uint32_t word);  // what the grey level follows
  };
  const Case cases[] = {
      {"--gain", [](std::uint32_t w) { return w >> 16; }},
      {"--offset", [](std::uint32_t w) { return (w >> 2 & 0x3FFF) ^ 0x2000; }},  // sign-biased
      {"--bad", [](std::uint32_t w) { return w & 3; }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.flag);
    const std::string out = dir.File(std::string(test.flag + 2) + ".png");
    const Outcome run = Tool({"nuc", "image", dir.File("a.nuc"), test.flag, out});
    ASSERT_EQ(run.exit, 0) << run.err;
    const Png png = ReadPng(out);
    EXPECT_EQ(png.width, kWidth);
    EXPECT_EQ(png.height, kHeight);
    EXPECT_EQ(png.colour, PNG_FORMAT_GRAY);
    ASSERT_EQ(png.pixels.size(), words.size());
    // Among good pixels (flag 0) the grey levels keep the order of the values, from 0 to 255.
    std::size_t lowest = 0, highest = 0;
    bool first = true;
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (std::string(test.flag) != "--bad" && (words[i] & 3)) continue;
      if (first || test.value(words[i]) < test.value(words[lowest])) lowest = i;
      if (first || test.value(words[i]) > test.value(words[highest])) highest = i;
      first = false;
    }
    EXPECT_EQ(png.pixels[lowest], 0);
    EXPECT_EQ(png.pixels[highest], 255);
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
      if (std::string(test.flag) != "--bad" && ((words[i] | words[i + 1]) & 3)) continue;
      if (test.value(words[i]) < test.value(words[i + 1])) {
        EXPECT_LE(png.pixels[i], png.pixels[i + 1]) << i;
      }
    }
  }
  EXPECT_EQ(Tool({"nuc", "image", dir.File("a.nuc"), dir.File("x.png")}).exit, 2)
      << "a table must be chosen";
  EXPECT_EQ(Tool({"nuc", "image", dir.File("a.nuc"), "--gain", "--bad", dir.File("x.png")}).exit, 2)
      << "one table";
  EXPECT_EQ(Tool({"nuc", "image", dir.File("a.nuc"), "--gain", dir.File("no/dir/x.png")}).exit, 1);
}

// 128-byte headers with a known clock flag, time code and temperature.
std::vector<zel::u8> Header(std::uint8_t hour, std::uint16_t centiKelvin) {
  std::vector<zel::u8> bytes(128, 0);
  bytes[0x01] = 1;                                                      // the 11.1 MHz clock
  const std::uint32_t time = std::uint32_t{hour} << 12 | 5u << 6 | 9u;  // hh:05:09
  bytes[0x02] = static_cast<zel::u8>(time >> 16);
  bytes[0x03] = static_cast<zel::u8>(time >> 24);
  bytes[0x04] = static_cast<zel::u8>(time);
  bytes[0x05] = static_cast<zel::u8>(time >> 8);
  bytes[0x0C] = static_cast<zel::u8>(centiKelvin);
  bytes[0x0D] = static_cast<zel::u8>(centiKelvin >> 8);
  return bytes;
}

TEST(CliHeader, DecodesFilesOfHeadersAndOfFrames) {
  testutil::TempDir dir;
  std::vector<zel::u8> headers;
  for (std::uint8_t hour : {1, 2, 3}) {
    const std::vector<zel::u8> one = Header(hour, static_cast<std::uint16_t>(29315 + hour * 100));
    headers.insert(headers.end(), one.begin(), one.end());
  }
  testutil::WriteFile(dir.File("headers.bin"), headers);
  const Outcome run = Tool({"header", dir.File("headers.bin"), "--json"});
  ASSERT_EQ(run.exit, 0) << run.err;
  const Json decoded = Json::parse(run.out);
  ASSERT_EQ(decoded.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    tqvSHeader expected{};
    ASSERT_EQ(tqvDecodeHeader(&expected, headers.data() + 128 * i), TQV_OK);
    // Copied out: the record is packed, and its fields may not be bound to references.
    const std::uint32_t clock = expected.clockFrequency;
    const float temperature = expected.temperature1;
    const Json& header = decoded[i]["header"];
    EXPECT_EQ(decoded[i]["offset"], 128 * i);
    EXPECT_EQ(header["clockFrequency"], clock);
    EXPECT_EQ(header["hour"], i + 1);
    EXPECT_EQ(header["minute"], 5);
    EXPECT_EQ(header["second"], 9);
    EXPECT_FLOAT_EQ(header["temperature1"].get<float>(), temperature);
    EXPECT_EQ(header.size(), 59u) << "every field of the record";
  }

  // Frames of 1000 bytes with a header at the start of each.
  std::vector<zel::u8> frames(3000, 0xAB);
  for (std::size_t frame = 0; frame < 3; ++frame)
    std::copy(headers.begin() + 128 * frame, headers.begin() + 128 * (frame + 1),
              frames.begin() + 1000 * frame);
  testutil::WriteFile(dir.File("frames.raw"), frames);
  const Outcome strided =
      Tool({"header", dir.File("frames.raw"), "--stride", "1000", "--count", "2", "--json"});
  ASSERT_EQ(strided.exit, 0) << strided.err;
  const Json two = Json::parse(strided.out);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1]["offset"], 1000);
  EXPECT_EQ(two[1]["header"]["hour"], 2);

  const Outcome text = Tool({"header", dir.File("headers.bin"), "--count", "1"});
  EXPECT_NE(text.out.find("header at byte 0\n"), std::string::npos) << text.out;
  EXPECT_EQ(text.out.find("header at byte 128"), std::string::npos);

  testutil::WriteFile(dir.File("short.bin"), std::vector<zel::u8>(100, 0));
  EXPECT_EQ(Tool({"header", dir.File("short.bin")}).exit, 1);
  EXPECT_EQ(Tool({"header", dir.File("headers.bin"), "--stride", "64"}).exit, 2);
  EXPECT_EQ(Tool({"header", dir.File("missing.bin")}).exit, 1);
}

}  // namespace
}  // namespace clitest
