// Lens, focus, field of view, filter wheel, lens cover and flag on the simulated camera.
#include "Families.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- Lens, focus, field of view, filter wheel, lens cover and flag ---
)";

}  // namespace

extern const FamilyPart kLensPart{"lens", kSection, {}};

}  // namespace sim::ptree
