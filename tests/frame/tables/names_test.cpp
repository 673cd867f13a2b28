// Names into a caller's buffer, the copy rule they share, and the filter names.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

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
  std::set<uint32_t> named;             // codes with a name of their own
  std::vector<const char*> fixedTexts;  // exact texts by code, where they are fixed
};

// clang-format off
std::vector<NameTable> Tables() {
  return {
      {"camera type", tqvGetCameraTypeName, {3, 4, 7, 9, 10, 11, 12, 13, 14, 16, 17, 20}, {}},
      {"detector", tqvGetDetectorTypeName, {0, 1, 2, 3, 4, 5, 6, 7},
       {"InSb", "InGaAs", "VisGaAs", "QWIP", "MCT", "Bolometer", "T2SLS", "EpiAlloy"}},
      {"readout", tqvGetReadoutName, {3, 4, 5, 7, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, {}},
      {"variant", tqvGetVariantName, {0, 1}, {"CameraLink", "CoaXpress"}},
      {"Pleora board", tqvGetPleoraBoardTypeName, {0, 1, 2}, {"PT1000", "NTx-UV3", "NTx-GigE"}},
  };
}
// clang-format on

TEST(Names, NamedCodesHaveTheirTextOthersTheFallback) {
  for (const NameTable& table : Tables()) {
    SCOPED_TRACE(table.name);
    std::set<std::string> seen;
    for (uint32_t code = 0; code < 256; ++code) {
      const std::string name = Name(table.fn, code);
      if (!table.named.count(code)) {
        EXPECT_EQ(name, Unknown(code));
        continue;
      }
      if (code < table.fixedTexts.size()) {
        EXPECT_EQ(name, table.fixedTexts[code]);
      }
      EXPECT_TRUE(name.rfind("Unk(", 0) && name.rfind("result ", 0)) << code << ": " << name;
      EXPECT_TRUE(seen.insert(name).second) << "two codes share " << name;
    }
  }
}

TEST(Names, OnlyTheLowEightBitsCount) {
  for (const NameTable& table : Tables()) {
    SCOPED_TRACE(table.name);
    for (uint32_t code : {0u, 3u, 8u, 20u, 255u}) {
      EXPECT_EQ(Name(table.fn, code + 256), Name(table.fn, code));
      EXPECT_EQ(Name(table.fn, code + 0xFFFFFF00u), Name(table.fn, code));
    }
  }
  EXPECT_EQ(Name(tqvGetDetectorTypeName, 8), "Unk(8)");
  EXPECT_EQ(Name(tqvGetDetectorTypeName, 264), "Unk(8)");
}

TEST(Names, ReadoutNamesGiveChannelCount) {
  for (uint32_t code = 0; code < 256; ++code) {
    const std::string name = Name(tqvGetReadoutName, code);
    if (name.rfind("Unk(", 0) == 0) continue;
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

TEST(FilterNames, WholeTable) {
  // clang-format off
  const std::vector<const char*> named = {
      " 0. Reserved", " 1. ND 1.0", " 2. ND 2.0", " 3. ND 3.0", " 4. ND 0.3", " 5. ND 0.6", " 6. ND 1.45",
      " 7. MWIR 3000-5000nm", " 8. ATM 3400-4170nm", " 9. SRX 3500-5000nm", "10. THRU GLASS 2360nm, 80nm",
      "11. GLASS SURFACE 5000nm, 145nm", "12. FLAME 3900nm, 200nm", "13. FLAME 3900nm, 200nm",
      "14. POLYETHELYNE 3450nm, 100nm", "15. PLASTIC 3410nm, 140nm", "16. CO2 4300nm, 200nm",
      "17. NO2 4500nm, 170nm", "18. COS 4200nm, 85nm", "19. GBU 4790nm, 175nm", "20. GBL 3500-4000nm",
      "21. Reserved", "22. Reserved", "23. THRU GLASS HT", "24. GLASS SURFACE HT", "25. FLAME HT", "26. ND 0"};
  // clang-format on
  for (unsigned id = 0; id < 256; ++id) {
    std::string expected;
    if (id < named.size()) {
      expected = named[id];
    } else if (id <= 62) {
      expected = std::to_string(id) + ". Reserved";
    } else {
      expected = id == 63 ? "Empty" : "I AM ERROR";
    }
    ASSERT_NE(tqvGetFilterName(static_cast<uint8_t>(id)), nullptr);
    EXPECT_EQ(std::string(tqvGetFilterName(static_cast<uint8_t>(id))), expected) << id;
  }
  // 12 and 13 are the same filter under two IDs.
  EXPECT_STREQ(tqvGetFilterName(12) + 4, tqvGetFilterName(13) + 4);
  EXPECT_STREQ(tqvGetFilterName(63), "Empty");
  EXPECT_STREQ(tqvGetFilterName(64), "I AM ERROR");
}

}  // namespace
