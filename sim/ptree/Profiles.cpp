// The built-in camera profiles, in the profile line format (docs/simulated-cameras.md).
// "sim" is the reference camera: its core below, then the section of each camera family
// (Family<Name>.cpp). The variants include it and change what makes them differ.
#include <string>
#include <string_view>

#include "Families.h"
#include "SimTree.h"

namespace sim::ptree {

namespace {

// A 640x512 InSb camera on a WZN board, main application 3.4. Values differ between presets and
// between look-alike paths (AppCore minor/intermediate) so that a wrong path shows in a test.
constexpr const char* kSim = R"(# sim: 640x512 InSb, WZN board, main application 3.4
behaviour window-commit
behaviour dead-rows
option chunkSize 4096
option freeSpace 67108864
option clock 1704067200                                  # 2024-01-01 00:00:00 UTC

# --- Readiness and events -------------------------------------------------------------------
.system.ready                                       bool    true                 ro
.system.eventQueue                                  u32     0                    ro

# --- Sensor constants (widths in clocks of the 25 MHz detector clock) -----------------------
.system.info.fpa.readoutChannels                    u8      4                    ro
.system.info.fpa.clockFrequency                     u32     25000000             ro
.system.info.fpa.lineDeadWidth                      u32     8
.system.info.fpa.deadRows                           u32     2                    ro
.system.info.fpa.preDeadRows                        u32     1
.system.info.fpa.postDeadRows                       u32     1
.system.info.fpa.preIntegrationDeadWidth            u32     100
.system.info.fpa.postIntegrationDeadWidth           u32     150
.system.info.fpa.minimumIntegrationWidth            u32     25                   ro
.system.info.fpa.maximumIntegrationWidth            u32     24999700             ro
.system.info.fpa.minimumFrameWidth                  u32     500                  ro
.system.info.fpa.maximumFrameWidth                  u32     25000000             ro
.system.info.fpa.pipelineDelay                      u32     40                   ro
.system.info.fpa.maximumGainLevel                   u8      2                    ro
.system.info.fpa.intDeadWidth                       u32     10                   ro
.system.info.fpa.frameDeadWidth                     u32     20                   ro
.system.info.fpa.overrideRoicConfig                 bool    false
.system.info.fpa.hasExtraLSync                      bool    false
.system.info.fpa.windowLimits.minWidth              u16     64                   ro
.system.info.fpa.windowLimits.maxWidth              u16     640                  ro
.system.info.fpa.windowLimits.minHeight             u16     4                    ro
.system.info.fpa.windowLimits.maxHeight             u16     512                  ro
.system.info.fpa.windowLimits.xIncrement            u16     16                   ro
.system.info.fpa.windowLimits.yIncrement            u16     4                    ro

# --- Lens probe (a focus lens on the camera's own controller) --------------------------------
.system.lens.focusPresent                           bool    true                 ro
.system.lens.fovPresent                             bool    false                ro
.vorn.settings.enabled                              bool    false                ro

# --- Identity ---------------------------------------------------------------------------------
.version.product.serial                             string  "WZ640-00417"
.version.product.name                               string  "TQV640 MWIR"
.version.product.cameraType                         u8      9
.version.product.subType                            u8      1
.version.product.detectorType                       u8      0                    # InSb
.version.product.roicType                           u8      9
.version.product.variant                            u8      0
.version.product.tqvBoardType                       string  "WZN"                ro
.version.product.legacyVFPGA                        bool    false                ro
.version.product.fpaSerial                          string  "FPA-22-0193"        ro
.version.product.idcaSerial                         string  "ID-7781"            ro
.version.product.coolerSerial                       string  "CL-5520"            ro
.system.settings.gigE.type                          string  "PT1000"

# --- Firmware (board WZN takes the minor number from "intermediate") -------------------------
.version.sw.AppCore.major                           u16     3                    ro
.version.sw.AppCore.minor                           u16     1                    ro
.version.sw.AppCore.intermediate                    u16     4                    ro
.version.sw.AppCore.build                           u16     1187                 ro
.version.sw.AppCore.ver                             string  "3.4.1187"           ro
.version.sw.Bootloader.ver                          string  "1.6.2"              ro
.version.sw.WebServer.ver                           string  "2.0.9"              ro
.version.sw.FpgaLoader.ver                          string  "1.1.0"              ro
.version.kits.updater.ver                           string  "2.3.0"              ro
.version.hw.cpld.version                            u32     0x00020105           ro hex
.version.hw.fpga.versionNFPGA                       u32     0x03040012           ro hex
.version.hw.fpga.crcNFPGA                           u32     0x5A3C96E1           ro hex
.version.hw.fpga.versionDigitizer                   u32     0x01020003           ro hex

# --- Image geometry and timing, per preset ----------------------------------------------------
.system.settings.p0.window.xOffset                  u16     0
.system.settings.p0.window.yOffset                  u16     0
.system.settings.p0.window.width                    u16     640
.system.settings.p0.window.height                   u16     512
.system.settings.p1.window.xOffset                  u16     160
.system.settings.p1.window.yOffset                  u16     128
.system.settings.p1.window.width                    u16     320
.system.settings.p1.window.height                   u16     256
.system.settings.p2.window.xOffset                  u16     0
.system.settings.p2.window.yOffset                  u16     128
.system.settings.p2.window.width                    u16     640
.system.settings.p2.window.height                   u16     256
.system.settings.p3.window.xOffset                  u16     256
.system.settings.p3.window.yOffset                  u16     192
.system.settings.p3.window.width                    u16     128
.system.settings.p3.window.height                   u16     128
.system.settings.p{0..3}.window.read                bool    false
.system.settings.p{0..3}.window.commit              bool    false
.system.settings.p0.integrationWidth                u32     25000                limits=25,24999700
.system.settings.p1.integrationWidth                u32     50000                limits=25,24999700
.system.settings.p2.integrationWidth                u32     12500                limits=25,24999700
.system.settings.p3.integrationWidth                u32     100000               limits=25,24999700
.system.settings.p0.frameWidth                      u32     416667               limits=500,25000000
.system.settings.p1.frameWidth                      u32     833333               limits=500,25000000
.system.settings.p2.frameWidth                      u32     250000               limits=500,25000000
.system.settings.p3.frameWidth                      u32     2500000              limits=500,25000000
.system.settings.p0.digitalGain                     f32     1.0                  limits=0,16
.system.settings.p1.digitalGain                     f32     1.5                  limits=0,16
.system.settings.p2.digitalGain                     f32     2.0                  limits=0,16
.system.settings.p3.digitalGain                     f32     0.5                  limits=0,16
.system.settings.p0.digitalOffset                   f32     0.0                  limits=-8192,8192
.system.settings.p1.digitalOffset                   f32     16.0                 limits=-8192,8192
.system.settings.p2.digitalOffset                   f32     -32.0                limits=-8192,8192
.system.settings.p3.digitalOffset                   f32     64.0                 limits=-8192,8192
.system.settings.p0.dwellCount                      u32     1
.system.settings.p1.dwellCount                      u32     2
.system.settings.p2.dwellCount                      u32     3
.system.settings.p3.dwellCount                      u32     4
.system.settings.p0.subframe                        bool    true
.system.settings.p1.subframe                        bool    false
.system.settings.p2.subframe                        bool    true
.system.settings.p3.subframe                        bool    false
.system.settings.presetSequencingMode               string  "Single Preset"
.system.settings.superframeWidth                    u32     1666668
.system.settings.activePreset                       u8      0
.system.settings.fpa.invert                         bool    false
.system.settings.fpa.revert                         bool    false
.system.settings.fpa.gainLevel                      u8      0
.system.settings.fpa.skimmingEnabled                bool    false
.system.settings.fpa.skimmingVoltage                f32     0.25
.system.settings.sync.start                         string  "Integration"

# --- Detector bias, offset and named voltages -------------------------------------------------
.system.bias.count                                  u8      2                    ro
.system.bias.detector                               f32     1.25                 limits=0,3
.system.bias.detector1                              f32     0.75                 limits=0,3
.system.offset.global                               f32     0.5                  limits=-2.5,2.5
.system.manufacturing.hw.biasesAndOffsets.vos.voltageIn       f32     0.25    limits=-3.3,3.3
.system.manufacturing.hw.biasesAndOffsets.vos.displayName     string  "VOS"   ro
.system.manufacturing.hw.biasesAndOffsets.vdet.voltageIn      f32     3.1     limits=2.5,3.6
.system.manufacturing.hw.biasesAndOffsets.vdet.displayName    string  "Detector common" ro
.system.manufacturing.hw.biasesAndOffsets.vdd.voltageIn       f32     5.0     # no limits
.system.manufacturing.hw.biasesAndOffsets.vdd.displayName     string  "VDD"   ro
.system.manufacturing.hw.biasesAndOffsets.vref.voltageOut     f32     2.048   ro
.system.manufacturing.hw.biasesAndOffsets.vref.displayName    string  "Reference" ro

# --- Filter wheel: names the camera holds for filter IDs 0..63 --------------------------------
.system.settings.filter.info.{0..63}.name           string  "Filter {}"
.system.settings.filter.info.0.name                 string  "Open"
.system.settings.filter.info.1.name                 string  "3.0-5.0 um"
.system.settings.filter.info.2.name                 string  "ND 1.0"

# --- Camera files -----------------------------------------------------------------------------
dir /FlashFS/system/palettes
.system.settings.nuc.directory                      string  "/FlashFS/nuc"
.system.configurations.store.path                   string  "/FlashFS/states"
.system.configurations.powerup.path                 string  "/FlashFS/states"
.system.configurations.powerup.file                 string  "power-up.rsc"
.system.configurations.factory.load.path            string  "/FlashFS/factory"
.system.configurations.factory.load.file            string  "default.rsc"
.system.lens.stateDir                               string  "/FlashFS/lens"
.system.palette.directory                           string  "/FlashFS/system/palettes"
file /FlashFS/nuc/office.nuc                        size 1300
file /FlashFS/nuc/lab.v2.nuc                        size 5000
file /FlashFS/states/power-up.rsc                   size 700
file /FlashFS/states/bench.rsc                      size 640
file /FlashFS/lens/25mm.lens                        size 300
file /FlashFS/system/palettes/iron.pal              size 768
file /FlashFS/system/palettes/grey.pal              size 768
file /FlashFS/factory/default.rsc                   size 700
file /FlashFS/notes.txt                             text "simulated camera storage"
dir /FlashFS/empty
)";

// An older camera on a TQV2 board with main application 2.1. It reads its minor number from
// "minor"; without a legacy-VFPGA path its version decides (2.1 is below 2.2: legacy).
constexpr const char* kTqv2 = R"(# tqv2: TQV2 board, main application 2.1
include sim
.version.product.tqvBoardType                       string  "TQV2"               ro
.version.product.serial                             string  "TQ2-0031"
.version.sw.AppCore.major                           u16     2                    ro
.version.sw.AppCore.minor                           u16     1                    ro
.version.sw.AppCore.intermediate                    u16     0                    ro
.version.sw.AppCore.build                           u16     902                  ro
.version.sw.AppCore.ver                             string  "2.1.902"            ro
remove .version.product.legacyVFPGA
)";

