// Names of camera types, subtypes, detectors, readouts, variants, Pleora boards and filters, the
// copy rule they share, and the look-ups in the camera model table.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "frame/tables/tables.h"

namespace {

// clang-format off
// Indexed by camera type; the model names in the model table begin with these.
constexpr const char* kCameraTypeNames[] = {
    nullptr,      nullptr,       nullptr,   "Sentinel",  "Sentinel HD", nullptr, nullptr,
    "Osprey",     nullptr,       "Falcon HS", "Falcon HD", "Wren",      "Wren HD", "Harrier",
    "Harrier SD", nullptr,       "Finch",   "Finch HD",  nullptr,       nullptr, "Condor"};

constexpr const char* kDetectorTypeNames[] = {"InSb", "InGaAs", "VisGaAs", "QWIP",
                                              "MCT",  "Bolometer", "T2SLS", "EpiAlloy"};

// Indexed by readout code: chip, format, output channels.
constexpr const char* kReadoutNames[] = {
    nullptr, nullptr, nullptr,
    /*  3 */ "TR320 320x256, 2 channels",
    /*  4 */ "TR640 640x512, 4 channels",
    /*  5 */ "TR640F 640x512, 8 channels",
    nullptr,
    /*  7 */ "TR1024 1024x1024, 8 channels",
    nullptr,
    /*  9 */ "TR1280 1280x1024, 8 channels",
    /* 10 */ "TR640D 640x512, 4 channels",
    /* 11 */ "TR640L 640x512, 2 channels",
    /* 12 */ "TR320F 320x256, 4 channels",
    /* 13 */ "TR1920 1920x1536, 16 channels",
    /* 14 */ "TR1280F 1280x1024, 16 channels",
    /* 15 */ "TR1280C 1280x1024, 4 channels",
    /* 16 */ "TR640DS 640x512, 4 channels",
    /* 17 */ "TR1280D 1280x1024, 8 channels",
    /* 18 */ "TR1920D 1920x1536, 16 channels",
    /* 19 */ "TR640T 640x512, 4 channels",
    /* 20 */ "TR1280T 1280x1024, 8 channels"};

constexpr const char* kVariantNames[] = {"CameraLink", "CoaXpress"};
constexpr const char* kPleoraBoardTypeNames[] = {"PT1000", "NTx-UV3", "NTx-GigE"};

constexpr const char* kFilterNames[64] = {
    " 0. Reserved", " 1. ND 1.0", " 2. ND 2.0", " 3. ND 3.0", " 4. ND 0.3", " 5. ND 0.6",
    " 6. ND 1.45", " 7. MWIR 3000-5000nm", " 8. ATM 3400-4170nm", " 9. SRX 3500-5000nm",
    "10. THRU GLASS 2360nm, 80nm", "11. GLASS SURFACE 5000nm, 145nm", "12. FLAME 3900nm, 200nm",
    "13. FLAME 3900nm, 200nm", "14. POLYETHELYNE 3450nm, 100nm", "15. PLASTIC 3410nm, 140nm",
    "16. CO2 4300nm, 200nm", "17. NO2 4500nm, 170nm", "18. COS 4200nm, 85nm",
    "19. GBU 4790nm, 175nm", "20. GBL 3500-4000nm", "21. Reserved", "22. Reserved",
    "23. THRU GLASS HT", "24. GLASS SURFACE HT", "25. FLAME HT", "26. ND 0",
    "27. Reserved", "28. Reserved", "29. Reserved", "30. Reserved", "31. Reserved",
    "32. Reserved", "33. Reserved", "34. Reserved", "35. Reserved", "36. Reserved",
    "37. Reserved", "38. Reserved", "39. Reserved", "40. Reserved", "41. Reserved",
    "42. Reserved", "43. Reserved", "44. Reserved", "45. Reserved", "46. Reserved",
    "47. Reserved", "48. Reserved", "49. Reserved", "50. Reserved", "51. Reserved",
    "52. Reserved", "53. Reserved", "54. Reserved", "55. Reserved", "56. Reserved",
    "57. Reserved", "58. Reserved", "59. Reserved", "60. Reserved", "61. Reserved",
    "62. Reserved", "Empty"};
// clang-format on

template <std::size_t N>
const char* NameAt(const char* const (&names)[N], u8 code) {
  return code < N ? names[code] : nullptr;
}

// A code without a name is shown as "Unk(<code>)", which still counts as success.
u32 CopyNameOrUnknown(const char* name, u8 code, char* buffer, i32 size) {
  char unknown[sizeof "Unk(255)"];
  if (!name) {
    std::snprintf(unknown, sizeof unknown, "Unk(%u)", static_cast<unsigned>(code));
    name = unknown;
  }
  return tables::CopyText(name, buffer, size);
}

u8 Low8(u32 code) { return static_cast<u8>(code & 0xFFu); }

}  // namespace

