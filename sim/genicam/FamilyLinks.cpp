// Data links, lock-in, high-speed mode, colour, events, reboot and cooler values on the simulated
// device.
#include <memory>
#include <optional>
#include <stdexcept>

#include "SimShared.h"
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- Data links, lock-in, high-speed mode, colour, events, reboot and cooler values ---------
bool     CameraLinkTypeAvailable     true        ro
bool     CameraLinkTypeWritable      true        ro
enum     CameraLinkType              Full        entries=Base:0,Full:1
bool     CoaXPressLinkCountAvailable true        ro
bool     CoaXPressLinkCountWritable  true        ro
int      CoaXPressLinkCount          4           min=1 max=4
bool     CLHeaderOnly                false
bool     CLHeaderDisable             false
bool     CXPHeaderOnly               false
bool     CXPHeaderDisable            false
bool     GigeHeaderOnly              false
bool     GigeHeaderDisable           false
enum     DeviceTLType                GigEVision  ro entries=GigEVision:0,CameraLink:1,CameraLinkHS:2,CoaXPress:3,USB3Vision:4
enum     GigEPreset                  All         entries=0:0,1:1,2:2,3:3,All:4
bool     LockinAvailable             true        ro
enum     LockinCoupling              AC          entries=AC:0,DC:1
int      LockinOneShotDelay          1000        min=0
float    LockinEstInputFreq          4687.5      min=0.01 max=1000000.0
int      LockinAlphaFilter           0           min=0 max=255
int      LockinSampleDecimation      4           min=1 max=1024
float    LockinSampleFreq            1562500.0   min=1.0 max=6250000.0
bool     HSMAvailable                true        ro
bool     HSMEnabled                  false
bool     BlackHot                    false
int      ColorMax                    2           ro
int      {P}Color                    0           min=0 max=1
command  MfgUpdateReboot
behaviour event-queue
int      MfgClockPhaseShift          0           min=0 max=359
enum     MfgCoolerType               Detector    ro entries=NUCFlag:0,Detector:1,Undetermined:2
float    MfgCoolerP                  2.5         min=0.0 max=100.0
float    MfgCoolerI                  0.4         min=0.0 max=100.0
float    MfgCoolerD                  0.05        min=0.0 max=100.0
float    MfgCoolerOffset             0.0         min=-10.0 max=10.0
float    MfgCoolerSetpoint           77.0        min=60.0 max=120.0
bool     MfgCoolerPowerEnabled       true
)";

// Events the simulated camera posts when it has restarted: it is back, and it has loaded its
// power-up state.
constexpr i64 kRestartedEvent = 3;
constexpr i64 kPowerUpStateEvent = 4;

// "EventQueue" shows one pending event per read, then 0 once the queue is empty. A value the test
// side put there stays until events are posted.
void InstallEventQueue(Device& device) {
  if (!device.Has("EventQueue") || !device.Has("MfgUpdateReboot")) {
    throw std::runtime_error("behaviour event-queue needs EventQueue and MfgUpdateReboot");
  }
  auto queue = std::make_shared<EventQueue>();
  device.OnExecute("MfgUpdateReboot", [queue](Device&, const std::string&) {
    queue->Post({kRestartedEvent, kPowerUpStateEvent});
  });
  device.OnRead("EventQueue", [queue](Device& d, const std::string& name) {
    if (std::optional<i64> event = queue->Next()) d.SetInt(name, *event);
  });
}

bool Install(Device& device, const std::vector<std::string>& args) {
  if (args[0] != "event-queue") return false;
  if (args.size() != 1) throw std::runtime_error("event-queue takes no arguments");
  InstallEventQueue(device);
  return true;
}

}  // namespace

extern const FamilyPart kLinksPart{"links", kSection, &Install};

}  // namespace sim::genicam