// The reference camera without any of the paths a client must treat as optional.
constexpr const char* kMinimal = R"(# minimal: sim without its optional paths
include sim
remove .system.info.fpa.deadRows
remove .system.info.fpa.intDeadWidth
remove .system.info.fpa.frameDeadWidth
remove .version.product.tqvBoardType
remove .version.product.legacyVFPGA
remove .version.product.variant
remove .system.settings.gigE.type
remove .system.settings.filter.info
remove .system.bias.count
remove .system.eventQueue
)";

// A camera that has not finished starting.
constexpr const char* kNotReady = R"(# notready: sim still starting
include sim
.system.ready                                       bool    false                ro
)";

// A camera whose lens hangs off the separate lens controller.
constexpr const char* kVorn = R"(# vorn: sim with its lens on the external lens controller
include sim
.system.lens.focusPresent                           bool    false                ro
.system.lens.fovPresent                             bool    false                ro
.vorn.settings.enabled                              bool    true                 ro
.system.lens.lensType                               string  "Vorn"
)";

// A continuous zoom lens on the camera's own lens paths, named as the external controller's.
constexpr const char* kZoom = R"(# zoom: sim with a continuous zoom lens
include sim
.system.lens.lensType                               string  "Vorn"
remove .system.lens.fovState
)";

