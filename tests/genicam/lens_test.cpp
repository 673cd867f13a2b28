// The GenICam backend's lens, filter wheel and flag operations where the feature accesses matter:
// the paths chosen by which features the camera has, the focus speed entries, the selectors, the
// autofocus wait with the lock released while it sleeps, and every step of the operations of
// several steps failing in turn.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "common/testutil.h"

using sim::genicam::Fault;
using testutil::GicCamera;

namespace {

using Call = std::function<u32(void* handle)>;

// The writes and executions of the log, as "Feature=value" and "Feature()", one after another.
std::string Changes(const sim::genicam::Device& device) {
  std::string changes;
  for (const auto& access : device.Log()) {
    if (access.access == "set") changes += " " + access.feature + "=" + access.value;
    if (access.access == "execute") changes += " " + access.feature + "()";
  }
  return changes.empty() ? changes : changes.substr(1);
}

// A reading widened to u32, so that one table holds getters of several types; `start` shows
// whether the output was touched.
template <typename T>
std::function<u32(void*, u32*)> Answer(u32 (*get)(void*, T*), std::type_identity_t<T> start = {}) {
  return [get, start](void* h, u32* answer) {
    T value = start;
    const u32 result = get(h, &value);
    *answer = value;
    return result;
  };
}

}  // namespace

