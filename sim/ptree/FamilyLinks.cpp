// Data links, lock-in, high-speed mode, colour, events, reboot and cooler values on the simulated
// camera.
#include "Families.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- Data links, lock-in, high-speed mode, colour, events, reboot and cooler values ---
)";

}  // namespace

extern const FamilyPart kLinksPart{"links", kSection, {}};

}  // namespace sim::ptree
