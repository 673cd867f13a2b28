// Look-ups that read a camera's identity through the exported camera functions and answer from
// the name and model tables. Each returns the first failing result of the calls it makes,
// unchanged, and then writes nothing.
#include "frame/nullcheck.h"
#include "frame/registry.h"
#include "frame/tables/tables.h"

namespace {

// The key of the camera model table: camera type and subtype.
u32 ReadModelKey(void* handle, u8* cameraType, u8* subtype) {
  if (u32 result = tqvGetCameraType(handle, cameraType)) return result;
  return tqvGetCameraSubtype(handle, subtype);
}

void Assign(zel::TArray<u8>& list, std::span<const u8> codes) {
  list.SetCount(0);
  for (u8 code : codes)
    list.Add(code);
}

}  // namespace

extern "C" TQV_API uint32_t tqvGetIsLowCost(void* handle, bool* lowCost) {
  if (u32 refused = nulls::CheckCall(handle, lowCost)) return refused;
  u8 cameraType = 0, subtype = 0;
  if (u32 result = ReadModelKey(handle, &cameraType, &subtype)) return result;
  return tqvGetIsLowCostEx(cameraType, subtype, lowCost);
}

extern "C" TQV_API uint32_t tqvGetIsAutomation(void* handle, bool* automation) {
  if (u32 refused = nulls::CheckCall(handle, automation)) return refused;
  u8 cameraType = 0, subtype = 0;
  if (u32 result = ReadModelKey(handle, &cameraType, &subtype)) return result;
  const tqvSModelInfo* row = tables::FindModel(cameraType, subtype);
  if (!row) return rc::kError;
  *automation = row->automation != 0;
  return rc::kOk;
}

extern "C" TQV_API uint32_t tqvGetBandpass(void* handle, double* low, double* high) {
  if (u32 refused = nulls::CheckCall(handle, low, high)) return refused;
  u8 cameraType = 0, subtype = 0;
  if (u32 result = ReadModelKey(handle, &cameraType, &subtype)) return result;
  const tqvSModelInfo* row = tables::FindModel(cameraType, subtype);
  if (!row) return rc::kError;
  *low = row->bandpassLow;
  *high = row->bandpassHigh;
  return rc::kOk;
}

extern "C" TQV_API uint32_t tqvGetCameraPartNumber(void* handle, char* buffer, int32_t size) {
  if (u32 refused = nulls::CheckCall(handle, buffer)) return refused;
  u8 cameraType = 0, subtype = 0, pleoraBoardType = 0;
  if (u32 result = ReadModelKey(handle, &cameraType, &subtype)) return result;
  if (u32 result = tqvGetPleoraBoardType(handle, &pleoraBoardType)) return result;
  return tables::CopyText(tables::PartNumberFor(cameraType, subtype, pleoraBoardType), buffer,
                          size);
}

extern "C" TQV_API uint32_t tqvGetGainLevelsAreNamed(void* handle, bool* named) {
  if (u32 refused = nulls::CheckCall(handle, named)) return refused;
  u8 readout = 0;
  if (u32 result = tqvGetReadout(handle, &readout)) return result;
  *named = tables::GainLevelsAreNamed(readout);
  return rc::kOk;
}

extern "C" TQV_API uint32_t tqvGetGainLevelName(void* handle, uint8_t level, char* buffer,
                                                int32_t size) {
  if (u32 refused = nulls::CheckCall(handle, buffer)) return refused;
  u8 readout = 0;
  bool named = false;
  if (u32 result = tqvGetReadout(handle, &readout)) return result;
  if (u32 result = tqvGetGainLevelsAreNamed(handle, &named)) return result;
  if (!named) return rc::kNotSupported;
  const char* text = nullptr;
  if (u32 result = tables::GainLevelNameFor(readout, level, &text)) return result;
  return tables::CopyText(text, buffer, size);
}

extern "C" TQV_API uint32_t tqvGetVideoFormats(void* handle, zel::TArray<uint8_t>& formats) {
  u8 boardType = 0, cameraType = 0, subtype = 0;
  u16 major = 0, minor = 0, build = 0;
  if (u32 result = tqvGetBoardType(handle, &boardType)) return result;
  if (u32 result = ReadModelKey(handle, &cameraType, &subtype)) return result;
  // Only the WZN board's firmware decides the formats.
  if (boardType == 3) {
    if (u32 result = tqvGetMainAppVersion(handle, &major, &minor, &build)) return result;
  }
  Assign(formats, tables::VideoFormatsFor(boardType, cameraType, subtype, major, minor));
  return rc::kOk;
}

extern "C" TQV_API uint32_t tqvGetVideoZoomFactors(void* handle, zel::TArray<uint8_t>& factors) {
  CTQVSDKArray::Ref sdk = sdks().Resolve(handle);
  if (!sdk) return rc::kError;
  bool legacyVFPGA = false;
  u8 boardType = 0;
  u16 major = 0, minor = 0, build = 0;
  if (u32 result = sdk->GetLegacyVFPGA(&legacyVFPGA)) return result;
  if (u32 result = sdk->GetBoardType(&boardType)) return result;
  if (boardType == 3 || boardType == 4) {
    if (u32 result = sdk->GetMainAppVersion(&major, &minor, &build)) return result;
  }
  Assign(factors, tables::ZoomFactorsFor(boardType, legacyVFPGA, major, minor));
  return rc::kOk;
}

extern "C" TQV_API uint32_t tqvGetFilterNameEx(void* handle, uint8_t id, char* buffer,
                                               int32_t size) {
  if (u32 refused = nulls::CheckCall(handle, buffer)) return refused;
  bool available = false;
  if (u32 result = tqvGetFilterInfoAvailable(handle, &available)) return result;
  if (available) return tqvGetFilterInfoName(handle, id, buffer, size);
  return tables::CopyText(tqvGetFilterName(id), buffer, size);
}