TEST(GicLens, SettingsGoThroughADesiredValueAndACommandWhereTheCameraHasThem) {
  struct Case {
    Call call;
    const char* decides;  // removed for the second run
    const char* withIt;
    const char* without;
  };
  const Case cases[] = {
      {[](void* h) { return tqvSetCurrentFilterID(h, 2); }, "FilterWheelDesiredFilterID",
       "FilterWheelDesiredFilterID=2 FilterWheelSelectDesiredFilterID()",
       "FilterWheelCurrentFilterID=2"},
      {[](void* h) { return tqvSetFocusPos(h, 3000); }, "FocusMoveToDesiredPosition",
       "FocusDesiredPosition=3000 FocusMoveToDesiredPosition()", "FocusPosition=3000"},
      {[](void* h) { return tqvSetFOVPos(h, 300); }, "FOVMoveToDesiredPos",
       "FOVDesiredPos=300 FOVMoveToDesiredPos()", "FOVPos=300"},
      {[](void* h) { return tqvSetFlagState(h, 1); }, "FlagMoveToInFOV", "FlagMoveToInFOV()",
       "FlagState=1"},
      {[](void* h) { return tqvSetFlagState(h, 0); }, "FlagMoveToStowed", "FlagMoveToStowed()",
       "FlagState=0"},
      {[](void* h) { return tqvSetLensCoverState(h, 1); }, "LensCoverMoveToClosed",
       "LensCoverMoveToClosed()", "LensCoverState=1"},
      {[](void* h) { return tqvSetLensCoverState(h, 0); }, "LensCoverMoveToOpen",
       "LensCoverMoveToOpen()", "LensCoverState=0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.withIt);
    GicCamera cam;
    ASSERT_EQ(c.call(cam.handle()), TQV_OK);
    EXPECT_EQ(Changes(cam.device()), c.withIt);
    GicCamera without;
    ASSERT_TRUE(without.device().Remove(c.decides));
    ASSERT_EQ(c.call(without.handle()), TQV_OK);
    EXPECT_EQ(Changes(without.device()), c.without);
  }
}

TEST(GicLens, FocusSpeedsAreEntriesNamedByDirectionAndPace) {
  const char* const entries[] = {"FarFast",  "FarMedium",  "FarSlow", "Stop",
                                 "NearSlow", "NearMedium", "NearFast"};
  for (i32 speed = -3; speed <= 3; ++speed) {
    GicCamera cam;
    ASSERT_EQ(tqvFocusMove(cam.handle(), speed), TQV_OK);
    EXPECT_EQ(Changes(cam.device()), std::string("FocusMove=") + entries[speed + 3]);
  }
  GicCamera cam;
  for (i32 speed : {4, -4, 1000}) {
    EXPECT_EQ(tqvFocusMove(cam.handle(), speed), TQV_FAILED);
  }
  EXPECT_TRUE(cam.device().Log().empty());
}

TEST(GicLens, SelectedValuesSelectFirst) {
  GicCamera cam;
  float temperature = 0;
  ASSERT_EQ(tqvGetFlagTemperature(cam.handle(), &temperature), TQV_OK);
  EXPECT_EQ(Changes(cam.device()), "DeviceTemperatureSelector=8");
  EXPECT_EQ(cam.device().Count("DeviceTemperature", "get"), 1u);

  cam.device().ClearLog();
  u32 speeds[3];
  ASSERT_EQ(tqvMfgGetFocusSpeeds(cam.handle(), 1, &speeds[0], &speeds[1], &speeds[2]), TQV_OK);
  EXPECT_EQ(Changes(cam.device()), "FocusQueryFOV=1");

  cam.device().ClearLog();
  char name[32];
  ASSERT_EQ(tqvGetFilterInfoName(cam.handle(), 2, name, sizeof name), TQV_OK);
  EXPECT_EQ(Changes(cam.device()), "FilterInfoIndex=2");
  EXPECT_STREQ(name, "3.0-5.0 um");
}

TEST(GicLens, AnswersForFeaturesTheCameraLacks) {
  struct Case {
    const char* removed;
    const char* unavailable;
    std::function<u32(void* h, u32* answer)> call;
    u32 result;
    u32 answer;
  };
  const Case cases[] = {
      {"FilterReplaceable", nullptr, Answer(&tqvGetFilterReplaceable), 0, 1},  // as the wheel
      {"FocusToDistanceAvailable", nullptr, Answer(&tqvGetFocusToDistanceAvailable), 0, 1},
      {"FocusToDistanceAvailable", "FocusToDistance", Answer(&tqvGetFocusToDistanceAvailable), 0,
       0},
      {nullptr, "LensFocalLength", Answer(&tqvGetLensInfoAvailable), 0, 0},
      {"FocusPresent", nullptr, Answer(&tqvGetFocusPresent), 0, 0},
      {"FOVPresent", nullptr, Answer(&tqvGetFOVPresent), 0, 0},
      {"FilterInfoAvailable", nullptr, Answer(&tqvGetFilterInfoAvailable), 0, 0},
      {"FilterIDInSlot1", nullptr,
       Answer<u8>([](void* h, u8* id) { return tqvGetFilterIDInSlot(h, 1, id); }, 77),
       TQV_NOT_SUPPORTED, 77},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.removed ? c.removed : "") + " " +
                 (c.unavailable ? c.unavailable : ""));
    GicCamera cam;
    ASSERT_TRUE(!c.removed || cam.device().Remove(c.removed));
    if (c.unavailable) cam.device().SetAvailable(c.unavailable, false);
    u32 answer = 99;
    EXPECT_EQ(c.call(cam.handle(), &answer), c.result);
    EXPECT_EQ(answer, c.answer);
  }
  GicCamera cam;
  ASSERT_TRUE(cam.device().Remove("FilterIDInSlot0"));
  EXPECT_EQ(tqvSetFilterIDInSlot(cam.handle(), 0, 3), TQV_NOT_SUPPORTED);
  cam.device().ClearLog();
  u8 id = 0;
  EXPECT_EQ(tqvGetFilterIDInSlot(cam.handle(), 4, &id), TQV_NOT_FOUND);
  EXPECT_TRUE(cam.device().Log().empty());
  // Without their own feature, filters are replaceable exactly when there is a wheel.
  ASSERT_TRUE(cam.device().Remove("FilterReplaceable"));
  ASSERT_TRUE(cam.device().Remove("FilterWheelPresent"));
  bool replaceable = true;
  ASSERT_EQ(tqvGetFilterReplaceable(cam.handle(), &replaceable), TQV_OK);
  EXPECT_FALSE(replaceable);
}

TEST(GicLens, TheFirstFailingFilterIDEndsTheRead) {
  GicCamera cam;
  cam.device().InjectFault(
      {.feature = "FilterWheelFilterID2", .fault = Fault::Access, .access = "get"});
  u8 ids[4] = {42, 42, 42, 42};
  EXPECT_EQ(tqvGetFilterIDs(cam.handle(), &ids[0], &ids[1], &ids[2], &ids[3]), TQV_ACCESS_DENIED);
  EXPECT_EQ(std::vector<u8>(ids, ids + 4), (std::vector<u8>{0, 1, 42, 42}));
}

// --- The lock while the autofocus waits ---------------------------------------------------------

