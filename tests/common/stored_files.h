// Helpers of the stored-configuration tests: correction files made on the host with the library's
// format functions, the names a listing gives, and operations the fault sweeps run. Header-only:
// the programs that include it link the library.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/sim_fixtures.h"
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

// clang-format off
#define TQV_NUC_NUMBERS(X)                                                                         \
  X(fpgaFirmwareNumber) X(fpgaVersion) X(fpgaMajor) X(fpgaMinor) X(windowOffsetX) X(windowOffsetY) \
  X(windowWidth) X(windowHeight) X(maxWidth) X(maxHeight) X(compressed) X(invert) X(revert)        \
  X(readoutMode) X(integrationWidth) X(frameWidth) X(filterID) X(fpaBiasCount) X(fpaBias)          \
  X(fpaBias1) X(fpaGainLevel) X(digitalOffset) X(digitalGain) X(globalOffsetVoltage)               \
  X(skimmingEnabled) X(skimmingVoltage) X(color) X(nucType) X(nucSource) X(nucNumFrames)           \
  X(nucDetectBadPixels) X(nucDetectTwinklers) X(nucTwinklerNumFrames) X(nucTwinklerDelta)          \
  X(nucADMin) X(nucADMax) X(nucGainMin) X(nucGainMax) X(bpTotal) X(bpTwinkling) X(bpUser)          \
  X(bpAboveGainMax) X(bpBelowGainMin) X(bpAboveADMaxSrc1) X(bpBelowADMinSrc1) X(bpAboveADMaxSrc2)  \
  X(bpBelowADMinSrc2) X(bpNew)
// clang-format on

// Every field of two correction records.
inline void ExpectSameInfo(const tqvSNUCInfo& read, const tqvSNUCInfo& expected) {
#define TQV_SAME(field) EXPECT_EQ(read.field, expected.field) << #field;
  TQV_NUC_NUMBERS(TQV_SAME)
#undef TQV_SAME
  EXPECT_STREQ(read.cameraType, expected.cameraType);
  EXPECT_STREQ(read.cameraSerial, expected.cameraSerial);
  EXPECT_STREQ(read.lens, expected.lens);
  EXPECT_STREQ(read.lensFilter, expected.lensFilter);
}

// What the full query reports of a file: its header, except the firmware, sensor size,
// compression and lens keys, which keep their defaults.
inline tqvSNUCInfo Queried(const tqvSNUCInfo& file) {
  tqvSNUCInfo expected = file, defaults{};
  tqvDefaultNUCInfo(&defaults);
#define TQV_DEFAULT(f) std::memcpy(&expected.f, &defaults.f, sizeof expected.f)
  // clang-format off
  TQV_DEFAULT(fpgaFirmwareNumber); TQV_DEFAULT(fpgaVersion); TQV_DEFAULT(fpgaMajor);
  TQV_DEFAULT(fpgaMinor); TQV_DEFAULT(maxWidth); TQV_DEFAULT(maxHeight); TQV_DEFAULT(compressed);
  TQV_DEFAULT(lens); TQV_DEFAULT(lensFilter);
  // clang-format on
#undef TQV_DEFAULT
  return expected;
}

// The names a listing entry point gives, in its order.
inline std::vector<std::string> Listed(uint32_t (*list)(void*, tqvDirEntryArray*), void* handle) {
  tqvDirEntryArray* array = tqvDirEntryArray_Alloc();
  EXPECT_EQ(list(handle, array), TQV_OK);
  std::vector<std::string> names;
  for (uint32_t i = 0; i < tqvDirEntryArray_size(array); ++i) {
    char* name = tqvDirEntryArray_fnameAt(array, i);
    names.emplace_back(name);
    tqvFree(name);
  }
  tqvDirEntryArray_Free(array);
  return names;
}

// A correction file made by DistinctNUCInfo, put on a simulated camera as /FlashFS/nuc/<name>.nuc.
inline void PutCorrection(sim::ptree::Camera& camera, const std::string& name) {
  ASSERT_EQ(camera.Files().Put("/FlashFS/nuc/" + name + ".nuc", CorrectionFile(DistinctNUCInfo())),
            TQV_OK);
}
inline void PutCorrection(sim::genicam::Device& device, const std::string& name) {
  ASSERT_EQ(
      device.Files().Write("/FlashFS/nuc/" + name + ".nuc", CorrectionFile(DistinctNUCInfo())), 0);
}

// Operations whose outputs the fault sweeps and thread tests do not look at.
inline uint32_t QueryNUC(void* h, const char* name, bool full = true) {
  tqvSNUCInfo info;
  return full ? tqvQueryNUCInfo(h, name, &info) : tqvQueryNUCBasicInfo(h, name, &info);
}
inline uint32_t CalInfoWithTables(void* h, const char* tag) {
  tqvSCalInfo info{};
  const uint32_t result = tqvGetCalInfo(h, tag, &info, true);
  tqvFree(info.lutX);
  tqvFree(info.lutY);
  return result;
}
inline uint32_t NUCFreeSpace(void* h) {
  uint64_t bytes;
  return tqvGetNUCFreeSpace(h, &bytes);
}

}  // namespace testutil
