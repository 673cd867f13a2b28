// Which file names, state names, paths and calibration tags the camera accepts.
#include <gtest/gtest.h>

#include <string>

#include "tqvSDK.h"

namespace {

struct Case {
  const char* text;
  bool asName;  // valid as a file name, state name and calibration tag
  bool asPath;  // valid as a file path
};

const Case kCases[] = {
    {"hot.nuc", true, true},    {"name with trailing blank ", true, true},
    {".", true, true},          {"a.b.c", true, true},
    {"", false, false},         {" leading", false, true},
    {"   x", false, true},      {" ", false, false},
    {"     ", false, false},    {"dir/file", false, true},
    {"dir\\file", false, true}, {"/", false, true},
    {"c:file", false, false},   {"star*", false, false},
    {"what?", false, false},    {"say \"hi\"", false, false},
    {"<in", false, false},      {"out>", false, false},
    {"a|b", false, false},      {"\t", true, true},  // only the blank counts as a blank
};

TEST(Validity, TableOfNamesAndPaths) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string("\"") + c.text + "\"");
    const uint32_t name = c.asName ? TQV_OK : TQV_ERROR;
    EXPECT_EQ(tqvIsValidFileName(c.text), name);
    EXPECT_EQ(tqvIsValidStateName(c.text), name);
    bool valid = !c.asName;
    EXPECT_EQ(tqvIsValidCalTag(c.text, &valid), TQV_OK);
    EXPECT_EQ(valid, c.asName);
    EXPECT_EQ(tqvIsValidFilePath(c.text), c.asPath ? TQV_OK : TQV_ERROR);
  }
}

TEST(Validity, EachForbiddenCharacterAnywhere) {
  for (char c : std::string("/\\:*?\"<>|")) {
    const bool pathAllows = c == '/' || c == '\\';
    for (const std::string& text : {std::string(1, c), std::string("ab") + c,
                                    std::string(1, c) + "ab", std::string("a") + c + "b"}) {
      SCOPED_TRACE(text);
      EXPECT_EQ(tqvIsValidFileName(text.c_str()), TQV_ERROR);
      EXPECT_EQ(tqvIsValidFilePath(text.c_str()), pathAllows ? TQV_OK : TQV_ERROR);
    }
  }
}

TEST(Validity, NoLengthLimit) {
  const std::string longName(100000, 'n');
  EXPECT_EQ(tqvIsValidFileName(longName.c_str()), TQV_OK);
  EXPECT_EQ(tqvIsValidFilePath(("/" + longName).c_str()), TQV_OK);
  EXPECT_EQ(tqvIsValidFileName((longName + ":").c_str()), TQV_ERROR);
}

TEST(Validity, NullArguments) {
  EXPECT_EQ(tqvIsValidFileName(nullptr), TQV_ERROR);
  EXPECT_EQ(tqvIsValidStateName(nullptr), TQV_ERROR);
  EXPECT_EQ(tqvIsValidFilePath(nullptr), TQV_ERROR);
  bool valid = true;
  EXPECT_EQ(tqvIsValidCalTag(nullptr, &valid), TQV_OK);
  EXPECT_FALSE(valid);
  EXPECT_EQ(tqvIsValidCalTag("tag", nullptr), TQV_INVALID_ARGUMENT);
}

}  // namespace
