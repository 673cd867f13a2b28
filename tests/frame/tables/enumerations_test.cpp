// The Text/Enum pairs: every code's text, the way back, and the matching rules.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "tqvSDK.h"

namespace {

struct Pair {
  const char* name;
  const char* (*text)(uint32_t);
  uint32_t (*code)(const char*);
  bool anyCase;
  std::vector<const char*> texts;  // indexed by code; null where a code has no text
};

#define PAIR(name) #name, tqv##name##Text, tqv##name##Enum

// clang-format off
const std::vector<Pair>& Pairs() {
  static const std::vector<Pair> pairs = {
      {PAIR(PresetSequencingMode), false, {"Single Preset", "Preset Sequencing", "Superframing"}},
      {PAIR(FrameSyncMode), false, {"Integration", "Readout"}},
      {PAIR(FrameSyncSource), false, {"Internal", "External", "Video", "TriLevelSync"}},
      {PAIR(Polarity), false, {"Active Low", "Active High"}},
      {PAIR(TriggerSource), false, {"Internal", "External", "Software", "IRIG"}},
      {PAIR(TriggerMode), false, {"Free Run", "Triggered Free Run", "Triggered Sequence", "Triggered Preset Advance"}},
      {PAIR(IRIGLatchSource), false, {"Frame Start", "Integration Start", "Integration End"}},
      {PAIR(SyncOutSource), false, {"Integration Start", "Frame Start", "Saturated Flag"}},
      {PAIR(FlagState), true, {"Stowed", "InFOV"}},
      {PAIR(FOV), true, {"Narrow", "Wide"}},
      {PAIR(VideoFormat), false, {"NTSC", "PAL", "SVGA", "NTSC-SP", "PAL-SP", "720P60Hz", "SXGA", "1080P24Hz",
                                  "1080P30Hz", "1080P60Hz", "720P599Hz", "1080P299Hz", "720P50Hz", "1080P25Hz"}},
      {PAIR(VideoUpdateRate), false, {"Frame", "Field"}},
      {PAIR(VideoPosition), false, {"FPA", "Center", "Offset"}},
      {PAIR(VideoTemporalFilter), false, {"None", "4-Tap", nullptr, "4-Tap Motion Adaptive"}},
      {PAIR(VideoZoomFactor), false, {"1/2x", "1x", "2x", "4x", "4/3x", "BestFit"}},
      {PAIR(VideoAGCMethod), false, {"Plateau", "DDE", "Linear", "Manual"}},
      {PAIR(NUCType), false, {"One Point", "Two Point", "Update Offset"}},
      {PAIR(NUCSource), false, {"External", "Internal"}},
      {PAIR(NUCFlagSetpointType), false, {"Delta", "Fixed"}},
      {PAIR(BadPixelCorrectionMethod), false, {"Two-Point Gradient", "Nearest Neighbor", "None"}},
      {PAIR(AutoFocusROIPosition), false, {"Center", "Top-Left", "Top-Right", "Bottom-Left", "Bottom-Right"}},
      {PAIR(GigEPreset), false, {"0", "1", "2", "3", "All"}},
      {PAIR(CoolerType), false, {"NUC flag", "Detector", "Undetermined"}},
      {PAIR(CameraLinkType), false, {"Base", "Full"}},
      {PAIR(BoardType), true, {"TQV1", "TQV2", "Alder", "WZN", "Birch", "Cedar"}},
      {PAIR(SsdState), false, {"Disarmed", "Armed", "Triggered", "Complete", "Playing", "Saving", "Paused",
                               "Formatting", "Loading", "RecordPaused", "MovieLoaded", "Arming", "RequestAutoDownload"}},
      {PAIR(LensCoverState), true, {"Open", "Closed", "Unknown"}},
      {PAIR(LensControlType), true, {"None", "FMB", "Vorn", "Tesk"}},
      {PAIR(LensBandPass), false, {"Unknown", "MWIR", "MWIR-BB", "LWIR", "SWIR"}},
      {PAIR(SsdRecordMode), false, {"ToMemory", "ToDisk"}},
      {PAIR(SsdRecordType), false, {"NumFrames", "Duration", "StartStop"}},
  };
  return pairs;
}
// clang-format on

// The text in upper case (0), lower case (1), or with every other letter in upper case (2).
std::string Recased(std::string s, int how) {
  int letter = 0;
  for (char& c : s) {
    const unsigned char u = static_cast<unsigned char>(c);
    const bool up = how == 0 || (how == 2 && std::isalpha(u) && letter++ % 2);
    c = static_cast<char>(up ? std::toupper(u) : std::tolower(u));
  }
  return s;
}

TEST(Enumerations, ThereAreThirtyOnePairs) { EXPECT_EQ(Pairs().size(), 31u); }

TEST(Enumerations, EveryCodeRoundTrips) {
  for (const Pair& pair : Pairs()) {
    SCOPED_TRACE(pair.name);
    for (uint32_t code = 0; code < pair.texts.size(); ++code) {
      const char* expected = pair.texts[code];
      const char* text = pair.text(code);
      if (!expected) {
        EXPECT_EQ(text, nullptr) << "code " << code;
        continue;
      }
      ASSERT_NE(text, nullptr) << "code " << code;
      EXPECT_STREQ(text, expected);
      EXPECT_EQ(pair.code(text), code);
    }
    EXPECT_EQ(pair.text(static_cast<uint32_t>(pair.texts.size())), nullptr);
    EXPECT_EQ(pair.text(256), nullptr);  // no masking to 8 bits here
    EXPECT_EQ(pair.text(0xFFFFFFFFu), nullptr);
  }
}

TEST(Enumerations, WholeTextMustMatch) {
  for (const Pair& pair : Pairs()) {
    SCOPED_TRACE(pair.name);
    EXPECT_EQ(pair.code(nullptr), TQV_ERROR);
    EXPECT_EQ(pair.code(""), TQV_ERROR);
    for (const char* text : pair.texts) {
      if (!text) continue;
      const std::string t = text;
      EXPECT_EQ(pair.code((" " + t).c_str()), TQV_ERROR) << "leading blank: " << t;
      EXPECT_EQ(pair.code((t + " ").c_str()), TQV_ERROR) << "trailing blank: " << t;
      EXPECT_EQ(pair.code((t + "x").c_str()), TQV_ERROR) << "longer: " << t;
    }
  }
}

TEST(Enumerations, CaseRules) {
  for (const Pair& pair : Pairs()) {
    SCOPED_TRACE(pair.name);
    for (uint32_t code = 0; code < pair.texts.size(); ++code) {
      if (!pair.texts[code]) continue;
      const std::string text = pair.texts[code];
      for (const std::string& variant : {Recased(text, 0), Recased(text, 1), Recased(text, 2)}) {
        if (variant == text) continue;  // texts without letters in the other case
        EXPECT_EQ(pair.code(variant.c_str()), pair.anyCase ? code : TQV_ERROR) << variant;
      }
    }
  }
}

TEST(Enumerations, CaseFoldingIsAsciiOnly) {
  // Bytes above 0x7F are compared as they are, whatever the locale.
  EXPECT_EQ(tqvFOVEnum("Wid\xC9"), TQV_ERROR);
  EXPECT_EQ(tqvLensCoverStateEnum("OPE\xCE"), TQV_ERROR);
  // Folding by setting or clearing bit 5 would make control character 0x11 equal to '1'.
  EXPECT_EQ(tqvBoardTypeEnum("tqv1"), 0u);
  EXPECT_EQ(tqvBoardTypeEnum("TQV\x11"), TQV_ERROR);
  EXPECT_EQ(tqvBoardTypeEnum("tqv\x11"), TQV_ERROR);
}

TEST(Enumerations, NotableCases) {
  EXPECT_EQ(tqvVideoTemporalFilterText(2), nullptr);
  EXPECT_EQ(tqvVideoTemporalFilterEnum("4-Tap Motion Adaptive"), 3u);
  EXPECT_EQ(tqvFOVEnum("WIDE"), 1u);
  EXPECT_EQ(tqvFOVEnum(" Wide"), TQV_ERROR);
  EXPECT_EQ(tqvPolarityEnum("Active Low"), 0u);
  EXPECT_EQ(tqvPolarityEnum("active low"), TQV_ERROR);
  EXPECT_EQ(tqvBoardTypeEnum("tqv2"), 1u);
  // The same word in two enumerations with opposite codes.
  EXPECT_EQ(tqvNUCSourceEnum("Internal"), 1u);
  EXPECT_EQ(tqvTriggerSourceEnum("Internal"), 0u);
  EXPECT_EQ(tqvFrameSyncSourceEnum("Internal"), 0u);
}

}  // namespace
