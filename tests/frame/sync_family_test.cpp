// Synchronisation, time, temperatures, voltages, identity, data links, lock-in, colours, reboot
// and coolers through the C interface, on both simulated cameras: what is written reads back, the
// clocks run in the cameras' simulated time, the answers that do not depend on the backend agree,
// every operation of several steps fails at each step, and two threads share a handle.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "common/testutil.h"

namespace {

using testutil::AnyCamera;
using testutil::Backend;
using testutil::BackendName;

class SyncFamily : public ::testing::TestWithParam<Backend> {
 protected:
  AnyCamera camera{GetParam()};
  void* h = camera.handle();
};

// An operation that only reads, called with throw-away outputs.
template <typename... Out>
std::function<u32(void*)> Reading(u32 (*op)(void*, Out*...)) {
  return [op](void* handle) {
    std::tuple<Out...> outputs{};
    return std::apply([&](Out&... out) { return op(handle, &out...); }, outputs);
  };
}

struct Clock {
  u8 year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool operator==(const Clock&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Clock& c) {
  return out << 2000 + c.year << "-" << int(c.month) << "-" << int(c.day) << " " << int(c.hour)
             << ":" << int(c.minute) << ":" << int(c.second);
}
Clock ReadClock(void* h) {
  Clock c;
  EXPECT_EQ(tqvGetRealTimeClock(h, &c.year, &c.month, &c.day, &c.hour, &c.minute, &c.second),
            TQV_OK);
  return c;
}

struct IRIG {
  u16 year = 0, day = 0;
  u8 hour = 0, minute = 0, second = 0;
  u16 millisecond = 0, microsecond = 0;
  // All but the millisecond, which the calls themselves move on.
  auto Fields() const { return std::tuple(year, day, hour, minute, second, microsecond); }
};
IRIG ReadIRIG(void* h) {
  IRIG t;
  t.year = 77;  // so that a year left alone shows
  EXPECT_EQ(tqvGetIRIGTime(h, &t.year, &t.day, &t.hour, &t.minute, &t.second, &t.millisecond,
                           &t.microsecond),
            TQV_OK);
  return t;
}

}  // namespace

// --- Time ----------------------------------------------------------------------------------------

TEST_P(SyncFamily, RealTimeClockCountsYearsFrom2000AndRunsFromWhatWasSet) {
  testutil::LogCapture refusedCommand;
  // The cameras start at 2024-01-01 00:00:00.
  EXPECT_EQ(ReadClock(h), (Clock{24, 1, 1, 0, 0, 0}));
  ASSERT_EQ(tqvSetRealTimeClock(h, 24, 2, 29, 23, 59, 58), TQV_OK);
  EXPECT_EQ(ReadClock(h), (Clock{24, 2, 29, 23, 59, 58}));
  camera.AdvanceMs(3000);
  EXPECT_EQ(ReadClock(h), (Clock{24, 3, 1, 0, 0, 1}));
  // 2023 had no 29 February: the camera refuses, and its clock runs on.
  EXPECT_EQ(tqvSetRealTimeClock(h, 23, 2, 29, 12, 0, 0), TQV_INVALID_ARGUMENT);
  camera.AdvanceMs(60000);
  EXPECT_EQ(ReadClock(h), (Clock{24, 3, 1, 0, 1, 1}));
}

TEST_P(SyncFamily, IRIGTimeRunsToTheMicrosecond) {
  ASSERT_EQ(tqvSetIRIGTime(h, 2024, 366, 23, 59, 59, 500, 250), TQV_OK);
  camera.AdvanceMs(700);
  const IRIG t = ReadIRIG(h);
  EXPECT_EQ(t.Fields(), std::tuple(2025, 1, 0, 0, 0, 250));
  // 700 ms and the few milliseconds the calls themselves take.
  EXPECT_GE(t.millisecond, 200);
  EXPECT_LT(t.millisecond, 230);
  bool locked = false;
  ASSERT_EQ(tqvGetIRIGLocked(h, &locked), TQV_OK);
  EXPECT_TRUE(locked);

  AnyCamera noYear(GetParam(), "sim:irig-no-year", "sim:irig-no-year");
  ASSERT_EQ(tqvSetIRIGTime(noYear.handle(), 1999, 200, 12, 30, 15, 0, 7), TQV_OK);
  noYear.AdvanceMs(2000);
  EXPECT_EQ(ReadIRIG(noYear.handle()).Fields(), std::tuple(0, 200, 12, 30, 17, 7));
}

TEST_P(SyncFamily, IRIGTriggerTimeReadsBackWhatWasSet) {
  ASSERT_EQ(tqvSetIRIGTriggerTime(h, 45, 6, 7, 8, 900, 10), TQV_OK);
  u16 day = 0, millisecond = 0, microsecond = 0;
  u8 hour = 0, minute = 0, second = 0;
  ASSERT_EQ(tqvGetIRIGTriggerTime(h, &day, &hour, &minute, &second, &millisecond, &microsecond),
            TQV_OK);
  EXPECT_EQ(std::tuple(day, hour, minute, second, millisecond, microsecond),
            std::tuple(45, 6, 7, 8, 900, 10));
}

// The rounding itself is timing_math_test's.
TEST_P(SyncFamily, InternalTriggerRateAndWidthFollowTheClockRoundingToTheNearestClock) {
  u32 width = 0;
  double hertz = 0;
  ASSERT_EQ(tqvSetInternalTriggerRate(h, 59.9), TQV_OK);
  ASSERT_EQ(tqvGetInternalTriggerWidth(h, &width), TQV_OK);
  EXPECT_EQ(width, 417362u);  // 25 MHz / 59.9 Hz = 417362.27
  ASSERT_EQ(tqvGetInternalTriggerRate(h, &hertz), TQV_OK);
  EXPECT_DOUBLE_EQ(hertz, 25e6 / 417362);
  ASSERT_EQ(tqvSetInternalTriggerWidth(h, 500000), TQV_OK);
  ASSERT_EQ(tqvGetInternalTriggerRate(h, &hertz), TQV_OK);
  EXPECT_DOUBLE_EQ(hertz, 50.0);
}

// --- Temperatures and voltages -------------------------------------------------------------------

TEST_P(SyncFamily, TemperaturesArePlausibleAndBoardsWarmUp) {
  float fpa = 0;
  ASSERT_EQ(tqvGetFPATemperature(h, &fpa), TQV_OK);
  EXPECT_NEAR(fpa, 77.1f, 0.2f);  // kelvin on both backends
  float digitizer = 0, power = 0, front = 0, gap = 0, internal = 0, front2 = 0, gap2 = 0,
        chassis = 0, lens = 0;
  ASSERT_EQ(tqvGetBoardTemperatures(h, &digitizer, &power), TQV_OK);
  ASSERT_EQ(tqvGetVxTemperatures(h, &front, &gap, &internal), TQV_OK);
  ASSERT_EQ(tqvGetKxTemperatures(h, &front2, &gap2), TQV_OK);
  ASSERT_EQ(tqvGetTxTemperatures(h, &chassis), TQV_OK);
  ASSERT_EQ(tqvGetLensTemperature(h, &lens), TQV_OK);
  for (float celsius : {digitizer, power, front, gap, internal, front2, gap2, chassis, lens}) {
    EXPECT_GT(celsius, 20.0f);
    EXPECT_LT(celsius, 30.0f);  // just switched on
  }
  camera.AdvanceMs(20 * 60 * 1000);
  float warmDigitizer = 0, warmPower = 0;
  ASSERT_EQ(tqvGetBoardTemperatures(h, &warmDigitizer, &warmPower), TQV_OK);
  EXPECT_GT(warmDigitizer, digitizer + 10);
  EXPECT_LT(warmDigitizer, 50.0f);
  EXPECT_GT(warmPower, power + 5);
  ASSERT_EQ(tqvGetFPATemperature(h, &fpa), TQV_OK);
  EXPECT_NEAR(fpa, 77.1f, 0.2f);  // regulated
}

// A sensor that does not read ends the reading: its output and the later ones keep what they held.
TEST_P(SyncFamily, ReadingsOfSeveralSensorsStopAtTheFirstFailure) {
  if (camera.tree()) camera.tree()->InjectFault(".system.tempsens.airGap", TQV_FAILED);
  if (camera.device())  // the air gap is the selector's second reading
    camera.device()->InjectFault(
        {"DeviceTemperature", sim::genicam::Fault::RuntimeError, 1, 1, "get"});
  float front = -1000, gap = -1000, internal = -1000;
  EXPECT_EQ(tqvGetVxTemperatures(h, &front, &gap, &internal), TQV_FAILED);
  EXPECT_GT(front, 0);
  EXPECT_EQ(gap, -1000);
  EXPECT_EQ(internal, -1000);
}

// Which voltages are read-only, and what refuses them, is each backend's own test.
TEST_P(SyncFamily, EditableVoltagesReadBackWithinTheirLimits) {
  zel::TArray<zel::CString> names;
  ASSERT_EQ(tqvListVoltages(h, names), TQV_OK);
  int editables = 0;
  for (u32 i = 0; i < names.GetCount(); ++i) {
    const char* name = names[i].c_str();
    SCOPED_TRACE(name);
    bool editable = false;
    char display[64] = {};
    ASSERT_EQ(tqvGetVoltageEditable(h, name, &editable), TQV_OK);
    ASSERT_EQ(tqvGetVoltageDisplayName(h, name, display, sizeof display), TQV_OK);
    EXPECT_GT(std::strlen(display), 0u);
    if (!editable) continue;
    ++editables;
    float low = 0, high = 0, volts = 0;
    ASSERT_EQ(tqvGetVoltageLimits(h, name, &low, &high), TQV_OK);
    ASSERT_LT(low, high);
    ASSERT_EQ(tqvSetVoltage(h, name, low + (high - low) / 4), TQV_OK);
    ASSERT_EQ(tqvGetVoltage(h, name, &volts), TQV_OK);
    EXPECT_FLOAT_EQ(volts, low + (high - low) / 4);
  }
  EXPECT_GE(editables, 2);
  float volts = 9;
  char display[64] = "untouched";
  EXPECT_EQ(tqvGetVoltage(h, "nope", &volts), TQV_NOT_FOUND);
  EXPECT_EQ(tqvSetVoltage(h, "nope", 1.0f), TQV_NOT_FOUND);
  EXPECT_EQ(tqvGetVoltageDisplayName(h, "nope", display, sizeof display), TQV_NOT_FOUND);
  EXPECT_EQ(volts, 9);
  EXPECT_STREQ(display, "untouched");
}

// --- Identity and data links ---------------------------------------------------------------------

TEST_P(SyncFamily, SerialNumberReadsBackAndNeedsRoomForItsText) {
  char serial[32] = {};
  ASSERT_EQ(tqvSetCameraSN(h, "SN-0042"), TQV_OK);
  ASSERT_EQ(tqvGetCameraSN(h, serial, sizeof serial), TQV_OK);
  EXPECT_STREQ(serial, "SN-0042");
  char tiny[7] = "??????";
  EXPECT_EQ(tqvGetCameraSN(h, tiny, sizeof tiny), TQV_ERROR);  // one byte short of the text
  EXPECT_STREQ(tiny, "??????");
}

// The profile's value first, then what is written; the links and lock-in the cameras say they
// have.
TEST_P(SyncFamily, SettingsStartAtTheProfileAndReadBackWhatIsWritten) {
  const struct {
    const char* name;
    u32 (*get)(void*, u8*);
    u32 (*set)(void*, u8);
    u8 first, wanted;
  } settings[] = {
      {"variant", &tqvGetVariant, &tqvSetVariant, 0, 1},
      {"pleora board", &tqvGetPleoraBoardType, &tqvSetPleoraBoardType, 0, 2},
      {"camera link type", &tqvGetCameraLinkType, &tqvSetCameraLinkType, 1, 0},  // Full, Base
      {"coaxpress links", &tqvGetCoaXPressLinkCount, &tqvSetCoaXPressLinkCount, 4, 2},
      {"lock-in coupling", &tqvGetLockinCoupling, &tqvSetLockinCoupling, 0, 1},  // AC, DC
      {"lock-in alpha", &tqvGetLockinAlphaFilter, &tqvSetLockinAlphaFilter, 0, 5},
  };
  for (const auto& setting : settings) {
    SCOPED_TRACE(setting.name);
    u8 value = 99;
    ASSERT_EQ(setting.get(h, &value), TQV_OK);
    EXPECT_EQ(value, setting.first);
    ASSERT_EQ(setting.set(h, setting.wanted), TQV_OK);
    ASSERT_EQ(setting.get(h, &value), TQV_OK);
    EXPECT_EQ(value, setting.wanted);
  }
  EXPECT_EQ(tqvSetCoaXPressLinkCount(h, 5), TQV_INVALID_ARGUMENT);
  for (const auto has : {&tqvGetCameraLinkTypeAvailable, &tqvGetCameraLinkTypeWritable,
                         &tqvGetCoaXPressLinkCountAvailable, &tqvGetCoaXPressLinkCountWritable,
                         &tqvGetLockinAvailable}) {
    bool yes = false;
    ASSERT_EQ(has(h, &yes), TQV_OK);
    EXPECT_TRUE(yes);
  }
  // The property tree keeps both lock-in frequencies as whole counts of the clock: within 0.1 %.
  float hertz = 0;
  ASSERT_EQ(tqvSetLockinEstInputFreq(h, 5000.0f), TQV_OK);
  ASSERT_EQ(tqvGetLockinEstInputFreq(h, &hertz), TQV_OK);
  EXPECT_NEAR(hertz, 5000.0f, 5.0f);
  ASSERT_EQ(tqvSetLockinSampleFreq(h, 100000.0f), TQV_OK);
  ASSERT_EQ(tqvGetLockinSampleFreq(h, &hertz), TQV_OK);
  EXPECT_NEAR(hertz, 100000.0f, 1000.0f);
}

// A camera without a Pleora board reports none and takes only that.
TEST_P(SyncFamily, PleoraBoardOfACameraWithoutOne) {
  if (camera.tree()) camera.tree()->Remove(".system.settings.gigE.type");
  if (camera.device()) {
    camera.device()->Remove("PleoraBoardType");
    camera.device()->Remove("MfgPleoraBoardType");
  }
  u8 board = 9;
  ASSERT_EQ(tqvGetPleoraBoardType(h, &board), TQV_OK);
  EXPECT_EQ(board, 0);
  EXPECT_EQ(tqvSetPleoraBoardType(h, 0), TQV_OK);
  EXPECT_EQ(tqvSetPleoraBoardType(h, 1), TQV_NOT_SUPPORTED);
  EXPECT_EQ(tqvSetPleoraBoardType(h, 2), TQV_NOT_SUPPORTED);
  if (camera.tree()) {
    EXPECT_TRUE(camera.tree()->Writes().empty());
  } else {
    for (const auto& access : camera.device()->Log())
      EXPECT_TRUE(access.access != "set" && access.access != "execute") << access.feature;
  }
}

TEST_P(SyncFamily, HeaderModesOfEveryLink) {
  const std::pair<u32 (*)(void*, u8*), u32 (*)(void*, u8)> links[] = {
      {&tqvGetCameraLinkHeaderMode, &tqvSetCameraLinkHeaderMode},
      {&tqvGetCoaXPressHeaderMode, &tqvSetCoaXPressHeaderMode},
      {&tqvGetGigEHeaderMode, &tqvSetGigEHeaderMode},
  };
  for (const auto& [get, set] : links) {
    for (u8 mode : {1, 2, 0, 2, 1}) {
      u8 read = 9;
      ASSERT_EQ(set(h, mode), TQV_OK);
      ASSERT_EQ(get(h, &read), TQV_OK);
      EXPECT_EQ(read, mode);
    }
    EXPECT_EQ(set(h, 3), TQV_NOT_SUPPORTED);
    u8 read = 9;
    ASSERT_EQ(get(h, &read), TQV_OK);
    EXPECT_EQ(read, 1);  // the refused mode changed nothing
  }
  // Setting one link's mode leaves the others alone.
  u8 read = 9;
  ASSERT_EQ(tqvSetCoaXPressHeaderMode(h, 2), TQV_OK);
  ASSERT_EQ(tqvGetGigEHeaderMode(h, &read), TQV_OK);
  EXPECT_EQ(read, 1);
}

// --- Lock-in, black hot, colours, reboot, coolers ------------------------------------------------

TEST_P(SyncFamily, BlackHotAndColoursPerPreset) {
  bool on = false;
  ASSERT_EQ(tqvSetBlackHotEnabled(h, true), TQV_OK);
  ASSERT_EQ(tqvGetBlackHotEnabled(h, &on), TQV_OK);
  EXPECT_TRUE(on);

  u8 colors = 0, color = 9, other = 9, after = 9;
  ASSERT_EQ(tqvGetNumColors(h, &colors), TQV_OK);
  EXPECT_EQ(colors, 2);
  ASSERT_EQ(tqvGetColor(h, 3, &other), TQV_OK);
  for (u8 wanted : {1, 0}) {
    ASSERT_EQ(tqvSetColor(h, 2, wanted), TQV_OK);
    ASSERT_EQ(tqvGetColor(h, 2, &color), TQV_OK);
    EXPECT_EQ(color, wanted);
  }
  ASSERT_EQ(tqvGetColor(h, 3, &after), TQV_OK);
  EXPECT_EQ(after, other);
  EXPECT_EQ(tqvSetColor(h, 2, colors), TQV_INVALID_ARGUMENT);
}

TEST_P(SyncFamily, RebootFillsTheEventQueue) {
  tqvEEventType event = 9;
  ASSERT_EQ(tqvReadEventQueue(h, &event), TQV_OK);
  EXPECT_EQ(event, 0u);
  ASSERT_EQ(tqvReboot(h), TQV_OK);
  std::vector<tqvEEventType> events;
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(tqvReadEventQueue(h, &event), TQV_OK);
    events.push_back(event);
  }
  EXPECT_EQ(events, (std::vector<tqvEEventType>{3, 4, 0, 0}));
}

