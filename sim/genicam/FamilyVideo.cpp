// Video output, AGC and overlay on the simulated device: the features, and the behaviours
// "video-records" (the video offset and the AGC region are taken and read back as a whole) and
// "video-overlay" (the overlay's clear and default commands).
#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "genicam/Families.h"

namespace sim::genicam {

namespace {

// The formats and zoom factors are those the device's camera type, board and firmware (the core)
// offer. The text items are drawn in white on black;
// date, time, logo, frame rate and message are shown.
const char* const kSection = R"(
# --- Video output, AGC and overlay -------------------------------------------------------------
int      VideoPreset                 0           min=0 max=3
enum     VideoFormat                 NTSC        entries=NTSC:0,PAL:1,SVGA:2,NTSCSquarePixel:3,PALSquarePixel:4
enum     VideoUpdateRate             Frame       entries=Frame:0,Field:1
enum     VideoPosition               Center      entries=FPA:0,Center:1,Offset:2
enum     VideoTemporalFilter         FourTap     entries=None:0,FourTap:1,FourTapMotionAdaptive:3
int      VideoTemporalFilterTreshold 200         min=0 max=4095
enum     VideoZoomFactor             One         entries=One:1,BestFit:5
bool     VideoZoomBilinear           true
int      VideoOffsetX                0           min=-320 max=320
int      VideoOffsetY                0           min=-256 max=256
command  VideoOffsetRead
command  VideoOffsetWrite
int      VideoBrightness             0           min=-100 max=100
int      VideoContrast               10          min=-100 max=100
enum     VideoAGCMethod              Plateau     entries=Plateau:0,DDE:1,Linear:2,Manual:3
bool     VideoAGCFilterDampeningEnabled true
float    VideoAGCFilterDampening     0.25        min=0 max=1
bool     VideoAGCFilterRateEnabled   false
float    VideoAGCFilterRate          30.0        min=0 max=1000
int      VideoAGCPlateauP            150         min=0 max=1000
int      VideoAGCManualLow           1000        min=0 max=16383
int      VideoAGCManualHigh          15000       min=0 max=16383
int      VideoAGCDDESharpness        16          min=0 max=255
int      VideoAGCDDEThreshold        64          min=0 max=16383
bool     VideoAGCROIEnabled          false
bool     VideoAGCROIShowWhenEnabled  true
int      VideoAGCROIOffsetX          160         min=0 max=639
int      VideoAGCROIOffsetY          128         min=0 max=511
int      VideoAGCROIWidth            320         min=1 max=640
int      VideoAGCROIHeight           256         min=1 max=512
command  VideoAGCROIRead
command  VideoAGCROIWrite
bool     VideoOverlayEnabled         true
bool     VideoOverlayShowDate        true
bool     VideoOverlayShowTime        true
bool     VideoOverlayShowLogo        true
bool     VideoOverlayShowFrameRate   true
bool     VideoOverlayShowMessage     true
bool     VideoOverlayShowFOV         false
bool     VideoOverlayShowZoom        false
bool     VideoOverlayShowFocus       false
bool     VideoOverlayShowLensTemp    false
bool     VideoOverlayShowAirGapTemp  false
bool     VideoOverlayShowInternalTemp false
bool     VideoOverlayShowChassisTemp false
bool     VideoOverlayShowFrontPanelTemp false
bool     VideoOverlayShowAGCROI      false
bool     VideoOverlayShowFocusROI    false
bool     VideoOverlayShowFlag        false
bool     VideoOverlayShowPalette     false
bool     VideoOverlayShowIRIG        false
bool     VideoOverlayShowPreset      false
bool     VideoOverlayShowHourMeter   false
bool     VideoOverlayShowCameraInfo  false
bool     VideoOverlayShowStateName   false
bool     VideoOverlayShowUserDefinedField false
string   VideoOverlayUserDefinedFieldText "SIM camera"
int      VideoOverlayTextColor       3           min=0 max=255
int      VideoOverlayTextBackground  0           min=0 max=255
int      VideoOverlayAGCROIColor     4           min=0 max=255
int      VideoOverlayFocusROIColor   5           min=0 max=255
command  VideoOverlayClearMessage
command  VideoOverlayClear
command  VideoOverlayUseDefaults
behaviour video-records
behaviour video-overlay
)";

const std::string kShow = "VideoOverlayShow";

// A record the device takes as a whole: its features are held until the command `write`, which
// takes them when `fits` accepts them and otherwise puts the last taken record back and throws
// std::out_of_range; the command `read` loads the taken record into the features.
template <std::size_t N>
void InstallRecord(Device& device, const std::array<const char*, N>& features, const char* read,
                   const char* write, bool (*fits)(const Device&, const std::array<i64, N>&)) {
  auto taken = std::make_shared<std::array<i64, N>>();
  for (std::size_t i = 0; i < N; ++i)
    (*taken)[i] = device.GetInt(features[i]);
  auto put = [features](Device& d, const std::array<i64, N>& record) {
    for (std::size_t i = 0; i < N; ++i)
      d.SetInt(features[i], record[i]);
  };
  device.OnExecute(write, [features, taken, put, fits](Device& d, const std::string&) {
    std::array<i64, N> record;
    for (std::size_t i = 0; i < N; ++i)
      record[i] = d.GetInt(features[i]);
    if (!fits(d, record)) {
      put(d, *taken);
      throw std::out_of_range("the record does not fit");
    }
    *taken = record;
  });
  device.OnExecute(read, [taken, put](Device& d, const std::string&) { put(d, *taken); });
}

// The AGC region lies on the sensor.
bool RegionFits(const Device& d, const std::array<i64, 4>& roi) {
  return roi[2] > 0 && roi[3] > 0 && roi[0] + roi[2] <= d.GetInt("SensorWidth") &&
         roi[1] + roi[3] <= d.GetInt("SensorHeight");
}

void InstallVideoRecords(Device& device) {
  InstallRecord<2>(device, {"VideoOffsetX", "VideoOffsetY"}, "VideoOffsetRead", "VideoOffsetWrite",
                   [](const Device&, const std::array<i64, 2>&) { return true; });
  InstallRecord<4>(
      device, {"VideoAGCROIOffsetX", "VideoAGCROIOffsetY", "VideoAGCROIWidth", "VideoAGCROIHeight"},
      "VideoAGCROIRead", "VideoAGCROIWrite", &RegionFits);
}

// The overlay as the profile set it up is its default: "VideoOverlayUseDefaults" puts every
// overlay value back. "VideoOverlayClear" hides every item.
void InstallVideoOverlay(Device& device) {
  auto defaults = std::make_shared<std::vector<FeatureSpec>>();
  for (const std::string& name : device.Names()) {
    if (name.starts_with("VideoOverlay") && device.KindOf(name) != Kind::Command)
      defaults->push_back(device.Spec(name));
  }
  device.OnExecute("VideoOverlayUseDefaults", [defaults](Device& d, const std::string&) {
    for (const FeatureSpec& spec : *defaults) {
      if (!d.Has(spec.name)) continue;
      switch (spec.kind) {
        case Kind::Boolean:
          d.SetBool(spec.name, spec.boolValue);
          break;
        case Kind::String:
          d.SetString(spec.name, spec.text);
          break;
        default:
          d.SetInt(spec.name, spec.intValue);
          break;
      }
    }
  });
  device.OnExecute("VideoOverlayClear", [](Device& d, const std::string&) {
    for (const std::string& name : d.Names()) {
      if (name.starts_with(kShow)) d.SetBool(name, false);
    }
  });
}

bool Install(Device& device, const std::vector<std::string>& args) {
  void (*install)(Device&) = nullptr;
  if (args[0] == "video-records") install = &InstallVideoRecords;
  if (args[0] == "video-overlay") install = &InstallVideoOverlay;
  if (!install) return false;
  if (args.size() != 1) throw std::runtime_error("behaviour " + args[0] + " takes no arguments");
  install(device);
  return true;
}

}  // namespace

extern const FamilyPart kVideoPart{"video", kSection, &Install};

}  // namespace sim::genicam
