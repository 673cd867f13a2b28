// Exported answers about synchronisation, temperatures and data links that combine camera
// operations. Each returns the first failing result of the calls it makes, output untouched.
#include <algorithm>
#include <iterator>

#include "frame/nullcheck.h"
#include "frame/registry.h"

namespace {

// Camera types whose sensors differ from the rest.
constexpr u8 kChassisCamera = 7;      // a chassis sensor instead of front-panel and air-gap ones
constexpr u8 kLensSensorCamera = 20;  // a lens sensor, and a tri-level sync input
constexpr u8 kNoInternalSensor[] = {7, 11, 12, 15, 16, 17};

// Boards below this one take a genlock input.
constexpr u8 kFirstBoardWithoutGenlock = 3;
// Boards whose lens sensor comes with a focus lens.
constexpr u8 kFocusLensBoards[] = {3, 4};

// Device transport-layer types.
constexpr u8 kGigETransport = 0;
constexpr u8 kCameraLinkTransport = 1;
constexpr u8 kCoaXPressTransport = 3;

template <std::size_t N>
bool OneOf(const u8 (&values)[N], u8 value) {
  return std::find(std::begin(values), std::end(values), value) != std::end(values);
}

// Answers from the camera type alone.
template <typename Answer>
u32 ByCameraType(void* handle, bool* out, Answer answer) {
  if (u32 refused = nulls::CheckCall(handle, out)) return refused;
  u8 type = 0;
  const u32 result = tqvGetCameraType(handle, &type);
  if (result == rc::kOk) *out = answer(type);
  return result;
}

// The camera's transport-layer type, when it reports one.
u32 Transport(void* handle, bool* available, u8* type) {
  u32 result = tqvGetDeviceTLTypeAvailable(handle, available);
  if (result == rc::kOk && *available) result = tqvGetDeviceTLType(handle, type);
  return result;
}

}  // namespace

extern "C" {

TQV_API uint32_t tqvGetHasFrontPanelTemperature(void* handle, bool* has) {
  return ByCameraType(handle, has, [](u8 type) { return type != kChassisCamera; });
}

TQV_API uint32_t tqvGetHasAirGapTemperature(void* handle, bool* has) {
  return ByCameraType(handle, has, [](u8 type) { return type != kChassisCamera; });
}

TQV_API uint32_t tqvGetHasChassisTemperature(void* handle, bool* has) {
  return ByCameraType(handle, has, [](u8 type) { return type == kChassisCamera; });
}

TQV_API uint32_t tqvGetHasInternalTemperature(void* handle, bool* has) {
  return ByCameraType(handle, has, [](u8 type) { return !OneOf(kNoInternalSensor, type); });
}

TQV_API uint32_t tqvGetHasLensTemperature(void* handle, bool* has) {
  if (u32 refused = nulls::CheckCall(handle, has)) return refused;
  u8 type = 0;
  u32 result = tqvGetCameraType(handle, &type);
  if (result != rc::kOk) return result;
  if (type == kChassisCamera || type == kLensSensorCamera) {
    *has = true;
    return rc::kOk;
  }
  u8 board = 0;
  if ((result = tqvGetBoardType(handle, &board))) return result;
  if (OneOf(kFocusLensBoards, board)) return tqvGetFocusPresent(handle, has);
  *has = false;
  return rc::kOk;
}

TQV_API uint32_t tqvGetGenlockAvailable(void* handle, bool* available) {
  if (u32 refused = nulls::CheckCall(handle, available)) return refused;
  u8 board = 0;
  const u32 result = tqvGetBoardType(handle, &board);
  if (result == rc::kOk) *available = board < kFirstBoardWithoutGenlock;
  return result;
}

TQV_API uint32_t tqvGetTriLevelSyncSourceAvailable(void* handle, bool* available) {
  if (u32 refused = nulls::CheckCall(handle, available)) return refused;
  bool refresh = false;
  const u32 result = tqvIsXRefresh(handle, &refresh);
  if (result != rc::kOk) return result;
  if (refresh) {
    *available = true;
    return rc::kOk;
  }
  return ByCameraType(handle, available, [](u8 type) { return type == kLensSensorCamera; });
}

// A camera that does not say which link carries its images has headers on.
TQV_API uint32_t tqvGetHeaderMode(void* handle, uint8_t* mode) {
  if (u32 refused = nulls::CheckCall(handle, mode)) return refused;
  bool available = false;
  u8 type = 0;
  const u32 result = Transport(handle, &available, &type);
  if (result != rc::kOk) return result;
  if (available) {
    switch (type) {
      case kCameraLinkTransport:
        return tqvGetCameraLinkHeaderMode(handle, mode);
      case kCoaXPressTransport:
        return tqvGetCoaXPressHeaderMode(handle, mode);
      case kGigETransport:
        return tqvGetGigEHeaderMode(handle, mode);
      default:
        break;
    }
  }
  *mode = 0;
  return rc::kOk;
}

TQV_API uint32_t tqvSetHeaderMode(void* handle, uint8_t mode) {
  if (u32 refused = nulls::CheckCall(handle)) return refused;
  bool available = false;
  u8 type = 0;
  const u32 result = Transport(handle, &available, &type);
  if (result != rc::kOk) return result;
  if (!available) return rc::kNotSupported;
  switch (type) {
    case kCameraLinkTransport:
      return tqvSetCameraLinkHeaderMode(handle, mode);
    case kCoaXPressTransport:
      return tqvSetCoaXPressHeaderMode(handle, mode);
    case kGigETransport:
      return tqvSetGigEHeaderMode(handle, mode);
    default:
      return rc::kNotSupported;
  }
}

}  // extern "C"
