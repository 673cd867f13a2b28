// The built-in camera profiles, as profile text. "sim" is the default camera (its core here, then
// each camera family's section, Family<Name>.cpp); every other profile starts from it
// ("base sim") and changes what makes its model different.
#include <map>
#include <string>

#include "genicam/Families.h"
#include "genicam/SimDevice.h"

namespace sim::genicam {

namespace {

// {P} expands to each preset prefix, {F} to the prefix of the file feature names.
const char* const kDefault =
    R"(# The default simulated camera: 640 x 512 detector, four presets, board type 3.
default P "PS0 PS1 PS2 PS3"
default F ""
define  STATUS Success:0,Failure:1,Empty:2,NotFound:3,BadOffset:4,Overflow:5,NotOpen:6,Exists:7,BadName:8,ReadOnly:9,Incomplete:10,NotEmpty:11
define  BOARDS TQV1:0,TQV2:1,Alder:2,WZN:3,Birch:4,Cedar:5,FrameGrabber:6
define  ROICS ROIC3:3,ROIC4:4,ROIC5:5,ROIC7:7,ROIC9:9,ROIC10:10,ROIC11:11,ROIC12:12,ROIC13:13,ROIC14:14,ROIC15:15,ROIC16:16,ROIC17:17,ROIC18:18,ROIC19:19,ROIC20:20
define  PLEORA PT1000:0,USB3:1,NTX:2

# --- connection, board, events -------------------------------------------------------------
bool     Ready                       true        ro
enum     BoardType                   WZN         ro entries={BOARDS}
int      EventQueue                  0           ro min=0 max=255
bool     LensControlTypeChanged      false

# --- identity (the Mfg features are the setters; their read-only twins follow them) ----------
string   DeviceVendorName            "Simulated Cameras"  ro
string   DeviceModelName             "SIM-640"   ro
string   MfgDeviceModelName          "SIM-640"
string   DeviceSerialNumber          "SIM0001234" ro
string   DeviceID                    "SIM0001234" ro
string   MfgDeviceID                 "SIM0001234"
int      CameraType                  3           ro min=0 max=255
int      MfgCameraType               3           min=0 max=255
int      CameraSubtype               1           ro min=0 max=255
int      MfgCameraSubtype            1           min=0 max=255
int      DetectorType                2           ro min=0 max=255
int      MfgDetectorType             2           min=0 max=255
enum     Readout                     ROIC9       ro entries={ROICS}
enum     MfgReadout                  ROIC9       entries={ROICS}
int      CameraVariant               0           ro min=0 max=255
int      MfgCameraVariant            0           min=0 max=255
enum     PleoraBoardType             PT1000      ro entries={PLEORA}
enum     MfgPleoraBoardType          PT1000      entries={PLEORA}
int      OperatingTime               1234        ro min=0
bool     MfgIsLegacyVFPGA            false
behaviour mirror MfgDeviceModelName DeviceModelName
behaviour mirror MfgDeviceID        DeviceSerialNumber
behaviour mirror MfgDeviceID        DeviceID
behaviour mirror MfgCameraType      CameraType
behaviour mirror MfgCameraSubtype   CameraSubtype
behaviour mirror MfgDetectorType    DetectorType
behaviour mirror MfgReadout         Readout
behaviour mirror MfgCameraVariant   CameraVariant
behaviour mirror MfgPleoraBoardType PleoraBoardType

enum     ComponentInfoSelector       AppCore_Version entries=AppCore_Version:0,Bootloader_Version:1,FPGA_Version:2,Digitizer_Version:3,Updater_Version:4
string   ComponentInfo               ""          ro selector=ComponentInfoSelector
at ComponentInfoSelector=AppCore_Version     ComponentInfo  "3.4.0.27"
at ComponentInfoSelector=Bootloader_Version  ComponentInfo  "1.2.0.5"
at ComponentInfoSelector=FPGA_Version        ComponentInfo  "2.17.0.3"
at ComponentInfoSelector=Digitizer_Version   ComponentInfo  "1.0.4.0"
at ComponentInfoSelector=Updater_Version     ComponentInfo  "1.1.0.9"

# --- detector constants ---------------------------------------------------------------------
int      MfgReadoutChannels          4           ro
int      MfgClockFrequency           25000000    ro
int      MfgLineDeadWidth            4           min=0 max=4096
int      MfgPreIntegrationDeadWidth  10          min=0 max=100000
int      MfgPostIntegrationDeadWidth 20          min=0 max=100000
int      MfgPreDeadRows              1           min=0 max=16
int      MfgPostDeadRows             1           min=0 max=16
int      MfgDeadRows                 2           ro
behaviour sum MfgDeadRows MfgPreDeadRows MfgPostDeadRows
int      MfgPipelineDelay            30          ro
int      MfgIntegrationDeadWidth     5           ro
int      MfgFrameDeadWidth           8           ro
bool     MfgOverrideRoicConfig       false
bool     MfgHasExtraLSync            false

# --- window -----------------------------------------------------------------------------------
int      SensorWidth                 640         ro
int      SensorHeight                512         ro
int      OffsetX                     0           min=0 max=0 inc=8
int      OffsetY                     0           min=0 max=0 inc=2
int      Width                       640         min=32 max=640 inc=8
# Height holds the rows plus one.
int      Height                      513         min=5 max=513 inc=2
behaviour window

# --- per-preset integration and frame timing (widths in clocks; times and rates follow) ------
int      {P}IntegrationWidthMin      25          ro
int      {P}IntegrationWidthMax      2500000     ro
int      {P}FrameWidthMin            25000       ro
int      {P}FrameWidthMax            25000000    ro
int      {P}IntegrationWidth         25000       min=25 max=2500000
float    {P}IntegrationTime          1.0
int      {P}FrameWidth               416667      min=25000 max=25000000
float    {P}FrameRate                60.0
behaviour period {P}IntegrationWidth {P}IntegrationTime ms
behaviour period {P}FrameWidth       {P}FrameRate       hz
float    {P}DigitalGain              1.0         min=0.0 max=16.0
float    {P}DigitalOffset            0.0         min=-8192.0 max=8192.0
int      {P}DwellCount               1           min=1 max=255
bool     {P}SubframeEnabled          false

enum     PresetSequencingMode        SinglePreset entries=SinglePreset:0,PresetSequencing:1,Superframing:2
int      SuperframeWidth             1666668     min=25000 max=100000000
float    SuperframeRate              15.0
behaviour period SuperframeWidth SuperframeRate hz
int      ActivePreset                0           min=0 max=3
bool     ReverseX                    false
bool     ReverseY                    false
int      GainLevel                   0           min=0 max=2

# --- synchronisation and triggering ---------------------------------------------------------
define   POLARITY ActiveLow:0,ActiveHigh:1
enum     FrameSyncMode               Integration entries=Integration:0,Readout:1
enum     FrameSyncSource             Internal    entries=Internal:0,External:1,Video:2,TriLevelSync:3
enum     FrameSyncPolarity           ActiveHigh  entries={POLARITY}
float    FrameSyncDelay              0.0         min=0.0 max=1000.0
enum     TriggerSource               Internal    entries=Internal:0,External:1,Software:2,IRIG:3
enum     TriggerPolarity             ActiveHigh  entries={POLARITY}
float    TriggerDelay                0.0         min=0.0 max=1000.0
enum     TriggerMode                 FreeRun     entries=FreeRun:0,TriggeredFreeRun:1,TriggeredSequence:2,TriggeredPresetAdvance:3
int      TriggerSequenceCount        1           min=1 max=65535
int      TriggerInternalWidth        416667      min=25000 max=25000000
float    TriggerInternalRate         60.0
behaviour period TriggerInternalWidth TriggerInternalRate hz
command  TriggerRearm
command  TriggerSoftware
enum     IntegrateOutPolarity        ActiveHigh  entries={POLARITY}
enum     SyncOutSource               FrameStart  entries=IntegrationStart:0,FrameStart:1,SaturatedFlag:2
enum     SyncOutPolarity             ActiveHigh  entries={POLARITY}
float    {P}SyncOutDelay             0.0         min=0.0 max=1000.0

# --- detector bias, offset, skimming ---------------------------------------------------------
int      DetectorBiasIndex           0           min=0 max=1
int      DetectorBiasIndexMax        1           ro
float    DetectorBias                1.5         min=0.0 max=3.3 selector=DetectorBiasIndex
at DetectorBiasIndex=1  DetectorBias  2.1  min=0.5 max=3.0
float    AnalogOffsetVoltage         0.0         min=-2.5 max=2.5
bool     SkimmingAvailable           true        ro
bool     SkimmingEnabled             false
float    SkimmingVoltage             1.0         min=0.5 max=4.5
float    SkimmingVoltageMin          0.5         ro
float    SkimmingVoltageMax          4.5         ro

# --- named voltages: the key, its display name, value and limits per index --------------------
int      VoltageIndex                0           min=0 max=3
string   VoltageName                 ""          ro selector=VoltageIndex
string   VoltageDisplayName          ""          ro selector=VoltageIndex
float    VoltageVolts                0.0         selector=VoltageIndex
bool     VoltageEditable             true        ro selector=VoltageIndex
at VoltageIndex=0  VoltageName  vdet
at VoltageIndex=0  VoltageDisplayName  "Detector bias"
at VoltageIndex=0  VoltageVolts  2.5   min=0.0 max=3.3
at VoltageIndex=1  VoltageName  vos
at VoltageIndex=1  VoltageDisplayName  "Skimming offset"
at VoltageIndex=1  VoltageVolts  1.0   min=0.5 max=4.5
at VoltageIndex=2  VoltageName  vref
at VoltageIndex=2  VoltageDisplayName  "Reference"
at VoltageIndex=2  VoltageVolts  1.65  min=1.65 max=1.65 ro
at VoltageIndex=2  VoltageEditable  false
at VoltageIndex=3  VoltageName  vneg
at VoltageIndex=3  VoltageDisplayName  "Negative supply"
at VoltageIndex=3  VoltageVolts  -3.3  min=-5.0 max=0.0

# --- temperatures (degrees Celsius) ------------------------------------------------------------
enum     DeviceTemperatureSelector   FPA         entries=FPA:0,Digitizer:1,PowerBoard:2,FrontPanel:3,AirGap:4,Internal:5,Chassis:6,Lens:7,Flag:8
float    DeviceTemperature           25.0        ro selector=DeviceTemperatureSelector
at DeviceTemperatureSelector=FPA         DeviceTemperature  -196.0
at DeviceTemperatureSelector=Digitizer   DeviceTemperature  41.5
at DeviceTemperatureSelector=PowerBoard  DeviceTemperature  38.0
at DeviceTemperatureSelector=Internal    DeviceTemperature  33.0
float    MfgFPAColdTemperature       77.0        min=40.0 max=120.0

# --- filter names held by the camera ------------------------------------------------------------
bool     FilterInfoAvailable         true        ro
int      FilterInfoIndex             0           min=0 max=63
string   FilterInfoName              ""          selector=FilterInfoIndex
at FilterInfoIndex=0  FilterInfoName  "Open"
at FilterInfoIndex=1  FilterInfoName  "ND 1.0"
at FilterInfoIndex=2  FilterInfoName  "3.0-5.0 um"

# --- camera files ------------------------------------------------------------------------------
enum     {F}FileSelector             Path        entries=Path:0,State:1,Correction:2,LensState:3,Palette:4,FactoryDefaultState:5,CalibrationTable:6
string   {F}FileName                 ""
enum     {F}FileOperationSelector    Open        entries=Open:0,Close:1,Read:2,Write:3,Delete:4,Rename:5,GetInfo:6
command  {F}FileOperationExecute
enum     {F}FileOpenMode             Read        entries=Read:0,Write:1
register {F}FileAccessBuffer         512
int      {F}FileAccessOffset         0           min=0 max=2147483647
int      {F}FileAccessLength         0           min=0 max=2147483647
enum     {F}FileOperationStatus      Success     ro entries={STATUS}
int      {F}FileOperationResult      0           ro min=0
int      {F}FileSize                 0           min=0 max=2147483647
enum     {F}FileCompression          None        entries=None:0,Zlib:1
int      {F}FileModifiedTime         0           ro min=0
string   {F}FileNewName              ""

enum     DirectorySelector           Path        entries=Path:0,States:1,Corrections:2,LensStates:3,Palettes:4
string   DirectoryName               "/"
enum     DirectoryOperationSelector  List        entries=List:0,Create:1,Remove:2,FreeSpace:3
command  DirectoryOperationExecute
enum     DirectoryOperationStatus    Success     ro entries={STATUS}
int      DirectoryEntryIndex         0           min=0 max=0
string   DirectoryEntryName          ""          ro selector=DirectoryEntryIndex
int      DirectoryEntrySize          0           ro selector=DirectoryEntryIndex
enum     DirectoryEntryAttrib        Normal      ro selector=DirectoryEntryIndex entries=Normal:0,ReadOnly:1,Directory:16
int      DirectoryEntryModifiedTime  0           ro selector=DirectoryEntryIndex
int      DirectoryFreeSpace          0           ro min=0
behaviour file-protocol

# --- storage ---------------------------------------------------------------------------------
capacity 33554432
clock    1700000000
place 1  /FlashFS/states          .rsc
place 2  /FlashFS/nuc             .nuc
place 3  /FlashFS/lens            .lens
place 4  /FlashFS/system/palettes .pal
place 5  /FlashFS/factory/default.rsc
place 6  /FlashFS/calib           .lut
file /FlashFS/nuc/office.nuc              size=1300  seed=1
file /FlashFS/nuc/lab.v2.nuc              size=5000  seed=2
file /FlashFS/states/power-up.rsc         size=700   seed=3
file /FlashFS/states/bench.rsc            size=640   seed=4
file /FlashFS/lens/25mm.lens              size=300   seed=5
file /FlashFS/system/palettes/iron.pal    size=768   seed=6
file /FlashFS/system/palettes/grey.pal    size=768   seed=7
file /FlashFS/factory/default.rsc         size=700   seed=8 readonly
file /FlashFS/calib/cal0.lut              size=256   seed=9
file /FlashFS/notes.txt                   text="simulated camera storage"
dir  /FlashFS/empty
)";

const char* const kGrabber =
    R"(# Board type 6: a frame grabber with one preset, so per-preset features carry no prefix.
define P ""
base sim
set BoardType FrameGrabber
)";

