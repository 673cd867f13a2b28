// The camera families' parts of the built-in "sim" camera. Each family's file (Family<Name>.cpp)
// adds the lines of its paths to the "sim" profile and names the behaviours that make them act
// like a camera's; a profile switches a behaviour on with "behaviour <name>".
#pragma once

#include <span>

#include "SimTree.h"

namespace sim::ptree {

struct Behaviour {
  const char* name;
  void (*install)(Camera&);
};

struct FamilyPart {
  const char* name;
  // Profile lines appended to the "sim" profile, after its core.
  const char* simSection;
  std::span<const Behaviour> behaviours;
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

}  // namespace sim::ptree
