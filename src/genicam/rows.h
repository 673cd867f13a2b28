// The GenICam realisation of the family tables' plain rows (families/rows.h): the member templates
// of CTQVSDKGenICam that genicam/rows.cpp instantiates once per row, and that hand-written
// operations may use for a feature of their own.
#pragma once

#include <type_traits>

#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"

// Typed access by the C++ type of the value: integers through integer or enumeration features,
// floats through double.
template <typename T>
u32 gicGetValue(GicDevice device, const char* name, T* value) {
  if constexpr (std::is_same_v<T, bool>) {
    return gicGetBool(device, name, value, kGicAttempts);
  } else if constexpr (std::is_same_v<T, float>) {
    return gicGetFlt32(device, name, value, kGicAttempts);
  } else if constexpr (std::is_same_v<T, double>) {
    return gicGetFlt64(device, name, value, kGicAttempts);
  } else {
    static_assert(std::is_integral_v<T>);
    i64 wide = 0;
    u32 result = gicGetCode(device, name, &wide, kGicAttempts);
    if (result == rc::kOk) *value = static_cast<T>(wide);
    return result;
  }
}

template <typename T>
u32 gicSetValue(GicDevice device, const char* name, T value) {
  if constexpr (std::is_same_v<T, bool>) {
    return gicSetBool(device, name, value, kGicAttempts);
  } else if constexpr (std::is_floating_point_v<T>) {
    return gicSetFlt64(device, name, static_cast<double>(value), kGicAttempts);
  } else {
    static_assert(std::is_integral_v<T>);
    return gicSetCode(device, name, static_cast<i64>(value), kGicAttempts);
  }
}

template <typename T>
u32 CTQVSDKGenICam::RowGet(const rows::Gic& row, const char* feature, const char* alternative,
                           T* out) {
  TQV_GIC_OPERATION();
  if (alternative && !gicIsPresent(m_device, feature)) feature = alternative;
  if (!RowFeatureThere(row, feature)) {
    *out = static_cast<T>(row.fallback);
    return rc::kOk;
  }
  return gicGetValue(m_device, feature, out);
}

template <typename T>
u32 CTQVSDKGenICam::RowSet(const rows::Gic& row, const char* feature, const char* alternative,
                           T value) {
  TQV_GIC_OPERATION();
  if (row.writeTo) {
    feature = row.writeTo;
  } else if (alternative && !gicIsPresent(m_device, feature)) {
    feature = alternative;
  }
  if (!RowFeatureThere(row, feature)) {
    return value == static_cast<T>(row.fallback) ? rc::kOk : rc::kNotSupported;
  }
  return gicSetValue(m_device, feature, value);
}

template <typename T>
u32 CTQVSDKGenICam::RowGetPreset(const rows::Gic& row, u8 preset, T* out) {
  const zel::CString feature = PresetFeature(preset, row.feature);
  const zel::CString alternative = row.alternative ? PresetFeature(preset, row.alternative) : "";
  return RowGet(row, feature.c_str(), row.alternative ? alternative.c_str() : nullptr, out);
}

template <typename T>
u32 CTQVSDKGenICam::RowSetPreset(const rows::Gic& row, u8 preset, T value) {
  const zel::CString feature = PresetFeature(preset, row.feature);
  const zel::CString alternative = row.alternative ? PresetFeature(preset, row.alternative) : "";
  return RowSet(row, feature.c_str(), row.alternative ? alternative.c_str() : nullptr, value);
}
