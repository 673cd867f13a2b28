// Behaviours: what the camera does on its own when certain paths are written. A profile names
// the ones its model has ("behaviour <name>"); each installs hooks on a loaded camera.
#include <array>
#include <memory>

#include "Families.h"
#include "SimTree.h"

namespace sim::ptree {

using namespace paramtree;

namespace {

// Writes to a preset's window offsets and size are held until true is written to ".commit":
// the camera then checks the window against the sensor's window limits and either takes it or
// answers 166 and puts the last taken window back. Writing true to ".read" loads the taken
// window into the four values. Both triggers read back false.
void InstallWindowCommit(Camera& camera) {
  static constexpr const char* kFields[] = {"xOffset", "yOffset", "width", "height"};
  for (int preset = 0; preset < 4; ++preset) {
    std::string base = ".system.settings.p" + std::to_string(preset) + ".window";
    if (!camera.Has(base + ".commit") || !camera.Has(base + ".read")) continue;
    auto taken = std::make_shared<std::array<i64, 4>>();
    for (int i = 0; i < 4; ++i)
      (*taken)[i] = camera.Integer(base + "." + kFields[i]);

    auto put = [base](Camera& c, const std::array<i64, 4>& window) {
      for (int i = 0; i < 4; ++i)
        c.Update(base + "." + kFields[i], Value::OfInteger(Type::UInt32, window[i]));
    };

    camera.OnWrite(
        base + ".commit",
        [base, taken, put](Camera& c, const std::string& path, const Value& value) -> u32 {
          if (!value.integer) return kOk;
          c.Update(path, Value::Bool(false));
          std::array<i64, 4> w;
          for (int i = 0; i < 4; ++i)
            w[i] = c.Integer(base + "." + kFields[i]);
          const std::string limits = ".system.info.fpa.windowLimits.";
          i64 minWidth = c.Integer(limits + "minWidth", 1);
          i64 maxWidth = c.Integer(limits + "maxWidth", 65535);
          i64 minHeight = c.Integer(limits + "minHeight", 1);
          i64 maxHeight = c.Integer(limits + "maxHeight", 65535);
          i64 xInc = std::max<i64>(1, c.Integer(limits + "xIncrement", 1));
          i64 yInc = std::max<i64>(1, c.Integer(limits + "yIncrement", 1));
          bool fits = w[2] >= minWidth && w[2] <= maxWidth && w[3] >= minHeight &&
                      w[3] <= maxHeight && w[0] + w[2] <= maxWidth && w[1] + w[3] <= maxHeight &&
                      w[0] % xInc == 0 && w[2] % xInc == 0 && w[1] % yInc == 0 && w[3] % yInc == 0;
          if (!fits) {
            put(c, *taken);
            return kInvalidArgument;
          }
          *taken = w;
          return kOk;
        });

    camera.OnWrite(base + ".read",
                   [taken, put](Camera& c, const std::string& path, const Value& value) -> u32 {
                     if (!value.integer) return kOk;
                     c.Update(path, Value::Bool(false));
                     put(c, *taken);
                     return kOk;
                   });
  }
}

// The total of dead rows follows its two parts.
void InstallDeadRows(Camera& camera) {
  const std::string fpa = ".system.info.fpa.";
  for (const char* part : {"preDeadRows", "postDeadRows"}) {
    camera.OnWrite(fpa + part, [fpa](Camera& c, const std::string&, const Value&) -> u32 {
      if (c.Has(fpa + "deadRows")) {
        i64 total = c.Integer(fpa + "preDeadRows") + c.Integer(fpa + "postDeadRows");
        c.Update(fpa + "deadRows", Value::OfInteger(Type::UInt32, total));
      }
      return kOk;
    });
  }
}

constexpr Behaviour kBehaviours[] = {
    {"window-commit", &InstallWindowCommit},
    {"dead-rows", &InstallDeadRows},
};

// The core's behaviours, then each family's.
template <typename Visit>
void ForEachBehaviour(Visit visit) {
  for (const Behaviour& behaviour : kBehaviours)
    visit(behaviour);
  for (const FamilyPart* part : kFamilyParts) {
    for (const Behaviour& behaviour : part->behaviours)
      visit(behaviour);
  }
}

}  // namespace

std::vector<std::string> BehaviourNames() {
  std::vector<std::string> names;
  ForEachBehaviour([&](const Behaviour& behaviour) { names.emplace_back(behaviour.name); });
  return names;
}

bool InstallBehaviour(Camera& camera, std::string_view name) {
  const Behaviour* found = nullptr;
  ForEachBehaviour([&](const Behaviour& behaviour) {
    if (!found && name == behaviour.name) found = &behaviour;
  });
  if (found) found->install(camera);
  return found != nullptr;
}

}  // namespace sim::ptree