// A camera whose IRIG input carries no year.
constexpr const char* kIrigNoYear = R"(# irig-no-year: sim whose IRIG time has no year
include sim
remove .system.irig.year
)";

struct Builtin {
  const char* name;
  const char* text;
};

constexpr Builtin kBuiltins[] = {
    {"sim", kSim},           {"tqv2", kTqv2},         {"minimal", kMinimal},
    {"notready", kNotReady}, {"vorn", kVorn},         {"irig-no-year", kIrigNoYear},
    {"zoom", kZoom},         {"ssd-strict", nullptr},
};

// "sim" with every camera family's section after its core; "ssd-strict" is the same camera whose
// recorder refuses commands that make no sense in its state.
const std::string& Whole(bool strictRecorder) {
  static const auto build = [](bool strict) {
    std::string text = kSim;
    for (const FamilyPart* part : kFamilyParts)
      text += part->simSection;
    const std::string line = "behaviour recorder\n";
    if (strict) text.replace(text.find(line), line.size(), "behaviour recorder-strict\n");
    return text;
  };
  static const std::string sim = build(false), strict = build(true);
  return strictRecorder ? strict : sim;
}

}  // namespace

std::vector<std::string> BuiltinProfiles() {
  std::vector<std::string> names;
  for (const Builtin& builtin : kBuiltins)
    names.emplace_back(builtin.name);
  return names;
}

const char* BuiltinProfileText(std::string_view name) {
  if (name == "sim" || name == "ssd-strict") return Whole(name != "sim").c_str();
  for (const Builtin& builtin : kBuiltins) {
    if (name == builtin.name) return builtin.text;
  }
  return nullptr;
}

}  // namespace sim::ptree