namespace {
// While the autofocus sleeps, another thread calls on the same handle; its call must complete
// before the sleep ends (joined afterwards, so that a held lock cannot hang the test).
std::atomic<void*> g_handle{nullptr};
std::atomic<int> g_answered{0};
std::atomic<int> g_sleeps{0};
std::vector<std::thread>* g_others = nullptr;

void CallFromAnotherThread(u32) {
  ++g_sleeps;
  auto answer = std::make_shared<std::promise<u32>>();
  std::future<u32> answered = answer->get_future();
  void* handle = g_handle.load();
  g_others->emplace_back([handle, answer] {
    u32 position = 0;
    answer->set_value(tqvGetFocusCurrentPos(handle, &position));
  });
  if (answered.wait_for(std::chrono::seconds(10)) == std::future_status::ready &&
      answered.get() == TQV_OK) {
    ++g_answered;
  }
}
}  // namespace

TEST(GicLens, OtherCallsOnTheHandleRunWhileTheAutofocusWaits) {
  GicCamera cam;
  std::vector<std::thread> others;
  g_handle = cam.handle();
  g_answered = 0;
  g_sleeps = 0;
  g_others = &others;
  zel::SleepHook previous = zel::SetSleepHook(&CallFromAnotherThread);
  const u32 result = tqvAutoFocusFull(cam.handle(), true);
  zel::SetSleepHook(previous);
  for (std::thread& other : others)
    other.join();
  g_others = nullptr;
  EXPECT_EQ(result, TQV_OK);
  EXPECT_GE(g_sleeps.load(), 3);
  EXPECT_EQ(g_answered.load(), g_sleeps.load());
  // The start command itself is not waited on: the autofocus reports its own progress.
  EXPECT_EQ(cam.device().Count("FocusAutoFull", "isDone"), 0u);
}

// --- Several steps -------------------------------------------------------------------------------

TEST(GicLens, EveryStepOfTheOperationsOfSeveralStepsFailsInTurn) {
  testutil::SleepRecorder noWaiting;
  testutil::LogCapture failedCommands;
  u32 d[3];
  u16 code = 0;
  u8 b[4];
  bool on = false;
  float f = 0;
  char text[64];
  const std::pair<const char*, Call> cases[] = {
      {"GetFilterIDs", [&](void* h) { return tqvGetFilterIDs(h, &b[0], &b[1], &b[2], &b[3]); }},
      {"SetCurrentFilterID", [](void* h) { return tqvSetCurrentFilterID(h, 2); }},
      {"GetFilterReplaceable", [&](void* h) { return tqvGetFilterReplaceable(h, &on); }},
      {"GetFilterInfoName", [&](void* h) { return tqvGetFilterInfoName(h, 1, text, 64); }},
      {"SetFilterInfoName", [](void* h) { return tqvSetFilterInfoName(h, 1, "Open"); }},
      {"GetFlagTemperature", [&](void* h) { return tqvGetFlagTemperature(h, &f); }},
      {"GetFocusRange", [&](void* h) { return tqvGetFocusRange(h, &d[0], &d[1]); }},
      {"SetFocusPos", [](void* h) { return tqvSetFocusPos(h, 3000); }},
      {"GetFocusFarPos", [&](void* h) { return tqvGetFocusFarPos(h, 1, &d[0]); }},
      {"SetFocusNearPos", [](void* h) { return tqvSetFocusNearPos(h, 0, 170); }},
      {"GetFOVRange", [&](void* h) { return tqvGetFOVRange(h, &d[0], &d[1]); }},
      {"SetFOVPos", [](void* h) { return tqvSetFOVPos(h, 200); }},
      {"GetAutoFocusStatus",
       [&](void* h) { return tqvGetAutoFocusStatus(h, &code, text, sizeof text); }},
      {"GetAutoFocusResult",
       [&](void* h) { return tqvGetAutoFocusResult(h, &code, text, sizeof text); }},
      {"AutoFocusFull", [](void* h) { return tqvAutoFocusFull(h, true); }},
      {"AutoFocusFast", [](void* h) { return tqvAutoFocusFast(h, true); }},
      {"SetLensControlType", [](void* h) { return tqvSetLensControlType(h, 2); }},
      {"MfgGetFocusSpeeds",
       [&](void* h) { return tqvMfgGetFocusSpeeds(h, 1, &d[0], &d[1], &d[2]); }},
      {"MfgSetFocusSpeeds", [](void* h) { return tqvMfgSetFocusSpeeds(h, 0, 5, 6, 7); }},
      {"MfgGetFocusSlowControl", [&](void* h) { return tqvMfgGetFocusSlowControl(h, 1, &b[0]); }},
      {"MfgSetFocusAccuracy", [](void* h) { return tqvMfgSetFocusAccuracy(h, 1, 3); }},
  };
  for (const auto& [name, call] : cases) {
    SCOPED_TRACE(name);
    testutil::SweepGenICam([&call = call](void* h, bool) { return call(h); });
  }
}
