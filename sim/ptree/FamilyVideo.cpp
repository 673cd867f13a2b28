// Video output, AGC and overlay on the simulated camera.
#include "Families.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- Video output, AGC and overlay ---
)";

}  // namespace

extern const FamilyPart kVideoPart{"video", kSection, {}};

}  // namespace sim::ptree
