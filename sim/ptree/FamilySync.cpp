// Synchronisation, triggering, time, temperatures, voltages and identity on the simulated camera.
#include <array>
#include <memory>

#include "Families.h"
#include "SimShared.h"

namespace sim::ptree {

using namespace paramtree;

namespace {

constexpr const char* kSection = R"(
# --- Synchronisation, triggering, time, temperatures, voltages and identity ------------------
behaviour real-time-clock
behaviour irig-time
behaviour irig-trigger-time
behaviour temperature-drift
.system.settings.sync.source                        string  "Internal"
.system.settings.sync.extPolarity                   string  "Active High"
.system.settings.sync.extDelay                      f32     0.0                  limits=0,1000
.system.settings.trigger.source                     string  "Internal"
.system.settings.trigger.extPolarity                string  "Active High"
.system.settings.trigger.extDelay                   f32     0.0                  limits=0,1000
.system.settings.trigger.sequenceCount              u32     1                    limits=1,65535
.system.settings.trigger.intWidth                   u32     416667               limits=25000,25000000
.system.settings.trigger.mode                       string  "Free Run"
.system.settings.trigger.rearm                      bool    false
.system.settings.trigger.softwareTrigger            bool    false
.system.settings.trigger.time.read                  bool    false
.system.settings.trigger.time.commit                bool    false
.system.settings.trigger.time.day                   u16     1                    limits=1,366
.system.settings.trigger.time.hour                  u8      0                    limits=0,23
.system.settings.trigger.time.minute                u8      0                    limits=0,59
.system.settings.trigger.time.second                u8      0                    limits=0,59
.system.settings.trigger.time.millisecond           u16     0                    limits=0,999
.system.settings.trigger.time.microsecond           u16     0                    limits=0,999
.system.settings.irigLatchSource                    string  "Frame Start"
.system.irig.locked                                 bool    true                 ro
.system.settings.integrateOutPolarity               string  "Active High"
.system.settings.syncOutSource                      string  "Frame Start"
.system.settings.syncOutPolarity                    string  "Active High"
.system.settings.p0.syncOutDelay                    f32     0.0                  limits=0,1000
.system.settings.p1.syncOutDelay                    f32     1.5                  limits=0,1000
.system.settings.p2.syncOutDelay                    f32     3.0                  limits=0,1000
.system.settings.p3.syncOutDelay                    f32     4.5                  limits=0,1000
.system.settings.p0.saturationCountThreshold        u16     16000
.system.settings.p1.saturationCountThreshold        u16     15000
.system.settings.p2.saturationCountThreshold        u16     14000
.system.settings.p3.saturationCountThreshold        u16     13000
.system.settings.p0.saturationPixelThreshold        u32     100
.system.settings.p1.saturationPixelThreshold        u32     200
.system.settings.p2.saturationPixelThreshold        u32     300
.system.settings.p3.saturationPixelThreshold        u32     400
.system.settings.p{0..3}.saturatedPixels            u32     0                    ro
.system.settings.saturatedFlag                      bool    false                ro
.system.settings.fpa.coldTemp                       f32     77.0                 limits=40,120
.stats.operatingTime                                u32     1234                 ro

# Real-time clock (a running clock: "read" latches it into the fields, "commit" sets it)
.system.time.read                                   bool    false
.system.time.commit                                 bool    false
.system.time.year                                   int     2024                 limits=2000,2255
.system.time.month                                  u8      1                    limits=1,12
.system.time.day                                    u8      1                    limits=1,31
.system.time.hour                                   u8      0                    limits=0,23
.system.time.min                                    u8      0                    limits=0,59
.system.time.sec                                    u8      0                    limits=0,59

# IRIG time decoded from the input (likewise read and commit)
.system.irig.read                                   bool    false
.system.irig.commit                                 bool    false
.system.irig.year                                   u16     2024                 limits=2000,2099
.system.irig.day                                    u16     1                    limits=1,366
.system.irig.hour                                   u8      0                    limits=0,23
.system.irig.min                                    u8      0                    limits=0,59
.system.irig.sec                                    u8      0                    limits=0,59
.system.irig.msec                                   u16     0                    limits=0,999
.system.irig.usec                                   u16     0                    limits=0,999

# Temperatures (the FPA in kelvin, the rest in degrees Celsius); they drift while the camera runs
.system.tempsens.FPA                                f32     77.0                 ro
.system.tempsens.digitizer                          f32     25.0                 ro
.system.tempsens.powerBoard                         f32     25.0                 ro
.system.tempsens.frontPanel                         f32     25.0                 ro
.system.tempsens.airGap                             f32     25.0                 ro
.system.tempsens.internal                           f32     25.0                 ro
.system.tempsens.chassis                            f32     25.0                 ro
.system.lens.temperature                            f32     25.0                 ro

# Component information (the video FPGA is fitted; the processing, capture and recorder ones
# are not)
.version.hw.fpga.versionVFPGA                       u32     0x02010007           ro hex
.version.hw.fpga.crcVFPGA                           u32     0x1B7E44C0           ro hex
.version.product.flexPartNumber                     string  "FX-640-2"           ro
.version.product.flexRevision                       u8      3                    ro
.version.product.flexSerial                         u32     40917                ro
)";

// Writing true to `trigger` runs `action`; the trigger reads back false.
void OnTrigger(Camera& camera, const std::string& trigger, std::function<u32(Camera&)> action) {
  camera.OnWrite(trigger, [action](Camera& c, const std::string& path, const Value& value) -> u32 {
    if (!value.integer) return kOk;
    c.Update(path, Value::Bool(false));
    return action(c);
  });
}

i64 Field(Camera& camera, const std::string& path) { return camera.Integer(path); }
void Put(Camera& camera, const std::string& path, i64 value) {
  camera.Update(path, Value::OfInteger(Type::UInt32, value));
}

// A clock under `base` that runs in simulated time from the time its fields show at the start
// (a camera without a year field counts in `startYear`): true at "read" shows the running time
// in the fields, true at "commit" sets the clock from them (a day that does not exist: 166).
void InstallClock(Camera& camera, const std::string& base, const ClockFields& fields,
                  int startYear) {
  auto fieldsOf = [base, fields](Camera& c, CivilTime from) {
    return ReadClockFields(fields, from, [&](const char* name, int* value) {
      if (!c.Has(base + name)) return false;
      *value = static_cast<int>(Field(c, base + name));
      return true;
    });
  };
  CivilTime start;
  start.year = startYear;
  auto clock = std::make_shared<RunningClock>();
  clock->Set(MicrosecondsOf(fieldsOf(camera, start), fields.byDayOfYear), camera.NowMs());
  OnTrigger(camera, base + "read", [base, fields, clock](Camera& c) {
    ShowClockFields(fields, CivilOf(clock->At(c.NowMs())), [&](const char* name, int value) {
      if (c.Has(base + name)) Put(c, base + name, value);
    });
    return kOk;
  });
  OnTrigger(camera, base + "commit", [fields, clock, fieldsOf](Camera& c) -> u32 {
    const CivilTime t = fieldsOf(c, CivilOf(clock->At(c.NowMs())));
    if (!DayExists(t, fields)) return kInvalidArgument;
    clock->Set(MicrosecondsOf(t, fields.byDayOfYear), c.NowMs());
    return kOk;
  });
}

// The real-time clock starts at the date and time the profile gives.
void InstallRealTimeClock(Camera& camera) {
  static constexpr ClockFields kFields{
      {"year", "month", "day", "hour", "min", "sec", nullptr, nullptr}, false};
  InstallClock(camera, ".system.time.", kFields, 1970);
}

// IRIG time runs to the microsecond; an input without a year keeps counting in 2024.
void InstallIRIGTime(Camera& camera) {
  static constexpr ClockFields kFields{
      {"year", nullptr, "day", "hour", "min", "sec", "msec", "usec"}, true};
  InstallClock(camera, ".system.irig.", kFields, 2024);
}

// The IRIG time a trigger waits for: "commit" takes the fields, "read" puts the taken time back.
void InstallIRIGTriggerTime(Camera& camera) {
  const std::string base = ".system.settings.trigger.time.";
  static constexpr const char* kFields[] = {"day",    "hour",        "minute",
                                            "second", "millisecond", "microsecond"};
  auto taken = std::make_shared<std::array<i64, 6>>();
  for (std::size_t i = 0; i < taken->size(); ++i)
    (*taken)[i] = Field(camera, base + kFields[i]);
  OnTrigger(camera, base + "commit", [base, taken](Camera& c) {
    for (std::size_t i = 0; i < taken->size(); ++i)
      (*taken)[i] = Field(c, base + kFields[i]);
    return kOk;
  });
  OnTrigger(camera, base + "read", [base, taken](Camera& c) {
    for (std::size_t i = 0; i < taken->size(); ++i)
      Put(c, base + kFields[i], (*taken)[i]);
    return kOk;
  });
}

// Boards warm up towards their running temperatures over some minutes; the detector stays
// regulated at its setpoint with a small ripple.
void InstallTemperatureDrift(Camera& camera) {
  static const struct {
    const char* path;
    Drift drift;
  } kSensors[] = {
      {".system.tempsens.FPA", {77.0, 77.0, 60, 0.05, 20}},
      {".system.tempsens.digitizer", {25.0, 48.0, 600, 0.2, 90}},
      {".system.tempsens.powerBoard", {25.0, 43.0, 900, 0.2, 120}},
      {".system.tempsens.frontPanel", {25.0, 31.0, 1200, 0.1, 300}},
      {".system.tempsens.airGap", {25.0, 35.0, 1000, 0.1, 240}},
      {".system.tempsens.internal", {25.0, 38.0, 800, 0.1, 180}},
      {".system.tempsens.chassis", {25.0, 33.0, 1500, 0.1, 300}},
      {".system.lens.temperature", {25.0, 29.0, 1800, 0.05, 400}},
  };
  for (const auto& sensor : kSensors) {
    if (!camera.Has(sensor.path)) continue;
    const Drift drift = sensor.drift;
    camera.OnRead(sensor.path, [drift](Camera& c, const std::string& path) -> u32 {
      c.Update(path, Value::F32(static_cast<float>(drift.At(c.NowMs()))));
      return kOk;
    });
  }
}

constexpr Behaviour kBehaviours[] = {
    {"real-time-clock", &InstallRealTimeClock},
    {"irig-time", &InstallIRIGTime},
    {"irig-trigger-time", &InstallIRIGTriggerTime},
    {"temperature-drift", &InstallTemperatureDrift},
};

}  // namespace

extern const FamilyPart kSyncPart{"sync", kSection, kBehaviours};

}  // namespace sim::ptree
