// Stored configurations: states, correction files, lens states, palettes, calibrations on the
// simulated camera.
#include "Families.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- Stored configurations: states, correction files, lens states, palettes, calibrations ---
)";

}  // namespace

extern const FamilyPart kStoragePart{"storage", kSection, {}};

}  // namespace sim::ptree
