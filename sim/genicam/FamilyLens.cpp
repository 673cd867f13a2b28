// Lens, focus, field of view, filter wheel, lens cover and flag on the simulated device. The
// behaviour "lens-optics" makes them move in simulated time (lens/Optics.h), as on the simulated
// property-tree camera: the focus and zoom travel at their speeds and report their positions on
// the way, the autofocus searches and ends, the flag and the cover take a while to move, the
// flag's temperature settles, and a filter scan finds the filters the slot assignment names.
#include <array>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "genicam/DeviceImpl.h"
#include "genicam/Families.h"
#include "lens/Optics.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- Lens, focus, field of view, filter wheel, lens cover and flag ----------------------------
bool     FilterWheelPresent               true      ro
command  FilterWheelScan                  polls=2
int      FilterWheelFilterID0             0         ro min=0 max=63
int      FilterWheelFilterID1             1         ro min=0 max=63
int      FilterWheelFilterID2             2         ro min=0 max=63
int      FilterWheelFilterID3             7         ro min=0 max=63
int      FilterWheelCurrentFilterID       1         min=0 max=63
int      FilterWheelDesiredFilterID       1         min=0 max=63
command  FilterWheelSelectDesiredFilterID polls=1
int      FilterNumberOf                   4         ro min=0 max=255
bool     FilterReplaceable                true      ro
int      FilterIDInSlot0                  0         min=0 max=63
int      FilterIDInSlot1                  1         min=0 max=63
int      FilterIDInSlot2                  2         min=0 max=63
int      FilterIDInSlot3                  7         min=0 max=63
bool     FlagPresent                      true      ro
bool     FlagTemperatureControlled        true      ro
enum     FlagState                        Stowed    entries=Stowed:0,InFOV:1
command  FlagMoveToInFOV
command  FlagMoveToStowed
float    FlagDesiredTemperature           30.0      min=-10.0 max=60.0
bool     FlagCoolerEnabled                true
at DeviceTemperatureSelector=Flag  DeviceTemperature  25.0
bool     LensCoverPresent                 true      ro
enum     LensCoverState                   Open      entries=Open:0,Closed:1,Unknown:2
command  LensCoverMoveToOpen
command  LensCoverMoveToClosed

