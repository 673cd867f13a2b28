// Non-uniformity correction and bad pixels on the simulated device.
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- Non-uniformity correction and bad pixels ---
)";

bool Install(Device&, const std::vector<std::string>&) { return false; }

}  // namespace

extern const FamilyPart kNucPart{"nuc", kSection, &Install};

}  // namespace sim::genicam
