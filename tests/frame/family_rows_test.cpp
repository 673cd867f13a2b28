// Every plain row of the family tables, end to end through the C interface on both simulated
// cameras: what is written reads back (per preset without touching the other presets), the
// property tree's marks (cache, time-out, final flag, texts, presets above 3, missing and
// read-only paths) and the GenICam ones (missing, unavailable and read-only features, stand-in
// features), the fault sweep over the rows of several steps, and two threads on one handle.
// Rows come from the tables themselves, so a new row is tested as soon as the simulated cameras
// carry its path and feature.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "families/rows.h"
#include "ptree/CTQVSDKPTree.h"
#include "tqvSDK.h"

namespace {

using testutil::GicCamera;
using testutil::PTreeCamera;

enum class Shape { kValue, kGetter, kSetter, kPreset, kPresetGetter, kCommand, kExists, kText };
enum class Number { kBool, kInteger, kFloat };

struct Row {
  const char* name;
  Shape shape;
  rows::Tree tree;
  rows::Gic gic;
  Number number = Number::kInteger;
  double lowest = 0;
  double highest = 0;
  u32 (*get)(void* handle, u8 preset, double* value) = nullptr;
  u32 (*set)(void* handle, u8 preset, double value) = nullptr;
  u32 (*op)(void* handle) = nullptr;
  u32 (*exists)(void* handle, bool* value) = nullptr;
  u32 (*getText)(void* handle, char* buffer, i32 size) = nullptr;
  u32 (*setText)(void* handle, const char* text) = nullptr;
  // The getter again, handing on whatever it left in its output, success or not.
  u32 (*peek)(void* handle, u8 preset, double* value) = nullptr;
};

template <typename T>
Row Typed(Row row, u32 (*peek)(void*, u8, double*) = nullptr) {
  row.peek = peek;
  row.number = std::is_same_v<T, bool>       ? Number::kBool
               : std::is_floating_point_v<T> ? Number::kFloat
                                             : Number::kInteger;
  row.lowest = static_cast<double>(std::numeric_limits<T>::lowest());
  row.highest = static_cast<double>(std::numeric_limits<T>::max());
  return row;
}

#define TQV_GET_ADAPTER(type, get)             \
  +[](void* h, u8, double* out) -> u32 {       \
    type v{};                                  \
    u32 r = tqv##get(h, &v);                   \
    if (r == 0) *out = static_cast<double>(v); \
    return r;                                  \
  }
#define TQV_PEEK_ADAPTER(type, get)      \
  +[](void* h, u8, double* out) -> u32 { \
    type v = static_cast<type>(*out);    \
    u32 r = tqv##get(h, &v);             \
    *out = static_cast<double>(v);       \
    return r;                            \
  }
#define TQV_PRESET_PEEK_ADAPTER(type, get) \
  +[](void* h, u8 p, double* out) -> u32 { \
    type v = static_cast<type>(*out);      \
    u32 r = tqv##get(h, p, &v);            \
    *out = static_cast<double>(v);         \
    return r;                              \
  }
#define TQV_SET_ADAPTER(type, set) \
  +[](void* h, u8, double v) -> u32 { return tqv##set(h, static_cast<type>(v)); }
#define TQV_PRESET_GET_ADAPTER(type, get)      \
  +[](void* h, u8 p, double* out) -> u32 {     \
    type v{};                                  \
    u32 r = tqv##get(h, p, &v);                \
    if (r == 0) *out = static_cast<double>(v); \
    return r;                                  \
  }
#define TQV_PRESET_SET_ADAPTER(type, set) \
  +[](void* h, u8 p, double v) -> u32 { return tqv##set(h, p, static_cast<type>(v)); }

// clang-format off
const std::vector<Row>& AllRows() {
  static const std::vector<Row> all = {
#define TQV_VALUE(get, set, type, tree, gic) \
  Typed<type>({#get, Shape::kValue, tree, gic, {}, 0, 0, TQV_GET_ADAPTER(type, get), TQV_SET_ADAPTER(type, set)}, TQV_PEEK_ADAPTER(type, get)),
#define TQV_GETTER(get, type, tree, gic) \
  Typed<type>({#get, Shape::kGetter, tree, gic, {}, 0, 0, TQV_GET_ADAPTER(type, get)}, TQV_PEEK_ADAPTER(type, get)),
#define TQV_SETTER(set, type, tree, gic) \
  Typed<type>({#set, Shape::kSetter, tree, gic, {}, 0, 0, nullptr, TQV_SET_ADAPTER(type, set)}),
#define TQV_PRESET(get, set, type, tree, gic) \
  Typed<type>({#get, Shape::kPreset, tree, gic, {}, 0, 0, TQV_PRESET_GET_ADAPTER(type, get), TQV_PRESET_SET_ADAPTER(type, set)}, TQV_PRESET_PEEK_ADAPTER(type, get)),
#define TQV_PRESET_GETTER(get, type, tree, gic) \
  Typed<type>({#get, Shape::kPresetGetter, tree, gic, {}, 0, 0, TQV_PRESET_GET_ADAPTER(type, get)}, TQV_PRESET_PEEK_ADAPTER(type, get)),
#define TQV_COMMAND(op, tree, gic) \
  Row{#op, Shape::kCommand, tree, gic, Number::kBool, 0, 1, nullptr, nullptr, &tqv##op},
#define TQV_EXISTS(op, tree, gic) \
  Row{#op, Shape::kExists, tree, gic, Number::kBool, 0, 1, nullptr, nullptr, nullptr, &tqv##op},
#define TQV_TEXT(get, set, size, tree, gic) \
  Row{#get, Shape::kText, tree, gic, Number::kInteger, 0, size - 1, nullptr, nullptr, nullptr, nullptr, &tqv##get, &tqv##set},
#include "families/all.def"
  };
  return all;
}
// clang-format on

bool PerPreset(const Row& row) {
  return row.shape == Shape::kPreset || row.shape == Shape::kPresetGetter;
}
bool Writes(const Row& row) {
  return row.shape == Shape::kValue || row.shape == Shape::kSetter || row.shape == Shape::kPreset ||
         row.shape == Shape::kCommand;
}
bool Reads(const Row& row) {
  return row.shape == Shape::kValue || row.shape == Shape::kGetter || row.shape == Shape::kPreset ||
         row.shape == Shape::kPresetGetter;
}

// A value other than `current` that the row's type holds: the next enumeration code with a text
// (and among `offered`, when the camera's enumeration lists its codes), the other truth value, one
// more (or less, at the top) for the rest.
double Another(const Row& row, double current, const std::vector<double>& offered = {}) {
  if (row.tree.text) {
    for (u32 step = 1; step < 256; ++step) {
      u32 code = (static_cast<u32>(current) + step) % 256;
      const bool listed = offered.empty() || std::ranges::count(offered, code) > 0;
      if (row.tree.text(code) && listed) return code;
    }
    return current;
  }
  switch (row.number) {
    case Number::kBool:
      return current != 0 ? 0 : 1;
    case Number::kFloat:
      return current + 0.5;
    case Number::kInteger:
      break;
  }
  return current + 1 <= row.highest ? current + 1 : current - 1;
}

// A value to write: another than the current one where the row reads back, else the first value
// of its type (or enumeration).
double AnotherThanNow(const Row& row, void* handle) {
  double now = row.tree.text ? 255 : 0;
  if (row.get && row.get(handle, 1, &now) != 0) return now;
  return Another(row, now);
}

bool Same(const Row& row, double a, double b) {
  if (row.number != Number::kFloat) return a == b;
  return std::fabs(a - b) <= 1e-4 * std::max(1.0, std::fabs(a));
}

std::string PresetPath(const Row& row, u8 preset) {
  char path[kPathSize];
  return _tqvResourceForPreset(path, sizeof path, row.tree.path, preset);
}
std::string PresetFeature(const Row& row, u8 preset) {
  return PerPreset(row) ? "PS" + std::to_string(preset) + row.gic.feature : row.gic.feature;
}

// The codes a GenICam enumeration feature lists; empty for other features.
std::vector<double> Offered(const Row& row, const sim::genicam::Device& device) {
  std::vector<double> codes;
  const std::string feature = PresetFeature(row, 1);
  if (!device.Has(feature) || device.KindOf(feature) != sim::genicam::Kind::Enumeration)
    return codes;
  for (const sim::genicam::EnumEntry& entry : device.Spec(feature).entries)
    codes.push_back(static_cast<double>(entry.value));
  return codes;
}

// The round trip a user sees: get, set another value, get it back; per preset, preset 1 changes
// and preset 2 stays.
void RoundTrip(const Row& row, void* handle, const std::vector<double>& offered = {}) {
  SCOPED_TRACE(row.name);
  double before = 0, after = 0, other = 0, otherAfter = 0;
  switch (row.shape) {
    case Shape::kValue:
    case Shape::kPreset: {
      ASSERT_EQ(row.get(handle, 1, &before), 0u);
      if (row.shape == Shape::kPreset) {
        ASSERT_EQ(row.get(handle, 2, &other), 0u);
      }
      const double wanted = Another(row, before, offered);
      ASSERT_FALSE(Same(row, wanted, before));
      ASSERT_EQ(row.set(handle, 1, wanted), 0u);
      ASSERT_EQ(row.get(handle, 1, &after), 0u);
      EXPECT_TRUE(Same(row, after, wanted)) << after << " read after writing " << wanted;
      if (row.shape == Shape::kPreset) {
        ASSERT_EQ(row.get(handle, 2, &otherAfter), 0u);
        EXPECT_TRUE(Same(row, otherAfter, other)) << "preset 2 changed with preset 1";
      }
      break;
    }
    case Shape::kGetter:
    case Shape::kPresetGetter:
      EXPECT_EQ(row.get(handle, 1, &after), 0u);
      break;
    case Shape::kSetter:
      EXPECT_EQ(row.set(handle, 1, AnotherThanNow(row, handle)), 0u);
      break;
    case Shape::kCommand:
      EXPECT_EQ(row.op(handle), 0u);
      break;
    case Shape::kExists: {
      bool there = false;
      EXPECT_EQ(row.exists(handle, &there), 0u);
      EXPECT_TRUE(there);
      break;
    }
    case Shape::kText: {
      char buffer[512] = {};
      ASSERT_EQ(row.getText(handle, buffer, sizeof buffer), 0u);
      const std::string wanted = std::string(buffer) == "row text" ? "other text" : "row text";
      ASSERT_EQ(row.setText(handle, wanted.c_str()), 0u);
      ASSERT_EQ(row.getText(handle, buffer, sizeof buffer), 0u);
      EXPECT_EQ(std::string(buffer), wanted);
      break;
    }
  }
}

TEST(FamilyRows, EveryRowReadsBackWhatIsWrittenOnThePropertyTree) {
  testutil::SleepRecorder noWaiting;
  for (const Row& row : AllRows()) {
    PTreeCamera camera;
    RoundTrip(row, camera.handle());
  }
}

TEST(FamilyRows, EveryRowReadsBackWhatIsWrittenOnGenICam) {
  testutil::SleepRecorder noWaiting;
  for (const Row& row : AllRows()) {
    GicCamera camera;
    RoundTrip(row, camera.handle(), Offered(row, camera.device()));
  }
}

// --- Property tree -------------------------------------------------------------------------------

TEST(FamilyRows, CachedGettersAskOnceAndLiveOnesEveryTime) {
  for (const Row& row : AllRows()) {
    if (!Reads(row)) continue;
    SCOPED_TRACE(row.name);
    PTreeCamera camera;
    const std::string path = PresetPath(row, 1);
    double first = 0, second = 0;
    ASSERT_EQ(row.get(camera.handle(), 1, &first), 0u);
    const std::size_t asked = camera.camera().CountPath(path);
    EXPECT_GT(asked, 0u);
    ASSERT_EQ(row.get(camera.handle(), 1, &second), 0u);
    EXPECT_EQ(camera.camera().CountPath(path), row.tree.cached ? asked : 2 * asked);
    if (!row.tree.cached || !row.set) continue;
    // A set refreshes the entry: the next get answers it without asking.
    const double wanted = Another(row, first);
    ASSERT_EQ(row.set(camera.handle(), 1, wanted), 0u);
    camera.camera().ClearTraffic();
    ASSERT_EQ(row.get(camera.handle(), 1, &second), 0u);
    EXPECT_TRUE(Same(row, second, wanted));
    EXPECT_EQ(camera.camera().CountPath(path), 0u);
    // Clearing the cache sends the next get to the camera again.
    ASSERT_EQ(tqvClearCache(camera.handle()), 0u);
    ASSERT_EQ(row.get(camera.handle(), 1, &second), 0u);
    EXPECT_EQ(camera.camera().CountPath(path), 1u);
  }
}

// How many of the cached readings a command's drop clears, by the drop itself applied to a cache
// whose every reading (preset 1 for the per-preset ones) is held.
std::size_t Cleared(void (*drop)(PTreeCache& cache)) {
  PTreeCache cache;
  std::size_t cleared = 0;
#define TQV_HOLD(entry, tree) entry.valid = ::rows::Tree(tree).cached;
#define TQV_VALUE(get, set, type, tree, gic) TQV_HOLD(cache.rows.get, tree)
#define TQV_GETTER(get, type, tree, gic) TQV_HOLD(cache.rows.get, tree)
#define TQV_PRESET(get, set, type, tree, gic) TQV_HOLD(cache.preset[1].rows.get, tree)
#define TQV_PRESET_GETTER(get, type, tree, gic) TQV_HOLD(cache.preset[1].rows.get, tree)
#include "families/all.def"
  drop(cache);
#define TQV_COUNT(entry, tree) cleared += ::rows::Tree(tree).cached && !entry.valid;
#define TQV_VALUE(get, set, type, tree, gic) TQV_COUNT(cache.rows.get, tree)
#define TQV_GETTER(get, type, tree, gic) TQV_COUNT(cache.rows.get, tree)
#define TQV_PRESET(get, set, type, tree, gic) TQV_COUNT(cache.preset[1].rows.get, tree)
#define TQV_PRESET_GETTER(get, type, tree, gic) TQV_COUNT(cache.preset[1].rows.get, tree)
#include "families/all.def"
#undef TQV_HOLD
#undef TQV_COUNT
  return cleared;
}

// Commands marked EMPTIES_CACHE send every cached getter to the camera again, unless they failed;
// a command that drops entries sends those again; other commands leave the cache alone.
TEST(FamilyRows, OnlyCommandsThatReplaceTheConfigurationEmptyTheCache) {
  testutil::SleepRecorder noWaiting;
  auto readCached = [](void* handle) {
    for (const Row& row : AllRows()) {
      double value = 0;
      if (Reads(row) && row.tree.cached) {
        ASSERT_EQ(row.get(handle, 1, &value), 0u) << row.name;
      }
    }
  };
  auto asked = [](const PTreeCamera& camera) {
    std::size_t paths = 0;
    for (const Row& row : AllRows())
      paths += Reads(row) && row.tree.cached && camera.camera().CountPath(PresetPath(row, 1)) > 0;
    return paths;
  };
  const std::size_t cachedRows = std::ranges::count_if(
      AllRows(), [](const Row& row) { return Reads(row) && row.tree.cached; });
  for (const Row& row : AllRows()) {
    if (row.shape != Shape::kCommand) continue;
    SCOPED_TRACE(row.name);
    for (const bool fails : {false, true}) {
      PTreeCamera camera;
      ASSERT_NO_FATAL_FAILURE(readCached(camera.handle()));
      if (fails) camera.camera().InjectFault(row.tree.path, 165);
      ASSERT_EQ(row.op(camera.handle()), fails ? 165u : 0u);
      camera.camera().ClearTraffic();
      ASSERT_NO_FATAL_FAILURE(readCached(camera.handle()));
      // A command that moves something drops the one entry it changes.
      const std::size_t expected = fails                   ? 0
                                   : row.tree.emptiesCache ? cachedRows
                                   : row.tree.drop         ? Cleared(row.tree.drop)
                                                           : 0;
      EXPECT_EQ(asked(camera), expected) << "failed: " << fails;
    }
  }
}

TEST(FamilyRows, WritesCarryTheRowsFlagAndTimeOut) {
  testutil::SleepRecorder noWaiting;
  for (const Row& row : AllRows()) {
    if (!Writes(row)) continue;
    SCOPED_TRACE(row.name);
    PTreeCamera camera;
    const double wanted = AnotherThanNow(row, camera.handle());
    camera.camera().ClearTraffic();
    camera.camera().ClearTimeoutHistory();
    const u32 result = row.op ? row.op(camera.handle()) : row.set(camera.handle(), 1, wanted);
    ASSERT_EQ(result, 0u);
    const std::string path = PresetPath(row, 1);
    std::size_t writes = 0;
    for (const sim::ptree::Access& access : camera.camera().Traffic()) {
      if (access.path != path || (access.kind != "set" && access.kind != "setString")) continue;
      ++writes;
      EXPECT_EQ(access.commit, row.tree.commit);
    }
    EXPECT_EQ(writes, 1u);
    const std::vector<u32> expected =
        row.tree.timeout ? std::vector<u32>{row.tree.timeout, 10000} : std::vector<u32>{};
    EXPECT_EQ(camera.camera().TimeoutHistory(), expected);
  }
}

TEST(FamilyRows, PresetsAboveThreeAreRefusedBeforeTheCameraIsAsked) {
  for (const Row& row : AllRows()) {
    if (!PerPreset(row)) continue;
    SCOPED_TRACE(row.name);
    PTreeCamera camera;
    double value = -1;
    EXPECT_EQ(row.get(camera.handle(), 4, &value), 166u);
    if (row.set) {
      EXPECT_EQ(row.set(camera.handle(), 4, 1), 166u);
    }
    EXPECT_EQ(value, -1);
    EXPECT_TRUE(camera.camera().Traffic().empty());
    // GenICam has no feature for a fifth preset.
    GicCamera gic;
    EXPECT_EQ(row.get(gic.handle(), 4, &value), 0xFFFFFFFFu);
    EXPECT_EQ(value, -1);
  }
}

TEST(FamilyRows, TextsTheLibraryDoesNotKnowGive255AndCodesWithoutTextAreNeverSent) {
  for (const Row& row : AllRows()) {
    if (!row.tree.text) continue;
    SCOPED_TRACE(row.name);
    PTreeCamera camera;
    const std::string path = PresetPath(row, 1);
    if (Reads(row)) {
      ASSERT_EQ(camera.camera().Set(path, sim::ptree::Value::Str("no such text")), 0u);
      double value = 0;
      EXPECT_EQ(row.peek(camera.handle(), 1, &value), 0xFFFFFFFFu);
      EXPECT_EQ(value, 255);
    }
    if (row.set) {
      u32 untold = 0;
      while (untold < 256 && row.tree.text(untold))
        ++untold;
      ASSERT_LT(untold, 256u);
      camera.camera().ClearTraffic();
      EXPECT_EQ(row.set(camera.handle(), 1, untold), 0xFFFFFFFFu);
      EXPECT_TRUE(camera.camera().Traffic().empty());
    }
  }
}

TEST(FamilyRows, MissingAndReadOnlyPaths) {
  for (const Row& row : AllRows()) {
    if (row.shape == Shape::kExists) continue;
    SCOPED_TRACE(row.name);
    const std::string path = PresetPath(row, 1);
    {
      PTreeCamera camera;
      ASSERT_TRUE(camera.camera().Remove(path));
      double value = -1;
      if (Reads(row)) {
        const u32 result = row.get(camera.handle(), 1, &value);
        if (row.tree.ifExists) {
          EXPECT_EQ(result, 0u);
          EXPECT_EQ(value, row.tree.fallback);
        } else {
          EXPECT_EQ(result, 160u);
          EXPECT_EQ(value, -1);
        }
      }
      if (row.op) {
        EXPECT_EQ(row.op(camera.handle()), 160u);
      }
    }
    if (row.set) {
      PTreeCamera camera;
      camera.camera().SetReadOnly(path);
      EXPECT_EQ(row.set(camera.handle(), 1, AnotherThanNow(row, camera.handle())), 162u);
    }
  }
}

TEST(FamilyRows, AvailabilityFollowsThePath) {
  for (const Row& row : AllRows()) {
    if (row.shape != Shape::kExists) continue;
    SCOPED_TRACE(row.name);
    PTreeCamera camera;
    ASSERT_TRUE(camera.camera().Remove(row.tree.path));
    bool there = true;
    EXPECT_EQ(row.exists(camera.handle(), &there), 0u);
    EXPECT_FALSE(there);
    // A failing test of the path is a failure, not an absence.
    camera.camera().InjectFault(row.tree.path, 165);
    EXPECT_EQ(row.exists(camera.handle(), &there), 165u);
  }
}

// --- Lens rows -----------------------------------------------------------------------------------

// One call of the row's operation, whatever its shape.
u32 Invoke(const Row& row, void* handle) {
  double value = 0;
  bool there = false;
  char text[64];
  switch (row.shape) {
    case Shape::kCommand:
      return row.op(handle);
    case Shape::kExists:
      return row.exists(handle, &there);
    case Shape::kText:
      return row.getText(handle, text, sizeof text);
    case Shape::kSetter:
      return row.set(handle, 1, 0);
    default:
      return row.get(handle, 1, &value);
  }
}

TEST(FamilyRows, LensRowsReadTheSensorConstantsFirst) {
  for (const Row& row : AllRows()) {
    if (!row.tree.lens) continue;
    SCOPED_TRACE(row.name);
    testutil::SimTree tree;
    tree.camera().InjectFault(".system.info.fpa.clockFrequency", 165, 100);
    testutil::Handle handle;
    ASSERT_EQ(tqvCreateParamTreeEx(handle.out(), tree.tree(), 1), 0u);
    tree.camera().ClearTraffic();
    EXPECT_EQ(Invoke(row, handle), 165u);
    EXPECT_EQ(tree.camera().CountPath(row.tree.path), 0u);
    // Once the constants read, the row goes ahead.
    tree.camera().ClearFaults();
    EXPECT_EQ(Invoke(row, handle), 0u);
  }
}

TEST(FamilyRows, LensRowsUseTheControllersPathsOnACameraWithTheController) {
  testutil::SleepRecorder noWaiting;
  for (const Row& row : AllRows()) {
    if (!row.tree.vorn) continue;
    SCOPED_TRACE(row.name);
    PTreeCamera camera("sim:vorn");
    RoundTrip(row, camera.handle());
    EXPECT_GT(camera.camera().CountPath(row.tree.vorn), 0u);
    EXPECT_EQ(camera.camera().CountPath(row.tree.path), 0u);
  }
}

// --- GenICam -------------------------------------------------------------------------------------

TEST(FamilyRows, MissingFeaturesOnGenICam) {
  testutil::LogCapture log;  // the missing commands' log lines
  for (const Row& row : AllRows()) {
    SCOPED_TRACE(row.name);
    GicCamera camera;
    const std::string feature = PresetFeature(row, 1);
    ASSERT_TRUE(camera.device().Remove(feature)) << feature;
    double value = -1;
    const bool fallsBack = row.gic.absent != rows::Absent::kError;
    if (row.shape == Shape::kExists) {
      bool there = true;
      EXPECT_EQ(row.exists(camera.handle(), &there), 0u);
      EXPECT_FALSE(there);
      continue;
    }
    if (row.gic.alternative) {
      if (Reads(row)) {
        EXPECT_EQ(row.get(camera.handle(), 1, &value), 0u) << "stand-in not read";
      }
      continue;
    }
    if (Reads(row)) {
      const u32 result = row.get(camera.handle(), 1, &value);
      EXPECT_EQ(result, fallsBack ? 0u : 0xFFFFFFFFu);
      EXPECT_EQ(value, fallsBack ? row.gic.fallback : -1);
    }
    if (row.set && !row.gic.writeTo) {
      const double other = row.gic.fallback == 0 ? 1 : 0;
      EXPECT_EQ(row.set(camera.handle(), 1, other), fallsBack ? 2u : 0xFFFFFFFFu);
      if (fallsBack) {
        EXPECT_EQ(row.set(camera.handle(), 1, row.gic.fallback), 0u);
      }
    }
    if (row.op) {
      EXPECT_EQ(row.op(camera.handle()), fallsBack ? 2u : 0xFFFFFFFFu);
    }
  }
}

TEST(FamilyRows, ReadOnlyFeaturesRefuseWritesWithAccessDenied) {
  for (const Row& row : AllRows()) {
    if (!row.set) continue;
    SCOPED_TRACE(row.name);
    GicCamera camera;
    const std::string feature = row.gic.writeTo ? row.gic.writeTo : PresetFeature(row, 1);
    camera.device().SetWritable(feature, false);
    EXPECT_EQ(row.set(camera.handle(), 1, AnotherThanNow(row, camera.handle())), 170u);
  }
}

// --- Several steps, and threads
// -------------------------------------------------------------------

TEST(FamilyRows, RowsOfSeveralStepsAreSweptOnThePropertyTree) {
  for (const Row& row : AllRows()) {
    if (!Writes(row) || !(row.tree.timeout || row.tree.ifExists)) continue;
    SCOPED_TRACE(row.name);
    double wanted = 0;
    if (row.set) {
      PTreeCamera camera;
      wanted = AnotherThanNow(row, camera.handle());
    }
    testutil::SweepPTree(
        [&](void* handle, bool) { return row.op ? row.op(handle) : row.set(handle, 1, wanted); });
  }
}

TEST(FamilyRows, TwoThreadsOnOneHandleReadEveryRow) {
  testutil::SleepRecorder noWaiting;
  PTreeCamera tree;
  GicCamera gic;
  auto readAll = [](void* handle) {
    for (int round = 0; round < 3; ++round) {
      for (const Row& row : AllRows()) {
        double value = 0;
        if (Reads(row)) {
          EXPECT_EQ(row.get(handle, 1, &value), 0u) << row.name;
        }
      }
    }
  };
  for (void* handle : {tree.handle(), gic.handle()}) {
    std::thread other(readAll, handle);
    readAll(handle);
    other.join();
  }
}

}  // namespace
