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

// One entry for each plain row of the family tables (families/all.def), named after the row's
// getter; only rows marked CACHED use theirs.
struct RowCache {
#define TQV_VALUE(get, set, type, tree, gic) TCached<type> get;
#define TQV_GETTER(get, type, tree, gic) TCached<type> get;
#define TQV_TEXT(get, set, size, tree, gic) TCachedText<size> get;
#include "families/all.def"
};

struct PresetRowCache {
#define TQV_PRESET(get, set, type, tree, gic) TCached<type> get;
#define TQV_PRESET_GETTER(get, type, tree, gic) TCached<type> get;
#include "families/all.def"
};

// Entries of the hand-written operations of non-uniformity correction and bad pixels.
struct AutoNUCSetup {
  bool enabled;
  bool useDeltaTemp;
  float deltaTemp;
  bool useDeltaTime;
  u32 deltaTime;
};
struct NucCache {
  TCached<bool> digitalOutputNUCEnabled;
  TCached<AutoNUCSetup> autoNUCSetup;  // the five values are read and written together
};
struct NucPresetCache {};

// Entries of the hand-written operations of stored configurations. Names are file names (at most
// 255 characters).
struct StorageCache {
  TCachedText<256> stateName;
  TCachedText<256> lensStateName;
  TCachedText<256> palette;
};
struct StoragePresetCache {
  TCachedText<256> nucName;
  TCachedText<256> calTag;
};

// Entries of the hand-written operations of lens, focus, field of view, filter wheel and flag.
struct LensCache {
  TCached<u8> filterIDs[4];  // the filter found at each wheel position
  TCached<u8> filterIDInSlot[4];
  TCached<bool> filterReplaceable;
  TCached<bool> filterInfoAvailable;
  TCachedText<257> filterInfoName[64];
  TCached<bool> flagCoolerEnabled;
  TCached<bool> focusPresent;
  TCached<std::array<u32, 2>> focusRange;  // minimum, maximum
  TCached<bool> focusToDistanceAvailable;
  TCached<bool> fovPresent;
  TCached<u8> fov;
  TCached<u8> lensCoverState;
};
struct LensPresetCache {};

// Entries of the hand-written operations of video output, AGC and overlay.
struct VideoCache {
  TCached<std::array<i16, 2>> offset;  // x, y
  TCached<std::array<u16, 4>> agcROI;  // x offset, y offset, width, height
};
struct VideoPresetCache {};

// Entries of the hand-written operations of the recorder.
// Entries of the hand-written operations of synchronisation, time, temperatures, identity and data
// links.
struct SyncCache {
  TCachedText<17> cameraSerial;
  TCached<u8> variant;
  TCached<u8> pleoraBoardType;
  TCached<bool> legacyVFPGA;
  TCached<bool> gigEPresetSupported;
  TCached<bool> cameraLinkTypeAvailable;
  TCached<u8> cameraLinkType;
  TCached<u8> coaXPressLinkCount;
  TCached<u8> lockinCoupling;
  TCached<u8> numColors;
};
struct SyncPresetCache {
  TCached<u8> color;
};

struct PresetCache {
  PresetRowCache rows;
  NucPresetCache nuc;
  StoragePresetCache storage;
  LensPresetCache lens;
  VideoPresetCache video;
  SyncPresetCache sync;

  TCached<std::array<u16, 4>> window;  // x offset, y offset, width, height
  TCached<u32> integrationWidth;
  TCached<u32> frameWidth;
  TCached<u32> dwellCount;
  TCached<bool> subframeEnabled;
  TCached<float> digitalGain;
  TCached<float> digitalOffset;
};

struct PTreeCache {
  PresetCache preset[4];
  RowCache rows;
  NucCache nuc;
  StorageCache storage;
  LensCache lens;
  VideoCache video;
  SyncCache sync;

  // Board detection.
  TCached<u8> boardType;

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
};
