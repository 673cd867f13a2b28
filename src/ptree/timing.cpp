// Image geometry, integration and frame timing over the property tree.
#include <cstdio>

#include "common/timing_operations.h"
#include "ptree/CTQVSDKPTree.h"

namespace {
constexpr u32 kWindowTimeout = 30000;  // the camera re-plans its read-out
constexpr u32 kFlipTimeout = 30000;
}  // namespace

// --- Window --------------------------------------------------------------------------------------

// The window is read and written under the tree's lock so that no other client sees it half
// written: "read" makes the camera publish the preset's window, "commit" applies the four values.
u32 CTQVSDKPTree::GetWindow(u8 preset, u16* xOffset, u16* yOffset, u16* width, u16* height) {
  if (preset > 3) return rc::kInvalidArgument;
  std::array<u16, 4> window{};
  TCached<std::array<u16, 4>>& entry = m_cache.preset[preset].window;
  if (!Cached(entry, &window)) {
    ScopedAcquire hold(m_tree);
    if (hold.result() != rc::kOk) return hold.result();
    char path[kPathSize];
    u32 result = resWrite(
        m_tree, _tqvResourceForPreset(path, sizeof path, ".system.settings.pn.window.read", preset),
        true);
    static const char* const kFields[4] = {
        ".system.settings.pn.window.xOffset", ".system.settings.pn.window.yOffset",
        ".system.settings.pn.window.width", ".system.settings.pn.window.height"};
    for (int i = 0; result == rc::kOk && i < 4; ++i) {
      result =
          resRead(m_tree, _tqvResourceForPreset(path, sizeof path, kFields[i], preset), &window[i]);
    }
    if (result != rc::kOk) return result;
    Keep(entry, window);
  }
  *xOffset = window[0];
  *yOffset = window[1];
  *width = window[2];
  *height = window[3];
  return rc::kOk;
}

u32 CTQVSDKPTree::SetWindow(u8 preset, u16 xOffset, u16 yOffset, u16 width, u16 height) {
  if (preset > 3) return rc::kInvalidArgument;
  ScopedAcquire hold(m_tree);
  if (hold.result() != rc::kOk) return hold.result();
  ScopedTimeout slow(m_tree, kWindowTimeout);
  const std::array<u16, 4> window = {xOffset, yOffset, width, height};
  static const char* const kFields[4] = {
      ".system.settings.pn.window.xOffset", ".system.settings.pn.window.yOffset",
      ".system.settings.pn.window.width", ".system.settings.pn.window.height"};
  char path[kPathSize];
  u32 result = rc::kOk;
  for (int i = 0; result == rc::kOk && i < 4; ++i) {
    result =
        resWrite(m_tree, _tqvResourceForPreset(path, sizeof path, kFields[i], preset), window[i]);
  }
  if (result == rc::kOk) {
    result = resWrite(
        m_tree,
        _tqvResourceForPreset(path, sizeof path, ".system.settings.pn.window.commit", preset),
        true);
  }
  if (result == rc::kOk) Keep(m_cache.preset[preset].window, window);
  return result;
}

u32 CTQVSDKPTree::GetWindowLimits(u16* minWidth, u16* maxWidth, u16* minHeight, u16* maxHeight,
                                  u16* xIncrement, u16* yIncrement) {
  std::array<u16, 6> limits{};
  if (!Cached(m_cache.windowLimits, &limits)) {
    static const char* const kPaths[6] = {
        ".system.info.fpa.windowLimits.minWidth",   ".system.info.fpa.windowLimits.maxWidth",
        ".system.info.fpa.windowLimits.minHeight",  ".system.info.fpa.windowLimits.maxHeight",
        ".system.info.fpa.windowLimits.xIncrement", ".system.info.fpa.windowLimits.yIncrement"};
    for (int i = 0; i < 6; ++i) {
      if (u32 result = resRead(m_tree, kPaths[i], &limits[i])) return result;
    }
    Keep(m_cache.windowLimits, limits);
  }
  *minWidth = limits[0];
  *maxWidth = limits[1];
  *minHeight = limits[2];
  *maxHeight = limits[3];
  *xIncrement = limits[4];
  *yIncrement = limits[5];
  return rc::kOk;
}

