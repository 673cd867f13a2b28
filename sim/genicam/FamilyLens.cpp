// Lens, focus, field of view, filter wheel, lens cover and flag on the simulated device.
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- Lens, focus, field of view, filter wheel, lens cover and flag ---
)";

bool Install(Device&, const std::vector<std::string>&) { return false; }

}  // namespace

extern const FamilyPart kLensPart{"lens", kSection, &Install};

}  // namespace sim::genicam