namespace tables {

u32 CopyText(const char* text, char* buffer, i32 size) {
  if (!buffer) return rc::kInvalidArgument;
  const std::size_t length = std::strlen(text);
  if (size <= 0 || length + 1 >= static_cast<std::size_t>(size)) return rc::kError;
  std::memcpy(buffer, text, length + 1);
  return rc::kOk;
}

const tqvSModelInfo* FindModel(u8 cameraType, u8 subtype) {
  for (const tqvSModelInfo* row = tqvGetModelInfoTable(); row->modelName; ++row) {
    if (row->cameraType == cameraType && row->subtype == subtype) return row;
  }
  return nullptr;
}

const tqvSModelInfo* FindModel(u8 cameraType, u8 subtype, u8 pleoraBoardType) {
  for (const tqvSModelInfo* row = tqvGetModelInfoTable(); row->modelName; ++row) {
    if (row->cameraType == cameraType && row->subtype == subtype &&
        row->pleoraBoardType == pleoraBoardType) {
      return row;
    }
  }
  return nullptr;
}

const char* PartNumberFor(u8 cameraType, u8 subtype, u8 pleoraBoardType) {
  const tqvSModelInfo* row = FindModel(cameraType, subtype, pleoraBoardType);
  return row ? row->partNumber : "unknown";
}

}  // namespace tables

extern "C" TQV_API uint32_t tqvGetCameraTypeName(uint32_t cameraType, char* buffer, int32_t size) {
  const u8 code = Low8(cameraType);
  return CopyNameOrUnknown(NameAt(kCameraTypeNames, code), code, buffer, size);
}

extern "C" TQV_API uint32_t tqvGetCameraSubtypeName(uint32_t cameraType, uint32_t subtype,
                                                    char* buffer, int32_t size) {
  const tqvSModelInfo* row = tables::FindModel(Low8(cameraType), Low8(subtype));
  return CopyNameOrUnknown(row ? row->subtypeName : nullptr, Low8(subtype), buffer, size);
}

extern "C" TQV_API uint32_t tqvGetDetectorTypeName(uint32_t detectorType, char* buffer,
                                                   int32_t size) {
  const u8 code = Low8(detectorType);
  return CopyNameOrUnknown(NameAt(kDetectorTypeNames, code), code, buffer, size);
}

extern "C" TQV_API uint32_t tqvGetReadoutName(uint32_t readout, char* buffer, int32_t size) {
  const u8 code = Low8(readout);
  return CopyNameOrUnknown(NameAt(kReadoutNames, code), code, buffer, size);
}

extern "C" TQV_API uint32_t tqvGetVariantName(uint32_t variant, char* buffer, int32_t size) {
  const u8 code = Low8(variant);
  return CopyNameOrUnknown(NameAt(kVariantNames, code), code, buffer, size);
}

extern "C" TQV_API uint32_t tqvGetPleoraBoardTypeName(uint32_t pleoraBoardType, char* buffer,
                                                      int32_t size) {
  const u8 code = Low8(pleoraBoardType);
  return CopyNameOrUnknown(NameAt(kPleoraBoardTypeNames, code), code, buffer, size);
}

extern "C" TQV_API const char* tqvGetFilterName(uint8_t id) {
  return id < std::size(kFilterNames) ? kFilterNames[id] : "I AM ERROR";
}

extern "C" TQV_API uint32_t tqvGetIsLowCostEx(uint8_t cameraType, uint8_t subtype, bool* lowCost) {
  if (!lowCost) return rc::kInvalidArgument;
  const tqvSModelInfo* row = tables::FindModel(cameraType, subtype);
  if (!row) return rc::kError;
  *lowCost = row->lowCost != 0;
  return rc::kOk;
}
