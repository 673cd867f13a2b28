// Synchronisation, triggering, time, temperatures, voltages and identity on the simulated device.
#include <array>
#include <memory>
#include <stdexcept>

#include "SimShared.h"
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- Synchronisation, triggering, time, temperatures, voltages and identity ------------------
enum     IRIGLatchSource             FrameStart  entries=FrameStart:0,IntegrationStart:1,IntegrationEnd:2
bool     IRIGLocked                  true        ro
int      {P}SaturationCountThreshold 16000       min=0 max=65535
int      {P}SaturationPixelThreshold 100         min=0 max=1000000
int      {P}SaturatedPixels          0           ro min=0
bool     SaturatedFlag               false       ro

# identity under the names some cameras use first
string   CameraSerial                "SIM0001234" ro
string   CameraModel                 "SIM-640"   ro
behaviour mirror MfgDeviceID        CameraSerial
behaviour mirror MfgDeviceModelName CameraModel

# real-time clock: RTCRead latches the running clock into the fields, RTCWrite sets it
command  RTCRead
command  RTCWrite
int      RTCYear                     2024        min=2000 max=2255
int      RTCMonth                    1           min=1 max=12
int      RTCDay                      1           min=1 max=31
int      RTCHour                     0           min=0 max=23
int      RTCMinute                   0           min=0 max=59
int      RTCSecond                   0           min=0 max=59
behaviour real-time-clock

# IRIG time decoded from the input, and the IRIG time a trigger waits for
command  IRIGRead
command  IRIGWrite
int      IRIGYear                    2024        min=2000 max=2099
int      IRIGDay                     1           min=1 max=366
int      IRIGHour                    0           min=0 max=23
int      IRIGMinute                  0           min=0 max=59
int      IRIGSecond                  0           min=0 max=59
int      IRIGMillisecond             0           min=0 max=999
int      IRIGMicrosecond             0           min=0 max=999
behaviour irig-time
command  TriggerIRIGRead
command  TriggerIRIGWrite
int      TriggerIRIGDay              1           min=1 max=366
int      TriggerIRIGHour             0           min=0 max=23
int      TriggerIRIGMinute           0           min=0 max=59
int      TriggerIRIGSecond           0           min=0 max=59
int      TriggerIRIGMillisecond      0           min=0 max=999
int      TriggerIRIGMicrosecond      0           min=0 max=999
behaviour irig-trigger-time

# temperatures by selector (degrees Celsius), drifting while the camera runs
at DeviceTemperatureSelector=FrontPanel  DeviceTemperature  25.0
at DeviceTemperatureSelector=AirGap      DeviceTemperature  25.0
at DeviceTemperatureSelector=Chassis     DeviceTemperature  25.0
at DeviceTemperatureSelector=Lens        DeviceTemperature  25.0
at DeviceTemperatureSelector=Flag        DeviceTemperature  25.0
behaviour temperature-drift
)";

void Need(const Device& device, const char* behaviour, std::initializer_list<std::string> names) {
  for (const std::string& name : names) {
    if (!device.Has(name)) {
      throw std::runtime_error(std::string("behaviour ") + behaviour + " needs the feature " +
                               name);
    }
  }
}

// The real-time clock runs in simulated time from the date and time the profile gives.
void InstallRealTimeClock(Device& device) {
  Need(device, "real-time-clock",
       {"RTCRead", "RTCWrite", "RTCYear", "RTCMonth", "RTCDay", "RTCHour", "RTCMinute",
        "RTCSecond"});
  auto fromFields = [](const Device& d) {
    CivilTime t;
    t.year = static_cast<int>(d.GetInt("RTCYear"));
    t.month = static_cast<int>(d.GetInt("RTCMonth"));
    t.day = static_cast<int>(d.GetInt("RTCDay"));
    t.hour = static_cast<int>(d.GetInt("RTCHour"));
    t.minute = static_cast<int>(d.GetInt("RTCMinute"));
    t.second = static_cast<int>(d.GetInt("RTCSecond"));
    return t;
  };
  auto clock = std::make_shared<RunningClock>();
  clock->Set(MicrosecondsOf(fromFields(device), false), device.NowMs());
  device.OnExecute("RTCRead", [clock](Device& d, const std::string&) {
    const CivilTime t = CivilOf(clock->At(d.NowMs()));
    d.SetInt("RTCYear", t.year);
    d.SetInt("RTCMonth", t.month);
    d.SetInt("RTCDay", t.day);
    d.SetInt("RTCHour", t.hour);
    d.SetInt("RTCMinute", t.minute);
    d.SetInt("RTCSecond", t.second);
  });
  device.OnExecute("RTCWrite", [clock, fromFields](Device& d, const std::string&) {
    const CivilTime t = fromFields(d);
    if (t.day > DaysInMonth(t.year, t.month)) throw std::out_of_range("no such day");
    clock->Set(MicrosecondsOf(t, false), d.NowMs());
  });
}

