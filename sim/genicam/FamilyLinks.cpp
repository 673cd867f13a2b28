// Data links, lock-in, high-speed mode, colour, events, reboot and cooler values on the simulated
// device.
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- Data links, lock-in, high-speed mode, colour, events, reboot and cooler values ---
)";

bool Install(Device&, const std::vector<std::string>&) { return false; }

}  // namespace

extern const FamilyPart kLinksPart{"links", kSection, &Install};

}  // namespace sim::genicam
