#include "common/timing.h"

#include <cmath>
#include <limits>

#include "tqvSDK.h"

namespace timing {

u32 RoundToClocks(double value) {
  double rounded = std::round(value);  // halves away from zero
  i64 whole;
  if (std::isnan(rounded)) {
    whole = 0;
  } else if (rounded >= 9223372036854775807.0) {
    whole = std::numeric_limits<i64>::max();
  } else if (rounded <= -9223372036854775808.0) {
    whole = std::numeric_limits<i64>::min();
  } else {
    whole = static_cast<i64>(rounded);
  }
  return static_cast<u32>(static_cast<u64>(whole));
}

double ClocksToHertz(const FPAConstants& c, u32 clocks) {
  return static_cast<double>(c.clockFrequency) / static_cast<double>(clocks);
}

u32 HertzToClocks(const FPAConstants& c, double hertz) {
  return RoundToClocks(static_cast<double>(c.clockFrequency) / hertz);
}

double ClocksToMilliseconds(const FPAConstants& c, u32 clocks) {
  return static_cast<double>(clocks) / (static_cast<double>(c.clockFrequency) / 1000.0);
}

u32 MillisecondsToClocks(const FPAConstants& c, double milliseconds) {
  return RoundToClocks(static_cast<double>(c.clockFrequency) / 1000.0 * milliseconds);
}

namespace {
u32 ReadoutWidth(u8 readout, u16 width) { return readout == kReadout640Columns ? 640u : width; }
}  // namespace

u32 DataWidth(const FPAConstants& c, u8 readout, u16 width, u16 height) {
  // A camera that reports no readout channels is counted as one channel rather than dividing by
  // zero.
  u32 channels2 = (c.readoutChannels ? c.readoutChannels : 1u) * 2u;
  u32 columns = ReadoutWidth(readout, width) + c.lineDeadWidth * channels2;
  return ((c.deadRows + height) * columns) / channels2;
}

u32 MinFrameWidth(const FPAConstants& c, u8 readout, u16 width, u16 height) {
  return DataWidth(c, readout, width, height) + c.preIntegrationDeadWidth + c.frameDeadWidth +
         c.postIntegrationDeadWidth + c.pipelineDelay;
}

u32 MinFrameWidthEx(const FPAConstants& c, u8 readout, u16 width, u16 height, u32 integration,
                    bool itr) {
  u32 data = DataWidth(c, readout, width, height);
  if (itr) {
    return data + c.preIntegrationDeadWidth + c.frameDeadWidth + integration +
           c.postIntegrationDeadWidth + c.intDeadWidth + c.pipelineDelay;
  }
  u32 base = c.preIntegrationDeadWidth + c.frameDeadWidth + c.postIntegrationDeadWidth +
             c.pipelineDelay + data;
  u32 integrating = integration + c.pipelineDelay + c.postIntegrationDeadWidth + c.intDeadWidth;
  return integrating > base ? integrating : base;
}

u32 MaxIntWidth(const FPAConstants& c, u32 frameWidth) {
  return frameWidth - c.postIntegrationDeadWidth - c.preIntegrationDeadWidth - c.pipelineDelay -
         c.intDeadWidth;
}

bool IsITR(const FPAConstants& c, u8 readout, u16 width, u16 height, u32 integration,
           u32 frameWidth) {
  return DataWidth(c, readout, width, height) + integration + c.preIntegrationDeadWidth +
             c.frameDeadWidth + c.postIntegrationDeadWidth + c.intDeadWidth <
         frameWidth;
}

double LowCostRateCap(u32 readoutWidth) {
  if (readoutWidth <= 160) return 480.0;
  if (readoutWidth <= 320) return 240.0;
  return 60.0;
}

u32 CalcDataWidth(ITQVSDK& sdk, const FPAConstants& c, u32* out, u16 width, u16 height) {
  u8 readout = 0;
  u32 result = sdk.GetReadout(&readout);
  if (result != rc::kOk) return result;
  *out = DataWidth(c, readout, width, height);
  return rc::kOk;
}

u32 CalcMinFrameWidth(ITQVSDK& sdk, const FPAConstants& c, u32* out, u16 width, u16 height) {
  u8 readout = 0;
  u32 result = sdk.GetReadout(&readout);
  if (result != rc::kOk) return result;
  *out = MinFrameWidth(c, readout, width, height);
  return rc::kOk;
}

u32 CalcMinFrameWidthEx(ITQVSDK& sdk, const FPAConstants& c, u32* out, u16 width, u16 height,
                        u32 integration, bool itr) {
  u8 readout = 0;
  u32 result = sdk.GetReadout(&readout);
  if (result != rc::kOk) return result;
  u32 minimum = MinFrameWidthEx(c, readout, width, height, integration, itr);

  // Low-cost models are limited in frame rate by their read-out width.
  u8 type = 0;
  if ((result = sdk.GetCameraType(&type))) return result;
  if (type == 11 || type == 16) {
    u8 subtype = 0;
    if ((result = sdk.GetCameraSubtype(&subtype))) return result;
    bool lowCost = false;
    if (tqvGetIsLowCostEx(type, subtype, &lowCost) == rc::kOk && lowCost) {
      u32 capped = HertzToClocks(c, LowCostRateCap(ReadoutWidth(readout, width)));
      if (minimum < capped) minimum = capped;
    }
  }
  *out = minimum;
  return rc::kOk;
}

u32 CalcMinSuperframeWidth(ITQVSDK& sdk, const FPAConstants& c, u32* out, u16 width, u16 height,
                           const u32* integrations, const bool* enabled, bool itr) {
  if (!integrations || !enabled) return rc::kInvalidArgument;
  if (!enabled[0] && !enabled[1] && !enabled[2] && !enabled[3]) {
    return CalcMinFrameWidthEx(sdk, c, out, width, height, integrations[0], itr);
  }
  u32 sum = 0;
  for (int p = 0; p < 4; ++p) {
    if (!enabled[p]) continue;
    u32 minimum = 0;
    u32 result = CalcMinFrameWidthEx(sdk, c, &minimum, width, height, integrations[p], itr);
    if (result != rc::kOk) return result;
    sum += minimum;
  }
  *out = sum;
  return rc::kOk;
}

u32 IsITR(ITQVSDK& sdk, const FPAConstants& c, u16 width, u16 height, u32 integration,
          u32 frameWidth, bool* itr) {
  u8 readout = 0;
  u32 result = sdk.GetReadout(&readout);
  if (result != rc::kOk) return result;
  *itr = IsITR(c, readout, width, height, integration, frameWidth);
  return rc::kOk;
}

u32 NeedITREx(ITQVSDK& sdk, bool* itr) {
  u8 mode = 0;
  u8 sync = 0;
  u32 result = sdk.GetPresetSequencingMode(&mode);
  if (result == rc::kOk) result = sdk.GetFrameSyncMode(&sync);
  if (result != rc::kOk) return result;
  *itr = NeedITR(mode, sync);
  return rc::kOk;
}

// Frame widths are raised to their minimum, never lowered.
u32 BoundFrameRate(ITQVSDK& sdk, u8 preset, bool itr) {
  u16 x = 0, y = 0, width = 0, height = 0;
  u32 integration = 0, frame = 0, minimum = 0;
  u32 result = sdk.GetWindow(preset, &x, &y, &width, &height);
  if (result == rc::kOk) result = sdk.GetIntegrationWidth(preset, &integration);
  if (result == rc::kOk) result = sdk.GetFrameWidth(preset, &frame);
  if (result == rc::kOk)
    result = sdk.CalcMinFrameWidthEx(&minimum, width, height, integration, itr);
  if (result != rc::kOk) return result;
  return frame < minimum ? sdk.SetFrameWidth(preset, minimum) : rc::kOk;
}

u32 BoundSuperframeRate(ITQVSDK& sdk, bool itr) {
  bool enabled[4] = {};
  u32 result = sdk.GetSubframesEnabled(&enabled[0], &enabled[1], &enabled[2], &enabled[3]);
  if (result != rc::kOk) return result;
  u8 windowPreset = 0;
  while (windowPreset < 4 && !enabled[windowPreset])
    ++windowPreset;
  if (windowPreset == 4) windowPreset = 0;
  u16 x = 0, y = 0, width = 0, height = 0;
  if ((result = sdk.GetWindow(windowPreset, &x, &y, &width, &height))) return result;
  u32 integrations[4] = {};
  for (u8 p = 0; p < 4; ++p) {
    if ((result = sdk.GetIntegrationWidth(p, &integrations[p]))) return result;
  }
  u32 superframe = 0, minimum = 0;
  if ((result = sdk.GetSuperframeWidth(&superframe))) return result;
  result = sdk.CalcMinSuperframeWidth(&minimum, width, height, integrations, enabled, itr);
  if (result != rc::kOk) return result;
  return superframe < minimum ? sdk.SetSuperframeWidth(minimum) : rc::kOk;
}

u32 BoundFrameRates(ITQVSDK& sdk) {
  u8 mode = 0, sync = 0;
  u32 result = sdk.GetPresetSequencingMode(&mode);
  if (result == rc::kOk) result = sdk.GetFrameSyncMode(&sync);
  if (result != rc::kOk) return result;
  bool itr = NeedITR(mode, sync);
  if (mode == 2) return sdk.BoundSuperframeRate(itr);  // superframing
  // All four presets are bounded, also in single-preset mode.
  for (u8 p = 0; p < 4; ++p) {
    if ((result = sdk.BoundFrameRate(p, itr))) return result;
  }
  return rc::kOk;
}

}  // namespace timing