TEST_P(SyncFamily, CoolerValuesReadBack) {
  u8 type = 9;
  ASSERT_EQ(tqvMfgGetCoolerType(h, &type), TQV_OK);
  EXPECT_EQ(type, 1);  // detector
  ASSERT_EQ(tqvMfgSetCoolerSetup(h, 3.0f, 0.5f, 0.25f, -1.0f), TQV_OK);
  float p = 0, i = 0, d = 0, offset = 0, setpoint = 0;
  ASSERT_EQ(tqvMfgGetCoolerSetup(h, &p, &i, &d, &offset), TQV_OK);
  EXPECT_EQ(std::tuple(p, i, d, offset), std::tuple(3.0f, 0.5f, 0.25f, -1.0f));
  ASSERT_EQ(tqvMfgSetCoolerSetpoint(h, 80.0f), TQV_OK);
  ASSERT_EQ(tqvMfgGetCoolerSetpoint(h, &setpoint), TQV_OK);
  EXPECT_FLOAT_EQ(setpoint, 80.0f);
  for (bool wanted : {false, true}) {
    bool power = !wanted;
    ASSERT_EQ(tqvMfgSetCoolerPowerEnabled(h, wanted), TQV_OK);
    ASSERT_EQ(tqvMfgGetCoolerPowerEnabled(h, &power), TQV_OK);
    EXPECT_EQ(power, wanted);
  }
  bool legacy = true;
  ASSERT_EQ(tqvGetLegacyVFPGA(h, &legacy), TQV_OK);
  EXPECT_FALSE(legacy);
}

