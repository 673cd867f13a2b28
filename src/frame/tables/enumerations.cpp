// Texts of the enumerated camera settings and the exported Text/Enum pair of each. Every
// enumeration is one array indexed by code (null where a code has no text); one list below
// generates all the exported pairs.
#include <cstddef>
#include <iterator>

#include "frame/tables/tables.h"

namespace {

enum class Match { kExact, kAnyCase };

struct Enumeration {
  const char* const* texts;
  std::size_t count;
  Match match;
};

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(const char* a, const char* b, Match match) {
  for (;; ++a, ++b) {
    const char x = match == Match::kAnyCase ? AsciiLower(*a) : *a;
    const char y = match == Match::kAnyCase ? AsciiLower(*b) : *b;
    if (x != y) return false;
    if (x == '\0') return true;
  }
}

const char* TextOf(const Enumeration& e, u32 code) {
  return code < e.count ? e.texts[code] : nullptr;
}

u32 CodeOf(const Enumeration& e, const char* text) {
  if (!text) return rc::kError;
  for (std::size_t code = 0; code < e.count; ++code) {
    if (e.texts[code] && SameText(e.texts[code], text, e.match)) return static_cast<u32>(code);
  }
  return rc::kError;
}

// clang-format off
constexpr const char* kPresetSequencingMode[] = {"Single Preset", "Preset Sequencing", "Superframing"};
constexpr const char* kFrameSyncMode[] = {"Integration", "Readout"};
constexpr const char* kFrameSyncSource[] = {"Internal", "External", "Video", "TriLevelSync"};
constexpr const char* kPolarity[] = {"Active Low", "Active High"};
constexpr const char* kTriggerSource[] = {"Internal", "External", "Software", "IRIG"};
constexpr const char* kTriggerMode[] = {"Free Run", "Triggered Free Run", "Triggered Sequence",
                                        "Triggered Preset Advance"};
constexpr const char* kIRIGLatchSource[] = {"Frame Start", "Integration Start", "Integration End"};
constexpr const char* kSyncOutSource[] = {"Integration Start", "Frame Start", "Saturated Flag"};
constexpr const char* kFlagState[] = {"Stowed", "InFOV"};
constexpr const char* kFOV[] = {"Narrow", "Wide"};
constexpr const char* kVideoFormat[] = {"NTSC", "PAL", "SVGA", "NTSC-SP", "PAL-SP", "720P60Hz",
                                        "SXGA", "1080P24Hz", "1080P30Hz", "1080P60Hz",
                                        "720P599Hz", "1080P299Hz", "720P50Hz", "1080P25Hz"};
constexpr const char* kVideoUpdateRate[] = {"Frame", "Field"};
constexpr const char* kVideoPosition[] = {"FPA", "Center", "Offset"};
constexpr const char* kVideoTemporalFilter[] = {"None", "4-Tap", nullptr, "4-Tap Motion Adaptive"};
constexpr const char* kVideoZoomFactor[] = {"1/2x", "1x", "2x", "4x", "4/3x", "BestFit"};
constexpr const char* kVideoAGCMethod[] = {"Plateau", "DDE", "Linear", "Manual"};
constexpr const char* kNUCType[] = {"One Point", "Two Point", "Update Offset"};
constexpr const char* kNUCSource[] = {"External", "Internal"};
constexpr const char* kNUCFlagSetpointType[] = {"Delta", "Fixed"};
constexpr const char* kBadPixelCorrectionMethod[] = {"Two-Point Gradient", "Nearest Neighbor", "None"};
constexpr const char* kAutoFocusROIPosition[] = {"Center", "Top-Left", "Top-Right", "Bottom-Left",
                                                 "Bottom-Right"};
constexpr const char* kGigEPreset[] = {"0", "1", "2", "3", "All"};
constexpr const char* kCoolerType[] = {"NUC flag", "Detector", "Undetermined"};
constexpr const char* kCameraLinkType[] = {"Base", "Full"};
constexpr const char* kBoardType[] = {"TQV1", "TQV2", "Alder", "WZN", "Birch", "Cedar"};
constexpr const char* kSsdState[] = {"Disarmed", "Armed", "Triggered", "Complete", "Playing",
                                     "Saving", "Paused", "Formatting", "Loading", "RecordPaused",
                                     "MovieLoaded", "Arming", "RequestAutoDownload"};
constexpr const char* kLensCoverState[] = {"Open", "Closed", "Unknown"};
constexpr const char* kLensControlType[] = {"None", "FMB", "Vorn", "Tesk"};
constexpr const char* kLensBandPass[] = {"Unknown", "MWIR", "MWIR-BB", "LWIR", "SWIR"};
constexpr const char* kSsdRecordMode[] = {"ToMemory", "ToDisk"};
constexpr const char* kSsdRecordType[] = {"NumFrames", "Duration", "StartStop"};

// Every exported pair: its name and how its texts are matched.
#define TQV_ENUMERATIONS(X)                \
  X(PresetSequencingMode, kExact)          \
  X(FrameSyncMode, kExact)                 \
  X(FrameSyncSource, kExact)               \
  X(Polarity, kExact)                      \
  X(TriggerSource, kExact)                 \
  X(TriggerMode, kExact)                   \
  X(IRIGLatchSource, kExact)               \
  X(SyncOutSource, kExact)                 \
  X(FlagState, kAnyCase)                   \
  X(FOV, kAnyCase)                         \
  X(VideoFormat, kExact)                   \
  X(VideoUpdateRate, kExact)               \
  X(VideoPosition, kExact)                 \
  X(VideoTemporalFilter, kExact)           \
  X(VideoZoomFactor, kExact)               \
  X(VideoAGCMethod, kExact)                \
  X(NUCType, kExact)                       \
  X(NUCSource, kExact)                     \
  X(NUCFlagSetpointType, kExact)           \
  X(BadPixelCorrectionMethod, kExact)      \
  X(AutoFocusROIPosition, kExact)          \
  X(GigEPreset, kExact)                    \
  X(CoolerType, kExact)                    \
  X(CameraLinkType, kExact)                \
  X(BoardType, kAnyCase)                   \
  X(SsdState, kExact)                      \
  X(LensCoverState, kAnyCase)              \
  X(LensControlType, kAnyCase)             \
  X(LensBandPass, kExact)                  \
  X(SsdRecordMode, kExact)                 \
  X(SsdRecordType, kExact)
// clang-format on

#define TQV_ENUMERATION_OBJECT(name, match) \
  constexpr Enumeration k##name##Enumeration{k##name, std::size(k##name), Match::match};
TQV_ENUMERATIONS(TQV_ENUMERATION_OBJECT)

}  // namespace

#define TQV_ENUMERATION_PAIR(name, match)                         \
  extern "C" TQV_API const char* tqv##name##Text(uint32_t code) { \
    return TextOf(k##name##Enumeration, code);                    \
  }                                                               \
  extern "C" TQV_API uint32_t tqv##name##Enum(const char* text) { \
    return CodeOf(k##name##Enumeration, text);                    \
  }
TQV_ENUMERATIONS(TQV_ENUMERATION_PAIR)
