// Stored configurations and the camera's storage over GenICam: each operation is one file or
// directory protocol sequence (files.cpp) with the kind's file or directory selector.
#include <algorithm>
#include <type_traits>

#include "common/storage.h"
#include "common/transfer.h"
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"
#include "genicam/rows.h"
#include "tqvSDK.h"

namespace {

using FilePtr = zel::TSharedPtr<zel::IFile>;
using Progress = zel::delegate<int(u32, u32)>;
using DirEntries = zel::TArray<tqvSDirEntry>;

// File selector values, which are also the directory selectors of the kinds that have one.
enum : u8 {
  kAnyFile = 0,
  kState = 1,
  kNUC = 2,
  kLensState = 3,
  kPalette = 4,
  kFactoryDefaultState = 5,
  kCalibrationTable = 6,
};

}  // namespace

// --- Transfers -----------------------------------------------------------------------------------

u32 CTQVSDKGenICam::DownloadNUC(const char* name, FilePtr file, Progress progress) {
  return FileDownload(kNUC, name, file, progress);
}

u32 CTQVSDKGenICam::UploadNUC(const char* name, FilePtr file, Progress progress) {
  return FileUpload(kNUC, name, file, progress);
}

u32 CTQVSDKGenICam::DownloadState(const char* name, FilePtr file, Progress progress) {
  return FileDownload(kState, name, file, progress);
}

u32 CTQVSDKGenICam::UploadState(const char* name, FilePtr file, Progress progress) {
  return FileUpload(kState, name, file, progress);
}

u32 CTQVSDKGenICam::DownloadLensState(const char* name, FilePtr file, Progress progress) {
  return FileDownload(kLensState, name, file, progress);
}

u32 CTQVSDKGenICam::UploadLensState(const char* name, FilePtr file, Progress progress) {
  return FileUpload(kLensState, name, file, progress);
}

u32 CTQVSDKGenICam::DownloadPalette(const char* name, FilePtr file, Progress progress) {
  return FileDownload(kPalette, name, file, progress);
}

u32 CTQVSDKGenICam::UploadPalette(const char* name, FilePtr file, Progress progress) {
  return FileUpload(kPalette, name, file, progress);
}

u32 CTQVSDKGenICam::DownloadFactoryDefaultState(FilePtr file, Progress progress) {
  return FileDownload(kFactoryDefaultState, nullptr, file, progress);
}

u32 CTQVSDKGenICam::UploadFactoryDefaultState(FilePtr file, Progress progress) {
  return FileUpload(kFactoryDefaultState, nullptr, file, progress);
}

u32 CTQVSDKGenICam::DownloadFile(const char* cameraPath, FilePtr file, Progress progress) {
  return FileDownload(kAnyFile, cameraPath, file, progress);
}

u32 CTQVSDKGenICam::UploadFile(const char* cameraPath, FilePtr file, Progress progress) {
  return FileUpload(kAnyFile, cameraPath, file, progress);
}

TQV_STD_TRANSFERS(CTQVSDKGenICam)

// --- File information ----------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetNUCFileInfo(const char* name, u32* size, u64* timeLastModified) {
  return FileGetInfo(kNUC, name, size, timeLastModified);
}

u32 CTQVSDKGenICam::GetStateFileInfo(const char* name, u32* size, u64* timeLastModified) {
  return FileGetInfo(kState, name, size, timeLastModified);
}

u32 CTQVSDKGenICam::GetLensStateFileInfo(const char* name, u32* size, u64* timeLastModified) {
  return FileGetInfo(kLensState, name, size, timeLastModified);
}

u32 CTQVSDKGenICam::GetPaletteFileInfo(const char* name, u32* size, u64* timeLastModified) {
  return FileGetInfo(kPalette, name, size, timeLastModified);
}

u32 CTQVSDKGenICam::GetFactoryDefaultStateFileInfo(u32* size, u64* timeLastModified) {
  return FileGetInfo(kFactoryDefaultState, nullptr, size, timeLastModified);
}

// --- Listings ------------------------------------------------------------------------------------

u32 CTQVSDKGenICam::ListNUCs(DirEntries& list) { return DirectoryList(kNUC, nullptr, list); }

