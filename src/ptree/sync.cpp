// Synchronisation, triggering, time, temperatures and identity over the property tree.
#include <strings.h>

#include <cstdio>

#include "ptree/CTQVSDKPTree.h"

// --- Identity ------------------------------------------------------------------------------------

namespace {
constexpr const char* kVariantPath = ".version.product.variant";
constexpr const char* kPleoraPath = ".system.settings.gigE.type";
}  // namespace

// Cameras without a variant path are the first variant.
u32 CTQVSDKPTree::GetVariant(u8* value) {
  if (Cached(m_cache.variant, value)) return rc::kOk;
  if (resVerify(m_tree, kVariantPath) != rc::kOk) {
    *value = 0;
    return rc::kOk;
  }
  return CachedGet(m_cache.variant, kVariantPath, value);
}

u32 CTQVSDKPTree::SetVariant(u8 value) {
  if (resVerify(m_tree, kVariantPath) != rc::kOk) {
    return value == 0 ? rc::kOk : rc::kInvalidArgument;
  }
  u32 result = CachedSet(m_cache.variant, kVariantPath, value);
  if (result == rc::kNotWritable) {
    // A fixed variant refuses the write; asking for the variant it already is still succeeds.
    u8 current = 0;
    if (resGetUInt8(m_tree, kVariantPath, &current) == rc::kOk && current == value) {
      Keep(m_cache.variant, value);
      return rc::kOk;
    }
  }
  return result;
}

// The interface board stores its type as text: PT1000, USB3 or NTX.
u32 CTQVSDKPTree::GetPleoraBoardType(u8* value) {
  if (Cached(m_cache.pleoraBoardType, value)) return rc::kOk;
  if (resVerify(m_tree, kPleoraPath) != rc::kOk) {
    *value = 0;
    return rc::kOk;
  }
  char* text = nullptr;
  u32 result = resGetString(m_tree, kPleoraPath, &text);
  if (result != rc::kOk) return result;
  static const char* const kTexts[] = {"PT1000", "USB3", "NTX"};
  result = rc::kOutOfEnumeration;
  for (u8 code = 0; code < 3; ++code) {
    if (text && strcasecmp(text, kTexts[code]) == 0) {
      Keep(m_cache.pleoraBoardType, code);
      *value = code;
      result = rc::kOk;
      break;
    }
  }
  resFreeString(&text);
  return result;
}

u32 CTQVSDKPTree::SetPleoraBoardType(u8 value) {
  if (value > 2) return rc::kOutOfEnumeration;
  if (resVerify(m_tree, kPleoraPath) != rc::kOk) return value == 0 ? rc::kOk : rc::kNotSupported;
  static const char* const kTexts[] = {"PT1000", "USB3", "NTX"};
  u32 result = resSetString(m_tree, kPleoraPath, kTexts[value], 1);
  if (result == rc::kOk) Keep(m_cache.pleoraBoardType, value);
  return result;
}

// --- Voltages ------------------------------------------------------------------------------------

namespace {
// The path of a field of a named bias or offset voltage.
bool VoltagePath(char (&path)[kPathSize], const char* name, const char* field) {
  if (!name) return false;
  int length = std::snprintf(path, sizeof path, ".system.manufacturing.hw.biasesAndOffsets.%s.%s",
                             name, field);
  return length > 0 && static_cast<u32>(length) < sizeof path;
}
// Voltages without limits of their own may be set within +-5 V.
constexpr float kDefaultVoltageLimit = 5.0f;
}  // namespace

u32 CTQVSDKPTree::GetVoltageLimits(const char* name, float* minimum, float* maximum) {
  char path[kPathSize];
  if (!VoltagePath(path, name, "voltageIn")) return rc::kInvalidArgument;
  float low = 0, high = 0;
  u32 result = resGetLimitsFlt32Ex(m_tree, path, &low, &high);
  if (result == rc::kNoLimits) {
    low = -kDefaultVoltageLimit;
    high = kDefaultVoltageLimit;
    result = rc::kOk;
  }
  if (result == rc::kOk) {
    *minimum = low;
    *maximum = high;
  }
  return result;
}