// --- Integration and frame periods ---------------------------------------------------------------

u32 CTQVSDKPTree::GetIntegrationWidth(u8 preset, u32* clocks) {
  return CachedGetPreset(&PresetCache::integrationWidth, ".system.settings.pn.integrationWidth",
                         preset, clocks);
}
u32 CTQVSDKPTree::SetIntegrationWidth(u8 preset, u32 clocks) {
  return CachedSetPreset(&PresetCache::integrationWidth, ".system.settings.pn.integrationWidth",
                         preset, clocks);
}

u32 CTQVSDKPTree::GetIntegrationTime(u8 preset, double* milliseconds) {
  u32 clocks = 0;
  u32 result = GetIntegrationWidth(preset, &clocks);
  return result ? result : ClocksToMilliseconds(clocks, milliseconds);
}
u32 CTQVSDKPTree::SetIntegrationTime(u8 preset, double milliseconds) {
  u32 clocks = 0;
  u32 result = MillisecondsToClocks(milliseconds, &clocks);
  return result ? result : SetIntegrationWidth(preset, clocks);
}

u32 CTQVSDKPTree::GetFrameWidth(u8 preset, u32* clocks) {
  return CachedGetPreset(&PresetCache::frameWidth, ".system.settings.pn.frameWidth", preset,
                         clocks);
}
u32 CTQVSDKPTree::SetFrameWidth(u8 preset, u32 clocks) {
  return CachedSetPreset(&PresetCache::frameWidth, ".system.settings.pn.frameWidth", preset,
                         clocks);
}

u32 CTQVSDKPTree::GetFrameRate(u8 preset, double* hertz) {
  u32 clocks = 0;
  u32 result = GetFrameWidth(preset, &clocks);
  return result ? result : ClocksToHertz(clocks, hertz);
}
u32 CTQVSDKPTree::SetFrameRate(u8 preset, double hertz) {
  u32 clocks = 0;
  u32 result = HertzToClocks(hertz, &clocks);
  return result ? result : SetFrameWidth(preset, clocks);
}

// --- Presets and superframes ---------------------------------------------------------------------

u32 CTQVSDKPTree::GetPresetSequencingMode(u8* value) {
  return CachedGetEnum(m_cache.presetSequencingMode, ".system.settings.presetSequencingMode", value,
                       &tqvPresetSequencingModeEnum);
}

// The camera recomputes every preset's frame width when the sequencing changes.
u32 CTQVSDKPTree::SetPresetSequencingMode(u8 value) {
  u32 result = CachedSetEnum(m_cache.presetSequencingMode, ".system.settings.presetSequencingMode",
                             value, &tqvPresetSequencingModeText);
  if (result == rc::kOk) {
    Forget([](PTreeCache& cache) {
      for (PresetCache& preset : cache.preset)
        preset.frameWidth.valid = false;
    });
  }
  return result;
}

u32 CTQVSDKPTree::GetSuperframeWidth(u32* value) {
  return CachedGet(m_cache.superframeWidth, ".system.settings.superframeWidth", value);
}
u32 CTQVSDKPTree::SetSuperframeWidth(u32 value) {
  return CachedSet(m_cache.superframeWidth, ".system.settings.superframeWidth", value);
}

u32 CTQVSDKPTree::GetSuperframeRate(double* value) {
  u32 clocks = 0;
  u32 result = GetSuperframeWidth(&clocks);
  return result ? result : ClocksToHertz(clocks, value);
}
u32 CTQVSDKPTree::SetSuperframeRate(double value) {
  u32 clocks = 0;
  u32 result = HertzToClocks(value, &clocks);
  return result ? result : SetSuperframeWidth(clocks);
}

