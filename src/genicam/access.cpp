// Feature access of the GenICam backend: lookup, kind test, time-out retries and the translation
// of every library exception into a result code, in one place.
#include "genicam/access.h"

#include <cstring>

#include "frame/registry.h"

using namespace zel::cam::gic;

namespace {

constexpr u32 kRetryPauseMs = 600;
constexpr u32 kCommandPollMs = 250;
// The 41st failed completion query ends a command wait.
constexpr int kCommandPollErrors = 41;

// Looks the feature up, tests its kind and runs `access` on it, retrying time-outs when
// `attempts` is above 1. `access` must write the caller's output only when it returns.
// Thrown inside an access when the feature is of neither accepted kind; reported like any other
// wrong kind.
struct KindMismatch {};

template <typename Kind, typename Access>
u32 WithFeature(const GicDevice& device, const char* name, int attempts, Access access) {
  if (!device || !name) return rc::kError;
  try {
    zel::TSharedPtr<IFeature> feature = device->GetFeature(name);
    Kind* kind = dynamic_cast<Kind*>(feature.get());
    if (!kind) return rc::kError;
    for (int attempt = 1;; ++attempt) {
      try {
        access(*kind);
        return rc::kOk;
      } catch (const CTimeoutException&) {
        if (attempt >= attempts) return rc::kTimeout;
        zel::SleepMs(kRetryPauseMs);
      }
    }
  } catch (const std::exception& error) {
    return TranslateException(error);
  } catch (...) {
    return rc::kError;  // also a KindMismatch
  }
}

}  // namespace

bool gicIsAvailable(GicDevice device, const char* name) {
  if (!device || !name) return false;
  try {
    zel::TSharedPtr<IFeature> feature = device->GetFeature(name);
    return feature && feature->IsAvailable();
  } catch (...) {
    return false;
  }
}

bool gicIsPresent(GicDevice device, const char* name) {
  if (!device || !name) return false;
  try {
    return static_cast<bool>(device->GetFeature(name));
  } catch (...) {
    return false;
  }
}

u32 gicGetInt64(GicDevice device, const char* name, i64* value, int attempts) {
  return WithFeature<IInteger>(device, name, attempts,
                               [&](IInteger& feature) { *value = feature.GetValue(); });
}

u32 gicSetInt64(GicDevice device, const char* name, i64 value, int attempts) {
  return WithFeature<IInteger>(device, name, attempts,
                               [&](IInteger& feature) { feature.SetValue(value); });
}

namespace {
template <typename T>
u32 GetNarrowed(GicDevice device, const char* name, T* value, int attempts) {
  i64 wide = 0;
  u32 result = gicGetInt64(device, name, &wide, attempts);
  if (result == rc::kOk) *value = static_cast<T>(wide);
  return result;
}

template <typename T>
u32 GetIntegerLimits(GicDevice device, const char* name, T* minimum, T* maximum) {
  return WithFeature<IInteger>(device, name, 1, [&](IInteger& feature) {
    T low = minimum ? static_cast<T>(feature.GetMin()) : T{};
    T high = static_cast<T>(feature.GetMax());
    if (minimum) *minimum = low;
    if (maximum) *maximum = high;
  });
}
}  // namespace

u32 gicGetUInt32(GicDevice device, const char* name, u32* value, int attempts) {
  return GetNarrowed(device, name, value, attempts);
}
u32 gicGetUInt16(GicDevice device, const char* name, u16* value, int attempts) {
  return GetNarrowed(device, name, value, attempts);
}
u32 gicGetUInt8(GicDevice device, const char* name, u8* value, int attempts) {
  return GetNarrowed(device, name, value, attempts);
}
u32 gicGetInt32(GicDevice device, const char* name, i32* value, int attempts) {
  return GetNarrowed(device, name, value, attempts);
}

