// Video output, AGC and overlay on the simulated device.
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- Video output, AGC and overlay ---
)";

bool Install(Device&, const std::vector<std::string>&) { return false; }

}  // namespace

extern const FamilyPart kVideoPart{"video", kSection, &Install};

}  // namespace sim::genicam
