// Stored configurations: states, correction files, lens states, palettes, calibrations on the
// simulated device.
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- Stored configurations: states, correction files, lens states, palettes, calibrations ---
)";

bool Install(Device&, const std::vector<std::string>&) { return false; }

}  // namespace

extern const FamilyPart kStoragePart{"storage", kSection, &Install};

}  // namespace sim::genicam
