// The identity look-ups by handle, against a scripted backend registered like a real one: which
// values they read and in what order, and that a failing read ends them with its own result and
// leaves the outputs alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/sim_fixtures.h"
#include "frame/registry.h"
#include "tqvSDK.h"

namespace {

// Every operation answers 2 unless the scripted camera says otherwise.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
class Unanswered : public ITQVSDK {
 public:
#define TQV_OP(name, params, args) \
  u32 name params override { return rc::kNotSupported; }
#include "interface/operations.def"
};
#pragma GCC diagnostic pop

// What the scripted camera reports, the reads it saw, and the reads that are to fail.
struct Script {
  u8 board = 1, cameraType = 3, subtype = 16, readout = 4, pleora = 0;
  u16 major = 3, minor = 3;
  bool legacyVFPGA = false, ownFilterNames = false;
  std::map<std::string, u32> failing;
  std::vector<std::string> reads;
};

class ScriptedCamera final : public Unanswered {
 public:
  explicit ScriptedCamera(std::shared_ptr<Script> script) : s(std::move(script)) {}
  u32 GetBoardType(u8* v) override { return Read("GetBoardType", v, s->board); }
  u32 GetCameraType(u8* v) override { return Read("GetCameraType", v, s->cameraType); }
  u32 GetCameraSubtype(u8* v) override { return Read("GetCameraSubtype", v, s->subtype); }
  u32 GetReadout(u8* v) override { return Read("GetReadout", v, s->readout); }
  u32 GetPleoraBoardType(u8* v) override { return Read("GetPleoraBoardType", v, s->pleora); }
  u32 GetLegacyVFPGA(bool* v) override { return Read("GetLegacyVFPGA", v, s->legacyVFPGA); }
  u32 GetFilterInfoAvailable(bool* v) override {
    return Read("GetFilterInfoAvailable", v, s->ownFilterNames);
  }
  u32 GetMainAppVersion(u16* major, u16* minor, u16* build) override {
    if (u32 result = Read("GetMainAppVersion", major, s->major)) return result;
    *minor = s->minor;
    *build = 0;
    return rc::kOk;
  }
  u32 GetFilterInfoName(u32 id, char* buffer, i32 size) override {
    s->reads.push_back("GetFilterInfoName");
    std::snprintf(buffer, static_cast<size_t>(size), "camera filter %u", id);
    return rc::kOk;
  }

 private:
  template <typename T>
  u32 Read(const char* what, T* out, T value) {
    s->reads.push_back(what);
    if (auto failure = s->failing.find(what); failure != s->failing.end()) return failure->second;
    *out = value;
    return rc::kOk;
  }
  std::shared_ptr<Script> s;
};

using Reads = std::vector<std::string>;
using Codes = std::vector<int>;

// The call's result and the list it leaves behind (the list starts out holding a stale 99).
std::pair<u32, Codes> List(void* handle, u32 (*call)(void*, zel::TArray<uint8_t>&)) {
  zel::TArray<uint8_t> list;
  list.Add(99);
  const u32 result = call(handle, list);
  return {result, Codes(list.begin(), list.end())};
}

class Lookups : public ::testing::Test {
 protected:
  void SetUp() override { handle = sdks().Add(new ScriptedCamera(script)); }
  void TearDown() override { sdks().Remove(handle); }

