// Non-uniformity correction and bad pixels on the simulated camera.
#include "Families.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- Non-uniformity correction and bad pixels ---
)";

}  // namespace

extern const FamilyPart kNucPart{"nuc", kSection, {}};

}  // namespace sim::ptree
