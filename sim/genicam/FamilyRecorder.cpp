// The solid-state recorder on the simulated device.
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- The solid-state recorder ---
)";

bool Install(Device&, const std::vector<std::string>&) { return false; }

}  // namespace

extern const FamilyPart kRecorderPart{"recorder", kSection, &Install};

}  // namespace sim::genicam
