// Synchronisation, triggering, time, temperatures, voltages and identity on the simulated device.
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
)";

bool Install(Device&, const std::vector<std::string>&) { return false; }

}  // namespace

extern const FamilyPart kSyncPart{"sync", kSection, &Install};

}  // namespace sim::genicam
