// What a camera offers from its identity: gain level names, video formats, zoom factors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/tables/tables.h"

namespace {

using Codes = std::vector<int>;

Codes AsCodes(std::span<const u8> span) { return Codes(span.begin(), span.end()); }

TEST(Firmware, NewerThanThreeThree) {
  struct Case {
    u16 major, minor;
    bool isNew;
  };
  const Case cases[] = {{0, 0, false}, {3, 3, false}, {3, 4, true},  {2, 9, false},
                        {3, 0, false}, {4, 0, true},  {3, 99, true}, {65535, 0, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(tables::IsNewFirmware(c.major, c.minor), c.isNew) << c.major << "." << c.minor;
  }
}

TEST(GainLevels, Names) {
  struct Case {
    u8 readout, level;
    u32 result;
    const char* text;
  };
  const Case cases[] = {
      {10, 0, 0, "High"},  {10, 1, 0, "Low"},       {10, 2, 166, nullptr}, {16, 1, 0, "Low"},
      {17, 0, 0, "High"},  {18, 1, 0, "Low"},       {18, 2, 166, nullptr}, {19, 0, 0, "High"},
      {19, 1, 0, "Med"},   {19, 2, 0, "Low"},       {19, 3, 166, nullptr}, {20, 1, 0, "Med"},
      {20, 2, 0, "Low"},   {20, 255, 166, nullptr}, {9, 0, 2, nullptr},    {9, 5, 2, nullptr},
      {15, 0, 2, nullptr}, {21, 0, 2, nullptr},     {0, 0, 2, nullptr},    {255, 0, 2, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("readout " + std::to_string(c.readout) + " level " + std::to_string(c.level));
    const char* text = "untouched";
    EXPECT_EQ(tables::GainLevelNameFor(c.readout, c.level, &text), c.result);
    EXPECT_STREQ(text, c.text ? c.text : "untouched");
  }
}

// One case per row of the decision table, and the boundaries between rows. (Which camera types
// form the board-dependent family shows in the rows of the other boards.)
TEST(VideoFormats, DecisionTable) {
  struct Case {
    const char* row;
    u8 board, cameraType, subtype;
    u16 major, minor;
    Codes codes;
  };
  const Case cases[] = {
      {"frame grabber", 6, 3, 1, 4, 0, {5}},
      {"frame grabber, any camera", 6, 20, 1, 0, 0, {5}},
      {"TQV2, type 13", 1, 13, 1, 0, 0, {12, 10, 5, 13, 11, 8}},
      {"TQV2, type 14", 1, 14, 1, 0, 0, {12, 10, 5, 13, 11, 8}},
      {"TQV2, type 3", 1, 3, 30, 0, 0, {0, 3, 1, 4, 2, 6, 12, 10, 5, 13, 11, 8}},
      {"TQV2, type 11 is not in the family", 1, 11, 1, 0, 0, {3, 4}},
      {"type 3", 0, 3, 16, 0, 0, {0, 3, 1, 4, 2}},
      {"type 3, subtype 29", 0, 3, 29, 0, 0, {0, 3, 1, 4, 2}},
      {"type 3, subtype 30", 0, 3, 30, 0, 0, {0, 3, 1, 4}},
      {"type 3, subtype 35", 4, 3, 35, 0, 0, {0, 3, 1, 4}},
      {"type 3, subtype 36", 0, 3, 36, 0, 0, {0, 3, 1, 4, 2}},
      {"type 13", 4, 13, 9, 0, 0, {12, 10, 13, 11}},
      {"type 4", 0, 4, 2, 0, 0, {0, 3, 1, 4, 2, 5, 8}},
      {"type 14", 4, 14, 9, 0, 0, {0, 3, 1, 4, 2, 5, 8}},
      {"type 9, WZN 3.4", 3, 9, 21, 3, 4, {101, 102, 12, 10, 13, 11}},
      {"type 9, WZN 3.3", 3, 9, 21, 3, 3, {3, 4, 12, 10, 13, 11}},
      {"type 10, WZN 4.0", 3, 10, 21, 4, 0, {101, 102, 12, 10, 13, 11}},
      {"type 10, WZN 2.9", 3, 10, 21, 2, 9, {3, 4, 12, 10, 13, 11}},
      {"type 9, version counts on WZN only", 4, 9, 1, 9, 9, {3, 4, 12, 10, 13, 11}},
      {"type 10, version counts on WZN only", 0, 10, 1, 4, 0, {3, 4, 12, 10, 13, 11}},
      {"type 11", 2, 11, 1, 0, 0, {3, 4}},
      {"type 12", 2, 12, 1, 0, 0, {3, 4, 12, 10, 13, 11}},
      {"type 16", 2, 16, 1, 0, 0, {101, 102, 12, 10}},
      {"type 16 on WZN, old firmware", 3, 16, 1, 1, 0, {101, 102, 12, 10}},
      {"type 17", 5, 17, 1, 0, 0, {101, 102, 12, 10, 13, 11}},
      {"type 20", 3, 20, 1, 3, 3, {101, 102, 12, 10, 13, 11}},
      {"type 7", 4, 7, 1, 0, 0, {0, 3, 1, 4}},
      {"unknown type", 1, 200, 1, 0, 0, {0, 3, 1, 4}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AsCodes(tables::VideoFormatsFor(c.board, c.cameraType, c.subtype, c.major, c.minor)),
              c.codes)
        << c.row;
  }
}

TEST(ZoomFactors, DecisionTable) {
  struct Case {
    const char* row;
    u8 board;
    bool legacy;
    u16 major, minor;
    Codes codes;
  };
  const Case cases[] = {
      {"WZN 3.4", 3, false, 3, 4, {1, 5}},
      {"WZN 3.3", 3, false, 3, 3, {1, 4, 2, 3}},
      {"WZN 5.0, legacy flag ignored", 3, true, 5, 0, {1, 5}},
      {"WZN 1.0, legacy flag ignored", 3, true, 1, 0, {1, 4, 2, 3}},
      {"Birch 3.4", 4, false, 3, 4, {1, 5}},
      {"Birch 3.3", 4, false, 3, 3, {5}},
      {"Birch 3.3, legacy flag ignored", 4, true, 3, 3, {5}},
      {"TQV2, legacy", 1, true, 0, 0, {1, 2, 3}},
      {"TQV2", 1, false, 0, 0, {0, 1, 2, 3}},
      {"Cedar, version ignored", 5, false, 9, 9, {0, 1, 2, 3}},
      {"frame grabber, legacy", 6, true, 9, 9, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AsCodes(tables::ZoomFactorsFor(c.board, c.legacy, c.major, c.minor)), c.codes)
        << c.row;
  }
}

}  // namespace
