// Detector timing arithmetic shared by both backends: conversions between clocks, hertz and
// milliseconds, data and frame widths, and the bounds that keep frame periods valid. Settings are
// read through the camera interface, so that each backend's cache and preset checks apply.
#pragma once

#include "interface/ITQVSDK.h"
#include "interface/constants.h"

namespace timing {

// Readout chip whose data is always read out as 640 columns.
constexpr u8 kReadout640Columns = 11;

// Rounds halves away from zero and keeps the low 32 bits of the signed 64-bit result; values
// outside that range (and not-a-number) saturate instead of faulting.
u32 RoundToClocks(double value);

double ClocksToHertz(const FPAConstants& c, u32 clocks);
u32 HertzToClocks(const FPAConstants& c, double hertz);
double ClocksToMilliseconds(const FPAConstants& c, u32 clocks);
u32 MillisecondsToClocks(const FPAConstants& c, double milliseconds);

// Clocks to read a window out (the width counted as 640 for readout code 11).
u32 DataWidth(const FPAConstants& c, u8 readout, u16 width, u16 height);
// Shortest frame for a window, ignoring integration.
u32 MinFrameWidth(const FPAConstants& c, u8 readout, u16 width, u16 height);
// Shortest frame for a window and an integration width, without the low-cost rate cap.
u32 MinFrameWidthEx(const FPAConstants& c, u8 readout, u16 width, u16 height, u32 integration,
                    bool itr);
// Longest integration that fits a frame (unsigned: a too-small frame wraps).
u32 MaxIntWidth(const FPAConstants& c, u32 frameWidth);
// Whether integrating first and reading afterwards fits the frame.
bool IsITR(const FPAConstants& c, u8 readout, u16 width, u16 height, u32 integration,
           u32 frameWidth);
// Highest frame rate of a low-cost model for a read-out width.
double LowCostRateCap(u32 readoutWidth);

// The operations built on the above, for either backend (constants already loaded).
u32 CalcDataWidth(ITQVSDK& sdk, const FPAConstants& c, u32* out, u16 width, u16 height);
u32 CalcMinFrameWidth(ITQVSDK& sdk, const FPAConstants& c, u32* out, u16 width, u16 height);
u32 CalcMinFrameWidthEx(ITQVSDK& sdk, const FPAConstants& c, u32* out, u16 width, u16 height,
                        u32 integration, bool itr);
u32 CalcMinSuperframeWidth(ITQVSDK& sdk, const FPAConstants& c, u32* out, u16 width, u16 height,
                           const u32* integrations, const bool* enabled, bool itr);
u32 IsITR(ITQVSDK& sdk, const FPAConstants& c, u16 width, u16 height, u32 integration,
          u32 frameWidth, bool* itr);
u32 NeedITREx(ITQVSDK& sdk, bool* itr);
u32 BoundFrameRate(ITQVSDK& sdk, u8 preset, bool itr);
u32 BoundSuperframeRate(ITQVSDK& sdk, bool itr);
u32 BoundFrameRates(ITQVSDK& sdk);

// Integrate-then-read is needed when presets are sequenced and the frame sync follows
// integration.
inline bool NeedITR(u8 presetSequencingMode, u8 frameSyncMode) {
  return presetSequencingMode != 0 && frameSyncMode == 0;
}

}  // namespace timing
