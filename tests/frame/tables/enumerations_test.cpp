// The Text/Enum pairs: every code's text leads back to it, and the matching rules.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "tqvSDK.h"

namespace {

struct Pair {
  const char* name;
  const char* (*text)(uint32_t);
  uint32_t (*code)(const char*);
  bool anyCase;
  uint32_t count;  // codes 0 to count - 1
};

#define PAIR(name, anyCase, count) Pair{#name, tqv##name##Text, tqv##name##Enum, anyCase, count},
// clang-format off
const Pair kPairs[] = {
    PAIR(PresetSequencingMode, false, 3) PAIR(FrameSyncMode, false, 2)
    PAIR(FrameSyncSource, false, 4) PAIR(Polarity, false, 2) PAIR(TriggerSource, false, 4)
    PAIR(TriggerMode, false, 4) PAIR(IRIGLatchSource, false, 3) PAIR(SyncOutSource, false, 3)
    PAIR(FlagState, true, 2) PAIR(FOV, true, 2) PAIR(VideoFormat, false, 14)
    PAIR(VideoUpdateRate, false, 2) PAIR(VideoPosition, false, 3)
    PAIR(VideoTemporalFilter, false, 4) PAIR(VideoZoomFactor, false, 6)
    PAIR(VideoAGCMethod, false, 4) PAIR(NUCType, false, 3) PAIR(NUCSource, false, 2)
    PAIR(NUCFlagSetpointType, false, 2) PAIR(BadPixelCorrectionMethod, false, 3)
    PAIR(AutoFocusROIPosition, false, 5) PAIR(GigEPreset, false, 5) PAIR(CoolerType, false, 3)
    PAIR(CameraLinkType, false, 2) PAIR(BoardType, true, 6) PAIR(SsdState, false, 13)
    PAIR(LensCoverState, true, 3) PAIR(LensControlType, true, 4) PAIR(LensBandPass, false, 5)
    PAIR(SsdRecordMode, false, 2) PAIR(SsdRecordType, false, 3)
};
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

// Each text leads back to its own code only as a whole, and in another case only where the pair
// ignores case; codes past the last have no text (no masking to 8 bits).
TEST(Enumerations, EveryTextLeadsBackToItsCode) {
  int codesWithoutText = 0;
  for (const Pair& pair : kPairs) {
    SCOPED_TRACE(pair.name);
    EXPECT_NE(pair.text(pair.count - 1), nullptr);
    for (uint32_t outside : {pair.count, 256u, 0xFFFFFFFFu})
      EXPECT_EQ(pair.text(outside), nullptr) << outside;
    EXPECT_EQ(pair.code(nullptr), TQV_ERROR);
    EXPECT_EQ(pair.code(""), TQV_ERROR);
    for (uint32_t code = 0; code < pair.count; ++code) {
      if (!pair.text(code)) {
        ++codesWithoutText;
        continue;
      }
      const std::string text = pair.text(code);
      EXPECT_EQ(pair.code(text.c_str()), code) << text;
      for (const std::string& longer : {" " + text, text + " ", text + "x"})
        EXPECT_EQ(pair.code(longer.c_str()), TQV_ERROR) << "\"" << longer << "\"";
      for (int how : {0, 1, 2}) {
        const std::string variant = Recased(text, how);
        if (variant == text) continue;  // texts without letters in the other case
        EXPECT_EQ(pair.code(variant.c_str()), pair.anyCase ? code : TQV_ERROR) << variant;
      }
    }
  }
  EXPECT_EQ(codesWithoutText, 1);  // temporal filter 2, below
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
  EXPECT_EQ(tqvPolarityEnum("Active Low"), 0u);
  EXPECT_EQ(tqvPolarityEnum("active low"), TQV_ERROR);
  // The same word in two enumerations with opposite codes.
  EXPECT_EQ(tqvNUCSourceEnum("Internal"), 1u);
  EXPECT_EQ(tqvTriggerSourceEnum("Internal"), 0u);
  EXPECT_EQ(tqvFrameSyncSourceEnum("Internal"), 0u);
}

}  // namespace