# A two-position focus lens (narrow and wide) on the focus motor board
enum     LensControlType                  FMB       entries=None:0,FMB:1,Vorn:2,Tesk:3
bool     FocusPresent                     true      ro
int      FocusRangeMin                    100       ro
int      FocusRangeMax                    9900      ro
int      FocusPosition                    2000      min=100 max=9900
int      FocusDesiredPosition             2000      min=100 max=9900
command  FocusMoveToDesiredPosition
int      FocusCurrentPosition             2000      ro
command  FocusNear
command  FocusFar
enum     FocusMove                        Stop      entries=FarFast:-3,FarMedium:-2,FarSlow:-1,Stop:0,NearSlow:1,NearMedium:2,NearFast:3
int      FocusMoveBy                      0         min=-100000 max=100000
int      FocusMoveTo                      0         min=0 max=100000
float    FocusPacedMove                   0.0       min=-100.0 max=100.0
bool     FocusPacedMoveAvailable          true      ro
bool     FocusToDistanceAvailable         true      ro
float    FocusToDistance                  10.0      min=0.0 max=100000.0
float    FocusToDistanceMin               0.5       ro
float    FocusToDistanceMax               1000.0    ro
bool     FocusManualMode                  false     ro
int      FocusQueryFOV                    0         min=0 max=2
int      FocusNearPosition                180       min=0 max=100000 selector=FocusQueryFOV
int      FocusFarPosition                 9800      min=0 max=100000 selector=FocusQueryFOV
int      FocusSlowSpeed                   200       min=0 max=100000 selector=FocusQueryFOV
int      FocusMediumSpeed                 1000      min=0 max=100000 selector=FocusQueryFOV
int      FocusFastSpeed                   4000      min=0 max=100000 selector=FocusQueryFOV
enum     FocusSlowControl                 Position  entries=Position:0,Speed:1 selector=FocusQueryFOV
int      FocusPositionIncrement           10        min=0 max=100000 selector=FocusQueryFOV
int      FocusAccuracy                    5         min=0 max=100000 selector=FocusQueryFOV
at FocusQueryFOV=1  FocusNearPosition       400
at FocusQueryFOV=1  FocusFarPosition        9200
at FocusQueryFOV=1  FocusSlowSpeed          150
at FocusQueryFOV=1  FocusMediumSpeed        800
at FocusQueryFOV=1  FocusFastSpeed          3000
at FocusQueryFOV=1  FocusSlowControl        Speed
at FocusQueryFOV=1  FocusPositionIncrement  20
at FocusQueryFOV=1  FocusAccuracy           8
at FocusQueryFOV=2  FocusNearPosition       150
at FocusQueryFOV=2  FocusFarPosition        9850
command  FocusAutoFull
command  FocusAutoFast
bool     FocusAutoROIShowWhenFocusing     true
int      FocusAutoROISize                 64        min=16 max=256
enum     FocusAutoROIPosition             Center    entries=Center:0,TopLeft:1,TopRight:2,BottomLeft:3,BottomRight:4
enum     FocusAutoStatus                  Done      ro entries=Done:1,CoarseSearch:2,FineSearch:3
string   FocusAutoStatusText              Idle      ro
enum     FocusAutoResult                  None      ro entries=None:0,InFocus:1,Failed:2
string   FocusAutoResultText              None      ro
bool     FOVPresent                       true      ro
enum     FOVState                         Narrow    entries=Narrow:0,Wide:1,Continuous:2
bool     FOVIsContinuous                  false     ro
int      FOVRangeMin                      0         ro
int      FOVRangeMax                      1000      ro
int      FOVPos                           1000      min=0 max=1000
int      FOVDesiredPos                    1000      min=0 max=1000
command  FOVMoveToDesiredPos
int      FOVCurrentPos                    1000      ro
command  FOVMin
command  FOVMax
enum     FOVMove                          Stop      entries=WideFast:-3,WideMedium:-2,WideSlow:-1,Stop:0,NarrowSlow:1,NarrowMedium:2,NarrowFast:3
int      FOVMoveBy                        0         min=-100000 max=100000
int      FOVMoveTo                        0         min=0 max=100000
float    FOVPacedMove                     0.0       min=-100.0 max=100.0
bool     FOVPacedMoveAvailable            true      ro
int      LensFocalLength                  100       ro
enum     LensBandPass                     MWIR      ro entries=Unknown:0,MWIR:1,MWIR-BB:2,LWIR:3,SWIR:4
int      LensSpecificType                 12        ro
bool     LensAthermalizationEnabled       false
behaviour lens-optics
)";

// Zoom speeds in steps per second (slow, medium, fast); focus speeds come from the manufacturing
// values of the narrow field of view.
constexpr double kZoomSpeeds[3] = {20.0, 100.0, 400.0};
constexpr double kFallbackFocusSpeeds[3] = {200.0, 1000.0, 4000.0};
constexpr u64 kFlagMoveMs = 800;
constexpr u64 kCoverMoveMs = 1200;
constexpr i64 kFlagTemperature = 8;  // the flag's entry of "DeviceTemperatureSelector"
constexpr i64 kCoverUnknown = 2;

// What the behaviour keeps. `echo` is set while the behaviour itself writes a feature, so that
// its own write hooks leave that write alone.
struct Optics {
  lens::Axis focus;
  lens::Axis zoom;
  lens::AutoFocus autofocus;
  lens::Settling flagTemperature;
  bool echo = false;
};
using State = std::shared_ptr<Optics>;

void Echo(Device& d, const State& s, const std::string& feature, i64 value) {
  s->echo = true;
  try {
    d.SetInt(feature, value);
  } catch (...) {
    s->echo = false;
    throw;
  }
  s->echo = false;
}

bool Engaged(Device& d) { return !d.Has("FocusManualMode") || !d.GetBool("FocusManualMode"); }

// A focus speed of the narrow field of view (0 slow, 1 medium, 2 fast), whatever field of view
// the host last queried.
double FocusSpeed(Device& d, int pace) {
  static constexpr const char* kFeatures[3] = {"FocusSlowSpeed", "FocusMediumSpeed",
                                               "FocusFastSpeed"};
  Node* node = d.Internal().Find(kFeatures[pace]);
  i64 speed = 0;
  if (node) {
    auto narrow = node->selected.find(0);
    speed = narrow == node->selected.end() ? node->base.i : narrow->second.i;
  }
  return speed > 0 ? static_cast<double>(speed) : kFallbackFocusSpeeds[pace];
}

// Speed codes -3..3 and paced percentages: positive focuses nearer (towards the minimum).
int NearerIfPositive(double speed) { return speed > 0 ? -1 : speed < 0 ? 1 : 0; }
int Sign(double value) { return value > 0 ? 1 : value < 0 ? -1 : 0; }