const char* const kImageSize =
    R"(# Window size in "ImageWidth"/"ImageHeight" (the rows themselves) instead of Width/Height.
base sim
remove Width
remove Height
int ImageWidth   640  min=32 max=640 inc=8
int ImageHeight  512  min=4  max=512 inc=2
)";

const char* const kNoOptional =
    R"(# Without the optional features: no sequencing mode, active preset or gain level.
base sim
remove PresetSequencingMode
remove ActivePreset
remove GainLevel
)";

const char* const kCameraFile = R"(# File features under the camera-specific "CameraFile..." names.
define F Camera
base sim
)";

const char* const kNoCompression = R"(# Without file compression.
base sim
remove FileCompression
)";

const char* const kZoom = R"(# A continuous zoom lens on the external lens controller.
base sim
set LensControlType Vorn
set FOVIsContinuous true
set FOVState Continuous ro
)";

const char* const kNotReady = R"(# A camera that reports itself not ready.
base sim
set Ready false
)";

const char* const kIrigNoYear = R"(# IRIG time without a year.
base sim
remove IRIGYear
)";

// The default camera: its core above, then the section of each camera family. "ssd-strict" is the
// same camera whose recorder refuses commands that make no sense in its state.
const char* Default(bool strictRecorder = false) {
  static const auto build = [](bool strict) {
    std::string text = kDefault;
    for (const FamilyPart* part : kFamilyParts)
      text += part->simSection;
    const std::string line = "behaviour recorder\n";
    if (strict) text.replace(text.find(line), line.size(), "behaviour recorder strict\n");
    return text;
  };
  static const std::string sim = build(false), strict = build(true);
  return strictRecorder ? strict.c_str() : sim.c_str();
}

const std::map<std::string, const char*>& Profiles() {
  static const std::map<std::string, const char*> profiles = {{"sim", Default()},
                                                              {"grabber", kGrabber},
                                                              {"image-size", kImageSize},
                                                              {"no-optional", kNoOptional},
                                                              {"camera-file", kCameraFile},
                                                              {"no-compression", kNoCompression},
                                                              {"not-ready", kNotReady},
                                                              {"irig-no-year", kIrigNoYear},
                                                              {"zoom", kZoom},
                                                              {"ssd-strict", Default(true)}};
  return profiles;
}

}  // namespace

std::vector<std::string> BuiltinProfileNames() {
  std::vector<std::string> names;
  for (const auto& [name, text] : Profiles())
    names.push_back(name);
  return names;
}

std::string BuiltinProfileText(const std::string& name) {
  auto it = Profiles().find(name);
  return it == Profiles().end() ? std::string() : std::string(it->second);
}

}  // namespace sim::genicam
