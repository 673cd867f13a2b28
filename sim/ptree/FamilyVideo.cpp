// Video output, AGC and overlay on the simulated camera: the settings, and the behaviours
// "video-records" (the video offset and the AGC region are taken and read back as a whole) and
// "video-overlay" (the overlay's clear and default commands).
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Families.h"

namespace sim::ptree {

namespace {

// The camera's type, board and firmware (the core) offer these formats and zoom factors; it starts
// at one of them. The text items are drawn in white on black; date, time, logo, frame rate and
// message are shown.
constexpr const char* kSection = R"(
# --- Video output, AGC and overlay -------------------------------------------------------------
behaviour video-records
behaviour video-overlay
.system.settings.video.preset                       u8      0                    limits=0,3
.system.settings.video.format                       string  "720P50Hz"
.system.settings.video.updateRate                   string  "Frame"
.system.settings.video.position                     string  "Center"
.system.settings.video.temporalFilter               string  "4-Tap"
.system.settings.video.temporalFilterThreshold      u16     200                  limits=0,4095
.system.settings.video.zoomFactor                   string  "1x"
.system.settings.video.zoomBilinear                 bool    true
.system.settings.video.offset.x                     i16     0                    limits=-320,320
.system.settings.video.offset.y                     i16     0                    limits=-256,256
.system.settings.video.offset.read                  bool    false
.system.settings.video.offset.commit                bool    false
.system.settings.video.brightness                   i8      0                    limits=-100,100
.system.settings.video.contrast                     i8      10                   limits=-100,100
.system.settings.video.showOverlay                  bool    true
.system.settings.video.agc.method                   string  "Plateau"
.system.settings.video.agc.dampeningEnabled         bool    true
.system.settings.video.agc.dampening                f32     0.25                 limits=0,1
.system.settings.video.agc.filterRateEnabled        bool    false
.system.settings.video.agc.filterRate               f64     30.0                 limits=0,1000
.system.settings.video.agc.plateau.p                u32     150                  limits=0,1000
.system.settings.video.agc.manual.low               u16     1000                 limits=0,16383
.system.settings.video.agc.manual.high              u16     15000                limits=0,16383
.system.settings.video.agc.dde.sharpness            u16     16                   limits=0,255
.system.settings.video.agc.dde.threshold            u16     64                   limits=0,16383
.system.settings.video.agc.roi.enabled              bool    false
.system.settings.video.agc.roi.showWhenEnabled      bool    true
.system.settings.video.agc.roi.xOffset              u16     160                  limits=0,639
.system.settings.video.agc.roi.yOffset              u16     128                  limits=0,511
.system.settings.video.agc.roi.width                u16     320                  limits=1,640
.system.settings.video.agc.roi.height               u16     256                  limits=1,512
.system.settings.video.agc.roi.read                 bool    false
.system.settings.video.agc.roi.commit               bool    false
.system.settings.overlay.date.display               bool    true
.system.settings.overlay.time.display               bool    true
.system.settings.overlay.logo.display               bool    true
.system.settings.overlay.frameRate.display          bool    true
.system.settings.overlay.message.display            bool    true
.system.settings.overlay.fov.display                  bool    false
.system.settings.overlay.zoom.display                 bool    false
.system.settings.overlay.focus.display                bool    false
.system.settings.overlay.lensTemperature.display      bool    false
.system.settings.overlay.airGapTemperature.display    bool    false
.system.settings.overlay.internalTemperature.display  bool    false
.system.settings.overlay.chassisTemperature.display   bool    false
.system.settings.overlay.frontPanelTemperature.display bool  false
.system.settings.overlay.agcROI.display             bool    false
.system.settings.overlay.autoFocusROI.display       bool    false
.system.settings.overlay.flag.display               bool    false
.system.settings.overlay.palette.display            bool    false
.system.settings.overlay.irig.display               bool    false
.system.settings.overlay.preset.display             bool    false
.system.settings.overlay.operatingTime.display      bool    false
.system.settings.overlay.cameraInfo.display         bool    false
.system.settings.overlay.stateFilename.display      bool    false
.system.settings.overlay.userDefinedField.display   bool    false
.system.settings.overlay.userDefinedField.userText  string  "SIM camera"
.system.settings.overlay.date.fgColor                u8      3
.system.settings.overlay.date.bgColor                u8      0
.system.settings.overlay.airGapTemperature.fgColor   u8      3
.system.settings.overlay.airGapTemperature.bgColor   u8      0
.system.settings.overlay.chassisTemperature.fgColor  u8      3
.system.settings.overlay.chassisTemperature.bgColor  u8      0
.system.settings.overlay.flag.fgColor                u8      3
.system.settings.overlay.flag.bgColor                u8      0
.system.settings.overlay.frameRate.fgColor           u8      3
.system.settings.overlay.frameRate.bgColor           u8      0
.system.settings.overlay.frontPanelTemperature.fgColor u8      3
.system.settings.overlay.frontPanelTemperature.bgColor u8      0
.system.settings.overlay.internalTemperature.fgColor u8      3
.system.settings.overlay.internalTemperature.bgColor u8      0
.system.settings.overlay.irig.fgColor                u8      3
.system.settings.overlay.irig.bgColor                u8      0
.system.settings.overlay.lensTemperature.fgColor     u8      3
.system.settings.overlay.lensTemperature.bgColor     u8      0
.system.settings.overlay.palette.fgColor             u8      3
.system.settings.overlay.palette.bgColor             u8      0
.system.settings.overlay.preset.fgColor              u8      3
.system.settings.overlay.preset.bgColor              u8      0
.system.settings.overlay.fov.fgColor                 u8      3
.system.settings.overlay.fov.bgColor                 u8      0
.system.settings.overlay.focus.fgColor               u8      3
.system.settings.overlay.focus.bgColor               u8      0
.system.settings.overlay.zoom.fgColor                u8      3
.system.settings.overlay.zoom.bgColor                u8      0
.system.settings.overlay.message.fgColor             u8      3
.system.settings.overlay.message.bgColor             u8      0
.system.settings.overlay.operatingTime.fgColor       u8      3
.system.settings.overlay.operatingTime.bgColor       u8      0
.system.settings.overlay.time.fgColor                u8      3
.system.settings.overlay.time.bgColor                u8      0
.system.settings.overlay.cameraInfo.fgColor          u8      3
.system.settings.overlay.cameraInfo.bgColor          u8      0
.system.settings.overlay.stateFilename.fgColor       u8      3
.system.settings.overlay.stateFilename.bgColor       u8      0
.system.settings.overlay.agcROI.fgColor              u8      4
.system.settings.overlay.autoFocusROI.fgColor        u8      5
.system.settings.overlay.message.clear              bool    false
.system.settings.overlay.clear.display              bool    false
.system.settings.overlay.goToDefault                bool    false
)";

using namespace paramtree;

const std::string kOverlay = ".system.settings.overlay";

// A trigger path: true runs `act`, and the path reads back false.
void OnTrigger(Camera& camera, const std::string& path, std::function<u32(Camera&)> act) {
  camera.OnWrite(path, [act](Camera& c, const std::string& written, const Value& value) -> u32 {
    if (!value.integer) return kOk;
    c.Update(written, Value::Bool(false));
    return act(c);
  });
}

// A record the camera takes as a whole: its fields are held until true is written to ".commit",
// which takes them when `fits` accepts them and otherwise answers 166 and puts the last taken
// record back; true at ".read" loads the taken record into the fields.
template <std::size_t N>
void InstallRecord(Camera& camera, const std::string& base,
                   const std::array<const char*, N>& fields,
                   bool (*fits)(const Camera&, const std::array<i64, N>&)) {
  if (!camera.Has(base + ".commit") || !camera.Has(base + ".read")) return;
  auto taken = std::make_shared<std::array<i64, N>>();
  for (std::size_t i = 0; i < N; ++i)
    (*taken)[i] = camera.Integer(base + "." + fields[i]);
  auto put = [base, fields](Camera& c, const std::array<i64, N>& record) {
    for (std::size_t i = 0; i < N; ++i)
      c.Update(base + "." + fields[i], Value::OfInteger(Type::Int32, record[i]));
  };
  OnTrigger(camera, base + ".commit", [base, fields, taken, put, fits](Camera& c) -> u32 {
    std::array<i64, N> record;
    for (std::size_t i = 0; i < N; ++i)
      record[i] = c.Integer(base + "." + fields[i]);
    if (!fits(c, record)) {
      put(c, *taken);
      return kInvalidArgument;
    }
    *taken = record;
    return kOk;
  });
  OnTrigger(camera, base + ".read", [taken, put](Camera& c) -> u32 {
    put(c, *taken);
    return kOk;
  });
}

// The AGC region lies on the sensor.
bool RegionFits(const Camera& c, const std::array<i64, 4>& roi) {
  const std::string limits = ".system.info.fpa.windowLimits.";
  return roi[2] > 0 && roi[3] > 0 && roi[0] + roi[2] <= c.Integer(limits + "maxWidth", 640) &&
         roi[1] + roi[3] <= c.Integer(limits + "maxHeight", 512);
}

void InstallVideoRecords(Camera& camera) {
  InstallRecord<2>(camera, ".system.settings.video.offset", {"x", "y"},
                   [](const Camera&, const std::array<i64, 2>&) { return true; });
  InstallRecord<4>(camera, ".system.settings.video.agc.roi",
                   {"xOffset", "yOffset", "width", "height"}, &RegionFits);
}

// Every path with a value below `path`, with its value.
void Collect(const Camera& camera, const std::string& path, std::map<std::string, Value>* out) {
  if (std::optional<Value> value = camera.Get(path); value && value->type != Type::None)
    (*out)[path] = *value;
  for (const std::string& child : camera.Children(path))
    Collect(camera, path + "." + child, out);
}

// The overlay as the profile set it up is its default: "goToDefault" puts every overlay value
// back. "clear.display" hides every item; "message.clear" takes the message away.
void InstallVideoOverlay(Camera& camera) {
  auto defaults = std::make_shared<std::map<std::string, Value>>();
  Collect(camera, kOverlay, defaults.get());
  OnTrigger(camera, kOverlay + ".goToDefault", [defaults](Camera& c) -> u32 {
    for (const auto& [path, value] : *defaults)
      c.Set(path, value);
    return kOk;
  });
  OnTrigger(camera, kOverlay + ".clear.display", [](Camera& c) -> u32 {
    for (const std::string& item : c.Children(kOverlay)) {
      if (item != "clear" && c.Has(kOverlay + "." + item + ".display"))
        c.Update(kOverlay + "." + item + ".display", Value::Bool(false));
    }
    return kOk;
  });
  OnTrigger(camera, kOverlay + ".message.clear", [](Camera&) -> u32 { return kOk; });
}

constexpr Behaviour kBehaviours[] = {
    {"video-records", &InstallVideoRecords},
    {"video-overlay", &InstallVideoOverlay},
};

}  // namespace

extern const FamilyPart kVideoPart{"video", kSection, kBehaviours};

}  // namespace sim::ptree
