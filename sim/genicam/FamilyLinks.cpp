// Data links, lock-in, high-speed mode, colour, events, reboot and cooler values on the simulated
// device.
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- Data links, lock-in, high-speed mode, colour, events, reboot and cooler values ---------
bool     CLHeaderOnly                false
bool     CLHeaderDisable             false
bool     CXPHeaderOnly               false
bool     CXPHeaderDisable            false
bool     GigeHeaderOnly              false
bool     GigeHeaderDisable           false
enum     GigEPreset                  All         entries=0:0,1:1,2:2,3:3,All:4
int      LockinOneShotDelay          1000        min=0
int      LockinSampleDecimation      4           min=1 max=1024
bool     HSMAvailable                true        ro
bool     HSMEnabled                  false
bool     BlackHot                    false
int      MfgClockPhaseShift          0           min=0 max=359
enum     MfgCoolerType               Detector    ro entries=NUCFlag:0,Detector:1,Undetermined:2
)";

bool Install(Device&, const std::vector<std::string>&) { return false; }

}  // namespace

extern const FamilyPart kLinksPart{"links", kSection, &Install};

}  // namespace sim::genicam
