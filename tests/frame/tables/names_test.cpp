// Names into a caller's buffer, the copy rule they share, and the filter names.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "tqvSDK.h"

namespace {

using NameFn = uint32_t (*)(uint32_t, char*, int32_t);

// The name of code, or the result code when the call fails.
std::string Name(NameFn fn, uint32_t code) {
  char buffer[128];
  const uint32_t result = fn(code, buffer, sizeof buffer);
  return result == TQV_OK ? std::string(buffer) : "result " + std::to_string(result);
}

std::string Unknown(unsigned code) { return "Unk(" + std::to_string(code) + ")"; }

struct NameTable {
  const char* name;
  NameFn fn;
  std::set<uint32_t> named;  // codes with a name of their own
};

// clang-format off
const NameTable kTables[] = {
    {"camera type", tqvGetCameraTypeName, {3, 4, 7, 9, 10, 11, 12, 13, 14, 16, 17, 20}},
    {"detector", tqvGetDetectorTypeName, {0, 1, 2, 3, 4, 5, 6, 7}},
    {"readout", tqvGetReadoutName, {3, 4, 5, 7, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
    {"variant", tqvGetVariantName, {0, 1}},
    {"Pleora board", tqvGetPleoraBoardTypeName, {0, 1, 2}},
};
// clang-format on

// Named codes have names of their own, the others the fallback; only the low eight bits count.
TEST(Names, NamedCodesHaveTheirOwnTextOthersTheFallback) {
  for (const NameTable& table : kTables) {
    SCOPED_TRACE(table.name);
    std::set<std::string> seen;
    for (uint32_t code = 0; code < 256; ++code) {
      const std::string name = Name(table.fn, code);
      EXPECT_EQ(Name(table.fn, code + 256), name);
      EXPECT_EQ(Name(table.fn, code + 0xFFFFFF00u), name);
      if (!table.named.count(code)) {
        EXPECT_EQ(name, Unknown(code));
        continue;
      }
      EXPECT_TRUE(name.rfind("Unk(", 0) && name.rfind("result ", 0)) << code << ": " << name;
      EXPECT_TRUE(seen.insert(name).second) << "two codes share " << name;
    }
  }
}

TEST(Names, ReadoutNamesGiveChannelCount) {
  for (uint32_t code : kTables[2].named) {
    const std::string name = Name(tqvGetReadoutName, code);
    unsigned channels = 0;
    const std::size_t comma = name.rfind(", ");
    ASSERT_NE(comma, std::string::npos) << name;
    ASSERT_EQ(std::sscanf(name.c_str() + comma, ", %u channels", &channels), 1) << name;
    EXPECT_TRUE(channels == 2 || channels == 4 || channels == 8 || channels == 16) << name;
  }
}

// The copy rule at the sizes around the text's length: a named code, the fallback of a name
// table and the fallback of the subtype look-up.
TEST(Names, CopyRule) {
  struct Case {
    const char* what;
    uint32_t (*call)(char*, int32_t);
    const char* text;
  };
  const Case cases[] = {
      {"detector 0", [](char* b, int32_t n) { return tqvGetDetectorTypeName(0, b, n); }, "InSb"},
      {"detector 8", [](char* b, int32_t n) { return tqvGetDetectorTypeName(8, b, n); }, "Unk(8)"},
      {"subtype of an absent pair",
       [](char* b, int32_t n) { return tqvGetCameraSubtypeName(0, 7, b, n); }, "Unk(7)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int32_t length = static_cast<int32_t>(std::strlen(c.text));
    for (int32_t size : {INT32_MIN, -1, 0, 1, length, length + 1}) {
      char buffer[32];
      std::memset(buffer, '#', sizeof buffer);
      EXPECT_EQ(c.call(buffer, size), TQV_ERROR) << "size " << size;
      EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, '#'))
          << "buffer written at size " << size;
    }
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_EQ(c.call(buffer, length + 2), TQV_OK);
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(buffer[length + 1], '#') << "wrote past the terminating NUL";
    EXPECT_EQ(c.call(nullptr, 64), TQV_INVALID_ARGUMENT);
  }
}

TEST(Names, SubtypeNameComesFromTheModelTable) {
  const tqvSModelInfo* rows = tqvGetModelInfoTable();
  for (const tqvSModelInfo* row = rows; row->modelName; ++row) {
    // The first row of a pair names it.
    const tqvSModelInfo* first = rows;
    while (first->cameraType != row->cameraType || first->subtype != row->subtype)
      ++first;
    char buffer[128];
    ASSERT_EQ(tqvGetCameraSubtypeName(row->cameraType, row->subtype, buffer, sizeof buffer),
              TQV_OK);
    EXPECT_STREQ(buffer, first->subtypeName);
  }
  char a[128], b[128];
  ASSERT_EQ(tqvGetCameraSubtypeName(3, 16, a, sizeof a), TQV_OK);
  ASSERT_EQ(tqvGetCameraSubtypeName(3 + 0x100, 16 + 0x300, b, sizeof b), TQV_OK);
  EXPECT_STREQ(a, b);
  // Camera types without rows, and subtypes that a known camera type lacks.
  const std::pair<uint32_t, uint32_t> absent[] = {{0, 1}, {5, 2}, {3, 29}, {3, 255}, {11, 200}};
  for (auto [cameraType, subtype] : absent) {
    ASSERT_EQ(tqvGetCameraSubtypeName(cameraType, subtype, a, sizeof a), TQV_OK);
    EXPECT_EQ(std::string(a), Unknown(subtype));
  }
}

// IDs up to 62 are numbered filters or reserved, 63 is the empty slot, the rest are errors.
TEST(FilterNames, NumberedEmptyThenError) {
  for (unsigned id = 0; id < 256; ++id) {
    const char* name = tqvGetFilterName(static_cast<uint8_t>(id));
    ASSERT_NE(name, nullptr) << id;
    if (id > 62) {
      EXPECT_STREQ(name, id == 63 ? "Empty" : "I AM ERROR");
      continue;
    }
    char number[8];
    std::snprintf(number, sizeof number, "%2u. ", id);
    EXPECT_EQ(std::string(name).rfind(number, 0), 0u) << name;
  }
  EXPECT_STREQ(tqvGetFilterName(62), "62. Reserved");
}

}  // namespace
