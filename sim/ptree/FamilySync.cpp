// Synchronisation, triggering, time, temperatures, voltages and identity on the simulated camera.
#include "Families.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- Synchronisation, triggering, time, temperatures, voltages and identity ---
)";

}  // namespace

extern const FamilyPart kSyncPart{"sync", kSection, {}};

}  // namespace sim::ptree
