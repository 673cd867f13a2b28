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

// A clock that runs in simulated time from the time its fields show at the start (a camera
// without a year feature counts in `startYear`): `read` shows the running time in the fields,
// `write` sets the clock from them (a day that does not exist: std::out_of_range).
void InstallClock(Device& device, const char* read, const char* write, const ClockFields& fields,
                  int startYear) {
  Need(device, "clock", {read, write});
  auto fieldsOf = [fields](const Device& d, CivilTime from) {
    return ReadClockFields(fields, from, [&](const char* name, int* value) {
      if (!d.Has(name)) return false;
      *value = static_cast<int>(d.GetInt(name));
      return true;
    });
  };
  CivilTime start;
  start.year = startYear;
  auto clock = std::make_shared<RunningClock>();
  clock->Set(MicrosecondsOf(fieldsOf(device, start), fields.byDayOfYear), device.NowMs());
  device.OnExecute(read, [fields, clock](Device& d, const std::string&) {
    ShowClockFields(fields, CivilOf(clock->At(d.NowMs())), [&](const char* name, int value) {
      if (d.Has(name)) d.SetInt(name, value);
    });
  });
  device.OnExecute(write, [fields, clock, fieldsOf](Device& d, const std::string&) {
    const CivilTime t = fieldsOf(d, CivilOf(clock->At(d.NowMs())));
    if (!DayExists(t, fields)) throw std::out_of_range("no such day");
    clock->Set(MicrosecondsOf(t, fields.byDayOfYear), d.NowMs());
  });
}

// The real-time clock starts at the date and time the profile gives.
void InstallRealTimeClock(Device& device) {
  static constexpr ClockFields kFields{
      {"RTCYear", "RTCMonth", "RTCDay", "RTCHour", "RTCMinute", "RTCSecond", nullptr, nullptr},
      false};
  InstallClock(device, "RTCRead", "RTCWrite", kFields, 1970);
}

// IRIG time runs to the microsecond; an input without a year keeps counting in 2024.
void InstallIRIGTime(Device& device) {
  static constexpr ClockFields kFields{{"IRIGYear", nullptr, "IRIGDay", "IRIGHour", "IRIGMinute",
                                        "IRIGSecond", "IRIGMillisecond", "IRIGMicrosecond"},
                                       true};
  InstallClock(device, "IRIGRead", "IRIGWrite", kFields, 2024);
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
