// The timing operations whose work is the same on both backends: constants, conversions, minimum
// widths, bounds and the four-preset loops. A backend supplies
//   template <typename Use> u32 WithConstants(Use use)  // runs use(constants) on its loaded
//                                                       // constants, or returns their failure
//   template <typename Use> u32 Serialised(Use use)     // runs use() under the backend's rules
// and defines the operations with TQV_TIMING_OPERATIONS(<class>). Every clock, ITR and bound
// operation runs through WithConstants, so a backend that loads its constants lazily answers with
// their failure before it reads or writes anything.
#pragma once

#include "common/presets.h"
#include "common/timing.h"

#define TQV_TIMING_CONSTANT(Backend, Name, Field)                                           \
  u32 Backend::Name(u32* value) {                                                           \
    return WithConstants([&](const FPAConstants& c) { return *value = c.Field, rc::kOk; }); \
  }

#define TQV_TIMING_OPERATIONS(Backend)                                                             \
  TQV_TIMING_CONSTANT(Backend, GetClockFrequency, clockFrequency)                                  \
  TQV_TIMING_CONSTANT(Backend, GetMinFrameWidth, minimumFrameWidth)                                \
  TQV_TIMING_CONSTANT(Backend, GetMaxFrameWidth, maximumFrameWidth)                                \
  TQV_TIMING_CONSTANT(Backend, GetMinIntWidth, minimumIntegrationWidth)                            \
  TQV_TIMING_CONSTANT(Backend, GetMaxIntWidth, maximumIntegrationWidth)                            \
  u32 Backend::GetSupportedGainLevels(u8* value) {                                                 \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return *value = static_cast<u8>(c.maximumGainLevel + 1), rc::kOk;                            \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::ClocksToHertz(u32 clocks, double* hertz) {                                          \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return *hertz = timing::ClocksToHertz(c, clocks), rc::kOk;                                   \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::HertzToClocks(double hertz, u32* clocks) {                                          \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return *clocks = timing::HertzToClocks(c, hertz), rc::kOk;                                   \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::SnapHertz(double hertz, double* snapped) {                                          \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return *snapped = timing::ClocksToHertz(c, timing::HertzToClocks(c, hertz)), rc::kOk;        \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::ClocksToMilliseconds(u32 clocks, double* milliseconds) {                            \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return *milliseconds = timing::ClocksToMilliseconds(c, clocks), rc::kOk;                     \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::MillisecondsToClocks(double milliseconds, u32* clocks) {                            \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return *clocks = timing::MillisecondsToClocks(c, milliseconds), rc::kOk;                     \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::SnapMilliseconds(double milliseconds, double* snapped) {                            \
    return WithConstants([&](const FPAConstants& c) {                                              \
      *snapped = timing::ClocksToMilliseconds(c, timing::MillisecondsToClocks(c, milliseconds));   \
      return rc::kOk;                                                                              \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::CalcDataWidth(u32* dataWidth, u16 width, u16 height) {                              \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return timing::CalcDataWidth(*this, c, dataWidth, width, height);                            \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::CalcMinFrameWidth(u32* minFrameWidth, u16 width, u16 height) {                      \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return timing::CalcMinFrameWidth(*this, c, minFrameWidth, width, height);                    \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::CalcMinFrameWidthEx(u32* minFrameWidth, u16 width, u16 height,                      \
                                   u32 integrationWidth, bool itr) {                               \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return timing::CalcMinFrameWidthEx(*this, c, minFrameWidth, width, height, integrationWidth, \
                                         itr);                                                     \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::CalcMinSuperframeWidth(u32* minSuperframeWidth, u16 width, u16 height,              \
                                      u32* integrationWidths, bool* enabled, bool itr) {           \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return timing::CalcMinSuperframeWidth(*this, c, minSuperframeWidth, width, height,           \
                                            integrationWidths, enabled, itr);                      \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::CalcMaxIntWidth(u32* maxIntWidth, u32 frameWidth) {                                 \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return *maxIntWidth = timing::MaxIntWidth(c, frameWidth), rc::kOk;                           \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::IsITR(u16 width, u16 height, u32 integrationWidth, u32 frameWidth, bool* itr) {     \
    return WithConstants([&](const FPAConstants& c) {                                              \
      return timing::IsITR(*this, c, width, height, integrationWidth, frameWidth, itr);            \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::NeedITR(u8 presetSequencingMode, u8 frameSyncMode, bool* itr) {                     \
    return WithConstants([&](const FPAConstants&) {                                                \
      return *itr = timing::NeedITR(presetSequencingMode, frameSyncMode), rc::kOk;                 \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::NeedITREx(bool* itr) {                                                              \
    return WithConstants([&](const FPAConstants&) { return timing::NeedITREx(*this, itr); });      \
  }                                                                                                \
  u32 Backend::BoundFrameRate(u8 preset, bool itr) {                                               \
    return WithConstants(                                                                          \
        [&](const FPAConstants&) { return timing::BoundFrameRate(*this, preset, itr); });          \
  }                                                                                                \
  u32 Backend::BoundSuperframeRate(bool itr) {                                                     \
    return WithConstants(                                                                          \
        [&](const FPAConstants&) { return timing::BoundSuperframeRate(*this, itr); });             \
  }                                                                                                \
  u32 Backend::BoundFrameRates() {                                                                 \
    return WithConstants([&](const FPAConstants&) { return timing::BoundFrameRates(*this); });     \
  }                                                                                                \
  u32 Backend::GetDwellCounts(u32* count0, u32* count1, u32* count2, u32* count3) {                \
    return Serialised([&] {                                                                        \
      return presets::GetEach(*this, &ITQVSDK::GetDwellCount, count0, count1, count2, count3);     \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::SetDwellCounts(u32 count0, u32 count1, u32 count2, u32 count3) {                    \
    return Serialised([&] {                                                                        \
      return presets::SetEach(*this, &ITQVSDK::SetDwellCount, count0, count1, count2, count3);     \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::GetSubframesEnabled(bool* enabled0, bool* enabled1, bool* enabled2,                 \
                                   bool* enabled3) {                                               \
    return Serialised([&] {                                                                        \
      return presets::GetEach(*this, &ITQVSDK::GetSubframeEnabled, enabled0, enabled1, enabled2,   \
                              enabled3);                                                           \
    });                                                                                            \
  }                                                                                                \
  u32 Backend::SetSubframesEnabled(bool enabled0, bool enabled1, bool enabled2, bool enabled3) {   \
    return Serialised([&] {                                                                        \
      return presets::SetEach(*this, &ITQVSDK::SetSubframeEnabled, enabled0, enabled1, enabled2,   \
                              enabled3);                                                           \
    });                                                                                            \
  }