// IRIG time runs the same way, to the microsecond. A camera without "IRIGYear" decodes no year
// from its input and keeps counting in the year it started in.
void InstallIRIGTime(Device& device) {
  Need(device, "irig-time",
       {"IRIGRead", "IRIGWrite", "IRIGDay", "IRIGHour", "IRIGMinute", "IRIGSecond",
        "IRIGMillisecond", "IRIGMicrosecond"});
  auto fromFields = [](const Device& d, int year) {
    CivilTime t;
    t.year = d.Has("IRIGYear") ? static_cast<int>(d.GetInt("IRIGYear")) : year;
    t.dayOfYear = static_cast<int>(d.GetInt("IRIGDay"));
    t.hour = static_cast<int>(d.GetInt("IRIGHour"));
    t.minute = static_cast<int>(d.GetInt("IRIGMinute"));
    t.second = static_cast<int>(d.GetInt("IRIGSecond"));
    t.millisecond = static_cast<int>(d.GetInt("IRIGMillisecond"));
    t.microsecond = static_cast<int>(d.GetInt("IRIGMicrosecond"));
    return t;
  };
  constexpr int kYearWithoutInput = 2024;
  auto clock = std::make_shared<RunningClock>();
  clock->Set(MicrosecondsOf(fromFields(device, kYearWithoutInput), true), device.NowMs());
  device.OnExecute("IRIGRead", [clock](Device& d, const std::string&) {
    const CivilTime t = CivilOf(clock->At(d.NowMs()));
    if (d.Has("IRIGYear")) d.SetInt("IRIGYear", t.year);
    d.SetInt("IRIGDay", t.dayOfYear);
    d.SetInt("IRIGHour", t.hour);
    d.SetInt("IRIGMinute", t.minute);
    d.SetInt("IRIGSecond", t.second);
    d.SetInt("IRIGMillisecond", t.millisecond);
    d.SetInt("IRIGMicrosecond", t.microsecond);
  });
  device.OnExecute("IRIGWrite", [clock, fromFields](Device& d, const std::string&) {
    const CivilTime t = fromFields(d, CivilOf(clock->At(d.NowMs())).year);
    if (t.dayOfYear > (IsLeapYear(t.year) ? 366 : 365)) throw std::out_of_range("no such day");
    clock->Set(MicrosecondsOf(t, true), d.NowMs());
  });
}

// TriggerIRIGWrite takes the fields, TriggerIRIGRead puts the taken time back.
void InstallIRIGTriggerTime(Device& device) {
  static const char* const kFields[] = {"TriggerIRIGDay",         "TriggerIRIGHour",
                                        "TriggerIRIGMinute",      "TriggerIRIGSecond",
                                        "TriggerIRIGMillisecond", "TriggerIRIGMicrosecond"};
  Need(device, "irig-trigger-time", {"TriggerIRIGRead", "TriggerIRIGWrite"});
  auto taken = std::make_shared<std::array<i64, 6>>();
  for (std::size_t i = 0; i < taken->size(); ++i) {
    Need(device, "irig-trigger-time", {kFields[i]});
    (*taken)[i] = device.GetInt(kFields[i]);
  }
  device.OnExecute("TriggerIRIGWrite", [taken](Device& d, const std::string&) {
    for (std::size_t i = 0; i < taken->size(); ++i)
      (*taken)[i] = d.GetInt(kFields[i]);
  });
  device.OnExecute("TriggerIRIGRead", [taken](Device& d, const std::string&) {
    for (std::size_t i = 0; i < taken->size(); ++i)
      d.SetInt(kFields[i], (*taken)[i]);
  });
}

// Boards warm up towards their running temperatures over some minutes; the detector stays
// regulated near -196 degrees Celsius. A read gives the selected sensor's value at that moment.
void InstallTemperatureDrift(Device& device) {
  Need(device, "temperature-drift", {"DeviceTemperatureSelector", "DeviceTemperature"});
  static const Drift kSensors[] = {
      {-196.0, -196.0, 60, 0.05, 20},  // FPA
      {25.0, 48.0, 600, 0.2, 90},      // digitizer board
      {25.0, 43.0, 900, 0.2, 120},     // power board
      {25.0, 31.0, 1200, 0.1, 300},    // front panel
      {25.0, 35.0, 1000, 0.1, 240},    // air gap
      {25.0, 38.0, 800, 0.1, 180},     // internal
      {25.0, 33.0, 1500, 0.1, 300},    // chassis
      {25.0, 29.0, 1800, 0.05, 400},   // lens
      {25.0, 26.0, 1800, 0.05, 400},   // flag
  };
  device.OnRead("DeviceTemperature", [](Device& d, const std::string& name) {
    const i64 sensor = d.GetInt("DeviceTemperatureSelector");
    if (sensor >= 0 && sensor < static_cast<i64>(std::size(kSensors))) {
      d.SetFloat(name, kSensors[sensor].At(d.NowMs()));
    }
  });
}

bool Install(Device& device, const std::vector<std::string>& args) {
  static const struct {
    const char* name;
    void (*install)(Device&);
  } kBehaviours[] = {
      {"real-time-clock", &InstallRealTimeClock},
      {"irig-time", &InstallIRIGTime},
      {"irig-trigger-time", &InstallIRIGTriggerTime},
      {"temperature-drift", &InstallTemperatureDrift},
  };
  for (const auto& behaviour : kBehaviours) {
    if (args[0] != behaviour.name) continue;
    if (args.size() != 1) throw std::runtime_error(args[0] + " takes no arguments");
    behaviour.install(device);
    return true;
  }
  return false;
}

}  // namespace

extern const FamilyPart kSyncPart{"sync", kSection, &Install};

}  // namespace sim::genicam