  std::shared_ptr<Script> script = std::make_shared<Script>();
  void* handle = nullptr;
};

// A failing read ends every look-up that makes it, with its own result and nothing written; the
// others are not disturbed.
TEST_F(Lookups, FirstFailingReadIsReturned) {
  script->board = 3, script->readout = 19;
  struct Lookup {
    const char* name;
    std::set<std::string> reads;
    std::function<std::pair<u32, bool>(void*)> run;  // result, outputs untouched
  };
  // clang-format off
  const Lookup lookups[] = {
      {"low cost", {"GetCameraType", "GetCameraSubtype"},
       [](void* h) { bool v = true; const u32 r = tqvGetIsLowCost(h, &v); return std::pair(r, v); }},
      {"automation", {"GetCameraType", "GetCameraSubtype"},
       [](void* h) { bool v = true; const u32 r = tqvGetIsAutomation(h, &v); return std::pair(r, v); }},
      {"band pass", {"GetCameraType", "GetCameraSubtype"},
       [](void* h) { double lo = -1, hi = -1; const u32 r = tqvGetBandpass(h, &lo, &hi); return std::pair(r, lo == -1 && hi == -1); }},
      {"part number", {"GetCameraType", "GetCameraSubtype", "GetPleoraBoardType"},
       [](void* h) { char b[16] = "-"; const u32 r = tqvGetCameraPartNumber(h, b, sizeof b); return std::pair(r, !std::strcmp(b, "-")); }},
      {"gain named", {"GetReadout"},
       [](void* h) { bool v = false; const u32 r = tqvGetGainLevelsAreNamed(h, &v); return std::pair(r, !v); }},
      {"gain name", {"GetReadout"},
       [](void* h) { char b[16] = "-"; const u32 r = tqvGetGainLevelName(h, 0, b, sizeof b); return std::pair(r, !std::strcmp(b, "-")); }},
      {"formats", {"GetBoardType", "GetCameraType", "GetCameraSubtype", "GetMainAppVersion"},
       [](void* h) { auto [r, codes] = List(h, tqvGetVideoFormats); return std::pair(r, codes == Codes{99}); }},
      {"zoom", {"GetLegacyVFPGA", "GetBoardType", "GetMainAppVersion"},
       [](void* h) { auto [r, codes] = List(h, tqvGetVideoZoomFactors); return std::pair(r, codes == Codes{99}); }},
      {"filter", {"GetFilterInfoAvailable"},
       [](void* h) { char b[32] = "-"; const u32 r = tqvGetFilterNameEx(h, 1, b, sizeof b); return std::pair(r, !std::strcmp(b, "-")); }},
  };
  // clang-format on
  const std::pair<const char*, u32> failures[] = {
      {"GetCameraType", 1},  {"GetCameraSubtype", 165},      {"GetPleoraBoardType", 168},
      {"GetReadout", 170},   {"GetBoardType", 160},          {"GetMainAppVersion", 167},
      {"GetLegacyVFPGA", 2}, {"GetFilterInfoAvailable", 166}};
  for (auto [read, code] : failures) {
    script->failing = {{read, code}};
    for (const Lookup& lookup : lookups) {
      const bool fails = lookup.reads.count(read) > 0;
      const auto [result, untouched] = lookup.run(handle);
      EXPECT_EQ(result, fails ? code : TQV_OK) << lookup.name << " with " << read << " failing";
      EXPECT_EQ(untouched, fails) << lookup.name << " with " << read << " failing";
    }
  }
}

TEST_F(Lookups, TextsIntoTheCallersBuffer) {
  char buffer[32] = "untouched";
  script->readout = 19;
  EXPECT_EQ(tqvGetGainLevelName(handle, 2, buffer, 4), TQV_ERROR);  // "Low" needs 5 bytes
  EXPECT_STREQ(buffer, "untouched");
  ASSERT_EQ(tqvGetGainLevelName(handle, 2, buffer, 5), TQV_OK);
  EXPECT_STREQ(buffer, "Low");
  ASSERT_EQ(tqvGetFilterNameEx(handle, 16, buffer, sizeof buffer), TQV_OK);
  EXPECT_STREQ(buffer, "16. CO2 4300nm, 200nm");
  script->ownFilterNames = true;
  ASSERT_EQ(tqvGetFilterNameEx(handle, 16, buffer, sizeof buffer), TQV_OK);
  EXPECT_STREQ(buffer, "camera filter 16");
}

TEST_F(Lookups, VersionIsReadOnWznOnly) {
  script->board = 3, script->cameraType = 9, script->subtype = 21, script->minor = 4;
  EXPECT_EQ(List(handle, tqvGetVideoFormats), std::pair(TQV_OK, Codes{101, 102, 12, 10, 13, 11}));
  EXPECT_EQ(script->reads,
            (Reads{"GetBoardType", "GetCameraType", "GetCameraSubtype", "GetMainAppVersion"}));
  script->minor = 3;
  EXPECT_EQ(List(handle, tqvGetVideoFormats), std::pair(TQV_OK, Codes{3, 4, 12, 10, 13, 11}));

  script->reads.clear();
  script->board = 4, script->minor = 9;  // counts for zoom factors on Birch, not for formats
  EXPECT_EQ(List(handle, tqvGetVideoFormats), std::pair(TQV_OK, Codes{3, 4, 12, 10, 13, 11}));
  EXPECT_EQ(List(handle, tqvGetVideoZoomFactors), std::pair(TQV_OK, Codes{1, 5}));
  EXPECT_EQ(script->reads, (Reads{"GetBoardType", "GetCameraType", "GetCameraSubtype",
                                  "GetLegacyVFPGA", "GetBoardType", "GetMainAppVersion"}));

  script->reads.clear();
  script->board = 1, script->legacyVFPGA = true;
  EXPECT_EQ(List(handle, tqvGetVideoZoomFactors), std::pair(TQV_OK, Codes{1, 2, 3}));
  EXPECT_EQ(script->reads, (Reads{"GetLegacyVFPGA", "GetBoardType"}));
}

// Through both simulated cameras (a WZN board with firmware 3.4), identity set with the library's
// own setters.
class SimulatedCameras : public ::testing::TestWithParam<testutil::Backend> {
 protected:
  void SetUp() override {
    u8 board = 0;
    u16 major = 0, minor = 0, build = 0;
    ASSERT_EQ(tqvGetBoardType(handle, &board), TQV_OK);
    ASSERT_EQ(tqvGetMainAppVersion(handle, &major, &minor, &build), TQV_OK);
    ASSERT_EQ(board, 3);
    ASSERT_TRUE(major == 3 && minor == 4) << major << "." << minor;
  }
  void Identify(u8 cameraType, u8 subtype, u8 pleora, u8 readout) {
    ASSERT_EQ(tqvSetCameraType(handle, cameraType), TQV_OK);
    ASSERT_EQ(tqvSetCameraSubtype(handle, subtype), TQV_OK);
    ASSERT_EQ(tqvSetPleoraBoardType(handle, pleora), TQV_OK);
    ASSERT_EQ(tqvSetReadout(handle, readout), TQV_OK);
  }
  std::string PartNumber() {
    char part[32] = "";
    EXPECT_EQ(tqvGetCameraPartNumber(handle, part, sizeof part), TQV_OK);
    return part;
  }