u32 CTQVSDKGenICam::ListStates(DirEntries& list) { return DirectoryList(kState, nullptr, list); }

u32 CTQVSDKGenICam::ListLensStates(DirEntries& list) {
  return DirectoryList(kLensState, nullptr, list);
}

u32 CTQVSDKGenICam::ListPalettes(DirEntries& list) {
  return DirectoryList(kPalette, nullptr, list);
}

u32 CTQVSDKGenICam::ListDir(const char* path, DirEntries& list) {
  return DirectoryList(kAnyFile, path, list);
}

// --- Files by path -------------------------------------------------------------------------------

u32 CTQVSDKGenICam::RemoveFile(const char* path) { return FileDelete(kAnyFile, path); }

u32 CTQVSDKGenICam::RenameFile(const char* oldPath, const char* newPath) {
  return FileRename(kAnyFile, oldPath, newPath);
}

u32 CTQVSDKGenICam::FileExists(const char* path) { return FileExists(kAnyFile, path); }

u32 CTQVSDKGenICam::GetFileInfo(const char* path, u32* size, u64* timeLastModified) {
  return FileGetInfo(kAnyFile, path, size, timeLastModified);
}

// --- Named files of each kind ------------------------------------------------------------------

u32 CTQVSDKGenICam::NameAndExecute(const char* nameFeature, const char* name, const char* command) {
  TQV_GIC_OPERATION();
  if (!name) return rc::kInvalidArgument;
  const u32 result = gicSetString(m_device, nameFeature, name, kGicAttempts);
  return result ? result : gicExecute(m_device, command, true);
}

// --- Correction files ----------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetNUCName(u8 preset, char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  return gicGetString(m_device, PresetFeature(preset, "CorrectionName").c_str(), buffer, size,
                      kGicAttempts);
}

u32 CTQVSDKGenICam::LoadNUC(u8 preset, const char* name) {
  return NameAndExecute(PresetFeature(preset, "CorrectionLoadName").c_str(), name,
                        PresetFeature(preset, "CorrectionLoad").c_str());
}

u32 CTQVSDKGenICam::UnloadNUC(u8 preset) {
  TQV_GIC_OPERATION();
  return gicExecute(m_device, PresetFeature(preset, "CorrectionUnload").c_str(), true);
}

u32 CTQVSDKGenICam::SaveNUCAs(u8 preset, const char* name) {
  return NameAndExecute(PresetFeature(preset, "CorrectionSaveName").c_str(), name,
                        PresetFeature(preset, "CorrectionSave").c_str());
}

u32 CTQVSDKGenICam::SaveNUC(u8 preset) {
  TQV_GIC_OPERATION();
  char name[storage::kNameSize];
  if (u32 result = GetNUCName(preset, name, sizeof name)) return result;
  return SaveNUCAs(preset, name);
}

u32 CTQVSDKGenICam::DeleteNUC(const char* name) { return FileDelete(kNUC, name); }

u32 CTQVSDKGenICam::RenameNUC(const char* oldName, const char* newName) {
  return FileRename(kNUC, oldName, newName);
}

u32 CTQVSDKGenICam::NUCExists(const char* name) { return FileExists(kNUC, name); }

u32 CTQVSDKGenICam::GetNUCFreeSpace(u64* bytes) { return DirectoryFreeSpace(kNUC, nullptr, bytes); }

u32 CTQVSDKGenICam::GetDriveFreeSpace(u64* bytes) {
  return DirectoryFreeSpace(kState, nullptr, bytes);
}

// --- Correction file query -----------------------------------------------------------------------

