// The solid-state recorder on the simulated camera.
#include "Families.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- The solid-state recorder ---
)";

}  // namespace

extern const FamilyPart kRecorderPart{"recorder", kSection, {}};

}  // namespace sim::ptree