  testutil::AnyCamera camera{GetParam()};
  void* handle = camera.handle();
};

TEST_P(SimulatedCameras, AnswersFromTheIdentityTheCameraReports) {
  Identify(11, 1, 1, 19);  // a low-cost core with a tri-gain readout
  bool lowCost = false, automation = true, named = false;
  double low = 0, high = 0;
  char level[8];
  EXPECT_EQ(tqvGetIsLowCost(handle, &lowCost), TQV_OK);
  EXPECT_EQ(tqvGetIsAutomation(handle, &automation), TQV_OK);
  EXPECT_EQ(tqvGetBandpass(handle, &low, &high), TQV_OK);
  EXPECT_EQ(tqvGetGainLevelsAreNamed(handle, &named), TQV_OK);
  EXPECT_EQ(tqvGetGainLevelName(handle, 1, level, sizeof level), TQV_OK);
  EXPECT_TRUE(lowCost);
  EXPECT_FALSE(automation);
  EXPECT_EQ(std::pair(low, high), std::pair(3.0, 5.0));
  EXPECT_TRUE(named);
  EXPECT_STREQ(level, "Med");
  EXPECT_EQ(PartNumber(), "TQ11-001-UL");
  EXPECT_EQ(List(handle, tqvGetVideoFormats), std::pair(TQV_OK, Codes{3, 4}));
  EXPECT_EQ(List(handle, tqvGetVideoZoomFactors), std::pair(TQV_OK, Codes{1, 5}));

  Identify(9, 21, 2, 9);  // a high-speed camera: its formats follow the firmware
  EXPECT_EQ(PartNumber(), "TQ09-021-G");
  EXPECT_EQ(List(handle, tqvGetVideoFormats), std::pair(TQV_OK, Codes{101, 102, 12, 10, 13, 11}));
  Identify(12, 41, 0, 15);
  EXPECT_EQ(tqvGetIsAutomation(handle, &automation), TQV_OK);
  EXPECT_TRUE(automation);
  EXPECT_EQ(PartNumber(), "TQ12-041-P");

  Identify(3, 29, 0, 4);  // a model the table does not hold
  low = -1;
  EXPECT_EQ(tqvGetBandpass(handle, &low, &high), TQV_ERROR);
  EXPECT_EQ(low, -1);
  EXPECT_EQ(PartNumber(), "unknown");
}

INSTANTIATE_TEST_SUITE_P(Backends, SimulatedCameras,
                         ::testing::Values(testutil::Backend::PropertyTree,
                                           testutil::Backend::GenICam),
                         testutil::BackendName);

}  // namespace
