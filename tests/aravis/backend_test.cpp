// The GenICam backend over a camera on the network: created through the C interface over the
// Aravis device, it reads and writes each kind of register through Aravis's GigE Vision client; a
// camera that stops answering times out after the retries and leaves nothing behind.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "network.h"

namespace {

using aravis_test::Network;

class Backend : public Network {
 protected:
  // A handle over "gev:127.0.0.1"; the test's own reference to the device goes at once.
  void Create() { ASSERT_EQ(tqvCreateGenICam(&handle, Open()), TQV_OK); }
  // The handle goes before the camera stops, so that Aravis gives the camera's control back
  // instead of waiting for a camera that no longer answers.
  void TearDown() override {
    tqvDestroy(handle);
    handle = nullptr;
    Network::TearDown();
  }
  void* handle = nullptr;
};

// What the camera holds, read through the C interface: constants (at creation) and settings of
// each kind of register, values other than the simulated camera's so that they can only come
// from this camera.
TEST_F(Backend, ReadsWhatTheCameraHolds) {
  camera->SetInt("MfgClockFrequency", 40000000);
  camera->SetText("ComponentInfo", "5.1.2.33");  // under AppCore_Version, the selector's first
  camera->SetFloat("PS1DigitalGain", 2.75);
  camera->SetInt("ReverseY", 1);
  ASSERT_NO_FATAL_FAILURE(Create());
  uint32_t clock = 0;
  EXPECT_EQ(tqvGetClockFrequency(handle, &clock), TQV_OK);
  EXPECT_EQ(clock, 40000000u);
  uint8_t levels = 0, board = 9;
  EXPECT_EQ(tqvGetSupportedGainLevels(handle, &levels), TQV_OK);
  EXPECT_EQ(levels, 3);  // the gain level's maximum, 2, is a constant of the description
  EXPECT_EQ(tqvGetBoardType(handle, &board), TQV_OK);
  EXPECT_EQ(board, 3);
  uint16_t major = 0, minor = 0, build = 0;
  EXPECT_EQ(tqvGetMainAppVersion(handle, &major, &minor, &build), TQV_OK);
  EXPECT_EQ(std::vector<uint16_t>({major, minor, build}), std::vector<uint16_t>({5, 1, 33}));
  float gain = 0;
  EXPECT_EQ(tqvGetDigitalGain(handle, 1, &gain), TQV_OK);
  EXPECT_FLOAT_EQ(gain, 2.75f);
  bool invert = false;
  EXPECT_EQ(tqvGetInvertEnabled(handle, &invert), TQV_OK);
  EXPECT_TRUE(invert);
}

// A setting of each kind of register written through the C interface lands in the camera; the
// generic row test has every row (and the window, the dead rows, the conversions) against the
// simulated device.
TEST_F(Backend, SettingsLandInTheCamerasRegisters) {
  ASSERT_NO_FATAL_FAILURE(Create());
  const struct {
    const char* what;
    uint32_t (*set)(void*);
    const char* feature;
    double held;
  } writes[] = {
      {"integration width", [](void* h) { return tqvSetIntegrationWidth(h, 2, 30000); },
       "PS2IntegrationWidth", 30000},
      {"preset sequencing", [](void* h) { return tqvSetPresetSequencingMode(h, 2); },
       "PresetSequencingMode", 2},
      {"invert", [](void* h) { return tqvSetInvertEnabled(h, true); }, "ReverseY", 1},
      {"digital gain", [](void* h) { return tqvSetDigitalGain(h, 1, 2.5f); }, "PS1DigitalGain",
       2.5},
      // The register of the selector's first value keeps its own while the second is written.
      {"bias 1", [](void* h) { return tqvSetFPABiasEx(h, 1, 2.5f); }, "DetectorBias", 1.5},
      {"bias 0", [](void* h) { return tqvSetFPABiasEx(h, 0, 1.25f); }, "DetectorBias", 1.25},
  };
  for (const auto& write : writes) {
    ASSERT_EQ(write.set(handle), TQV_OK) << write.what;
    const bool isFloat = sim::gev::DefaultDescription().values.at(write.feature).kind ==
                         sim::gev::RegisterKind::Float;
    EXPECT_NEAR(isFloat ? camera->GetFloat(write.feature) : camera->GetInt(write.feature),
                write.held, 1e-6)
        << write.what;
  }
}

// A camera that stops answering: the backend retries, then reports the time-out, within a bounded
// time; destroying the handle leaves no thread and no socket behind.
TEST_F(Backend, AStoppedCameraTimesOutAfterTheRetriesAndNothingIsLeft) {
  camera.reset();  // counted without it
  const aravis_test::Resources before = aravis_test::CountResources();
  ASSERT_NO_FATAL_FAILURE(Serve());
  ASSERT_NO_FATAL_FAILURE(Create());
  uint32_t width = 0;
  ASSERT_EQ(tqvGetIntegrationWidth(handle, 0, &width), TQV_OK);
  EXPECT_GT(aravis_test::CountResources().threads, before.threads);  // Aravis's heartbeat

  camera->Stop();
  testutil::SleepRecorder sleeps;
  width = 12345;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(tqvGetIntegrationWidth(handle, 0, &width), TQV_TIMEOUT);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(width, 12345u);  // no output on failure
  // Three attempts, 600 ms apart; each waited for Aravis's own time-out (5 tries of 500 ms)...
  EXPECT_EQ(sleeps.Sleeps(), (std::vector<zel::u32>{600, 600}));
  EXPECT_GE(seconds.count(), 3 * 2.4);
  // ...and nothing waited much longer, even with Aravis's heartbeat trying the camera too.
  EXPECT_LE(seconds.count(), 30.0);

  tqvDestroy(handle);
  handle = nullptr;
  camera.reset();
  aravis_test::ExpectNothingLeft(before);
}

// Nobody at the address: opening gives up with the reason instead of a device.
TEST_F(Backend, NobodyAtTheAddress) {
  camera.reset();
  const aravis_test::Resources before = aravis_test::CountResources();
  zel::CString reason;
  EXPECT_FALSE(zel::cam::gic::OpenDevice("gev:127.0.0.1", &reason));
  EXPECT_NE(std::string(reason.c_str()).find("Aravis: GigEVision read_memory timeout"),
            std::string::npos)
      << reason.c_str();
  aravis_test::ExpectNothingLeft(before);
}

}  // namespace
