// Plain rows of the camera families' tables. Most operations of a family say only: one path on
// the property tree, one feature on GenICam, a value type and a few marks. Such operations are
// rows of the family's table (families/<family>.def, all listed by families/all.def); both
// backends generate their realisations from the rows (ptree/rows.cpp, genicam/rows.cpp), and the
// property-tree cache holds one entry per row (ptree/cache.h). Only operations with logic of their
// own are written by hand in the backends' family files.
//
// A row names its path and feature with TREE(path, marks...) and GIC(feature, marks...):
//
//   Property-tree marks
//     CACHED            the getter answers from the cache; setters always refresh it
//     TEXTS(Name)       an enumeration stored as text, mapped with tqv<Name>Text/tqv<Name>Enum:
//                       an unknown text gives 255 and 0xFFFFFFFF, a code without text
//                       0xFFFFFFFF before anything is written
//     TIMEOUT(ms)       writes raise the request time-out to ms and set it back to 10000 after
//     FLAG0             writes pass the final flag 0 instead of 1
//     IF_EXISTS(v)      a getter whose path the camera lacks answers v with result 0 (only the
//                       missing-path answer 160 counts as lacking; other failures are returned)
//     AS_U8, AS_F64     the camera stores the value as u8 (a bool) or as f64 (a float)
//     MAX_LENGTH(n)     a text setter refuses texts longer than n characters with 169
//     EMPTIES_CACHE     a command that replaces the camera's whole configuration: on success the
//                       whole cache is emptied
//     LENS              a lens operation: the sensor constants (and with them the lens probe) are
//                       read first and their failure returned
//     VORN(path)        LENS, and on a camera whose lens hangs off the external lens controller
//                       (the probe found it) the row uses `path` instead
//     DROPS(entry)      success of a write or command clears the cache entry `entry` (a member
//                       of PTreeCache, e.g. rows.GetFocusPos): the camera changed it on its own
//     DROPS_OVERLAY     success clears every cached overlay value (the GetVideoOverlay...
//                       getters): the camera changed the overlay as a whole
//
//   GenICam marks
//     IF_PRESENT(v)     a camera without the feature: the getter answers v with result 0; the
//                       setter succeeds for v without access and gives 2 for anything else
//     IF_AVAILABLE(v)   the same, for a feature that is missing or reports itself unavailable
//     OR(name)          the feature `name` stands in when the first one is missing
//     WRITE_TO(name)    setters write the feature `name` (a manufacturing twin), getters the first
//     NO_WAIT           commands are executed without waiting for completion
//     BY_PRESENCE       availability rows (TQV_EXISTS) test presence, not availability
//
// Integer values are read from integer or enumeration features alike; floats go through double.
#pragma once

#include "interface/types.h"

struct PTreeCache;

// Clears every cached overlay value (ptree/video.cpp).
void ForgetOverlayValues(PTreeCache& cache);

