// Synchronisation, triggering, time, temperatures, voltages and identity on the simulated device.
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- Synchronisation, triggering, time, temperatures, voltages and identity ---
)";

bool Install(Device&, const std::vector<std::string>&) { return false; }

}  // namespace

extern const FamilyPart kSyncPart{"sync", kSection, &Install};

}  // namespace sim::genicam