namespace {

// What an older camera may lack without failing the query, by the fields that go together.
enum class Group : u8 { kRequired, kSkimming, kSplitCounts, kColour };

struct QueryField {
  const char* feature;
  storage::NUCMember member;
  Group group = Group::kRequired;
};

const QueryField kBasicQuery[] = {
    {"CorrectionQueryWidth", &tqvSNUCInfo::windowWidth},
    {"CorrectionQueryHeight", &tqvSNUCInfo::windowHeight},
    {"CorrectionQueryIntegrationWidth", &tqvSNUCInfo::integrationWidth},
};

const QueryField kFullQuery[] = {
    {"CorrectionQueryDeviceModel", &tqvSNUCInfo::cameraType},
    {"CorrectionQueryDeviceID", &tqvSNUCInfo::cameraSerial},
    {"CorrectionQueryOffsetX", &tqvSNUCInfo::windowOffsetX},
    {"CorrectionQueryOffsetY", &tqvSNUCInfo::windowOffsetY},
    {"CorrectionQueryWidth", &tqvSNUCInfo::windowWidth},
    {"CorrectionQueryHeight", &tqvSNUCInfo::windowHeight},
    {"CorrectionQueryReverseY", &tqvSNUCInfo::invert},
    {"CorrectionQueryReverseX", &tqvSNUCInfo::revert},
    {"CorrectionQueryFrameSyncMode", &tqvSNUCInfo::readoutMode},
    {"CorrectionQueryIntegrationWidth", &tqvSNUCInfo::integrationWidth},
    {"CorrectionQueryFrameWidth", &tqvSNUCInfo::frameWidth},
    {"CorrectionQueryFilterID", &tqvSNUCInfo::filterID},
    {"CorrectionQueryGainLevel", &tqvSNUCInfo::fpaGainLevel},
    {"CorrectionQueryDigitalOffset", &tqvSNUCInfo::digitalOffset},
    {"CorrectionQueryDigitalGain", &tqvSNUCInfo::digitalGain},
    {"CorrectionQueryAnalogOffset", &tqvSNUCInfo::globalOffsetVoltage},
    {"CorrectionQuerySkimmingEnabled", &tqvSNUCInfo::skimmingEnabled, Group::kSkimming},
    {"CorrectionQuerySkimmingVoltage", &tqvSNUCInfo::skimmingVoltage, Group::kSkimming},
    {"CorrectionQueryType", &tqvSNUCInfo::nucType},
    {"CorrectionQuerySource", &tqvSNUCInfo::nucSource},
    {"CorrectionQueryNumFrames", &tqvSNUCInfo::nucNumFrames},
    {"CorrectionQueryDetectBadPixels", &tqvSNUCInfo::nucDetectBadPixels},
    {"CorrectionQueryDetectTwinklingPixels", &tqvSNUCInfo::nucDetectTwinklers},
    {"CorrectionQueryTwinklerNumFrames", &tqvSNUCInfo::nucTwinklerNumFrames},
    {"CorrectionQueryTwinklerDelta", &tqvSNUCInfo::nucTwinklerDelta},
    {"CorrectionQueryADMin", &tqvSNUCInfo::nucADMin},
    {"CorrectionQueryADMax", &tqvSNUCInfo::nucADMax},
    {"CorrectionQueryGainMin", &tqvSNUCInfo::nucGainMin},
    {"CorrectionQueryGainMax", &tqvSNUCInfo::nucGainMax},
    {"CorrectionQueryBadPixelTotal", &tqvSNUCInfo::bpTotal},
    {"CorrectionQueryBadPixelTwinklers", &tqvSNUCInfo::bpTwinkling},
    {"CorrectionQueryBadPixelFactory", &tqvSNUCInfo::bpUser, Group::kSplitCounts},
    {"CorrectionQueryBadPixelNew", &tqvSNUCInfo::bpNew, Group::kSplitCounts},
    {"CorrectionQueryBadPixelAboveGainMax", &tqvSNUCInfo::bpAboveGainMax},
    {"CorrectionQueryBadPixelBelowGainMin", &tqvSNUCInfo::bpBelowGainMin},
    {"CorrectionQueryBadPixelAboveADMaxSource1", &tqvSNUCInfo::bpAboveADMaxSrc1},
    {"CorrectionQueryBadPixelBelowADMinSource1", &tqvSNUCInfo::bpBelowADMinSrc1},
    {"CorrectionQueryBadPixelAboveADMaxSource2", &tqvSNUCInfo::bpAboveADMaxSrc2},
    {"CorrectionQueryBadPixelBelowADMinSource2", &tqvSNUCInfo::bpBelowADMinSrc2},
    {"CorrectionQueryColor", &tqvSNUCInfo::color, Group::kColour},
};

u32 ReadQueryField(const GicDevice& device, const QueryField& field, tqvSNUCInfo* info) {
  return std::visit(
      [&](auto member) -> u32 {
        using Field = std::remove_reference_t<decltype(info->*member)>;
        if constexpr (std::is_array_v<Field>) {
          zel::CString text;
          const u32 result = gicGetString(device, field.feature, text, kGicAttempts);
          if (result == rc::kOk) storage::CopyCut(info->*member, text.c_str());
          return result;
        } else {
          Field value{};
          const u32 result = gicGetValue(device, field.feature, &value);
          if (result == rc::kOk) info->*member = value;
          return result;
        }
      },
      field.member);
}

// The detector biases of the file: their number, then each by its index (at most two).
u32 ReadQueryBiases(const GicDevice& device, tqvSNUCInfo* info) {
  i64 last = 0;
  u32 result = gicGetInt64(device, "CorrectionQueryDetectorBiasIndexMax", &last, kGicAttempts);
  if (result != rc::kOk) return result;
  info->fpaBiasCount = static_cast<u8>(std::clamp<i64>(last + 1, 1, 255));
  float* const biases[] = {&info->fpaBias, &info->fpaBias1};
  for (i64 index = 0; index <= std::min<i64>(last, 1); ++index) {
    result = gicSetInt64(device, "CorrectionQueryDetectorBiasIndex", index, kGicAttempts);
    if (!result)
      result = gicGetFlt32(device, "CorrectionQueryDetectorBias", biases[index], kGicAttempts);
    if (result != rc::kOk) return result;
  }
  return rc::kOk;
}

// The optional fields of the full query: a group that failed falls back as a whole.
u32 ReadFullQuery(const GicDevice& device, tqvSNUCInfo* info) {
  bool failed[4] = {};
  for (const QueryField& field : kFullQuery) {
    const u32 result = ReadQueryField(device, field, info);
    if (result == rc::kOk) continue;
    if (field.group == Group::kRequired) return result;
    failed[static_cast<int>(field.group)] = true;
  }
  if (failed[static_cast<int>(Group::kSkimming)]) {
    info->skimmingEnabled = false;
    info->skimmingVoltage = 0.0f;
  }
  if (failed[static_cast<int>(Group::kSplitCounts)]) info->bpNew = info->bpTotal - info->bpUser;
  if (failed[static_cast<int>(Group::kColour)]) info->color = 0;
  if (ReadQueryBiases(device, info) != rc::kOk) {
    info->fpaBiasCount = 1;
    info->fpaBias = 0.0f;
    info->fpaBias1 = 0.0f;
  }
  return rc::kOk;
}

}  // namespace