namespace rows {

using TextOfCode = const char* (*)(u32 code);
using CodeOfText = u32 (*)(const char* text);

enum class Stored : u8 { kAsIs, kU8, kF64 };

struct Tree {
  const char* path = nullptr;
  bool cached = false;
  TextOfCode text = nullptr;
  CodeOfText code = nullptr;
  u32 timeout = 0;  // 0: writes keep the usual time-out
  int commit = 1;
  bool ifExists = false;
  double fallback = 0;
  Stored stored = Stored::kAsIs;
  u32 maxLength = 0;  // 0: no limit of our own
  bool emptiesCache = false;
  bool lens = false;
  const char* vorn = nullptr;  // the path on the external lens controller
  void (*drop)(PTreeCache& cache) = nullptr;
};

enum class Absent : u8 { kError, kIfPresent, kIfAvailable };

struct Gic {
  const char* feature = nullptr;
  const char* alternative = nullptr;
  const char* writeTo = nullptr;
  Absent absent = Absent::kError;
  double fallback = 0;
  bool wait = true;
  bool byPresence = false;
};

// --- Marks
// ----------------------------------------------------------------------------------------

struct Cached {};
struct Texts {
  TextOfCode text;
  CodeOfText code;
};
struct Timeout {
  u32 milliseconds;
};
struct Flag0 {};
struct IfExists {
  double fallback;
};
struct StoredAs {
  Stored stored;
};
struct MaxLength {
  u32 characters;
};
struct EmptiesCache {};
struct Lens {};
struct Vorn {
  const char* path;
};
struct Drops {
  void (*drop)(PTreeCache& cache);
};
struct IfPresent {
  double fallback;
};
struct IfAvailable {
  double fallback;
};
struct Or {
  const char* feature;
};
struct WriteTo {
  const char* feature;
};
struct NoWait {};
struct ByPresence {};

constexpr void Apply(Tree& t, Cached) { t.cached = true; }
constexpr void Apply(Tree& t, Texts m) {
  t.text = m.text;
  t.code = m.code;
}
constexpr void Apply(Tree& t, Timeout m) { t.timeout = m.milliseconds; }
constexpr void Apply(Tree& t, Flag0) { t.commit = 0; }
constexpr void Apply(Tree& t, IfExists m) {
  t.ifExists = true;
  t.fallback = m.fallback;
}
constexpr void Apply(Tree& t, StoredAs m) { t.stored = m.stored; }
constexpr void Apply(Tree& t, MaxLength m) { t.maxLength = m.characters; }
constexpr void Apply(Tree& t, EmptiesCache) { t.emptiesCache = true; }
constexpr void Apply(Tree& t, Lens) { t.lens = true; }
constexpr void Apply(Tree& t, Vorn m) {
  t.lens = true;
  t.vorn = m.path;
}
constexpr void Apply(Tree& t, Drops m) { t.drop = m.drop; }
constexpr void Apply(Gic& g, IfPresent m) {
  g.absent = Absent::kIfPresent;
  g.fallback = m.fallback;
}
constexpr void Apply(Gic& g, IfAvailable m) {
  g.absent = Absent::kIfAvailable;
  g.fallback = m.fallback;
}
constexpr void Apply(Gic& g, Or m) { g.alternative = m.feature; }
constexpr void Apply(Gic& g, WriteTo m) { g.writeTo = m.feature; }
constexpr void Apply(Gic& g, NoWait) { g.wait = false; }
constexpr void Apply(Gic& g, ByPresence) { g.byPresence = true; }

template <typename... Marks>
constexpr Tree MakeTree(const char* path, Marks... marks) {
  Tree tree;
  tree.path = path;
  (Apply(tree, marks), ...);
  return tree;
}

template <typename... Marks>
constexpr Gic MakeGic(const char* feature, Marks... marks) {
  Gic gic;
  gic.feature = feature;
  (Apply(gic, marks), ...);
  return gic;
}

}  // namespace rows

// The words of the family tables.
#define TREE(...) ::rows::MakeTree(__VA_ARGS__)
#define GIC(...) ::rows::MakeGic(__VA_ARGS__)
#define CACHED \
  ::rows::Cached {}
#define TEXTS(name) \
  ::rows::Texts { &::tqv##name##Text, &::tqv##name##Enum }
#define TIMEOUT(ms) \
  ::rows::Timeout { ms }
#define FLAG0 \
  ::rows::Flag0 {}
#define IF_EXISTS(value) \
  ::rows::IfExists { value }
#define AS_U8 \
  ::rows::StoredAs { ::rows::Stored::kU8 }
#define AS_F64 \
  ::rows::StoredAs { ::rows::Stored::kF64 }
#define MAX_LENGTH(n) \
  ::rows::MaxLength { n }
#define EMPTIES_CACHE \
  ::rows::EmptiesCache {}
#define LENS \
  ::rows::Lens {}
#define VORN(path) \
  ::rows::Vorn { path }
#define DROPS(entry)                                        \
  ::rows::Drops {                                           \
    +[](::PTreeCache& cache) { cache.entry.valid = false; } \
  }
#define DROPS_OVERLAY \
  ::rows::Drops { &::ForgetOverlayValues }
#define IF_PRESENT(value) \
  ::rows::IfPresent { value }
#define IF_AVAILABLE(value) \
  ::rows::IfAvailable { value }
#define OR(name) \
  ::rows::Or { name }
#define WRITE_TO(name) \
  ::rows::WriteTo { name }
#define NO_WAIT \
  ::rows::NoWait {}
#define BY_PRESENCE \
  ::rows::ByPresence {}
