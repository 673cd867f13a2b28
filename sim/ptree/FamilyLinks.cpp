// Data links, lock-in, high-speed mode, colour, events, reboot and cooler values on the simulated
// camera.
#include "Families.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- Data links, lock-in, high-speed mode, colour, events, reboot and cooler values ---------
.system.settings.cameraLink.headerOnly              bool    false
.system.settings.cameraLink.headerDisabled          bool    false
.system.settings.coaXPress.headerOnly               bool    false
.system.settings.coaXPress.headerDisabled           bool    false
.system.settings.gigE.headerOnly                    bool    false
.system.settings.gigE.headerDisabled                bool    false
.system.settings.gigePreset                         string  "All"
.system.settings.lockIn.oneShotDelay                u32     1000
.system.settings.lockIn.decimationFactor            u32     4                    limits=1,1024
.system.settings.hsm.available                      bool    true                 ro
.system.settings.hsm.enabled                        u8      0
.system.settings.gigE.blackHot                      bool    false
.system.settings.fpa.clockPhaseShift                u32     0                    limits=0,359
.system.manufacturing.hw.coolerType                 string  "Detector"           ro
)";

}  // namespace

extern const FamilyPart kLinksPart{"links", kSection, {}};

}  // namespace sim::ptree