u32 CTQVSDKGenICam::QueryNUCBasicInfo(const char* name, tqvSNUCInfo* info) {
  return QueryNUCInfoAs(name, info, false);
}

u32 CTQVSDKGenICam::QueryNUCInfo(const char* name, tqvSNUCInfo* info) {
  return QueryNUCInfoAs(name, info, true);
}

// The camera reads the named correction file's header and reports its fields one by one.
u32 CTQVSDKGenICam::QueryNUCInfoAs(const char* name, tqvSNUCInfo* info, bool full) {
  TQV_GIC_OPERATION();
  if (!info || !name) return rc::kError;
  u32 result = gicSetString(m_device, "CorrectionQueryName", name, kGicAttempts);
  if (result == rc::kOk) result = gicExecute(m_device, "CorrectionQueryExecute", true);
  i64 status = 0;
  if (result == rc::kOk) {
    result = gicGetEnumValue(m_device, "CorrectionQueryStatus", &status, kGicAttempts);
  }
  if (result != rc::kOk) return result;
  if (status != 0) return rc::kError;
  tqvDefaultNUCInfo(info);
  if (full) return ReadFullQuery(m_device, info);
  for (const QueryField& field : kBasicQuery) {
    if (u32 failed = ReadQueryField(m_device, field, info)) return failed;
  }
  return rc::kOk;
}

// --- States --------------------------------------------------------------------------------------

u32 CTQVSDKGenICam::LoadState(const char* name) {
  return NameAndExecute("StateLoadName", name, "StateLoad");
}

u32 CTQVSDKGenICam::SaveStateAs(const char* name) {
  return NameAndExecute("StateSaveName", name, "StateSave");
}

