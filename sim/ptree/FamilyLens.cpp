// Lens, focus, field of view, filter wheel, lens cover and flag on the simulated camera. The
// behaviour "lens-optics" makes them move in simulated time (lens/Optics.h): the focus and zoom
// travel at their speeds and report their positions on the way, the autofocus searches and ends,
// the flag and the cover take a while to move, the flag's temperature settles, and a filter scan
// finds the filters the slot assignment names.
#include <strings.h>

#include <array>
#include <memory>
#include <string>

#include "Families.h"
#include "lens/Optics.h"

namespace sim::ptree {

using namespace paramtree;

namespace {

constexpr const char* kSection = R"(
# --- Lens, focus, field of view, filter wheel, lens cover and flag ----------------------------
behaviour lens-optics
.system.settings.filter.present                     bool    true                 ro
.system.settings.filter.numFilters                  u8      4                    ro
.system.settings.filter.replaceable                 bool    true                 ro
.system.settings.filter.scan                        bool    false
.system.settings.filter.filterAt0                   u8      0                    ro
.system.settings.filter.filterAt1                   u8      1                    ro
.system.settings.filter.filterAt2                   u8      2                    ro
.system.settings.filter.filterAt3                   u8      7                    ro
.system.settings.filter.current                     u8      1                    limits=0,63
.system.settings.filter.config.filterIDInSlot0      u8      0                    limits=0,63
.system.settings.filter.config.filterIDInSlot1      u8      1                    limits=0,63
.system.settings.filter.config.filterIDInSlot2      u8      2                    limits=0,63
.system.settings.filter.config.filterIDInSlot3      u8      7                    limits=0,63
.system.settings.flag.present                       bool    true                 ro
.system.settings.flag.tempControlled                bool    true                 ro
.system.settings.flag.state                         string  "Stowed"
.system.settings.flag.setpoint                      f32     30.0                 limits=-10,60
.system.settings.flag.coolerPower                   string  "On"
.system.settings.flag.temperature                   f32     25.0                 ro
.system.settings.lensCover.present                  bool    true                 ro
.system.settings.lensCover.state                    string  "Open"

# A two-position focus lens (narrow and wide) on the focus motor board
.system.lens.lensType                               string  "FMB"
.system.lens.fovPresent                             bool    true                 ro
.system.lens.focusMin                               u32     100                  ro
.system.lens.focusMax                               u32     9900                 ro
.system.lens.focusPos                               u32     2000                 limits=100,9900
.system.lens.focusRealTimePos                       u32     2000                 ro
.system.lens.focusNearPos                           u32     150                  ro
.system.lens.focusFarPos                            u32     9850                 ro
.system.lens.focusNear                              bool    false
.system.lens.focusFar                               bool    false
.system.lens.focusMove                              i32     0                    limits=-3,3
.system.lens.focusMoveBy                            i32     0
.system.lens.focusMoveTo                            u32     0
.system.lens.focusPacedMove                         f64     0.0                  limits=-100,100
.system.lens.focusPacedMoveAvailable                bool    true                 ro
.system.lens.focusToDistanceAvailable               bool    true                 ro
.system.lens.focusToDistance                        f32     10.0
.system.lens.focusToDistanceMin                     f32     0.5                  ro
.system.lens.focusToDistanceMax                     f32     1000.0               ro
.system.lens.isLensMotorDisengaged                  bool    false                ro
.system.lens.autoFocusFull                          bool    false
.system.lens.autoFocusFast                          bool    false
.system.lens.autoFocusROIShowWhenFocusing           bool    true
.system.lens.autoFocusROISize                       u16     64                   limits=16,256
.system.lens.autoFocusROIPosition                   string  "Center"
.system.lens.autoFocusStatusCode                    u16     1                    ro
.system.lens.autoFocusStatusText                    string  "Idle"               ro
.system.lens.autoFocusResultCode                    u16     0                    ro
.system.lens.autoFocusResultText                    string  "None"               ro
.system.lens.fovState                               string  "Narrow"
.system.lens.fovMin                                 u32     0                    ro
.system.lens.fovMax                                 u32     1000                 ro
.system.lens.fov                                    u32     1000                 limits=0,1000
.system.lens.fovCurrent                             u32     1000                 ro
.system.lens.fovGoMin                               bool    false
.system.lens.fovGoMax                               bool    false
.system.lens.fovMove                                i32     0                    limits=-3,3
.system.lens.fovMoveBy                              i32     0
.system.lens.fovMoveTo                              u32     0
.system.lens.fovPacedMove                           f64     0.0                  limits=-100,100
.system.lens.fovPacedMoveAvailable                  bool    true                 ro
.system.lens.lensInfoAvailable                      bool    true                 ro
.system.lens.lensFocalLength                        i32     100                  ro
.system.lens.lensBandPass                           string  "MWIR"               ro
.system.lens.lensSpecificType                       u32     12                   ro
.system.lens.lensAthermalizationEnabled             bool    false
.system.manufacturing.lens.fovNarrowNearPos         u32     180
.system.manufacturing.lens.fovNarrowFarPos          u32     9800
.system.manufacturing.lens.fovWideNearPos           u32     400
.system.manufacturing.lens.fovWideFarPos            u32     9200
.system.manufacturing.lens.narrowSlowSpeed          u32     200
.system.manufacturing.lens.narrowMediumSpeed        u32     1000
.system.manufacturing.lens.narrowFastSpeed          u32     4000
.system.manufacturing.lens.wideSlowSpeed            u32     150
.system.manufacturing.lens.wideMediumSpeed          u32     800
.system.manufacturing.lens.wideFastSpeed            u32     3000
.system.manufacturing.lens.narrowSlowControl        string  "Position"
.system.manufacturing.lens.wideSlowControl          string  "Speed"
.system.manufacturing.lens.narrowPositionIncrement  u32     10
.system.manufacturing.lens.widePositionIncrement    u32     20
.system.manufacturing.lens.narrowFocusAccuracy      u32     5
.system.manufacturing.lens.wideFocusAccuracy        u32     8
.sercomm.settings.serial.enabled                    bool    true
.sercomm.settings.saveSettings                      bool    false

# The external lens controller (switched off here; the profile "vorn" uses it)
.vorn.settings.saveSettings                         bool    false
.vorn.settings.fovPresent                           bool    true                 ro
.vorn.settings.focusNear                            u32     0                    ro
.vorn.settings.focusFar                             u32     20000                ro
.vorn.settings.focus                                u32     10000                limits=0,20000
.vorn.settings.focusCurrent                         u32     10000                ro
.vorn.settings.focusGoNear                          bool    false
.vorn.settings.focusGoFar                           bool    false
.vorn.settings.focusMove                            i32     0                    limits=-3,3
.vorn.settings.focusMoveBy                          i32     0
.vorn.settings.focusMoveTo                          u32     0
.vorn.settings.autoFocusFull                        bool    false
.vorn.settings.autoFocusFast                        bool    false
.vorn.settings.autoFocusROIShowWhenFocusing         bool    false
.vorn.settings.autoFocusStatusCode                  u16     1                    ro
.vorn.settings.autoFocusStatusText                  string  "Idle"               ro
.vorn.settings.autoFocusResultCode                  u16     0                    ro
.vorn.settings.autoFocusResultText                  string  "None"               ro
.vorn.settings.fovMin                               u32     50                   ro
.vorn.settings.fovMax                               u32     750                  ro
.vorn.settings.fov                                  u32     300                  limits=50,750
.vorn.settings.fovCurrent                           u32     300                  ro
.vorn.settings.fovGoMin                             bool    false
.vorn.settings.fovGoMax                             bool    false
.vorn.settings.fovMove                              i32     0                    limits=-3,3
.vorn.settings.fovMoveBy                            i32     0
.vorn.settings.fovMoveTo                            u32     0
)";

// Zoom speeds in steps per second (slow, medium, fast); focus speeds come from the manufacturing
// values of the narrow field of view.
constexpr double kZoomSpeeds[3] = {20.0, 100.0, 400.0};
constexpr double kFallbackFocusSpeeds[3] = {200.0, 1000.0, 4000.0};
constexpr u64 kFlagMoveMs = 800;
constexpr u64 kCoverMoveMs = 1200;

// The paths of one lens: the camera's own, or the one on the external controller. Paths the
// controller lacks are null.
struct LensPaths {
  const char* focusMin;
  const char* focusMax;
  const char* focus;
  const char* focusCurrent;
  const char* goNear;
  const char* goFar;
  const char* focusMove;
  const char* focusMoveBy;
  const char* focusMoveTo;
  const char* focusPaced;
  const char* toDistance;
  const char* autoFocusFull;
  const char* autoFocusFast;
  const char* autoFocus;  // prefix of StatusCode, StatusText, ResultCode, ResultText
  const char* fovMin;
  const char* fovMax;
  const char* fov;
  const char* fovCurrent;
  const char* fovGoMin;
  const char* fovGoMax;
  const char* fovMove;
  const char* fovMoveBy;
  const char* fovMoveTo;
  const char* fovPaced;
  const char* fovState;
};

constexpr LensPaths kOwnLens = {
    ".system.lens.focusMin",
    ".system.lens.focusMax",
    ".system.lens.focusPos",
    ".system.lens.focusRealTimePos",
    ".system.lens.focusNear",
    ".system.lens.focusFar",
    ".system.lens.focusMove",
    ".system.lens.focusMoveBy",
    ".system.lens.focusMoveTo",
    ".system.lens.focusPacedMove",
    ".system.lens.focusToDistance",
    ".system.lens.autoFocusFull",
    ".system.lens.autoFocusFast",
    ".system.lens.autoFocus",
    ".system.lens.fovMin",
    ".system.lens.fovMax",
    ".system.lens.fov",
    ".system.lens.fovCurrent",
    ".system.lens.fovGoMin",
    ".system.lens.fovGoMax",
    ".system.lens.fovMove",
    ".system.lens.fovMoveBy",
    ".system.lens.fovMoveTo",
    ".system.lens.fovPacedMove",
    ".system.lens.fovState",
};

constexpr LensPaths kControllerLens = {
    ".vorn.settings.focusNear",
    ".vorn.settings.focusFar",
    ".vorn.settings.focus",
    ".vorn.settings.focusCurrent",
    ".vorn.settings.focusGoNear",
    ".vorn.settings.focusGoFar",
    ".vorn.settings.focusMove",
    ".vorn.settings.focusMoveBy",
    ".vorn.settings.focusMoveTo",
    nullptr,
    nullptr,
    ".vorn.settings.autoFocusFull",
    ".vorn.settings.autoFocusFast",
    ".vorn.settings.autoFocus",
    ".vorn.settings.fovMin",
    ".vorn.settings.fovMax",
    ".vorn.settings.fov",
    ".vorn.settings.fovCurrent",
    ".vorn.settings.fovGoMin",
    ".vorn.settings.fovGoMax",
    ".vorn.settings.fovMove",
    ".vorn.settings.fovMoveBy",
    ".vorn.settings.fovMoveTo",
    nullptr,
    nullptr,
};

constexpr const char* kDisengaged = ".system.lens.isLensMotorDisengaged";

bool Engaged(const Camera& camera) { return camera.Integer(kDisengaged, 0) == 0; }

// A focus speed of the narrow field of view: 0 slow, 1 medium, 2 fast.
double FocusSpeed(const Camera& camera, int pace) {
  static constexpr const char* kPaths[3] = {".system.manufacturing.lens.narrowSlowSpeed",
                                            ".system.manufacturing.lens.narrowMediumSpeed",
                                            ".system.manufacturing.lens.narrowFastSpeed"};
  const i64 speed = camera.Integer(kPaths[pace], 0);
  return speed > 0 ? static_cast<double>(speed) : kFallbackFocusSpeeds[pace];
}

u32 Show(Camera& camera, const std::string& path, lens::i64 position) {
  camera.Update(path, Value::OfInteger(Type::Int, position));
  return kOk;
}

// A trigger path reads back false once its action has started.
bool Triggered(Camera& camera, const std::string& path, const Value& value) {
  if (!value.integer) return false;
  camera.Update(path, Value::Bool(false));
  return true;
}

struct Axes {
  lens::Axis focus;
  lens::Axis zoom;
  lens::AutoFocus autofocus;
};

// Speed codes -3..3 and paced percentages: positive focuses nearer (towards the minimum),
// negative farther.
int Direction(double speed) { return speed > 0 ? -1 : speed < 0 ? 1 : 0; }

void InstallFocus(Camera& camera, const LensPaths& p, std::shared_ptr<Axes> axes) {
  auto moveTo = [axes](Camera& c, lens::i64 target, double speed) {
    if (Engaged(c)) axes->focus.MoveTo(target, speed, c.NowMs());
  };
  camera.OnRead(p.focusCurrent, [axes](Camera& c, const std::string& path) {
    return Show(c, path, axes->focus.PositionAt(c.NowMs()));
  });
  camera.OnRead(p.focus, [axes](Camera& c, const std::string& path) {
    return Show(c, path, axes->focus.Target());
  });
  camera.OnWrite(p.focus, [moveTo](Camera& c, const std::string&, const Value& v) {
    moveTo(c, v.integer, FocusSpeed(c, 2));
    return kOk;
  });
  camera.OnWrite(p.focusMoveTo, [moveTo](Camera& c, const std::string&, const Value& v) {
    moveTo(c, v.integer, FocusSpeed(c, 2));
    return kOk;
  });
  camera.OnWrite(p.focusMoveBy, [axes, moveTo](Camera& c, const std::string&, const Value& v) {
    moveTo(c, axes->focus.Target() + v.integer, FocusSpeed(c, 2));
    return kOk;
  });
  camera.OnWrite(p.goNear, [axes, moveTo](Camera& c, const std::string& path, const Value& v) {
    if (Triggered(c, path, v)) moveTo(c, axes->focus.Minimum(), FocusSpeed(c, 2));
    return kOk;
  });
  camera.OnWrite(p.goFar, [axes, moveTo](Camera& c, const std::string& path, const Value& v) {
    if (Triggered(c, path, v)) moveTo(c, axes->focus.Maximum(), FocusSpeed(c, 2));
    return kOk;
  });
  camera.OnWrite(p.focusMove, [axes](Camera& c, const std::string&, const Value& v) {
    const int pace = static_cast<int>(v.integer < 0 ? -v.integer : v.integer);
    if (Engaged(c)) {
      axes->focus.Run(Direction(static_cast<double>(v.integer)),
                      pace > 0 ? FocusSpeed(c, pace - 1) : 0.0, c.NowMs());
    }
    return kOk;
  });
  if (p.focusPaced) {
    camera.OnWrite(p.focusPaced, [axes](Camera& c, const std::string&, const Value& v) {
      if (Engaged(c)) {
        axes->focus.Run(Direction(v.real), FocusSpeed(c, 2) * std::abs(v.real) / 100.0, c.NowMs());
      }
      return kOk;
    });
  }
  if (p.toDistance) {
    camera.OnWrite(p.toDistance, [axes, moveTo](Camera& c, const std::string&, const Value& v) {
      const double nearest = c.Get(".system.lens.focusToDistanceMin").value_or(Value()).real;
      const double farthest = c.Get(".system.lens.focusToDistanceMax").value_or(Value()).real;
      moveTo(c, lens::PositionForDistance(axes->focus, v.real, nearest, farthest),
             FocusSpeed(c, 2));
      return kOk;
    });
  }
}

// The autofocus finds its sharpest picture half-way along the focus range, and gets there by
// the time it is done. A disengaged focus motor cannot be driven: the search ends in failure.
void InstallAutoFocus(Camera& camera, const LensPaths& p, std::shared_ptr<Axes> axes) {
  for (const char* start : {p.autoFocusFull, p.autoFocusFast}) {
    const bool fast = start == p.autoFocusFast;
    camera.OnWrite(start, [axes, fast](Camera& c, const std::string& path, const Value& v) {
      if (!Triggered(c, path, v)) return kOk;
      const u64 now = c.NowMs();
      const bool engaged = Engaged(c);
      axes->autofocus.Start(fast, !engaged, now);
      if (engaged) {
        const lens::i64 best = (axes->focus.Minimum() + axes->focus.Maximum()) / 2;
        const double distance = static_cast<double>(std::abs(best - axes->focus.PositionAt(now)));
        const double ms = static_cast<double>(axes->autofocus.EndsAt() - now);
        axes->focus.MoveTo(best, distance > 0 ? distance * 1000.0 / ms : 0.0, now);
      }
      return kOk;
    });
  }
  const std::string prefix = p.autoFocus;
  for (const char* report : {"Status", "Result"}) {
    const bool status = std::string(report) == "Status";
    auto current = [axes, status](const Camera& c) {
      return status ? axes->autofocus.StatusAt(c.NowMs()) : axes->autofocus.ResultAt(c.NowMs());
    };
    camera.OnRead(prefix + report + "Code", [current](Camera& c, const std::string& path) {
      return Show(c, path, current(c).code);
    });
    camera.OnRead(prefix + report + "Text", [current](Camera& c, const std::string& path) {
      c.Update(path, Value::Str(current(c).text));
      return kOk;
    });
  }
}

void InstallZoom(Camera& camera, const LensPaths& p, std::shared_ptr<Axes> axes) {
  auto moveTo = [axes](Camera& c, lens::i64 target) {
    axes->zoom.MoveTo(target, kZoomSpeeds[2], c.NowMs());
  };
  camera.OnRead(p.fovCurrent, [axes](Camera& c, const std::string& path) {
    return Show(c, path, axes->zoom.PositionAt(c.NowMs()));
  });
  camera.OnRead(p.fov, [axes](Camera& c, const std::string& path) {
    return Show(c, path, axes->zoom.Target());
  });
  for (const char* path : {p.fov, p.fovMoveTo}) {
    camera.OnWrite(path, [moveTo](Camera& c, const std::string&, const Value& v) {
      moveTo(c, v.integer);
      return kOk;
    });
  }
  camera.OnWrite(p.fovMoveBy, [axes, moveTo](Camera& c, const std::string&, const Value& v) {
    moveTo(c, axes->zoom.Target() + v.integer);
    return kOk;
  });
  camera.OnWrite(p.fovGoMin, [axes, moveTo](Camera& c, const std::string& path, const Value& v) {
    if (Triggered(c, path, v)) moveTo(c, axes->zoom.Minimum());
    return kOk;
  });
  camera.OnWrite(p.fovGoMax, [axes, moveTo](Camera& c, const std::string& path, const Value& v) {
    if (Triggered(c, path, v)) moveTo(c, axes->zoom.Maximum());
    return kOk;
  });
  // Zoom speeds: positive towards the maximum.
  camera.OnWrite(p.fovMove, [axes](Camera& c, const std::string&, const Value& v) {
    const int pace = static_cast<int>(v.integer < 0 ? -v.integer : v.integer);
    const int direction = v.integer > 0 ? 1 : v.integer < 0 ? -1 : 0;
    axes->zoom.Run(direction, pace > 0 ? kZoomSpeeds[pace - 1] : 0.0, c.NowMs());
    return kOk;
  });
  if (p.fovPaced) {
    camera.OnWrite(p.fovPaced, [axes](Camera& c, const std::string&, const Value& v) {
      const int direction = v.real > 0 ? 1 : v.real < 0 ? -1 : 0;
      axes->zoom.Run(direction, kZoomSpeeds[2] * std::abs(v.real) / 100.0, c.NowMs());
      return kOk;
    });
  }
  // A two-position lens: narrow is the long end of the zoom, wide the short one.
  if (p.fovState) {
    camera.OnWrite(p.fovState, [axes, moveTo](Camera& c, const std::string&, const Value& v) {
      moveTo(c,
             strcasecmp(v.text.c_str(), "wide") == 0 ? axes->zoom.Minimum() : axes->zoom.Maximum());
      return kOk;
    });
  }
}

void InstallLens(Camera& camera, const LensPaths& p) {
  if (!camera.Has(p.focus) || !camera.Has(p.fov)) return;
  auto axes = std::make_shared<Axes>();
  axes->focus =
      lens::Axis(camera.Integer(p.focusMin), camera.Integer(p.focusMax), camera.Integer(p.focus));
  axes->zoom =
      lens::Axis(camera.Integer(p.fovMin), camera.Integer(p.fovMax), camera.Integer(p.fov));
  InstallFocus(camera, p, axes);
  InstallAutoFocus(camera, p, axes);
  InstallZoom(camera, p, axes);
}

// A part with named positions that takes a while to move. While it moves, reads show
// `movingText` (or, when null, the position it left); once it has arrived they show what was
// written again.
void InstallShuttle(Camera& camera, const std::string& path, std::array<const char*, 2> names,
                    const char* movingText, u64 durationMs) {
  if (!camera.Has(path)) return;
  struct Part {
    lens::Shuttle shuttle;
    std::string written;
    bool masked = false;
  };
  auto part = std::make_shared<Part>();
  part->written = camera.Text(path);
  auto position = [names](const std::string& text) {
    for (int i = 0; i < 2; ++i) {
      if (strcasecmp(text.c_str(), names[i]) == 0) return i;
    }
    return -1;
  };
  part->shuttle = lens::Shuttle(std::max(0, position(part->written)));
  camera.OnWrite(
      path, [part, position, durationMs](Camera& c, const std::string& at, const Value& v) -> u32 {
        const int target = position(v.text);
        if (target < 0) {
          c.Update(at, Value::Str(part->written));
          return kInvalidArgument;
        }
        part->shuttle.Go(target, durationMs, c.NowMs());
        part->written = v.text;
        part->masked = false;
        return kOk;
      });
  camera.OnRead(path, [part, names, movingText](Camera& c, const std::string& at) {
    const u64 now = c.NowMs();
    if (part->shuttle.MovingAt(now)) {
      c.Update(at, Value::Str(movingText ? movingText : names[part->shuttle.PositionAt(now)]));
      part->masked = true;
    } else if (part->masked) {
      c.Update(at, Value::Str(part->written));
      part->masked = false;
    }
    return kOk;
  });
}

// The flag's temperature settles on its setpoint while its cooler holds it, and drifts back to
// where it started (the room) when the cooler is off.
void InstallFlagTemperature(Camera& camera) {
  const std::string flag = ".system.settings.flag.";
  if (!camera.Has(flag + "temperature")) return;
  const double room = camera.Get(flag + "temperature")->real;
  auto temperature = std::make_shared<lens::Settling>(room);
  auto aim = [temperature, flag, room](Camera& c) {
    const bool held = c.Integer(flag + "tempControlled", 0) != 0 &&
                      strcasecmp(c.Text(flag + "coolerPower").c_str(), "on") == 0;
    const auto setpoint = c.Get(flag + "setpoint");
    temperature->Aim(held && setpoint ? setpoint->real : room, c.NowMs());
  };
  aim(camera);
  for (const char* path : {"setpoint", "coolerPower"}) {
    camera.OnWrite(flag + path, [aim](Camera& c, const std::string&, const Value&) {
      aim(c);
      return kOk;
    });
  }
  camera.OnRead(flag + "temperature", [temperature](Camera& c, const std::string& path) {
    c.Update(path, Value::F32(static_cast<float>(temperature->At(c.NowMs()))));
    return kOk;
  });
}

// A scan finds the filters the slot assignment names; the wheel only turns to a filter it holds.
void InstallFilterWheel(Camera& camera) {
  const std::string filter = ".system.settings.filter.";
  if (!camera.Has(filter + "scan")) return;
  auto slot = [filter](const char* what, int i) { return filter + what + std::to_string(i); };
  // The filter the wheel stands at, put back when a write asks for one it does not hold.
  auto previous = std::make_shared<i64>(camera.Integer(filter + "current"));
  camera.OnWrite(filter + "scan",
                 [filter, slot, previous](Camera& c, const std::string& path, const Value& v) {
                   if (!Triggered(c, path, v)) return kOk;
                   bool holdsCurrent = false;
                   const i64 current = c.Integer(filter + "current");
                   for (int i = 0; i < 4; ++i) {
                     const i64 id = c.Integer(slot("config.filterIDInSlot", i));
                     c.Update(slot("filterAt", i), Value::OfInteger(Type::Int, id));
                     holdsCurrent = holdsCurrent || id == current;
                   }
                   if (!holdsCurrent) {
                     *previous = c.Integer(slot("filterAt", 0));
                     c.Update(filter + "current", Value::OfInteger(Type::Int, *previous));
                   }
                   return kOk;
                 });
  camera.OnWrite(filter + "current",
                 [previous, slot](Camera& c, const std::string& path, const Value& v) -> u32 {
                   for (int i = 0; i < 4; ++i) {
                     if (c.Integer(slot("filterAt", i), -1) == v.integer) {
                       *previous = v.integer;
                       return kOk;
                     }
                   }
                   c.Update(path, Value::OfInteger(Type::Int, *previous));
                   return kInvalidArgument;
                 });
}

void InstallOptics(Camera& camera) {
  InstallLens(camera, kOwnLens);
  InstallLens(camera, kControllerLens);
  InstallShuttle(camera, ".system.settings.flag.state", {"Stowed", "InFOV"}, nullptr, kFlagMoveMs);
  InstallShuttle(camera, ".system.settings.lensCover.state", {"Open", "Closed"}, "Unknown",
                 kCoverMoveMs);
  InstallFlagTemperature(camera);
  InstallFilterWheel(camera);
}

constexpr Behaviour kBehaviours[] = {{"lens-optics", &InstallOptics}};

}  // namespace

extern const FamilyPart kLensPart{"lens", kSection, kBehaviours};

}  // namespace sim::ptree
