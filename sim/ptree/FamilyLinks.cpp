// Data links, lock-in, high-speed mode, colour, events, reboot and cooler values on the simulated
// camera.
#include <memory>
#include <optional>

#include "Families.h"
#include "SimShared.h"

namespace sim::ptree {

using namespace paramtree;

namespace {

constexpr const char* kSection = R"(
# --- Data links, lock-in, high-speed mode, colour, events, reboot and cooler values ---------
behaviour event-queue
.system.settings.cameraLink.typeAvailable           bool    true                 ro
.system.settings.cameraLink.typeWritable            bool    true                 ro
.system.settings.cameraLink.type                    string  "Full"
.system.settings.cameraLink.headerOnly              bool    false
.system.settings.cameraLink.headerDisabled          bool    false
.system.settings.cameraLink.blackHot                bool    false
.system.settings.coaXPress.numLinksAvailable        bool    true                 ro
.system.settings.coaXPress.numLinksWritable         bool    true                 ro
.system.settings.coaXPress.numLinks                 u8      4                    limits=1,4
.system.settings.coaXPress.headerOnly               bool    false
.system.settings.coaXPress.headerDisabled           bool    false
.system.settings.coaXPress.blackHot                 bool    false
.system.settings.gigE.headerOnly                    bool    false
.system.settings.gigE.headerDisabled                bool    false
.system.settings.gigE.blackHot                      bool    false
.system.settings.gigePreset                         string  "All"
.system.settings.lockIn.available                   bool    true                 ro
.system.settings.lockIn.coupling                    string  "AC"
.system.settings.lockIn.oneShotDelay                u32     1000
.system.settings.lockIn.decimationFactor            u32     4                    limits=1,1024
.system.settings.lockIn.alpha                       u8      0
.system.settings.lockIn.dataFilter                  string  "disabled"
.system.settings.hsm.available                      bool    true                 ro
.system.settings.hsm.enabled                        u8      0
.system.info.fpa.numColors                          u8      2                    ro
.system.settings.p0.color                           u8      0                    limits=0,1
.system.settings.p1.color                           u8      1                    limits=0,1
.system.settings.p2.color                           u8      0                    limits=0,1
.system.settings.p3.color                           u8      1                    limits=0,1
.system.restart                                     bool    false
.system.settings.fpa.clockPhaseShift                u32     0                    limits=0,359
.system.manufacturing.hw.coolerType                 string  "Detector"           ro
.system.manufacturing.hw.detectorCooler.kp          f32     2.5
.system.manufacturing.hw.detectorCooler.ki          f32     0.4
.system.manufacturing.hw.detectorCooler.kd          f32     0.05
.system.manufacturing.hw.detectorCooler.koff        f32     0.0
.system.manufacturing.hw.detectorCooler.setpoint    f32     77.0                 limits=60,120
.system.manufacturing.hw.detectorCooler.powerEnabled bool   true
.system.manufacturing.hw.flagCooler.kp              f32     1.2
.system.manufacturing.hw.flagCooler.ki              f32     0.2
.system.manufacturing.hw.flagCooler.kd              f32     0.0
.system.manufacturing.hw.flagCooler.koff            f32     0.5
.system.manufacturing.hw.flagCooler.setpoint        f32     20.0                 limits=-20,80
.system.manufacturing.hw.flagCooler.powerEnabled    bool    false
)";

// Events the simulated camera posts when it has restarted: it is back, and it has loaded its
// power-up state.
constexpr u32 kRestartedEvent = 3;
constexpr u32 kPowerUpStateEvent = 4;

// ".system.eventQueue" shows one pending event per read, then 0 once the queue is empty. A value
// the test side put there stays until events are posted.
void InstallEventQueue(Camera& camera) {
  auto queue = std::make_shared<EventQueue>();
  camera.OnWrite(".system.restart", [queue](Camera&, const std::string&, const Value& value) {
    if (value.integer) queue->Post({kRestartedEvent, kPowerUpStateEvent});
    return kOk;
  });
  camera.OnRead(".system.eventQueue", [queue](Camera& c, const std::string& path) {
    if (std::optional<i64> event = queue->Next())
      c.Update(path, Value::OfInteger(Type::UInt32, *event));
    return kOk;
  });
}

constexpr Behaviour kBehaviours[] = {
    {"event-queue", &InstallEventQueue},
};

}  // namespace

extern const FamilyPart kLinksPart{"links", kSection, kBehaviours};

}  // namespace sim::ptree