u32 CTQVSDKPTree::GetActivePreset(u8* value) {
  return CachedGet(m_cache.activePreset, ".system.settings.activePreset", value);
}
u32 CTQVSDKPTree::SetActivePreset(u8 preset) {
  return CachedSet(m_cache.activePreset, ".system.settings.activePreset", preset);
}

u32 CTQVSDKPTree::GetInvertEnabled(bool* value) {
  return CachedGet(m_cache.invertEnabled, ".system.settings.fpa.invert", value);
}
u32 CTQVSDKPTree::SetInvertEnabled(bool value) {
  ScopedTimeout slow(m_tree, kFlipTimeout);
  return CachedSet(m_cache.invertEnabled, ".system.settings.fpa.invert", value);
}

u32 CTQVSDKPTree::GetRevertEnabled(bool* value) {
  return CachedGet(m_cache.revertEnabled, ".system.settings.fpa.revert", value);
}
u32 CTQVSDKPTree::SetRevertEnabled(bool value) {
  ScopedTimeout slow(m_tree, kFlipTimeout);
  return CachedSet(m_cache.revertEnabled, ".system.settings.fpa.revert", value);
}

// --- Per-preset gain, offset, dwell and subframes ------------------------------------------------

u32 CTQVSDKPTree::GetDigitalGain(u8 preset, float* gain) {
  return CachedGetPreset(&PresetCache::digitalGain, ".system.settings.pn.digitalGain", preset,
                         gain);
}
u32 CTQVSDKPTree::SetDigitalGain(u8 preset, float gain) {
  return CachedSetPreset(&PresetCache::digitalGain, ".system.settings.pn.digitalGain", preset,
                         gain);
}

u32 CTQVSDKPTree::GetDigitalOffset(u8 preset, float* offset) {
  return CachedGetPreset(&PresetCache::digitalOffset, ".system.settings.pn.digitalOffset", preset,
                         offset);
}
u32 CTQVSDKPTree::SetDigitalOffset(u8 preset, float offset) {
  return CachedSetPreset(&PresetCache::digitalOffset, ".system.settings.pn.digitalOffset", preset,
                         offset);
}

u32 CTQVSDKPTree::GetDwellCount(u8 preset, u32* count) {
  return CachedGetPreset(&PresetCache::dwellCount, ".system.settings.pn.dwellCount", preset, count);
}
u32 CTQVSDKPTree::SetDwellCount(u8 preset, u32 count) {
  return CachedSetPreset(&PresetCache::dwellCount, ".system.settings.pn.dwellCount", preset, count);
}

u32 CTQVSDKPTree::GetSubframeEnabled(u8 preset, bool* enabled) {
  return CachedGetPreset(&PresetCache::subframeEnabled, ".system.settings.pn.subframe", preset,
                         enabled);
}
u32 CTQVSDKPTree::SetSubframeEnabled(u8 preset, bool enabled) {
  return CachedSetPreset(&PresetCache::subframeEnabled, ".system.settings.pn.subframe", preset,
                         enabled);
}

// --- Gain, bias, offset and skimming -------------------------------------------------------------

u32 CTQVSDKPTree::GetGainLevel(u8* value) {
  return CachedGet(m_cache.gainLevel, ".system.settings.fpa.gainLevel", value);
}

// A new gain level makes the camera load other offset and skimming voltages.
u32 CTQVSDKPTree::SetGainLevel(u8 value) {
  u32 result = CachedSet(m_cache.gainLevel, ".system.settings.fpa.gainLevel", value);
  if (result == rc::kOk) {
    Forget([](PTreeCache& cache) {
      cache.globalOffsetVoltage.valid = false;
      cache.skimmingVoltage.valid = false;
    });
  }
  return result;
}

