// The GenICam backend's core: feature access, retries, exception translation, command execution,
// initialisation and the core operations.
#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"

using sim::genicam::Fault;
using sim::genicam::FaultSpec;
using testutil::GicCamera;
using testutil::Handle;

namespace {

FaultSpec Faults(const std::string& feature, Fault fault, int count,
                 const std::string& access = "") {
  FaultSpec spec;
  spec.feature = feature;
  spec.fault = fault;
  spec.count = count;
  spec.access = access;
  return spec;
}

}  // namespace

TEST(GicAccess, RetriesTimeOutsSixHundredMillisecondsApart) {
  testutil::SleepRecorder sleeps;
  GicCamera cam;
  cam.device().SetInt("PS0IntegrationWidth", 3000);
  cam.device().InjectFault(Faults("PS0IntegrationWidth", Fault::Timeout, 2, "get"));
  u32 width = 0;
  EXPECT_EQ(tqvGetIntegrationWidth(cam.handle(), 0, &width), TQV_OK);
  EXPECT_EQ(width, 3000u);
  EXPECT_EQ(sleeps.Sleeps(), (std::vector<u32>{600, 600}));  // three in vain: the next test
}

TEST(GicAccess, WrongKindOrMissingFeatureFailsQuietly) {
  testutil::LogCapture log;
  GicCamera cam;
  i64 value = 42;
  EXPECT_EQ(gicGetInt64(cam.gic(), "PS0IntegrationTime", &value, kGicAttempts), TQV_ERROR);
  EXPECT_EQ(gicGetInt64(cam.gic(), "NoSuchFeature", &value, kGicAttempts), TQV_ERROR);
  EXPECT_EQ(value, 42);
  bool flag = true;
  EXPECT_EQ(gicGetBool(cam.gic(), "Width", &flag, kGicAttempts), TQV_ERROR);
  EXPECT_TRUE(flag);
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_FALSE(gicIsAvailable(cam.gic(), "NoSuchFeature"));
  EXPECT_TRUE(gicIsAvailable(cam.gic(), "Width"));
}

// Every library exception gives its code, whether a feature's access, its lookup or a command's
// execution throws it; only time-outs of an access are retried. A failed execution writes one log
// line.
TEST(GicAccess, EveryExceptionKindHasItsCode) {
  const std::pair<Fault, u32> cases[] = {
      {Fault::Timeout, 1},
      {Fault::Access, 170},
      {Fault::InvalidArgument, 166},
      {Fault::OutOfRange, 166},
      {Fault::RuntimeError, 165},
      {Fault::LogicError, 165},
      {Fault::Exception, 0xFFFFFFFF},
      {Fault::NonStandard, 0xFFFFFFFF},
  };
  testutil::SleepRecorder sleeps;
  for (const auto& [fault, code] : cases) {
    SCOPED_TRACE(FaultName(fault));
    testutil::LogCapture log;
    GicCamera cam;
    const int attempts = fault == Fault::Timeout ? 3 : 1;
    cam.device().InjectFault(Faults("SuperframeWidth", fault, attempts, "get"));
    u32 width = 99;
    EXPECT_EQ(tqvGetSuperframeWidth(cam.handle(), &width), code);
    EXPECT_EQ(width, 99u);
    cam.device().InjectFault(Faults("SuperframeWidth", fault, 1, "lookup"));
    EXPECT_EQ(tqvGetSuperframeWidth(cam.handle(), &width), code);
    EXPECT_TRUE(log.Lines().empty());

    cam.device().InjectFault(Faults("FileOperationExecute", fault, 1, "execute"));
    EXPECT_EQ(gicExecute(cam.gic(), "FileOperationExecute", true), code);
    EXPECT_EQ(cam.device().PendingFaults(), 0u);
    const std::vector<std::string> lines = log.Lines();
    ASSERT_EQ(lines.size(), 1u);
    if (fault == Fault::NonStandard) {
      EXPECT_EQ(lines[0], "gicExecute(FileOperationExecute): FAILED, unhandled exception.");
    } else {
      EXPECT_EQ(lines[0].rfind("gicExecute(FileOperationExecute): FAILED, caught exception: ", 0),
                0u)
          << lines[0];
      EXPECT_EQ(lines[0].back(), '.');
    }
  }
  EXPECT_EQ(sleeps.Sleeps(), (std::vector<u32>{600, 600}));  // the timed-out access alone
}