u32 CTQVSDKGenICam::SaveState() {
  TQV_GIC_OPERATION();
  char name[storage::kNameSize];
  if (u32 result = GetStateName(name, sizeof name)) return result;
  return SaveStateAs(name);
}

u32 CTQVSDKGenICam::GetStateName(char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  return gicGetString(m_device, "StateName", buffer, size, kGicAttempts);
}

u32 CTQVSDKGenICam::DeleteState(const char* name) { return FileDelete(kState, name); }

u32 CTQVSDKGenICam::RenameState(const char* oldName, const char* newName) {
  return FileRename(kState, oldName, newName);
}

u32 CTQVSDKGenICam::StateExists(const char* name) { return FileExists(kState, name); }

u32 CTQVSDKGenICam::IsFactoryDefaultState(bool* value) {
  TQV_GIC_OPERATION();
  if (!value) return rc::kInvalidArgument;
  return gicGetBool(m_device, "StateIsFactoryDefault", value, kGicAttempts);
}

u32 CTQVSDKGenICam::LoadFactoryDefaults() {
  TQV_GIC_OPERATION();
  return gicExecute(m_device, "StateLoadFactoryDefaults", true);
}

u32 CTQVSDKGenICam::SaveFactoryDefaults() {
  TQV_GIC_OPERATION();
  return gicExecute(m_device, "StateSaveFactoryDefaults", true);
}

// --- Lens states ---------------------------------------------------------------------------------

u32 CTQVSDKGenICam::LoadLensState(const char* name) {
  return NameAndExecute("LensStateLoadName", name, "LensStateLoad");
}

u32 CTQVSDKGenICam::SaveLensStateAs(const char* name) {
  return NameAndExecute("LensStateSaveName", name, "LensStateSave");
}

u32 CTQVSDKGenICam::SaveLensState() {
  TQV_GIC_OPERATION();
  char name[storage::kNameSize];
  if (u32 result = GetLensStateName(name, sizeof name)) return result;
  return SaveLensStateAs(name);
}

u32 CTQVSDKGenICam::ReloadLensState() {
  TQV_GIC_OPERATION();
  char name[storage::kNameSize];
  if (u32 result = GetLensStateName(name, sizeof name)) return result;
  return LoadLensState(name);
}

u32 CTQVSDKGenICam::GetLensStateName(char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  return gicGetString(m_device, "LensStateName", buffer, size, kGicAttempts);
}

u32 CTQVSDKGenICam::DeleteLensState(const char* name) { return FileDelete(kLensState, name); }

u32 CTQVSDKGenICam::RenameLensState(const char* oldName, const char* newName) {
  return FileRename(kLensState, oldName, newName);
}

u32 CTQVSDKGenICam::LensStateExists(const char* name) { return FileExists(kLensState, name); }

// --- Palettes ------------------------------------------------------------------------------------

u32 CTQVSDKGenICam::LoadPalette(const char* name) {
  return NameAndExecute("PaletteLoadName", name, "PaletteLoad");
}

u32 CTQVSDKGenICam::GetPalette(char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  return gicGetString(m_device, "PaletteName", buffer, size, kGicAttempts);
}

u32 CTQVSDKGenICam::PaletteExists(const char* name) { return FileExists(kPalette, name); }

u32 CTQVSDKGenICam::RenamePalette(const char* oldName, const char* newName) {
  return FileRename(kPalette, oldName, newName);
}

u32 CTQVSDKGenICam::DeletePalette(const char* name) { return FileDelete(kPalette, name); }

// --- Calibrations --------------------------------------------------------------------------------