u32 gicGetLimitsUInt8(GicDevice device, const char* name, u8* minimum, u8* maximum) {
  return GetIntegerLimits(device, name, minimum, maximum);
}
u32 gicGetLimitsUInt32(GicDevice device, const char* name, u32* minimum, u32* maximum) {
  return GetIntegerLimits(device, name, minimum, maximum);
}
u32 gicGetLimitsInt64(GicDevice device, const char* name, i64* minimum, i64* maximum) {
  return GetIntegerLimits(device, name, minimum, maximum);
}

u32 gicGetIncrementInt64(GicDevice device, const char* name, i64* increment) {
  return WithFeature<IInteger>(device, name, 1,
                               [&](IInteger& feature) { *increment = feature.GetInc(); });
}

u32 gicGetFlt64(GicDevice device, const char* name, double* value, int attempts) {
  return WithFeature<IFloat>(device, name, attempts,
                             [&](IFloat& feature) { *value = feature.GetValue(); });
}

u32 gicSetFlt64(GicDevice device, const char* name, double value, int attempts) {
  return WithFeature<IFloat>(device, name, attempts,
                             [&](IFloat& feature) { feature.SetValue(value); });
}

u32 gicGetFlt32(GicDevice device, const char* name, float* value, int attempts) {
  double wide = 0;
  u32 result = gicGetFlt64(device, name, &wide, attempts);
  if (result == rc::kOk) *value = static_cast<float>(wide);
  return result;
}

u32 gicGetLimitsFlt32(GicDevice device, const char* name, float* minimum, float* maximum) {
  return WithFeature<IFloat>(device, name, 1, [&](IFloat& feature) {
    float low = static_cast<float>(feature.GetMin());
    float high = static_cast<float>(feature.GetMax());
    *minimum = low;
    *maximum = high;
  });
}

u32 gicGetBool(GicDevice device, const char* name, bool* value, int attempts) {
  return WithFeature<IBoolean>(device, name, attempts,
                               [&](IBoolean& feature) { *value = feature.GetValue(); });
}

u32 gicSetBool(GicDevice device, const char* name, bool value, int attempts) {
  return WithFeature<IBoolean>(device, name, attempts,
                               [&](IBoolean& feature) { feature.SetValue(value); });
}

u32 gicGetEnumValue(GicDevice device, const char* name, i64* value, int attempts) {
  return WithFeature<IEnum>(device, name, attempts,
                            [&](IEnum& feature) { *value = feature.GetIntValue(); });
}

u32 gicGetEnumValue(GicDevice device, const char* name, u8* value, int attempts) {
  i64 wide = 0;
  u32 result = gicGetEnumValue(device, name, &wide, attempts);
  if (result == rc::kOk) *value = static_cast<u8>(wide);
  return result;
}

u32 gicSetEnumValue(GicDevice device, const char* name, i64 value, int attempts) {
  return WithFeature<IEnum>(device, name, attempts,
                            [&](IEnum& feature) { feature.SetIntValue(value); });
}

u32 gicSetEnumValue(GicDevice device, const char* name, const char* entry, int attempts) {
  if (!entry) return rc::kInvalidArgument;
  return WithFeature<IEnum>(device, name, attempts,
                            [&](IEnum& feature) { feature.SetValue(entry); });
}

u32 gicGetCode(GicDevice device, const char* name, i64* value, int attempts) {
  i64 wide = 0;
  u32 result = WithFeature<IFeature>(device, name, attempts, [&](IFeature& feature) {
    if (auto* choice = dynamic_cast<IEnum*>(&feature)) {
      wide = choice->GetIntValue();
    } else if (auto* number = dynamic_cast<IInteger*>(&feature)) {
      wide = number->GetValue();
    } else {
      throw KindMismatch();
    }
  });
  if (result == rc::kOk) *value = wide;
  return result;
}

u32 gicGetCode(GicDevice device, const char* name, u8* value, int attempts) {
  i64 wide = 0;
  u32 result = gicGetCode(device, name, &wide, attempts);
  if (result == rc::kOk) *value = static_cast<u8>(wide);
  return result;
}