u32 CTQVSDKPTree::GetFPABiasCount(u8* value) {
  if (Cached(m_cache.fpaBiasCount, value)) return rc::kOk;
  constexpr const char* kPath = ".system.bias.count";
  const u32 present = resVerify(m_tree, kPath);
  if (present == rc::kOk) return CachedGet(m_cache.fpaBiasCount, kPath, value);
  // Only a missing path means a single bias; any other failure says nothing about the count.
  if (present != rc::kNotFound) return present;
  Keep(m_cache.fpaBiasCount, u8{1});
  *value = 1;
  return rc::kOk;
}

namespace {
// ".system.bias.detector" for the first bias, ".system.bias.detector1" for the second.
const char* BiasPath(u8 index) {
  return index == 0 ? ".system.bias.detector" : ".system.bias.detector1";
}
}  // namespace

u32 CTQVSDKPTree::CheckBiasIndex(u8 index) {
  u8 count = 0;
  u32 result = GetFPABiasCount(&count);
  if (result != rc::kOk) return result;
  return index >= count || index > 1 ? rc::kInvalidArgument : rc::kOk;
}

u32 CTQVSDKPTree::GetFPABiasEx(u8 index, float* volts) {
  u32 result = CheckBiasIndex(index);
  return result ? result : CachedGet(m_cache.fpaBias[index], BiasPath(index), volts);
}
u32 CTQVSDKPTree::SetFPABiasEx(u8 index, float volts) {
  u32 result = CheckBiasIndex(index);
  return result ? result : CachedSet(m_cache.fpaBias[index], BiasPath(index), volts);
}

u32 CTQVSDKPTree::GetFPABiasLimitsEx(u8 index, float* minimum, float* maximum) {
  u32 result = CheckBiasIndex(index);
  if (result != rc::kOk) return result;
  return CachedLimits(m_cache.fpaBiasLimits[index], BiasPath(index), minimum, maximum);
}

u32 CTQVSDKPTree::GetFPABias(float* volts) { return GetFPABiasEx(0, volts); }
u32 CTQVSDKPTree::SetFPABias(float volts) { return SetFPABiasEx(0, volts); }
u32 CTQVSDKPTree::GetFPABiasLimits(float* minimum, float* maximum) {
  return GetFPABiasLimitsEx(0, minimum, maximum);
}

u32 CTQVSDKPTree::GetGlobalOffsetVoltage(float* value) {
  return CachedGet(m_cache.globalOffsetVoltage, ".system.offset.global", value);
}
u32 CTQVSDKPTree::SetGlobalOffsetVoltage(float value) {
  return CachedSet(m_cache.globalOffsetVoltage, ".system.offset.global", value);
}
u32 CTQVSDKPTree::GetGlobalOffsetVoltageLimits(float* minimum, float* maximum) {
  return CachedLimits(m_cache.globalOffsetVoltageLimits, ".system.offset.global", minimum, maximum);
}

// Readouts 7 and 10 have skimming.
u32 CTQVSDKPTree::GetSkimmingAvailable(bool* value) {
  u8 readout = 0;
  u32 result = GetReadout(&readout);
  if (result == rc::kOk) *value = readout == 7 || readout == 10;
  return result;
}

u32 CTQVSDKPTree::GetSkimmingEnabled(bool* value) {
  return CachedGet(m_cache.skimmingEnabled, ".system.settings.fpa.skimmingEnabled", value);
}
u32 CTQVSDKPTree::SetSkimmingEnabled(bool value) {
  return CachedSet(m_cache.skimmingEnabled, ".system.settings.fpa.skimmingEnabled", value);
}

u32 CTQVSDKPTree::GetSkimmingVoltage(float* value) {
  return CachedGet(m_cache.skimmingVoltage, ".system.settings.fpa.skimmingVoltage", value);
}
u32 CTQVSDKPTree::SetSkimmingVoltage(float value) {
  return CachedSet(m_cache.skimmingVoltage, ".system.settings.fpa.skimmingVoltage", value);
}

