// Which file names, state names, paths and calibration tags the camera accepts.
#include <gtest/gtest.h>

#include <string>

#include "tqvSDK.h"

namespace {

// As a file name, state name and calibration tag the text is valid or not alike.
void ExpectValid(const std::string& text, bool asName, bool asPath) {
  SCOPED_TRACE("\"" + text + "\"");
  const uint32_t name = asName ? TQV_OK : TQV_ERROR;
  EXPECT_EQ(tqvIsValidFileName(text.c_str()), name);
  EXPECT_EQ(tqvIsValidStateName(text.c_str()), name);
  bool valid = !asName;
  EXPECT_EQ(tqvIsValidCalTag(text.c_str(), &valid), TQV_OK);
  EXPECT_EQ(valid, asName);
  EXPECT_EQ(tqvIsValidFilePath(text.c_str()), asPath ? TQV_OK : TQV_ERROR);
}

TEST(Validity, BlanksAndForbiddenCharacters) {
  const struct {
    const char* text;
    bool asName, asPath;
  } cases[] = {
      {"hot.nuc", true, true}, {"name with trailing blank ", true, true},
      {".", true, true},       {"a.b.c", true, true},
      {"", false, false},      {" leading", false, true},
      {"   x", false, true},   {" ", false, false},
      {"     ", false, false}, {"\t", true, true},  // only the blank counts as a blank
  };
  for (const auto& c : cases)
    ExpectValid(c.text, c.asName, c.asPath);
  // Each forbidden character anywhere; a path may hold folder separators.
  for (char c : std::string("/\\:*?\"<>|")) {
    for (const std::string& text : {std::string(1, c), std::string("ab") + c,
                                    std::string(1, c) + "ab", std::string("a") + c + "b"}) {
      ExpectValid(text, false, c == '/' || c == '\\');
    }
  }
}

// No length limit; a null tag is an invalid one (the other null arguments are swept elsewhere).
TEST(Validity, LongTextsAndNullTag) {
  const std::string longName(100000, 'n');
  EXPECT_EQ(tqvIsValidFileName(longName.c_str()), TQV_OK);
  EXPECT_EQ(tqvIsValidFilePath(("/" + longName).c_str()), TQV_OK);
  EXPECT_EQ(tqvIsValidFileName((longName + ":").c_str()), TQV_ERROR);
  bool valid = true;
  EXPECT_EQ(tqvIsValidCalTag(nullptr, &valid), TQV_OK);
  EXPECT_FALSE(valid);
}

}  // namespace