TEST(GicExecute, MissingCommandWritesOneLogLine) {
  testutil::LogCapture log;
  GicCamera cam;
  EXPECT_EQ(gicExecute(cam.gic(), "NoSuchCommand", true), TQV_ERROR);
  EXPECT_EQ(gicExecute(cam.gic(), "Width", false), TQV_ERROR);  // not a command either
  EXPECT_EQ(log.Lines(),
            (std::vector<std::string>{"gicExecute(NoSuchCommand): FAILED, command not found.",
                                      "gicExecute(Width): FAILED, command not found."}));
}

TEST(GicExecute, WaitsForCompletionAndGivesUpAfterFortyOneFailedQueries) {
  testutil::SleepRecorder sleeps;
  GicCamera cam;
  auto& device = cam.device();
  device.SetPollsUntilDone("FileOperationExecute", 3);
  EXPECT_EQ(gicExecute(cam.gic(), "FileOperationExecute", true), TQV_OK);
  EXPECT_EQ(sleeps.Sleeps(), (std::vector<u32>{250, 250, 250}));

  sleeps.Clear();
  EXPECT_EQ(gicExecute(cam.gic(), "FileOperationExecute", false), TQV_OK);  // no wait
  EXPECT_TRUE(sleeps.Sleeps().empty());

  device.SetPollsUntilDone("FileOperationExecute", 0);
  device.InjectFault(Faults("FileOperationExecute", Fault::RuntimeError, 40, "isDone"));
  EXPECT_EQ(gicExecute(cam.gic(), "FileOperationExecute", true), TQV_OK);  // the 41st query answers
  EXPECT_EQ(sleeps.Sleeps().size(), 40u);

  sleeps.Clear();
  device.InjectFault(Faults("FileOperationExecute", Fault::NonStandard, 41, "isDone"));
  EXPECT_EQ(gicExecute(cam.gic(), "FileOperationExecute", true), TQV_ERROR);
  EXPECT_EQ(sleeps.Sleeps().size(), 40u);
}

TEST(GicAccess, StringBufferNeedsOneByteMoreThanTheText) {
  GicCamera cam;
  cam.device().SetString("DeviceModelName", "abcde");
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(gicGetString(cam.gic(), "DeviceModelName", buffer, 5, kGicAttempts), TQV_ERROR);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(gicGetString(cam.gic(), "DeviceModelName", buffer, 6, kGicAttempts), TQV_OK);
  EXPECT_STREQ(buffer, "abcde");
}

TEST(GicCore, PresetPrefixes) {
  GicCamera cam;
  u32 width = 0;
  EXPECT_EQ(tqvGetIntegrationWidth(cam.handle(), 3, &width), TQV_OK);
  EXPECT_EQ(cam.device().Count("PS3IntegrationWidth", "get"), 1u);
  EXPECT_EQ(tqvGetIntegrationWidth(cam.handle(), 4, &width), TQV_ERROR);  // "PSX": no such feature
  EXPECT_EQ(cam.device().Count("PSXIntegrationWidth", "lookup"), 1u);

  GicCamera grabber("sim:grabber");
  EXPECT_EQ(tqvGetIntegrationWidth(grabber.handle(), 2, &width), TQV_OK);
  EXPECT_EQ(grabber.device().Count("IntegrationWidth", "get"), 1u);
  u8 presets = 0;
  EXPECT_EQ(tqvGetNumPresets(grabber.handle(), &presets), TQV_OK);
  EXPECT_EQ(presets, 1);
}