void InstallFocus(Device& device, const State& s) {
  auto moveTo = [s](Device& d, i64 target) {
    if (Engaged(d)) s->focus.MoveTo(target, FocusSpeed(d, 2), d.NowMs());
  };
  device.OnRead("FocusCurrentPosition", [s](Device& d, const std::string& f) {
    d.SetInt(f, s->focus.PositionAt(d.NowMs()));
  });
  device.OnRead("FocusPosition", [s](Device& d, const std::string& f) {
    if (d.GetInt(f) != s->focus.Target()) Echo(d, s, f, s->focus.Target());
  });
  for (const char* feature : {"FocusPosition", "FocusMoveTo"}) {
    device.OnWrite(feature, [s, moveTo](Device& d, const std::string& f) {
      if (!s->echo) moveTo(d, d.GetInt(f));
    });
  }
  device.OnExecute("FocusMoveToDesiredPosition", [s, moveTo](Device& d, const std::string&) {
    const i64 desired = d.GetInt("FocusDesiredPosition");
    moveTo(d, desired);
    Echo(d, s, "FocusPosition", s->focus.Target());
  });
  device.OnWrite("FocusMoveBy", [s, moveTo](Device& d, const std::string& f) {
    moveTo(d, s->focus.Target() + d.GetInt(f));
  });
  device.OnExecute("FocusNear",
                   [s, moveTo](Device& d, const std::string&) { moveTo(d, s->focus.Minimum()); });
  device.OnExecute("FocusFar",
                   [s, moveTo](Device& d, const std::string&) { moveTo(d, s->focus.Maximum()); });
  device.OnWrite("FocusMove", [s](Device& d, const std::string& f) {
    const i64 code = d.GetInt(f);
    const int pace = static_cast<int>(code < 0 ? -code : code);
    if (Engaged(d)) {
      s->focus.Run(NearerIfPositive(static_cast<double>(code)),
                   pace > 0 ? FocusSpeed(d, pace - 1) : 0.0, d.NowMs());
    }
  });
  device.OnWrite("FocusPacedMove", [s](Device& d, const std::string& f) {
    const double percent = d.GetFloat(f);
    if (Engaged(d)) {
      s->focus.Run(NearerIfPositive(percent), FocusSpeed(d, 2) * std::abs(percent) / 100.0,
                   d.NowMs());
    }
  });
  device.OnWrite("FocusToDistance", [s, moveTo](Device& d, const std::string& f) {
    auto limit = [&d](const char* feature, double otherwise) {
      return d.Has(feature) ? d.GetFloat(feature) : otherwise;
    };
    moveTo(d, lens::PositionForDistance(s->focus, d.GetFloat(f), limit("FocusToDistanceMin", 1.0),
                                        limit("FocusToDistanceMax", 1000.0)));
  });
}

// The autofocus finds its sharpest picture half-way along the focus range and gets there by the
// time it is done. A focus motor in manual mode cannot be driven: the search ends in failure.
void InstallAutoFocus(Device& device, const State& s) {
  for (const char* start : {"FocusAutoFull", "FocusAutoFast"}) {
    const bool fast = std::string(start) == "FocusAutoFast";
    device.OnExecute(start, [s, fast](Device& d, const std::string&) {
      const u64 now = d.NowMs();
      const bool engaged = Engaged(d);
      s->autofocus.Start(fast, !engaged, now);
      if (!engaged) return;
      const i64 best = (s->focus.Minimum() + s->focus.Maximum()) / 2;
      const double distance = static_cast<double>(std::llabs(best - s->focus.PositionAt(now)));
      const double ms = static_cast<double>(s->autofocus.EndsAt() - now);
      s->focus.MoveTo(best, distance > 0 ? distance * 1000.0 / ms : 0.0, now);
    });
  }
  device.OnRead("FocusAutoStatus", [s](Device& d, const std::string& f) {
    d.SetInt(f, s->autofocus.StatusAt(d.NowMs()).code);
  });
  device.OnRead("FocusAutoStatusText", [s](Device& d, const std::string& f) {
    d.SetString(f, s->autofocus.StatusAt(d.NowMs()).text);
  });
  device.OnRead("FocusAutoResult", [s](Device& d, const std::string& f) {
    d.SetInt(f, s->autofocus.ResultAt(d.NowMs()).code);
  });
  device.OnRead("FocusAutoResultText", [s](Device& d, const std::string& f) {
    d.SetString(f, s->autofocus.ResultAt(d.NowMs()).text);
  });
}