// The skimming voltage is the voltage the camera calls "vos".
u32 CTQVSDKPTree::GetSkimmingVoltageLimits(float* minimum, float* maximum) {
  std::array<float, 2> limits{};
  if (!Cached(m_cache.skimmingVoltageLimits, &limits)) {
    u32 result = GetVoltageLimits("vos", &limits[0], &limits[1]);
    if (result != rc::kOk) return result;
    Keep(m_cache.skimmingVoltageLimits, limits);
  }
  *minimum = limits[0];
  *maximum = limits[1];
  return rc::kOk;
}

// --- Manufacturing values of the detector timing -------------------------------------------------

// The setters keep the loaded constants in step with the camera, so that the timing arithmetic
// uses the new values at once.
u32 CTQVSDKPTree::SetConstantPath(const char* path, u32 value, u32* constant) {
  u32 result = resWrite(m_tree, path, value);
  if (result == rc::kOk && constant) *constant = value;
  return result;
}

u32 CTQVSDKPTree::SetDeadRowsPath(const char* path, u32 value) {
  u32 result = resWrite(m_tree, path, value);
  if (result != rc::kOk) return result;
  u32 total = 0;
  result = resRead(m_tree, ".system.info.fpa.deadRows", &total);
  if (result == rc::kOk) m_constants.deadRows = total;
  return result;
}

u32 CTQVSDKPTree::GetMfgOverrideRoicConfig(bool* value) {
  return resRead(m_tree, ".system.info.fpa.overrideRoicConfig", value);
}
u32 CTQVSDKPTree::SetMfgOverrideRoicConfig(bool value) {
  return resWrite(m_tree, ".system.info.fpa.overrideRoicConfig", value);
}
u32 CTQVSDKPTree::GetMfgLineDeadWidth(u32* value) {
  return resRead(m_tree, ".system.info.fpa.lineDeadWidth", value);
}
u32 CTQVSDKPTree::SetMfgLineDeadWidth(u32 value) {
  return SetConstantPath(".system.info.fpa.lineDeadWidth", value, &m_constants.lineDeadWidth);
}
u32 CTQVSDKPTree::GetMfgPreIntDeadWidth(u32* value) {
  return resRead(m_tree, ".system.info.fpa.preIntegrationDeadWidth", value);
}
u32 CTQVSDKPTree::SetMfgPreIntDeadWidth(u32 value) {
  return SetConstantPath(".system.info.fpa.preIntegrationDeadWidth", value,
                         &m_constants.preIntegrationDeadWidth);
}
u32 CTQVSDKPTree::GetMfgPostIntDeadWidth(u32* value) {
  return resRead(m_tree, ".system.info.fpa.postIntegrationDeadWidth", value);
}
u32 CTQVSDKPTree::SetMfgPostIntDeadWidth(u32 value) {
  return SetConstantPath(".system.info.fpa.postIntegrationDeadWidth", value,
                         &m_constants.postIntegrationDeadWidth);
}
u32 CTQVSDKPTree::GetMfgPreDeadRows(u32* value) {
  return resRead(m_tree, ".system.info.fpa.preDeadRows", value);
}
u32 CTQVSDKPTree::SetMfgPreDeadRows(u32 value) {
  return SetDeadRowsPath(".system.info.fpa.preDeadRows", value);
}
u32 CTQVSDKPTree::GetMfgPostDeadRows(u32* value) {
  return resRead(m_tree, ".system.info.fpa.postDeadRows", value);
}
u32 CTQVSDKPTree::SetMfgPostDeadRows(u32 value) {
  return SetDeadRowsPath(".system.info.fpa.postDeadRows", value);
}
u32 CTQVSDKPTree::GetMfgHasExtraLSync(bool* value) {
  return resRead(m_tree, ".system.info.fpa.hasExtraLSync", value);
}
u32 CTQVSDKPTree::SetMfgHasExtraLSync(bool value) {
  return resWrite(m_tree, ".system.info.fpa.hasExtraLSync", value);
}

// --- Constants, conversions, minimum widths, bounds and four-preset loops ---------------------

TQV_TIMING_OPERATIONS(CTQVSDKPTree)