// --- Two threads, several steps ------------------------------------------------------------------

TEST_P(SyncFamily, TwoThreadsOnOneHandle) {
  testutil::SleepRecorder noWaiting;
  auto work = [this](u8 preset) {
    for (int round = 0; round < 20; ++round) {
      float volts = 0;
      u8 mode = 0;
      EXPECT_EQ(Reading(&tqvGetRealTimeClock)(h), TQV_OK);
      EXPECT_EQ(tqvSetRealTimeClock(h, 24, 6, 1, 12, 0, 0), TQV_OK);
      EXPECT_EQ(Reading(&tqvGetVxTemperatures)(h), TQV_OK);
      EXPECT_EQ(tqvGetVoltage(h, "vos", &volts), TQV_OK);
      EXPECT_EQ(tqvSetGigEHeaderMode(h, static_cast<u8>(round % 3)), TQV_OK);
      EXPECT_EQ(Reading(&tqvGetCameraLinkHeaderMode)(h), TQV_OK);
      EXPECT_EQ(tqvSetColor(h, preset, static_cast<u8>(round % 2)), TQV_OK);
      EXPECT_EQ(tqvGetColor(h, preset, &mode), TQV_OK);
      EXPECT_EQ(tqvSetInternalTriggerRate(h, 30.0 + preset), TQV_OK);
      EXPECT_EQ(Reading(&tqvGetInternalTriggerRate)(h), TQV_OK);
      EXPECT_EQ(tqvSetLockinSampleFreq(h, 50000.0f), TQV_OK);
      tqvInfoEntryArray* list = tqvInfoEntryArray_Alloc();
      EXPECT_EQ(tqvGetCameraExtraInfo(h, list), TQV_OK);
      tqvInfoEntryArray_Free(list);
      char serial[32];
      EXPECT_EQ(tqvGetCameraSN(h, serial, sizeof serial), TQV_OK);
    }
  };
  std::thread other(work, u8{1});
  work(2);
  other.join();
}

