// The GenICam backend over a camera on the network: created through the C interface over the
// Aravis device, it reads the camera's constants and runs the timing family's set -> get round
// trips, each value travelling through Aravis's GigE Vision client into the camera's registers.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "genicam/access.h"
#include "network.h"

namespace {

using aravis_test::Network;

class Backend : public Network {
 protected:
  // A handle over "gev:127.0.0.1"; the test's own reference to the device goes at once.
  void Create() {
    auto device = Open();
    ASSERT_TRUE(device);
    ASSERT_EQ(tqvCreateGenICam(&handle, device), TQV_OK);
  }
  // The handle goes before the camera stops, so that Aravis gives the camera's control back
  // instead of waiting for a camera that no longer answers.
  void TearDown() override {
    tqvDestroy(handle);
    handle = nullptr;
    Network::TearDown();
  }
  void* handle = nullptr;
};

TEST_F(Backend, ReadsTheCamerasConstants) {
  // Constants other than the simulated camera's, so that they can only come from this camera.
  camera->SetInt("MfgClockFrequency", 40000000);
  camera->SetInt("PS0FrameWidthMin", 40000);
  camera->SetInt("PS0FrameWidthMax", 30000000);
  camera->SetInt("PS0IntegrationWidthMin", 40);
  camera->SetInt("PS0IntegrationWidthMax", 4000000);
  ASSERT_NO_FATAL_FAILURE(Create());
  struct Case {
    const char* what;
    uint32_t (*get)(void*, uint32_t*);
    uint32_t expected;
  } cases[] = {
      {"clock frequency", tqvGetClockFrequency, 40000000},
      {"minimum frame width", tqvGetMinFrameWidth, 40000},
      {"maximum frame width", tqvGetMaxFrameWidth, 30000000},
      {"minimum integration width", tqvGetMinIntWidth, 40},
      {"maximum integration width", tqvGetMaxIntWidth, 4000000},
  };
  for (const Case& c : cases) {
    uint32_t value = 0;
    EXPECT_EQ(c.get(handle, &value), TQV_OK) << c.what;
    EXPECT_EQ(value, c.expected) << c.what;
  }
  uint8_t levels = 0, board = 9;
  EXPECT_EQ(tqvGetSupportedGainLevels(handle, &levels), TQV_OK);
  EXPECT_EQ(levels, 3);  // the gain level's maximum, 2, is a constant of the description
  EXPECT_EQ(tqvGetBoardType(handle, &board), TQV_OK);
  EXPECT_EQ(board, 3);
  uint16_t major = 0, minor = 0, build = 0;
  camera->SetText("ComponentInfo", "5.1.2.33");  // under AppCore_Version, the selector's first
  EXPECT_EQ(tqvGetMainAppVersion(handle, &major, &minor, &build), TQV_OK);
  EXPECT_EQ(major, 5);
  EXPECT_EQ(minor, 1);
  EXPECT_EQ(build, 33);
}

TEST_F(Backend, RefusesACameraThatIsNotReady) {
  camera->SetInt("Ready", 0);
  auto device = Open();
  ASSERT_TRUE(device);
  void* raw = nullptr;
  EXPECT_EQ(tqvCreateGenICam(&raw, device), TQV_ERROR);
  EXPECT_EQ(raw, nullptr);
}

// One round trip: set through the C interface, read back through it, and the camera register
// that must hold the result (empty when the value has no register of its own).
struct RoundTrip {
  const char* what;
  std::function<uint32_t(void*)> set;
  std::function<uint32_t(void*, double*)> get;
  double expected;
  const char* feature = nullptr;
  double registerValue = 0;
};

template <typename T>
std::function<uint32_t(void*, double*)> Getter(std::function<uint32_t(void*, T*)> get) {
  return [get](void* h, double* out) {
    T value{};
    const uint32_t result = get(h, &value);
    *out = static_cast<double>(value);
    return result;
  };
}

TEST_F(Backend, TimingFamilyRoundTrips) {
  ASSERT_NO_FATAL_FAILURE(Create());
  using U32 = std::function<uint32_t(void*, uint32_t*)>;
  using F64 = std::function<uint32_t(void*, double*)>;
  using F32 = std::function<uint32_t(void*, float*)>;
  using U8 = std::function<uint32_t(void*, uint8_t*)>;
  using B = std::function<uint32_t(void*, bool*)>;
  const RoundTrip trips[] = {
      {"integration width", [](void* h) { return tqvSetIntegrationWidth(h, 2, 30000); },
       Getter<uint32_t>(U32([](void* h, uint32_t* v) { return tqvGetIntegrationWidth(h, 2, v); })),
       30000, "PS2IntegrationWidth", 30000},
      {"integration time", [](void* h) { return tqvSetIntegrationTime(h, 1, 2.0); },
       Getter<double>(F64([](void* h, double* v) { return tqvGetIntegrationTime(h, 1, v); })), 2.0,
       "PS1IntegrationWidth", 50000},
      {"frame width", [](void* h) { return tqvSetFrameWidth(h, 3, 500000); },
       Getter<uint32_t>(U32([](void* h, uint32_t* v) { return tqvGetFrameWidth(h, 3, v); })),
       500000, "PS3FrameWidth", 500000},
      {"frame rate", [](void* h) { return tqvSetFrameRate(h, 0, 100.0); },
       Getter<double>(F64([](void* h, double* v) { return tqvGetFrameRate(h, 0, v); })), 100.0,
       "PS0FrameWidth", 250000},
      {"preset sequencing", [](void* h) { return tqvSetPresetSequencingMode(h, 2); },
       Getter<uint8_t>(U8(tqvGetPresetSequencingMode)), 2, "PresetSequencingMode", 2},
      {"superframe width", [](void* h) { return tqvSetSuperframeWidth(h, 2000000); },
       Getter<uint32_t>(U32(tqvGetSuperframeWidth)), 2000000, "SuperframeWidth", 2000000},
      {"superframe rate", [](void* h) { return tqvSetSuperframeRate(h, 20.0); },
       Getter<double>(F64(tqvGetSuperframeRate)), 20.0, "SuperframeWidth", 1250000},
      {"active preset", [](void* h) { return tqvSetActivePreset(h, 2); },
       Getter<uint8_t>(U8(tqvGetActivePreset)), 2, "ActivePreset", 2},
      {"invert", [](void* h) { return tqvSetInvertEnabled(h, true); },
       Getter<bool>(B(tqvGetInvertEnabled)), 1, "ReverseY", 1},
      {"revert", [](void* h) { return tqvSetRevertEnabled(h, true); },
       Getter<bool>(B(tqvGetRevertEnabled)), 1, "ReverseX", 1},
      {"digital gain", [](void* h) { return tqvSetDigitalGain(h, 1, 2.5f); },
       Getter<float>(F32([](void* h, float* v) { return tqvGetDigitalGain(h, 1, v); })), 2.5,
       "PS1DigitalGain", 2.5},
      {"digital offset", [](void* h) { return tqvSetDigitalOffset(h, 1, -10.0f); },
       Getter<float>(F32([](void* h, float* v) { return tqvGetDigitalOffset(h, 1, v); })), -10.0,
       "PS1DigitalOffset", -10.0},
      {"dwell count", [](void* h) { return tqvSetDwellCount(h, 2, 9); },
       Getter<uint32_t>(U32([](void* h, uint32_t* v) { return tqvGetDwellCount(h, 2, v); })), 9,
       "PS2DwellCount", 9},
      {"subframe", [](void* h) { return tqvSetSubframeEnabled(h, 1, true); },
       Getter<bool>(B([](void* h, bool* v) { return tqvGetSubframeEnabled(h, 1, v); })), 1,
       "PS1SubframeEnabled", 1},
      {"gain level", [](void* h) { return tqvSetGainLevel(h, 2); },
       Getter<uint8_t>(U8(tqvGetGainLevel)), 2, "GainLevel", 2},
      {"bias 0", [](void* h) { return tqvSetFPABiasEx(h, 0, 1.25f); },
       Getter<float>(F32([](void* h, float* v) { return tqvGetFPABiasEx(h, 0, v); })), 1.25,
       "DetectorBias", 1.25},
      {"bias 1", [](void* h) { return tqvSetFPABiasEx(h, 1, 2.5f); },
       Getter<float>(F32([](void* h, float* v) { return tqvGetFPABiasEx(h, 1, v); })), 2.5},
      {"offset voltage", [](void* h) { return tqvSetGlobalOffsetVoltage(h, 0.5f); },
       Getter<float>(F32(tqvGetGlobalOffsetVoltage)), 0.5, "AnalogOffsetVoltage", 0.5},
      {"skimming", [](void* h) { return tqvSetSkimmingEnabled(h, true); },
       Getter<bool>(B(tqvGetSkimmingEnabled)), 1, "SkimmingEnabled", 1},
      {"skimming voltage", [](void* h) { return tqvSetSkimmingVoltage(h, 2.0f); },
       Getter<float>(F32(tqvGetSkimmingVoltage)), 2.0, "SkimmingVoltage", 2.0},
      {"override ROIC", [](void* h) { return tqvSetMfgOverrideRoicConfig(h, true); },
       Getter<bool>(B(tqvGetMfgOverrideRoicConfig)), 1, "MfgOverrideRoicConfig", 1},
      {"extra LSync", [](void* h) { return tqvSetMfgHasExtraLSync(h, true); },
       Getter<bool>(B(tqvGetMfgHasExtraLSync)), 1, "MfgHasExtraLSync", 1},
      {"line dead width", [](void* h) { return tqvSetMfgLineDeadWidth(h, 100); },
       Getter<uint32_t>(U32(tqvGetMfgLineDeadWidth)), 100, "MfgLineDeadWidth", 100},
      {"pre-integration dead width", [](void* h) { return tqvSetMfgPreIntDeadWidth(h, 1000); },
       Getter<uint32_t>(U32(tqvGetMfgPreIntDeadWidth)), 1000, "MfgPreIntegrationDeadWidth", 1000},
      {"post-integration dead width", [](void* h) { return tqvSetMfgPostIntDeadWidth(h, 2000); },
       Getter<uint32_t>(U32(tqvGetMfgPostIntDeadWidth)), 2000, "MfgPostIntegrationDeadWidth", 2000},
      {"pre dead rows", [](void* h) { return tqvSetMfgPreDeadRows(h, 3); },
       Getter<uint32_t>(U32(tqvGetMfgPreDeadRows)), 3, "MfgPreDeadRows", 3},
      {"post dead rows", [](void* h) { return tqvSetMfgPostDeadRows(h, 4); },
       Getter<uint32_t>(U32(tqvGetMfgPostDeadRows)), 4, "MfgPostDeadRows", 4},
      {"frame sync mode", [](void* h) { return tqvSetFrameSyncMode(h, 1); },
       Getter<uint8_t>(U8(tqvGetFrameSyncMode)), 1, "FrameSyncMode", 1},
  };
  for (const RoundTrip& trip : trips) {
    ASSERT_EQ(trip.set(handle), TQV_OK) << trip.what;
    double value = -1;
    ASSERT_EQ(trip.get(handle, &value), TQV_OK) << trip.what;
    EXPECT_NEAR(value, trip.expected, 1e-6) << trip.what;
    if (!trip.feature) continue;
    const auto where = sim::gev::DefaultDescription().values.at(trip.feature);
    const double held = where.kind == sim::gev::RegisterKind::Float
                            ? camera->GetFloat(trip.feature)
                            : static_cast<double>(camera->GetInt(trip.feature));
    EXPECT_NEAR(held, trip.registerValue, 1e-6) << trip.what << ": " << trip.feature;
  }

  // The window, and the dead rows the camera sums up (read back into the constants).
  ASSERT_EQ(tqvSetWindow(handle, 1, 64, 32, 320, 240), TQV_OK);
  uint16_t x = 0, y = 0, width = 0, height = 0;
  ASSERT_EQ(tqvGetWindow(handle, 1, &x, &y, &width, &height), TQV_OK);
  EXPECT_EQ(x, 64);
  EXPECT_EQ(y, 32);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);
  EXPECT_EQ(camera->GetInt("Height"), 241);  // this camera counts one row more
  // The camera sums the dead rows (3 + 4); the backend reads the sum back into its constants,
  // so that the dead rows alone take seven rows' time.
  uint32_t deadRowsOnly = 0, oneMore = 0;
  ASSERT_EQ(tqvCalcDataWidth(handle, &deadRowsOnly, 640, 0), TQV_OK);
  ASSERT_EQ(tqvCalcDataWidth(handle, &oneMore, 640, 1), TQV_OK);
  EXPECT_EQ(deadRowsOnly, 7 * (oneMore - deadRowsOnly));
}

// A command executed with waiting: the camera finishes it while the backend polls.
sim::gev::FakeCamera* g_camera = nullptr;
int g_polls = 0;
void FinishOnPoll(zel::u32) {
  ++g_polls;
  g_camera->CompleteCommands();
}

TEST_F(Backend, CommandsAreWaitedForUntilTheCameraFinishes) {
  auto device = Open();
  ASSERT_TRUE(device);
  g_camera = camera.get();
  g_polls = 0;
  const zel::SleepHook previous = zel::SetSleepHook(&FinishOnPoll);
  EXPECT_EQ(gicExecute(device, "TriggerSoftware", true), TQV_OK);
  zel::SetSleepHook(previous);
  EXPECT_EQ(g_polls, 1);
  EXPECT_TRUE(camera->PendingCommands().empty());
  EXPECT_EQ(gicExecute(device, "TriggerRearm", false), TQV_OK);
  EXPECT_EQ(camera->PendingCommands(), std::vector<std::string>{"TriggerRearm"});
}

}  // namespace
