// Helpers of the stored-configuration tests: correction files made on the host with the library's
// format functions, and the names a listing gives. Header-only: the programs that include it link
// the library.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/testutil.h"
#include "tqvSDK.h"

namespace testutil {

// A correction record with a small window whose fields differ from their defaults, and fields a
// reader could mix up (the two flips, the two detections, type and source) differ from each other.
inline tqvSNUCInfo DistinctNUCInfo() {
  tqvSNUCInfo info{};
  tqvDefaultNUCInfo(&info);
  std::strcpy(info.cameraType, "TQV640 MWIR bench");
  std::strcpy(info.cameraSerial, "WZ640-00999");
  info.windowOffsetX = 96;
  info.windowOffsetY = 40;
  info.windowWidth = 16;
  info.windowHeight = 8;
  info.invert = true;
  info.revert = false;
  info.readoutMode = 1;
  info.integrationWidth = 31250;
  info.frameWidth = 416667;
  info.filterID = 5;
  info.fpaBiasCount = 2;
  info.fpaBias = 1.25f;
  info.fpaBias1 = 0.75f;
  info.fpaGainLevel = 2;
  info.digitalOffset = -32.5f;
  info.digitalGain = 1.5f;
  info.globalOffsetVoltage = 0.25f;
  info.skimmingEnabled = true;
  info.skimmingVoltage = 2.5f;
  info.color = 1;
  info.nucType = 2;
  info.nucSource = 0;
  info.nucNumFrames = 32;
  info.nucDetectBadPixels = false;
  info.nucDetectTwinklers = true;
  info.nucTwinklerNumFrames = 128;
  info.nucTwinklerDelta = 150;
  info.nucADMin = 1500;
  info.nucADMax = 14000;
  info.nucGainMin = 0.75f;
  info.nucGainMax = 2.25f;
  info.bpTotal = 40;
  info.bpTwinkling = 5;
  info.bpUser = 12;
  info.bpNew = 30;  // a file may say what it likes; not total - user
  info.bpAboveGainMax = 3;
  info.bpBelowGainMin = 4;
  info.bpAboveADMaxSrc1 = 6;
  info.bpBelowADMinSrc1 = 7;
  info.bpAboveADMaxSrc2 = 8;
  info.bpBelowADMinSrc2 = 9;
  return info;
}

// The bytes of a correction file written by the library on the host.
inline std::vector<zel::u8> CorrectionFile(const tqvSNUCInfo& info) {
  TempDir dir;
  const std::string path = dir.File("made.nuc");
  std::vector<uint32_t> table(std::size_t{info.windowWidth} * info.windowHeight);
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = tqvEncodeNUC(static_cast<int16_t>(i), 0, 1.0f);
  EXPECT_EQ(tqvSaveNUCFile(path.c_str(), &info, table.data()), TQV_OK);
  return ReadFile(path);
}

// The names a listing entry point gives, in its order.
inline std::vector<std::string> Listed(uint32_t (*list)(void*, tqvDirEntryArray*), void* handle,
                                       uint32_t* result = nullptr) {
  tqvDirEntryArray* array = tqvDirEntryArray_Alloc();
  const uint32_t listed = list(handle, array);
  if (result) *result = listed;
  std::vector<std::string> names;
  for (uint32_t i = 0; i < tqvDirEntryArray_size(array); ++i) {
    char* name = tqvDirEntryArray_fnameAt(array, i);
    names.emplace_back(name);
    tqvFree(name);
  }
  tqvDirEntryArray_Free(array);
  return names;
}

inline bool Contains(const std::vector<std::string>& names, const std::string& name) {
  for (const std::string& listed : names) {
    if (listed == name) return true;
  }
  return false;
}

}  // namespace testutil
