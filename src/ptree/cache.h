// The property-tree backend's value cache: one plain record that value-initialisation empties.
// Every cached setting has its own valid flag; texts live in fixed arrays.
#pragma once

#include <array>

#include "interface/types.h"

template <typename T>
struct TCached {
  T value;
  bool valid;
};

// A cached text of N bytes including the terminator. A longer text read from the camera is still
// returned to the caller but is not kept.
template <u32 N>
struct TCachedText {
  char value[N];
  bool valid;
};

struct PresetCache {
  TCached<std::array<u16, 4>> window;  // x offset, y offset, width, height
  TCached<u32> integrationWidth;
  TCached<u32> frameWidth;
  TCached<u32> dwellCount;
  TCached<bool> subframeEnabled;
  TCached<u16> saturationCountThreshold;
  TCached<u32> saturationPixelThreshold;
  TCachedText<256> nucName;
  TCachedText<256> calTag;
  TCached<float> digitalGain;
  TCached<float> digitalOffset;
  TCached<float> syncOutDelay;
  TCached<u8> color;
};

struct PTreeCache {
  PresetCache preset[4];

  // Identity.
  TCachedText<256> cameraModel;
  TCachedText<17> cameraSerial;
  TCached<u8> cameraType;
  TCached<u8> cameraSubtype;
  TCached<u8> detectorType;
  TCached<u8> readout;
  TCached<u8> variant;
  TCached<u8> boardType;
  TCached<u8> pleoraBoardType;
  TCached<bool> legacyVFPGA;

  // Timing, presets, gain, bias and voltages.
  TCached<u8> presetSequencingMode;
  TCached<u32> superframeWidth;
  TCached<u8> activePreset;
  TCached<bool> invertEnabled;
  TCached<bool> revertEnabled;
  TCached<u8> gainLevel;
  TCached<u8> fpaBiasCount;
  TCached<float> fpaBias[2];
  TCached<std::array<float, 2>> fpaBiasLimits[2];
  TCached<std::array<u16, 6>> windowLimits;
  TCached<float> globalOffsetVoltage;
  TCached<std::array<float, 2>> globalOffsetVoltageLimits;
  TCached<bool> skimmingEnabled;
  TCached<float> skimmingVoltage;
  TCached<std::array<float, 2>> skimmingVoltageLimits;
  TCached<u8> frameSyncMode;

  // Filter wheel.
  TCached<bool> filterInfoAvailable;
  TCachedText<257> filterInfoName[64];
};