namespace {

using storage::CalField;

// The record's fields in the order the camera is asked for them.
const CalField kCalFeatures[] = {
    {"CalibrationQueryName", &tqvSCalInfo::name},
    {"CalibrationQueryLens", &tqvSCalInfo::lens},
    {"CalibrationQueryLensFilter", &tqvSCalInfo::lensFilter},
    {"CalibrationQueryMinTemp", &tqvSCalInfo::minTemp},
    {"CalibrationQueryMaxTemp", &tqvSCalInfo::maxTemp},
    {"CalibrationQueryMinRadiance", &tqvSCalInfo::minRad},
    {"CalibrationQueryMaxRadiance", &tqvSCalInfo::maxRad},
    {"CalibrationQueryMinCounts", &tqvSCalInfo::minCounts},
    {"CalibrationQueryMaxCounts", &tqvSCalInfo::maxCounts},
    {"CalibrationQueryOrder", &tqvSCalInfo::order},
    {"CalibrationQueryCoeff0", &tqvSCalInfo::C0},
    {"CalibrationQueryCoeff1", &tqvSCalInfo::C1},
    {"CalibrationQueryCoeff2", &tqvSCalInfo::C2},
    {"CalibrationQueryCoeff3", &tqvSCalInfo::C3},
    {"CalibrationQueryCoeff4", &tqvSCalInfo::C4},
    {"CalibrationQueryCoeff5", &tqvSCalInfo::C5},
    {"CalibrationQueryCoeff6", &tqvSCalInfo::C6},
    {"CalibrationQueryBandpassLow", &tqvSCalInfo::bandpassLow},
    {"CalibrationQueryBahdpassHigh", &tqvSCalInfo::bandpassHigh},  // the camera's spelling
    {"CalibrationQueryTempOrder", &tqvSCalInfo::tempOrder},
    {"CalibrationQueryTempCoeff0", &tqvSCalInfo::tempC0},
    {"CalibrationQueryTempCoeff1", &tqvSCalInfo::tempC1},
    {"CalibrationQueryTempCoeff2", &tqvSCalInfo::tempC2},
    {"CalibrationQueryTempCoeff3", &tqvSCalInfo::tempC3},
    {"CalibrationQueryTempCoeff4", &tqvSCalInfo::tempC4},
    {"CalibrationQueryTempCoeff5", &tqvSCalInfo::tempC5},
    {"CalibrationQueryTempCoeff6", &tqvSCalInfo::tempC6},
    {"CalibrationQueryR", &tqvSCalInfo::r},
    {"CalibrationQueryB", &tqvSCalInfo::b},
    {"CalibrationQueryF", &tqvSCalInfo::f},
    {"CalibrationQueryX", &tqvSCalInfo::atmX},
    {"CalibrationQueryA1", &tqvSCalInfo::atmAlpha1},
    {"CalibrationQueryA2", &tqvSCalInfo::atmAlpha2},
    {"CalibrationQueryB1", &tqvSCalInfo::atmBeta1},
    {"CalibrationQueryB2", &tqvSCalInfo::atmBeta2},
    {"CalibrationQueryFilterID", &tqvSCalInfo::filterID},
    {"CalibrationQueryLUTSize", &tqvSCalInfo::lutSize},
    {"CalibrationQueryBackgroundValue", &tqvSCalInfo::bgValue},
};

u32 ReadCalFeature(const GicDevice& device, const CalField& field, tqvSCalInfo* info) {
  return std::visit(
      [&](auto member) -> u32 {
        using Field = std::remove_reference_t<decltype(info->*member)>;
        if constexpr (std::is_array_v<Field>) {
          return gicGetString(device, field.name, info->*member, sizeof(Field), kGicAttempts);
        } else {
          Field value{};
          const u32 result = gicGetValue(device, field.name, &value);
          if (result == rc::kOk) info->*member = value;
          return result;
        }
      },
      field.member);
}

}  // namespace

// Each index of "CalibrationQueryIndex" holds one calibration, named by its tag.
u32 CTQVSDKGenICam::FillCalTags() {
  if (m_calTagsFilled) return rc::kOk;
  m_calTags.Clear();
  i64 first = 0, last = 0;
  u32 result = gicGetLimitsInt64(m_device, "CalibrationQueryIndex", &first, &last);
  for (i64 index = first; result == rc::kOk && index <= last; ++index) {
    zel::CString tag;
    result = gicSetInt64(m_device, "CalibrationQueryIndex", index, kGicAttempts);
    if (result == rc::kOk)
      result = gicGetString(m_device, "CalibrationQueryTag", tag, kGicAttempts);
    if (result == rc::kOk) m_calTags.Add(tag);
  }
  if (result != rc::kOk) {
    m_calTags.Clear();
    return result;
  }
  m_calFirstIndex = first;
  m_calTagsFilled = true;
  return rc::kOk;
}

