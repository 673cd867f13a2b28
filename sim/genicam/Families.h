// The camera families' parts of the built-in "sim" device. Each family's file (Family<Name>.cpp)
// adds the lines of its features to the "sim" profile and the behaviours that make them act like
// a camera's; a profile switches a behaviour on with "behaviour <name> <args...>".
#pragma once

#include <string>
#include <vector>

#include "genicam/SimDevice.h"

namespace sim::genicam {

struct FamilyPart {
  const char* name;
  // Profile lines appended to the "sim" profile, after its core.
  const char* simSection;
  // Installs the behaviour named by args[0] when it is one of the family's: true; false when the
  // name is not the family's. Throws std::runtime_error for wrong arguments or missing features.
  bool (*install)(Device& device, const std::vector<std::string>& args);
};

extern const FamilyPart kSyncPart;
extern const FamilyPart kLinksPart;
extern const FamilyPart kNucPart;
extern const FamilyPart kStoragePart;
extern const FamilyPart kLensPart;
extern const FamilyPart kVideoPart;
extern const FamilyPart kRecorderPart;

inline constexpr const FamilyPart* kFamilyParts[] = {
    &kSyncPart, &kLinksPart, &kNucPart, &kStoragePart, &kLensPart, &kVideoPart, &kRecorderPart,
};

}  // namespace sim::genicam