u32 gicSetCode(GicDevice device, const char* name, i64 value, int attempts) {
  return WithFeature<IFeature>(device, name, attempts, [&](IFeature& feature) {
    if (auto* choice = dynamic_cast<IEnum*>(&feature)) {
      choice->SetIntValue(value);
    } else if (auto* number = dynamic_cast<IInteger*>(&feature)) {
      number->SetValue(value);
    } else {
      throw KindMismatch();
    }
  });
}

u32 gicGetEnumEntries(GicDevice device, const char* name, zel::TArray<CEnumEntry>* entries,
                      int attempts) {
  return WithFeature<IEnum>(device, name, attempts,
                            [&](IEnum& feature) { *entries = feature.GetEntries(); });
}

u32 gicGetString(GicDevice device, const char* name, zel::CString& value, int attempts) {
  return WithFeature<IString>(device, name, attempts,
                              [&](IString& feature) { value = feature.GetValue(); });
}

u32 gicSetString(GicDevice device, const char* name, const char* value, int attempts) {
  if (!value) return rc::kInvalidArgument;
  return WithFeature<IString>(device, name, attempts,
                              [&](IString& feature) { feature.SetValue(value); });
}

u32 gicGetString(GicDevice device, const char* name, char* buffer, int size, int attempts) {
  zel::CString text;
  u32 result = gicGetString(device, name, text, attempts);
  if (result != rc::kOk) return result;
  if (!buffer || size <= 0 || static_cast<u32>(size) <= text.length()) return rc::kError;
  std::memcpy(buffer, text.c_str(), text.length() + 1);
  return rc::kOk;
}

u32 gicExecute(GicDevice device, const char* name, bool wait) {
  if (!name) name = "";
  zel::TSharedPtr<ICommand> command;
  try {
    if (device) command = device->GetFeature(name).DynamicCast<ICommand>();
    if (!command) {
      zel::logger().WriteLine("gicExecute(%s): FAILED, command not found.", name);
      return rc::kError;
    }
    command->Execute();
  } catch (const std::exception& error) {
    zel::logger().WriteLine("gicExecute(%s): FAILED, caught exception: %s.", name, error.what());
    return TranslateException(error);
  } catch (...) {
    zel::logger().WriteLine("gicExecute(%s): FAILED, unhandled exception.", name);
    return rc::kError;
  }
  if (!wait) return rc::kOk;
  // No overall limit: a camera that is busy for long is waited for; only a done query that keeps
  // failing ends the wait.
  for (int errors = 0;;) {
    try {
      if (command->IsDone()) return rc::kOk;
    } catch (...) {
      if (++errors >= kCommandPollErrors) return rc::kError;
    }
    zel::SleepMs(kCommandPollMs);
  }
}

u32 gicGetRegister(GicDevice device, const char* name, zel::TSharedPtr<IRegister>* reg) {
  if (!device || !name) return rc::kError;
  try {
    zel::TSharedPtr<IRegister> found = device->GetFeature(name).DynamicCast<IRegister>();
    if (!found) return rc::kError;
    *reg = found;
    return rc::kOk;
  } catch (const std::exception& error) {
    return TranslateException(error);
  } catch (...) {
    return rc::kError;
  }
}

u32 gicReadRegister(IRegister& reg, u8* buffer, i64 length) {
  try {
    reg.Get(buffer, length);
    return rc::kOk;
  } catch (const std::exception& error) {
    return TranslateException(error);
  } catch (...) {
    return rc::kError;
  }
}

u32 gicWriteRegister(IRegister& reg, const u8* buffer, i64 length) {
  try {
    reg.Set(buffer, length);
    return rc::kOk;
  } catch (const std::exception& error) {
    return TranslateException(error);
  } catch (...) {
    return rc::kError;
  }
}