// The index of a tag among the camera's calibrations (0xFFFFFFFF when it has none of that tag).
u32 CTQVSDKGenICam::FindCal(const char* tag, i64* index) {
  if (!tag) return rc::kInvalidArgument;
  if (u32 result = FillCalTags()) return result;
  for (u32 i = 0; i < m_calTags.GetCount(); ++i) {
    if (m_calTags[i].compare(tag) == 0) {
      *index = m_calFirstIndex + i;
      return rc::kOk;
    }
  }
  return rc::kError;
}

u32 CTQVSDKGenICam::SelectCal(const char* tag) {
  i64 index = 0;
  if (u32 result = FindCal(tag, &index)) return result;
  return gicSetInt64(m_device, "CalibrationQueryIndex", index, kGicAttempts);
}

u32 CTQVSDKGenICam::GetCalTag(u8 preset, char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  return gicGetString(m_device, PresetFeature(preset, "CalibrationTag").c_str(), buffer, size,
                      kGicAttempts);
}

u32 CTQVSDKGenICam::LoadCal(u8 preset, const char* tag) {
  return NameAndExecute(PresetFeature(preset, "CalibrationLoadTag").c_str(), tag,
                        PresetFeature(preset, "CalibrationLoad").c_str());
}

u32 CTQVSDKGenICam::UnloadCal(u8 preset) {
  TQV_GIC_OPERATION();
  return gicExecute(m_device, PresetFeature(preset, "CalibrationUnload").c_str(), true);
}

u32 CTQVSDKGenICam::GetCalTags(zel::TArray<zel::CString>& list) {
  TQV_GIC_OPERATION();
  list.Clear();
  if (u32 result = FillCalTags()) return result;
  for (u32 i = 0; i < m_calTags.GetCount(); ++i)
    list.Add(m_calTags[i]);
  return rc::kOk;
}

u32 CTQVSDKGenICam::GetCalName(const char* tag, char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  if (u32 result = SelectCal(tag)) return result;
  return gicGetString(m_device, "CalibrationQueryName", buffer, size, kGicAttempts);
}

u32 CTQVSDKGenICam::GetCalInfo(const char* tag, tqvSCalInfo* info, bool withTable) {
  TQV_GIC_OPERATION();
  if (u32 result = storage::StartCalInfo(tag, info)) return result;
  if (u32 result = SelectCal(tag)) return result;
  for (const CalField& field : kCalFeatures) {
    if (u32 result = ReadCalFeature(m_device, field, info)) return result;
  }
  return withTable ? storage::AttachCalTables(*this, tag, info) : rc::kOk;
}

u32 CTQVSDKGenICam::GetCalLookupTableSize(const char* tag, u32* size) {
  TQV_GIC_OPERATION();
  if (!size) return rc::kInvalidArgument;
  if (u32 result = SelectCal(tag)) return result;
  i64 value = 0;
  const u32 result = gicGetInt64(m_device, "CalibrationQueryLUTSize", &value, kGicAttempts);
  if (result == rc::kOk) *size = static_cast<u32>(value);
  return result;
}

// The table's file is the calibration file kind, named by the tag.
u32 CTQVSDKGenICam::GetCalLookupTable(const char* tag, double* first, double* second, u32 count) {
  TQV_GIC_OPERATION();
  if (!first || !second) return rc::kInvalidArgument;
  u32 size = 0;
  if (u32 result = GetCalLookupTableSize(tag, &size)) return result;
  if (size > count) return rc::kTooLarge;
  zel::TSharedPtr<zel::IFile> file(new zel::CMemFile());
  if (u32 result = FileDownload(kCalibrationTable, tag, file, {})) return result;
  const u64 bytes = u64{16} * size;
  auto* memory = static_cast<zel::CMemFile*>(file.get());
  if (memory->GetLength() < bytes) return rc::kError;
  storage::TableSink(first, second, size).Put(0, memory->GetData(), bytes);
  return rc::kOk;
}

u32 CTQVSDKGenICam::CalExists(const char* tag) {
  TQV_GIC_OPERATION();
  i64 index = 0;
  return FindCal(tag, &index);
}