void InstallZoom(Device& device, const State& s) {
  auto moveTo = [s](Device& d, i64 target) { s->zoom.MoveTo(target, kZoomSpeeds[2], d.NowMs()); };
  device.OnRead("FOVCurrentPos", [s](Device& d, const std::string& f) {
    d.SetInt(f, s->zoom.PositionAt(d.NowMs()));
  });
  device.OnRead("FOVPos", [s](Device& d, const std::string& f) {
    if (d.GetInt(f) != s->zoom.Target()) Echo(d, s, f, s->zoom.Target());
  });
  for (const char* feature : {"FOVPos", "FOVMoveTo"}) {
    device.OnWrite(feature, [s, moveTo](Device& d, const std::string& f) {
      if (!s->echo) moveTo(d, d.GetInt(f));
    });
  }
  device.OnExecute("FOVMoveToDesiredPos", [s, moveTo](Device& d, const std::string&) {
    moveTo(d, d.GetInt("FOVDesiredPos"));
    Echo(d, s, "FOVPos", s->zoom.Target());
  });
  device.OnWrite("FOVMoveBy", [s, moveTo](Device& d, const std::string& f) {
    moveTo(d, s->zoom.Target() + d.GetInt(f));
  });
  device.OnExecute("FOVMin",
                   [s, moveTo](Device& d, const std::string&) { moveTo(d, s->zoom.Minimum()); });
  device.OnExecute("FOVMax",
                   [s, moveTo](Device& d, const std::string&) { moveTo(d, s->zoom.Maximum()); });
  device.OnWrite("FOVMove", [s](Device& d, const std::string& f) {
    const i64 code = d.GetInt(f);
    const int pace = static_cast<int>(code < 0 ? -code : code);
    s->zoom.Run(Sign(static_cast<double>(code)), pace > 0 ? kZoomSpeeds[pace - 1] : 0.0, d.NowMs());
  });
  device.OnWrite("FOVPacedMove", [s](Device& d, const std::string& f) {
    const double percent = d.GetFloat(f);
    s->zoom.Run(Sign(percent), kZoomSpeeds[2] * std::abs(percent) / 100.0, d.NowMs());
  });
  // A two-position lens: narrow is the long end of the zoom, wide the short one.
  device.OnWrite("FOVState", [s, moveTo](Device& d, const std::string& f) {
    const i64 state = d.GetInt(f);
    if (state < 2) moveTo(d, state == 1 ? s->zoom.Minimum() : s->zoom.Maximum());
  });
}

// A part with two positions that takes a while to move (the flag, the cover): reached by writing
// its state or by the commands to either position. While it moves it reads `moving`, or where it
// was when `moving` is negative; once there, what was asked for.
struct PartNames {
  const char* state;
  const char* toZero;
  const char* toOne;
  u64 durationMs;
  i64 moving;
};

void InstallPart(Device& device, const State& s, const PartNames& names) {
  struct Part {
    lens::Shuttle shuttle;
    i64 written = 0;
    bool masked = false;
  };
  auto part = std::make_shared<Part>();
  part->written = device.GetInt(names.state);
  part->shuttle = lens::Shuttle(static_cast<int>(part->written));
  auto go = [part, names](Device& d, i64 target) {
    part->shuttle.Go(static_cast<int>(target), names.durationMs, d.NowMs());
    part->written = target;
    part->masked = false;
  };
  device.OnWrite(names.state, [s, go](Device& d, const std::string& f) {
    if (!s->echo) go(d, d.GetInt(f));
  });
  for (i64 target : {0, 1}) {
    device.OnExecute(target == 0 ? names.toZero : names.toOne,
                     [s, go, target, names](Device& d, const std::string&) {
                       go(d, target);
                       Echo(d, s, names.state, target);
                     });
  }
  device.OnRead(names.state, [s, part, names](Device& d, const std::string& f) {
    const u64 now = d.NowMs();
    if (part->shuttle.MovingAt(now)) {
      Echo(d, s, f, names.moving >= 0 ? names.moving : part->shuttle.PositionAt(now));
      part->masked = true;
    } else if (part->masked) {
      Echo(d, s, f, part->written);
      part->masked = false;
    }
  });
}