TEST_P(SyncFamily, EveryStepOfEveryOperationCanFail) {
  testutil::SleepRecorder noWaiting;
  testutil::LogCapture failedCommands;
  // The camera each backend runs the operation on; null: the operation has one step or none there.
  const struct {
    const char* name;
    std::function<u32(void*)> run;
    const char* tree = "sim";
    const char* gic = "sim";
  } operations[] = {
      {"get clock", Reading(&tqvGetRealTimeClock)},
      {"set clock", [](void* h) { return tqvSetRealTimeClock(h, 24, 5, 6, 7, 8, 9); }},
      {"get irig", Reading(&tqvGetIRIGTime)},
      {"set irig", [](void* h) { return tqvSetIRIGTime(h, 2024, 5, 6, 7, 8, 9, 10); }},
      {"get irig without year", Reading(&tqvGetIRIGTime), "sim:irig-no-year", "sim:irig-no-year"},
      {"get trigger time", Reading(&tqvGetIRIGTriggerTime)},
      {"set trigger time", [](void* h) { return tqvSetIRIGTriggerTime(h, 5, 6, 7, 8, 9, 10); }},
      {"vx temperatures", Reading(&tqvGetVxTemperatures)},
      {"board temperatures", Reading(&tqvGetBoardTemperatures)},
      {"list voltages",
       [](void* h) {
         zel::TArray<zel::CString> names;
         return tqvListVoltages(h, names);
       }},
      {"voltage", Reading(+[](void* h, float* v) { return tqvGetVoltage(h, "vref", v); })},
      {"set voltage", [](void* h) { return tqvSetVoltage(h, "vos", 1.5f); }},
      {"display name",
       [](void* h) {
         char text[64];
         return tqvGetVoltageDisplayName(h, "vos", text, sizeof text);
       }},
      {"get variant", Reading(&tqvGetVariant)},
      {"set variant", [](void* h) { return tqvSetVariant(h, 1); }},
      {"get pleora", Reading(&tqvGetPleoraBoardType)},
      {"set pleora", [](void* h) { return tqvSetPleoraBoardType(h, 2); }},
      {"cl writable", Reading(&tqvGetCameraLinkTypeWritable)},
      {"cl type", Reading(&tqvGetCameraLinkType)},
      {"set cl type", [](void* h) { return tqvSetCameraLinkType(h, 0); }},
      {"cxp links", Reading(&tqvGetCoaXPressLinkCount)},
      {"set cxp links", [](void* h) { return tqvSetCoaXPressLinkCount(h, 2); }},
      {"header mode", Reading(&tqvGetCoaXPressHeaderMode)},
      {"set header mode", [](void* h) { return tqvSetGigEHeaderMode(h, 2); }},
      {"header mode by transport", Reading(&tqvGetHeaderMode), nullptr},
      {"set header mode by transport", [](void* h) { return tqvSetHeaderMode(h, 1); }, nullptr},
      {"gige presets", Reading(&tqvGetGigEPresetSupported)},
      {"lock-in", Reading(&tqvGetLockinAvailable)},
      {"alpha", [](void* h) { return tqvSetLockinAlphaFilter(h, 3); }},
      {"input frequency", Reading(&tqvGetLockinEstInputFreq)},
      {"set sample frequency", [](void* h) { return tqvSetLockinSampleFreq(h, 100000.0f); }},
      {"trigger rate", [](void* h) { return tqvSetInternalTriggerRate(h, 20.0); }},
      {"black hot", [](void* h) { return tqvSetBlackHotEnabled(h, true); }},
      {"colour", Reading(+[](void* h, u8* v) { return tqvGetColor(h, 3, v); })},
      {"set colour", [](void* h) { return tqvSetColor(h, 3, 1); }},
      {"reboot", [](void* h) { return tqvReboot(h); }},
      {"legacy", Reading(&tqvGetLegacyVFPGA), "sim:tqv2"},
      {"cooler setup", Reading(&tqvMfgGetCoolerSetup)},
      {"set cooler setup", [](void* h) { return tqvMfgSetCoolerSetup(h, 1, 2, 3, 4); }},
      {"cooler power", [](void* h) { return tqvMfgSetCoolerPowerEnabled(h, false); }},
  };
  for (const auto& operation : operations) {
    SCOPED_TRACE(operation.name);
    testutil::SweepOptions options;
    auto run = [&](void* handle, bool) { return operation.run(handle); };
    if (GetParam() == Backend::PropertyTree && operation.tree) {
      options.address = operation.tree;
      testutil::SweepPTree(run, options);
    } else if (GetParam() == Backend::GenICam && operation.gic) {
      options.address = operation.gic;
      testutil::SweepGenICam(run, options);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothBackends, SyncFamily,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICam), BackendName);