TEST(GicCore, InitialisationReadsReadinessBoardAndConstants) {
  GicCamera cam;
  auto* backend = static_cast<CTQVSDKGenICam*>(cam.handle());
  const FPAConstants& c = backend->constants();
  EXPECT_EQ(backend->boardType(), 3u);
  EXPECT_EQ(c.readoutChannels, 4);
  EXPECT_EQ(c.clockFrequency, 25000000u);
  EXPECT_EQ(c.deadRows, 2u);
  EXPECT_EQ(c.minimumIntegrationWidth, 25u);
  EXPECT_EQ(c.maximumFrameWidth, 25000000u);
  EXPECT_EQ(c.frameDeadWidth, 8u);
  EXPECT_EQ(c.maximumGainLevel, 2);

  auto device = zel::cam::gic::OpenDevice("sim:not-ready");
  void* handle = &handle;
  EXPECT_EQ(tqvCreateGenICam(&handle, device), TQV_ERROR);
  EXPECT_EQ(handle, nullptr);
}

TEST(GicCore, FlagsBitZeroToleratesMissingConstants) {
  auto device = zel::cam::gic::OpenDevice("sim");
  sim::genicam::DeviceOf(device.get())->Remove("MfgPipelineDelay");
  void* handle = &handle;
  EXPECT_EQ(tqvCreateGenICamEx(&handle, device, 0), TQV_ERROR);
  EXPECT_EQ(handle, nullptr);
  Handle kept;
  EXPECT_EQ(tqvCreateGenICamEx(kept.out(), device, 1), TQV_OK);
  auto* backend = static_cast<CTQVSDKGenICam*>(kept.get());
  EXPECT_EQ(backend->constants().maximumFrameWidth, 25000000u);  // read before the failure
  EXPECT_EQ(backend->constants().pipelineDelay, 0u);
  EXPECT_EQ(backend->constants().frameDeadWidth, 0u);  // never reached

  // Without "GainLevel" only flags bit 0 saves the handle; a frame grabber never asks.
  auto noGain = zel::cam::gic::OpenDevice("sim:no-optional");
  EXPECT_EQ(tqvCreateGenICamEx(&handle, noGain, 0), TQV_ERROR);
  Handle tolerant;
  EXPECT_EQ(tqvCreateGenICamEx(tolerant.out(), noGain, 1), TQV_OK);
  GicCamera grabber("sim:grabber");
  EXPECT_EQ(grabber.device().Count("GainLevel"), 0u);
  EXPECT_EQ(static_cast<CTQVSDKGenICam*>(grabber.handle())->constants().maximumGainLevel, 0);
}

TEST(GicCore, CacheOperationsAnswerWithoutACache) {
  GicCamera cam;
  bool enabled = false;
  EXPECT_EQ(tqvSetCacheEnabled(cam.handle(), false), TQV_NOT_SUPPORTED);
  EXPECT_EQ(tqvGetCacheEnabled(cam.handle(), &enabled), TQV_OK);
  EXPECT_TRUE(enabled);
  EXPECT_EQ(tqvSetCacheEnabled(cam.handle(), true), TQV_OK);
  EXPECT_EQ(tqvClearCache(cam.handle()), TQV_NOT_SUPPORTED);
  EXPECT_EQ(tqvFillCache(cam.handle()), TQV_NOT_SUPPORTED);
}

TEST(GicCore, ConnectionBoardAndVersion) {
  GicCamera cam;
  auto& device = cam.device();
  EXPECT_EQ(tqvTestConnection(cam.handle()), TQV_OK);
  EXPECT_EQ(device.Count("Ready", "get"), 1u);
  device.SetBool("Ready", false);
  EXPECT_EQ(tqvTestConnection(cam.handle()), TQV_OK);  // the value itself is not judged

  bool tqv2 = true;
  EXPECT_EQ(tqvIsTQV2(cam.handle(), &tqv2), TQV_OK);
  EXPECT_FALSE(tqv2);
  device.SetInt("BoardType", 1);
  EXPECT_EQ(tqvIsTQV2(cam.handle(), &tqv2), TQV_OK);
  EXPECT_TRUE(tqv2);

  struct Case {
    const char* text;
    u32 result;
    u16 major, minor, build;
  };
  const Case cases[] = {
      {"4.2.7.19", TQV_OK, 4, 2, 19},
      {"4.2.7", TQV_UNEXPECTED_VALUE, 0, 0, 0},
      {"release", TQV_UNEXPECTED_VALUE, 0, 0, 0},
      {"3.4.0.27-beta", TQV_OK, 3, 4, 27},
  };
  for (const Case& test : cases) {
    device.SetString("ComponentInfoSelector", "AppCore_Version");
    device.SetString("ComponentInfo", test.text);
    device.SetString("ComponentInfoSelector", "FPGA_Version");  // the library must select it
    u16 major = 0, minor = 0, build = 0;
    EXPECT_EQ(tqvGetMainAppVersion(cam.handle(), &major, &minor, &build), test.result) << test.text;
    EXPECT_EQ(major, test.major);
    EXPECT_EQ(minor, test.minor);
    EXPECT_EQ(build, test.build);
  }
}