// The flag's temperature settles on its setpoint while its cooler holds it, and drifts back to
// where it started (the room) when the cooler is off.
void InstallFlagTemperature(Device& device, const State& s) {
  const double room = [&] {
    i64 selected = device.GetInt("DeviceTemperatureSelector");
    device.SetInt("DeviceTemperatureSelector", kFlagTemperature);
    const double value = device.GetFloat("DeviceTemperature");
    device.SetInt("DeviceTemperatureSelector", selected);
    return value;
  }();
  s->flagTemperature = lens::Settling(room);
  auto aim = [s, room](Device& d, const std::string&) {
    auto on = [&d](const char* feature) { return d.Has(feature) && d.GetBool(feature); };
    const bool held = on("FlagTemperatureControlled") && on("FlagCoolerEnabled") &&
                      d.Has("FlagDesiredTemperature");
    s->flagTemperature.Aim(held ? d.GetFloat("FlagDesiredTemperature") : room, d.NowMs());
  };
  aim(device, "");
  device.OnWrite("FlagDesiredTemperature", aim);
  device.OnWrite("FlagCoolerEnabled", aim);
  device.OnRead("DeviceTemperature", [s](Device& d, const std::string& f) {
    if (d.GetInt("DeviceTemperatureSelector") == kFlagTemperature) {
      d.SetFloat(f, s->flagTemperature.At(d.NowMs()));
    }
  });
}

// A scan finds the filters the slot assignment names; the wheel only turns to a filter it holds.
void InstallFilterWheel(Device& device) {
  auto holds = [](Device& d, i64 id) {
    for (int i = 0; i < 4; ++i) {
      const std::string position = "FilterWheelFilterID" + std::to_string(i);
      if (d.Has(position) && d.GetInt(position) == id) return true;
    }
    return false;
  };
  device.OnExecute("FilterWheelScan", [holds](Device& d, const std::string&) {
    for (int i = 0; i < 4; ++i) {
      const std::string slot = std::to_string(i);
      d.SetInt("FilterWheelFilterID" + slot, d.GetInt("FilterIDInSlot" + slot));
    }
    if (!holds(d, d.GetInt("FilterWheelCurrentFilterID"))) {
      d.SetInt("FilterWheelCurrentFilterID", d.GetInt("FilterWheelFilterID0"));
    }
  });
  device.OnWrite("FilterWheelCurrentFilterID", [holds](Device& d, const std::string& f) {
    const i64 id = d.GetInt(f);
    if (!holds(d, id)) {
      throw std::out_of_range("the wheel holds no filter " + std::to_string(id));
    }
  });
  device.OnExecute("FilterWheelSelectDesiredFilterID", [](Device& d, const std::string&) {
    d.SetInt("FilterWheelCurrentFilterID", d.GetInt("FilterWheelDesiredFilterID"));
  });
}

void InstallOptics(Device& device) {
  for (const char* feature :
       {"FocusRangeMin", "FocusRangeMax", "FocusPosition", "FOVRangeMin", "FOVRangeMax", "FOVPos",
        "FilterWheelScan", "FlagState", "LensCoverState", "DeviceTemperatureSelector"}) {
    if (!device.Has(feature)) {
      throw std::runtime_error(std::string("behaviour lens-optics needs the feature ") + feature);
    }
  }
  auto s = std::make_shared<Optics>();
  s->focus = lens::Axis(device.GetInt("FocusRangeMin"), device.GetInt("FocusRangeMax"),
                        device.GetInt("FocusPosition"));
  s->zoom = lens::Axis(device.GetInt("FOVRangeMin"), device.GetInt("FOVRangeMax"),
                       device.GetInt("FOVPos"));
  InstallFocus(device, s);
  InstallAutoFocus(device, s);
  InstallZoom(device, s);
  InstallPart(device, s, {"FlagState", "FlagMoveToStowed", "FlagMoveToInFOV", kFlagMoveMs, -1});
  InstallPart(device, s,
              {"LensCoverState", "LensCoverMoveToOpen", "LensCoverMoveToClosed", kCoverMoveMs,
               kCoverUnknown});
  InstallFlagTemperature(device, s);
  InstallFilterWheel(device);
}

bool Install(Device& device, const std::vector<std::string>& args) {
  if (args[0] != "lens-optics") return false;
  if (args.size() != 1) throw std::runtime_error("behaviour lens-optics takes no arguments");
  InstallOptics(device);
  return true;
}

}  // namespace

extern const FamilyPart kLensPart{"lens", kSection, &Install};

}  // namespace sim::genicam
