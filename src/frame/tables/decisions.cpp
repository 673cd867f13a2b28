// What a camera offers, decided from its identity values: gain level names, video formats and
// video zoom factors.
#include "frame/tables/tables.h"

namespace tables {

namespace {

// Video format codes (the video format enumeration; 101 and 102 have no text there).
constexpr u8 kFrameGrabber[] = {5};
constexpr u8 kTqv2Hd[] = {12, 10, 5, 13, 11, 8};
constexpr u8 kTqv2All[] = {0, 3, 1, 4, 2, 6, 12, 10, 5, 13, 11, 8};
constexpr u8 kAnalogueSvga[] = {0, 3, 1, 4, 2};
constexpr u8 kHd[] = {12, 10, 13, 11};
constexpr u8 kAnalogueSvgaHd[] = {0, 3, 1, 4, 2, 5, 8};
constexpr u8 kCustomHd[] = {101, 102, 12, 10, 13, 11};
constexpr u8 kSquarePixelHd[] = {3, 4, 12, 10, 13, 11};
constexpr u8 kSquarePixel[] = {3, 4};
constexpr u8 kCustom720[] = {101, 102, 12, 10};
constexpr u8 kAnalogue[] = {0, 3, 1, 4};

// Zoom factor codes (the video zoom factor enumeration).
constexpr u8 kZoomOneBestFit[] = {1, 5};
constexpr u8 kZoomWznOlder[] = {1, 4, 2, 3};
constexpr u8 kZoomBestFit[] = {5};
constexpr u8 kZoomLegacy[] = {1, 2, 3};
constexpr u8 kZoomAll[] = {0, 1, 2, 3};

using Codes = std::span<const u8>;

// The families whose video output depends on the board: camera types 3, 4, 9, 10, 13 and 14.
bool BoardVideoFamily(u8 cameraType) {
  switch (cameraType) {
    case 3:
    case 4:
    case 9:
    case 10:
    case 13:
    case 14:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool IsNewFirmware(u16 major, u16 minor) { return major > 3 || (major == 3 && minor > 3); }

bool GainLevelsAreNamed(u8 readout) { return readout == 10 || (readout >= 16 && readout <= 20); }

u32 GainLevelNameFor(u8 readout, u8 level, const char** text) {
  if (!GainLevelsAreNamed(readout)) return rc::kNotSupported;
  static constexpr const char* kTwoLevels[] = {"High", "Low"};
  static constexpr const char* kThreeLevels[] = {"High", "Med", "Low"};
  using Names = std::span<const char* const>;
  const Names names = (readout == 19 || readout == 20) ? Names(kThreeLevels) : Names(kTwoLevels);
  if (level >= names.size()) return rc::kInvalidArgument;
  *text = names[level];
  return rc::kOk;
}

std::span<const u8> VideoFormatsFor(u8 boardType, u8 cameraType, u8 subtype, u16 major, u16 minor) {
  const bool newFirmware = boardType == 3 && IsNewFirmware(major, minor);
  if (boardType == 6) return kFrameGrabber;
  if (BoardVideoFamily(cameraType)) {
    if (boardType == 1) {
      return (cameraType == 13 || cameraType == 14) ? Codes(kTqv2Hd) : Codes(kTqv2All);
    }
    if (cameraType == 3) {
      // The SD-video variants (subtypes 30 to 35) have no SVGA output.
      const bool sdVideoOnly = subtype >= 30 && subtype <= 35;
      return sdVideoOnly ? Codes(kAnalogue) : Codes(kAnalogueSvga);
    }
    if (cameraType == 13) return kHd;
    if (cameraType == 4 || cameraType == 14) return kAnalogueSvgaHd;
    return newFirmware ? Codes(kCustomHd) : Codes(kSquarePixelHd);  // camera types 9 and 10
  }
  switch (cameraType) {
    case 11:
      return kSquarePixel;
    case 12:
      return kSquarePixelHd;
    case 16:
      return kCustom720;
    case 17:
    case 20:
      return kCustomHd;
    default:
      return kAnalogue;
  }
}

std::span<const u8> ZoomFactorsFor(u8 boardType, bool legacyVFPGA, u16 major, u16 minor) {
  const bool newFirmware = IsNewFirmware(major, minor);
  if (boardType == 3) return newFirmware ? Codes(kZoomOneBestFit) : Codes(kZoomWznOlder);
  if (boardType == 4) return newFirmware ? Codes(kZoomOneBestFit) : Codes(kZoomBestFit);
  return legacyVFPGA ? Codes(kZoomLegacy) : Codes(kZoomAll);
}

}  // namespace tables