TEST(GicCore, EventQueueAcknowledgesLensControlChanges) {
  GicCamera cam;
  auto& device = cam.device();
  for (i64 code : {1, 2, 3}) {
    device.SetBool("LensControlTypeChanged", false);
    device.SetInt("EventQueue", code);
    tqvEEventType event = 0;
    EXPECT_EQ(tqvReadEventQueue(cam.handle(), &event), TQV_OK);
    EXPECT_EQ(event, static_cast<u32>(code));
    EXPECT_EQ(device.GetBool("LensControlTypeChanged"), code != 3) << code;
  }
  device.SetAvailable("EventQueue", false);
  tqvEEventType event = 9;
  EXPECT_EQ(tqvReadEventQueue(cam.handle(), &event), TQV_OK);
  EXPECT_EQ(event, 0u);
}

// --- Concurrency ---------------------------------------------------------------------------------

namespace {
// Which operation a log record belongs to: the window read or the dwell counts.
int OperationOf(const sim::genicam::Access& record) {
  static const char* const kWindow[] = {"ImageHeight", "OffsetX", "OffsetY", "Width", "Height"};
  for (const char* name : kWindow) {
    if (record.feature == name) return 0;
  }
  return record.feature.find("DwellCount") != std::string::npos ? 1 : -1;
}
}  // namespace

TEST(GicConcurrency, OneHandleSerialisesOperations) {
  GicCamera cam;
  constexpr int kRounds = 200;
  std::thread window([&] {
    u16 x, y, w, h;
    for (int i = 0; i < kRounds; ++i)
      ASSERT_EQ(tqvGetWindow(cam.handle(), 0, &x, &y, &w, &h), TQV_OK);
  });
  std::thread dwell([&] {
    u32 a, b, c, d;
    for (int i = 0; i < kRounds; ++i)
      ASSERT_EQ(tqvGetDwellCounts(cam.handle(), &a, &b, &c, &d), TQV_OK);
  });
  window.join();
  dwell.join();
  // The log splits into whole operations: 9 records of a window read (the "ImageHeight" lookup,
  // then a lookup and a get for each value) or 8 of the four dwell counts.
  auto log = cam.device().Log();
  std::size_t i = 0;
  int windows = 0, dwells = 0;
  while (i < log.size()) {
    int operation = OperationOf(log[i]);
    ASSERT_NE(operation, -1) << log[i].feature;
    std::size_t length = operation == 0 ? 9 : 8;
    ASSERT_LE(i + length, log.size());
    for (std::size_t j = i; j < i + length; ++j) {
      ASSERT_EQ(OperationOf(log[j]), operation) << "interleaved at record " << j;
    }
    (operation == 0 ? windows : dwells) += 1;
    i += length;
  }
  EXPECT_EQ(windows, kRounds);
  EXPECT_EQ(dwells, kRounds);
}

TEST(GicConcurrency, TwoHandlesProceedInParallel) {
  GicCamera slow, fast;
  std::promise<void> inside, release;
  std::shared_future<void> released = release.get_future().share();
  slow.device().OnWrite("SuperframeWidth", [&](sim::genicam::Device&, const std::string&) {
    inside.set_value();
    released.wait();
  });
  std::thread blocked([&] { EXPECT_EQ(tqvSetSuperframeWidth(slow.handle(), 2000000), TQV_OK); });
  inside.get_future().wait();
  // The first handle is held inside an operation; the second is not held up by it.
  u32 width = 0;
  EXPECT_EQ(tqvGetSuperframeWidth(fast.handle(), &width), TQV_OK);
  release.set_value();
  blocked.join();
  EXPECT_EQ(slow.device().GetInt("SuperframeWidth"), 2000000);
}
