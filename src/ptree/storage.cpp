// Stored configurations and the camera's storage over the property tree.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <span>
#include <type_traits>

#include "common/storage.h"
#include "common/transfer.h"
#include "ptree/CTQVSDKPTree.h"
#include "ptree/transfer.h"
#include "tqvSDK.h"

namespace {

using FilePtr = zel::TSharedPtr<zel::IFile>;
using Progress = zel::delegate<int(u32, u32)>;
using DirEntries = zel::TArray<tqvSDirEntry>;

// Where the files of one kind live: the path holding their directory, their extension, the
// listing pattern, and the directory used when the camera has no such path (null: none).
struct Store {
  const char* directory;
  const char* extension;
  const char* pattern;
  const char* fallback;
};

constexpr Store kNUCs{".system.settings.nuc.directory", ".nuc", "*.nuc", nullptr};
constexpr Store kStates{".system.configurations.store.path", ".rsc", "*.rsc", nullptr};
constexpr Store kLensStates{".system.lens.stateDir", ".lens", "*.lens", nullptr};
// Older cameras keep their palettes in a fixed directory.
constexpr Store kPalettes{".system.palette.directory", ".pal", "*.pal", "/FlashFS/system/palettes"};
constexpr const char* kFactoryDirectory = ".system.configurations.factory.load.path";
constexpr const char* kFactoryFile = ".system.configurations.factory.load.file";

// A text read from the tree, released with the client's call.
class TreeText {
 public:
  TreeText() = default;
  ~TreeText() {
    if (m_text) resFreeString(&m_text);
  }
  TreeText(const TreeText&) = delete;
  TreeText& operator=(const TreeText&) = delete;
  u32 Read(void* tree, const char* path) { return resGetString(tree, path, &m_text); }
  const char* c_str() const { return m_text; }

 private:
  char* m_text = nullptr;
};

// The directory of a kind as the camera names it. Only a missing path (160) means that the camera
// keeps the kind in its fixed place; another failure of the test is returned.
u32 ReadDirectory(void* tree, const Store& store, TreeText& directory, const char** text) {
  if (store.fallback) {
    const u32 verified = resVerify(tree, store.directory);
    if (verified == rc::kNotFound) {
      *text = store.fallback;
      return rc::kOk;
    }
    if (verified != rc::kOk) return verified;
  }
  u32 result = directory.Read(tree, store.directory);
  *text = directory.c_str();
  return result;
}

// The camera path of a named file of a kind.
u32 KindPath(void* tree, const Store& store, const char* name, char (&path)[kPathSize]) {
  if (!name) return rc::kInvalidArgument;
  TreeText holder;
  const char* directory = nullptr;
  if (u32 result = ReadDirectory(tree, store, holder, &directory)) return result;
  return _tqvCameraPath(path, sizeof path, directory, name, store.extension);
}

// The factory default state: its directory and file name as the camera stores them.
u32 FactoryPath(void* tree, char (&path)[kPathSize]) {
  TreeText directory, file;
  u32 result = directory.Read(tree, kFactoryDirectory);
  if (result == rc::kOk) result = file.Read(tree, kFactoryFile);
  if (result != rc::kOk) return result;
  return _tqvCameraPath(path, sizeof path, directory.c_str(), file.c_str(), nullptr);
}

// Lists `directory` with `pattern`; the kind listings drop each name's extension (the text from its
// last '.'), the plain directory listing keeps names whole.
u32 List(void* tree, const char* directory, const char* pattern, bool cutExtension,
         DirEntries& list) {
  void* dir = nullptr;
  if (u32 result = resDirOpen(tree, &dir, directory, pattern)) return result;
  u32 result = rc::kOk;
  for (;;) {
    const char* name = nullptr;
    tqvSDirEntry entry{};
    result = resDirRead(tree, dir, &name, &entry.attrib, &entry.size, &entry.timeLastModified);
    if (result != rc::kOk) break;
    const char* dot = cutExtension ? std::strrchr(name, '.') : nullptr;
    entry.fname = zel::CString(name, dot ? static_cast<int>(dot - name) : -1);
    list.Add(std::move(entry));
  }
  resDirClose(tree, dir);
  return result == rc::kNotFound ? rc::kOk : result;  // 160 marks the end of the listing
}

u32 ListKind(void* tree, const Store& store, DirEntries& list) {
  list.Clear();
  TreeText holder;
  const char* directory = nullptr;
  if (u32 result = ReadDirectory(tree, store, holder, &directory)) return result;
  return List(tree, directory, store.pattern, true, list);
}

u32 Download(void* tree, const Store& store, const char* name, FilePtr file, Progress progress) {
  char path[kPathSize];
  if (u32 result = KindPath(tree, store, name, path)) return result;
  return resDownload(tree, path, file, progress);
}

u32 Upload(void* tree, const Store& store, const char* name, FilePtr file, Progress progress) {
  char path[kPathSize];
  if (u32 result = KindPath(tree, store, name, path)) return result;
  return resUpload(tree, path, file, progress);
}

u32 FileInfo(void* tree, const char* path, u32* size, u64* time) {
  if (!path) return rc::kInvalidArgument;
  return resGetFileInfo(tree, path, nullptr, size, time);
}

u32 KindFileInfo(void* tree, const Store& store, const char* name, u32* size, u64* time) {
  char path[kPathSize];
  if (u32 result = KindPath(tree, store, name, path)) return result;
  return FileInfo(tree, path, size, time);
}

}  // namespace

// --- Transfers -----------------------------------------------------------------------------------

u32 CTQVSDKPTree::DownloadNUC(const char* name, FilePtr file, Progress progress) {
  return Download(m_tree, kNUCs, name, file, progress);
}

u32 CTQVSDKPTree::UploadNUC(const char* name, FilePtr file, Progress progress) {
  return Upload(m_tree, kNUCs, name, file, progress);
}

u32 CTQVSDKPTree::DownloadState(const char* name, FilePtr file, Progress progress) {
  return Download(m_tree, kStates, name, file, progress);
}

u32 CTQVSDKPTree::UploadState(const char* name, FilePtr file, Progress progress) {
  return Upload(m_tree, kStates, name, file, progress);
}

u32 CTQVSDKPTree::DownloadLensState(const char* name, FilePtr file, Progress progress) {
  return Download(m_tree, kLensStates, name, file, progress);
}

u32 CTQVSDKPTree::UploadLensState(const char* name, FilePtr file, Progress progress) {
  return Upload(m_tree, kLensStates, name, file, progress);
}

u32 CTQVSDKPTree::DownloadPalette(const char* name, FilePtr file, Progress progress) {
  return Download(m_tree, kPalettes, name, file, progress);
}

u32 CTQVSDKPTree::UploadPalette(const char* name, FilePtr file, Progress progress) {
  return Upload(m_tree, kPalettes, name, file, progress);
}

u32 CTQVSDKPTree::DownloadFactoryDefaultState(FilePtr file, Progress progress) {
  char path[kPathSize];
  if (u32 result = FactoryPath(m_tree, path)) return result;
  return resDownload(m_tree, path, file, progress);
}

u32 CTQVSDKPTree::UploadFactoryDefaultState(FilePtr file, Progress progress) {
  char path[kPathSize];
  if (u32 result = FactoryPath(m_tree, path)) return result;
  return resUpload(m_tree, path, file, progress);
}

u32 CTQVSDKPTree::DownloadFile(const char* cameraPath, FilePtr file, Progress progress) {
  return resDownload(m_tree, cameraPath, file, progress);
}

u32 CTQVSDKPTree::UploadFile(const char* cameraPath, FilePtr file, Progress progress) {
  return resUpload(m_tree, cameraPath, file, progress);
}

TQV_STD_TRANSFERS(CTQVSDKPTree)

// --- File information ----------------------------------------------------------------------------

u32 CTQVSDKPTree::GetNUCFileInfo(const char* name, u32* size, u64* timeLastModified) {
  return KindFileInfo(m_tree, kNUCs, name, size, timeLastModified);
}

u32 CTQVSDKPTree::GetStateFileInfo(const char* name, u32* size, u64* timeLastModified) {
  return KindFileInfo(m_tree, kStates, name, size, timeLastModified);
}

u32 CTQVSDKPTree::GetLensStateFileInfo(const char* name, u32* size, u64* timeLastModified) {
  return KindFileInfo(m_tree, kLensStates, name, size, timeLastModified);
}

u32 CTQVSDKPTree::GetPaletteFileInfo(const char* name, u32* size, u64* timeLastModified) {
  return KindFileInfo(m_tree, kPalettes, name, size, timeLastModified);
}

u32 CTQVSDKPTree::GetFactoryDefaultStateFileInfo(u32* size, u64* timeLastModified) {
  char path[kPathSize];
  if (u32 result = FactoryPath(m_tree, path)) return result;
  return FileInfo(m_tree, path, size, timeLastModified);
}

// --- Listings ------------------------------------------------------------------------------------

u32 CTQVSDKPTree::ListNUCs(DirEntries& list) { return ListKind(m_tree, kNUCs, list); }

u32 CTQVSDKPTree::ListStates(DirEntries& list) { return ListKind(m_tree, kStates, list); }

u32 CTQVSDKPTree::ListLensStates(DirEntries& list) { return ListKind(m_tree, kLensStates, list); }

u32 CTQVSDKPTree::ListPalettes(DirEntries& list) { return ListKind(m_tree, kPalettes, list); }

u32 CTQVSDKPTree::ListDir(const char* path, DirEntries& list) {
  list.Clear();
  if (!path) return rc::kInvalidArgument;
  return List(m_tree, path, "*", false, list);
}

// --- Directories and files ----------------------------------------------------------------------

u32 CTQVSDKPTree::CreateDir(const char* path) {
  if (!path) return rc::kInvalidArgument;
  return resCreateDir(m_tree, path);
}

u32 CTQVSDKPTree::RemoveDir(const char* path) {
  if (!path) return rc::kInvalidArgument;
  return resRemoveDir(m_tree, path);
}

u32 CTQVSDKPTree::RemoveFile(const char* path) {
  if (!path) return rc::kInvalidArgument;
  return resDeleteFile(m_tree, path);
}

u32 CTQVSDKPTree::RenameFile(const char* oldPath, const char* newPath) {
  if (!oldPath || !newPath) return rc::kInvalidArgument;
  return resRenameFile(m_tree, oldPath, newPath);
}

u32 CTQVSDKPTree::FileExists(const char* path) {
  if (!path) return rc::kInvalidArgument;
  return resFileExists(m_tree, path);
}

u32 CTQVSDKPTree::GetFileInfo(const char* path, u32* size, u64* timeLastModified) {
  return FileInfo(m_tree, path, size, timeLastModified);
}

// --- Named files of each kind ------------------------------------------------------------------

namespace {

using storage::kNameSize;

// Long operations raise the request time-out for their duration.
constexpr u32 kLoadTimeout = 30000;     // loading a correction file or a calibration
constexpr u32 kSaveNUCTimeout = 60000;  // saving a correction file
constexpr u32 kStateTimeout = 120000;   // states, lens states, factory defaults

// The directory that names the states for delete and rename (the camera's power-up directory).
constexpr Store kPowerUpStates{".system.configurations.powerup.path", ".rsc", "*.rsc", nullptr};

u32 KindDelete(void* tree, const Store& store, const char* name) {
  char path[kPathSize];
  if (u32 result = KindPath(tree, store, name, path)) return result;
  return resDeleteFile(tree, path);
}

u32 KindRename(void* tree, const Store& store, const char* oldName, const char* newName) {
  if (!newName) return rc::kInvalidArgument;
  char from[kPathSize], to[kPathSize];
  if (u32 result = KindPath(tree, store, oldName, from)) return result;
  if (u32 result = KindPath(tree, store, newName, to)) return result;
  return resRenameFile(tree, from, to);
}

u32 KindExists(void* tree, const Store& store, const char* name) {
  char path[kPathSize];
  if (u32 result = KindPath(tree, store, name, path)) return result;
  return resFileExists(tree, path);
}

// A name to one path, then true to a command path, under the time-out `timeout` (0: the usual).
u32 NameAndCommit(void* tree, u32 timeout, const char* namePath, const char* name,
                  const char* commitPath) {
  std::optional<ScopedTimeout> slow;
  if (timeout) slow.emplace(tree, timeout);
  u32 result = resSetString(tree, namePath, name, 1);
  return result ? result : resWrite(tree, commitPath, true);
}

// The same for a checked name, given the kind's extension.
u32 CheckedNameAndCommit(void* tree, u32 timeout, const char* namePath, const char* name,
                         const char* extension, const char* commitPath) {
  char file[kNameSize];
  if (u32 result = storage::CheckedName(name, extension, file)) return result;
  return NameAndCommit(tree, timeout, namePath, file, commitPath);
}

// True to a factory-default command under the long time-out, then its result flag: false is 165.
// `accepted` tells whether the camera took the command, and so may have changed its settings.
u32 CommitAndCheck(void* tree, const char* commitPath, const char* resultPath, bool* accepted) {
  ScopedTimeout slow(tree, kStateTimeout);
  u32 result = resWrite(tree, commitPath, true);
  *accepted = result == rc::kOk;
  bool done = false;
  if (result == rc::kOk) result = resRead(tree, resultPath, &done);
  if (result == rc::kOk && !done) result = rc::kFailed;
  return result;
}

// A storage path of one preset.
const char* PresetPath(char (&out)[kPathSize], const char* path, u8 preset) {
  return _tqvResourceForPreset(out, sizeof out, path, preset);
}

// A text copied into a caller's buffer by the backend's rule: the buffer must exceed the text's
// length plus one.
u32 CopyOut(storage::Span text, char* buffer, int size) {
  if (!buffer || size <= 0 || static_cast<std::size_t>(size) <= text.length + 1) return rc::kError;
  std::memcpy(buffer, text.text, text.length);
  buffer[text.length] = '\0';
  return rc::kOk;
}

}  // namespace

u32 CTQVSDKPTree::CachedGetName(TCachedText<256>& entry, const char* path, const char* extension,
                                bool dropDirectory, char* buffer, int size) {
  if (!m_cacheEnabled || !entry.valid) {
    TreeText stored;
    if (u32 result = stored.Read(m_tree, path)) return result;
    const storage::Span name = storage::TrimmedName(stored.c_str(), extension, dropDirectory);
    if (!m_cacheEnabled || name.length >= sizeof entry.value) return CopyOut(name, buffer, size);
    std::memcpy(entry.value, name.text, name.length);
    entry.value[name.length] = '\0';
    entry.valid = true;
  }
  return CopyOut({entry.value, std::strlen(entry.value)}, buffer, size);
}

// --- Correction files ----------------------------------------------------------------------------

u32 CTQVSDKPTree::GetNUCName(u8 preset, char* buffer, i32 size) {
  if (preset > 3) return rc::kInvalidArgument;
  char path[kPathSize];
  return CachedGetName(m_cache.preset[preset].storage.nucName,
                       PresetPath(path, ".system.settings.pn.nuc.name", preset), ".nuc", true,
                       buffer, size);
}

u32 CTQVSDKPTree::LoadNUC(u8 preset, const char* name) {
  if (preset > 3 || !name) return rc::kInvalidArgument;
  char namePath[kPathSize], loadPath[kPathSize];
  const u32 result = CheckedNameAndCommit(
      m_tree, kLoadTimeout, PresetPath(namePath, ".system.settings.pn.nuc.loadname", preset), name,
      ".nuc", PresetPath(loadPath, ".system.settings.pn.nuc.load", preset));
  if (result == rc::kOk)
    Forget([&](PTreeCache& c) { c.preset[preset].storage.nucName.valid = false; });
  return result;
}

// The correction leaves the preset, and with it the preset's correction name.
u32 CTQVSDKPTree::UnloadNUC(u8 preset) {
  if (preset > 3) return rc::kInvalidArgument;
  char path[kPathSize];
  const u32 result =
      resWrite(m_tree, PresetPath(path, ".system.settings.pn.nuc.unload", preset), true);
  if (result == rc::kOk)
    Forget([&](PTreeCache& c) { c.preset[preset].storage.nucName.valid = false; });
  return result;
}

// The preset's correction takes the name it was saved under.
u32 CTQVSDKPTree::SaveNUCAs(u8 preset, const char* name) {
  if (preset > 3 || !name) return rc::kInvalidArgument;
  char namePath[kPathSize], savePath[kPathSize];
  const u32 result = CheckedNameAndCommit(
      m_tree, kSaveNUCTimeout, PresetPath(namePath, ".system.settings.nuc.pn.name", preset), name,
      ".nuc", PresetPath(savePath, ".system.settings.nuc.pn.save", preset));
  if (result == rc::kOk)
    Forget([&](PTreeCache& c) { c.preset[preset].storage.nucName.valid = false; });
  return result;
}

u32 CTQVSDKPTree::SaveNUC(u8 preset) {
  char name[kNameSize];
  if (u32 result = GetNUCName(preset, name, sizeof name)) return result;
  return SaveNUCAs(preset, name);
}

u32 CTQVSDKPTree::DeleteNUC(const char* name) { return KindDelete(m_tree, kNUCs, name); }

u32 CTQVSDKPTree::RenameNUC(const char* oldName, const char* newName) {
  return KindRename(m_tree, kNUCs, oldName, newName);
}

u32 CTQVSDKPTree::NUCExists(const char* name) { return KindExists(m_tree, kNUCs, name); }

namespace {

// Free space in KiB as the camera reports it, in bytes.
u64 KiBToBytes(u32 kib) { return u64{kib} * 1024; }

// Correction files keep this much of the drive in reserve.
constexpr u64 kNUCReserve = 10 * 1024 * 1024;

}  // namespace

u32 CTQVSDKPTree::GetDriveFreeSpace(u64* bytes) {
  if (!bytes) return rc::kInvalidArgument;
  u32 kib = 0;
  const u32 result = resRead(m_tree, ".system.info.driveFreeSpace", &kib);
  *bytes = result == rc::kOk ? KiBToBytes(kib) : 0;
  return result;
}

u32 CTQVSDKPTree::GetNUCFreeSpace(u64* bytes) {
  if (!bytes) return rc::kInvalidArgument;
  u32 kib = 0;
  u32 result = resRead(m_tree, ".system.settings.nuc.driveFreeSpace", &kib);
  if (result != rc::kOk) result = resRead(m_tree, ".system.info.driveFreeSpace", &kib);
  const u64 total = result == rc::kOk ? KiBToBytes(kib) : 0;
  *bytes = total > kNUCReserve ? total - kNUCReserve : 0;
  return result;
}

// --- Correction file query -----------------------------------------------------------------------

namespace {

// A field of the query's results; `code` turns a text into the field's code (unknown texts:
// 0xFFFFFFFF).
struct NUCField {
  const char* name;
  storage::NUCMember member;
  u32 (*code)(const char* text) = nullptr;
};

constexpr const char* kQueryPath = ".system.settings.nuc.query.";

const NUCField kBasicQuery[] = {
    {"window.width", &tqvSNUCInfo::windowWidth},
    {"window.height", &tqvSNUCInfo::windowHeight},
    {"integrationWidth", &tqvSNUCInfo::integrationWidth},
};

const NUCField kFullQuery[] = {
    {"cameraModel", &tqvSNUCInfo::cameraType},
    {"cameraSerial", &tqvSNUCInfo::cameraSerial},
    {"window.xOffset", &tqvSNUCInfo::windowOffsetX},
    {"window.yOffset", &tqvSNUCInfo::windowOffsetY},
    {"window.width", &tqvSNUCInfo::windowWidth},
    {"window.height", &tqvSNUCInfo::windowHeight},
    {"invert", &tqvSNUCInfo::invert},
    {"revert", &tqvSNUCInfo::revert},
    {"readoutMode", &tqvSNUCInfo::readoutMode, &tqvFrameSyncModeEnum},
    {"integrationWidth", &tqvSNUCInfo::integrationWidth},
    {"frameWidth", &tqvSNUCInfo::frameWidth},
    {"filter", &tqvSNUCInfo::filterID},
    {"detectorBias", &tqvSNUCInfo::fpaBias},
    {"fpaGainLevel", &tqvSNUCInfo::fpaGainLevel},
    {"digitalOffset", &tqvSNUCInfo::digitalOffset},
    {"digitalGain", &tqvSNUCInfo::digitalGain},
    {"analogOffset", &tqvSNUCInfo::globalOffsetVoltage},
    {"nuc.type", &tqvSNUCInfo::nucType, &tqvNUCTypeEnum},
    {"nuc.source", &tqvSNUCInfo::nucSource, &tqvNUCSourceEnum},
    {"nuc.framesToAverage", &tqvSNUCInfo::nucNumFrames},
    {"nuc.detectBadPixels", &tqvSNUCInfo::nucDetectBadPixels},
    {"nuc.detectTwinklers", &tqvSNUCInfo::nucDetectTwinklers},
    {"nuc.twinklerFramesToCollect", &tqvSNUCInfo::nucTwinklerNumFrames},
    {"nuc.twinklerDelta", &tqvSNUCInfo::nucTwinklerDelta},
    {"nuc.adMin", &tqvSNUCInfo::nucADMin},
    {"nuc.adMax", &tqvSNUCInfo::nucADMax},
    {"nuc.gainMin", &tqvSNUCInfo::nucGainMin},
    {"nuc.gainMax", &tqvSNUCInfo::nucGainMax},
    {"badPixels.total", &tqvSNUCInfo::bpTotal},
    {"badPixels.twinklers", &tqvSNUCInfo::bpTwinkling},
    {"badPixels.aboveGainMax", &tqvSNUCInfo::bpAboveGainMax},
    {"badPixels.belowGainMin", &tqvSNUCInfo::bpBelowGainMin},
    {"badPixels.aboveADMaxSrc1", &tqvSNUCInfo::bpAboveADMaxSrc1},
    {"badPixels.belowADMinSrc1", &tqvSNUCInfo::bpBelowADMinSrc1},
    {"badPixels.aboveADMaxSrc2", &tqvSNUCInfo::bpAboveADMaxSrc2},
    {"badPixels.belowADMinSrc2", &tqvSNUCInfo::bpBelowADMinSrc2},
};

// One field of the query's results at ".system.settings.nuc.query." + `name`.
u32 ReadQueryField(void* tree, const char* name, tqvSNUCInfo* info, const NUCField& field) {
  char path[kPathSize];
  std::snprintf(path, sizeof path, "%s%s", kQueryPath, name);
  return std::visit(
      [&](auto member) -> u32 {
        using Field = std::remove_reference_t<decltype(info->*member)>;
        if constexpr (std::is_array_v<Field>) {
          TreeText text;
          if (u32 result = text.Read(tree, path)) return result;
          storage::CopyCut(info->*member, text.c_str());
          return rc::kOk;
        } else {
          if (field.code) {
            TreeText text;
            if (u32 result = text.Read(tree, path)) return result;
            const u32 code = field.code(text.c_str());
            if (code > 0xFF) return rc::kError;  // a text the library does not know
            info->*member = static_cast<Field>(code);
            return rc::kOk;
          }
          Field value{};
          const u32 result = resRead(tree, path, &value);
          if (result == rc::kOk) info->*member = value;
          return result;
        }
      },
      field.member);
}

u32 ReadQueryFields(void* tree, tqvSNUCInfo* info, std::span<const NUCField> fields) {
  for (const NUCField& field : fields) {
    if (u32 result = ReadQueryField(tree, field.name, info, field)) return result;
  }
  return rc::kOk;
}

// What older cameras leave out; their absence never fails the query.
void ReadOptionalQueryFields(void* tree, tqvSNUCInfo* info) {
  // The factory and new counts, or the user count in their place.
  const NUCField factory{"badPixels.factory", &tqvSNUCInfo::bpUser};
  const NUCField fresh{"badPixels.new", &tqvSNUCInfo::bpNew};
  info->bpUser = 0;
  info->bpNew = 0;
  if (ReadQueryField(tree, factory.name, info, factory) != rc::kOk ||
      ReadQueryField(tree, fresh.name, info, fresh) != rc::kOk) {
    const NUCField user{"badPixels.user", &tqvSNUCInfo::bpUser};
    ReadQueryField(tree, user.name, info, user);
    info->bpNew = info->bpTotal - info->bpUser;
  }
  const NUCField skimming[] = {{"skimmingEnabled", &tqvSNUCInfo::skimmingEnabled},
                               {"skimmingVoltage", &tqvSNUCInfo::skimmingVoltage}};
  if (ReadQueryFields(tree, info, skimming) != rc::kOk) {
    info->skimmingEnabled = false;
    info->skimmingVoltage = 0.0f;
  }
  const NUCField colourAndBias[] = {{"color", &tqvSNUCInfo::color},
                                    {"detectorBiasCount", &tqvSNUCInfo::fpaBiasCount},
                                    {"detectorBias1", &tqvSNUCInfo::fpaBias1}};
  if (ReadQueryFields(tree, info, colourAndBias) != rc::kOk) {
    info->color = 0;
    info->fpaBiasCount = 1;
    info->fpaBias1 = 0.0f;
  }
}

// The camera reads the named correction file's header; its fields are then read one by one.
u32 QueryNUC(void* tree, const char* name, tqvSNUCInfo* info, bool full) {
  if (!info || !name || !*name) return rc::kError;
  char file[kNameSize];
  if (u32 result = storage::CheckedName(name, ".nuc", file)) return result;
  u32 result = resSetString(tree, ".system.settings.nuc.query.file", file, 1);
  if (result == rc::kOk) result = resWrite(tree, ".system.settings.nuc.query.read", true);
  bool readOk = false;
  if (result == rc::kOk) result = resRead(tree, ".system.settings.nuc.query.readOk", &readOk);
  if (result != rc::kOk) return result;
  if (!readOk) return rc::kError;
  tqvDefaultNUCInfo(info);
  if (!full) return ReadQueryFields(tree, info, kBasicQuery);
  if ((result = ReadQueryFields(tree, info, kFullQuery))) return result;
  ReadOptionalQueryFields(tree, info);
  return rc::kOk;
}

}  // namespace

u32 CTQVSDKPTree::QueryNUCBasicInfo(const char* name, tqvSNUCInfo* info) {
  return QueryNUC(m_tree, name, info, false);
}

u32 CTQVSDKPTree::QueryNUCInfo(const char* name, tqvSNUCInfo* info) {
  return QueryNUC(m_tree, name, info, true);
}

// --- States --------------------------------------------------------------------------------------

u32 CTQVSDKPTree::GetStateName(char* buffer, i32 size) {
  return CachedGetName(m_cache.storage.stateName, ".system.configurations.powerup.file", ".rsc",
                       false, buffer, size);
}

// A state replaces the camera's whole configuration: nothing cached survives it.
u32 CTQVSDKPTree::LoadState(const char* name) {
  const u32 result = CheckedNameAndCommit(m_tree, kStateTimeout, ".system.configurations.load.file",
                                          name, ".rsc", ".system.configurations.load.commit");
  if (result == rc::kOk) ForgetAll();
  return result;
}

u32 CTQVSDKPTree::SaveStateAs(const char* name) {
  const u32 result =
      CheckedNameAndCommit(m_tree, kStateTimeout, ".system.configurations.store.file", name, ".rsc",
                           ".system.configurations.store.commit");
  if (result == rc::kOk) Forget([&](PTreeCache& c) { c.storage.stateName.valid = false; });
  return result;
}

u32 CTQVSDKPTree::SaveState() {
  char name[kNameSize];
  if (u32 result = GetStateName(name, sizeof name)) return result;
  return SaveStateAs(name);
}

u32 CTQVSDKPTree::DeleteState(const char* name) { return KindDelete(m_tree, kPowerUpStates, name); }

u32 CTQVSDKPTree::RenameState(const char* oldName, const char* newName) {
  return KindRename(m_tree, kPowerUpStates, oldName, newName);
}

// The directory the states are listed from, so that a listed state exists.
u32 CTQVSDKPTree::StateExists(const char* name) { return KindExists(m_tree, kStates, name); }

u32 CTQVSDKPTree::IsFactoryDefaultState(bool* value) {
  if (!value) return rc::kInvalidArgument;
  *value = false;
  TreeText path, file, factoryPath, factoryFile;
  u32 result = path.Read(m_tree, ".system.configurations.powerup.path");
  if (result == rc::kOk) result = factoryPath.Read(m_tree, kFactoryDirectory);
  if (result == rc::kOk) result = file.Read(m_tree, ".system.configurations.powerup.file");
  if (result == rc::kOk) result = factoryFile.Read(m_tree, kFactoryFile);
  if (result != rc::kOk) return result;
  *value = strcasecmp(path.c_str(), factoryPath.c_str()) == 0 &&
           strcasecmp(file.c_str(), factoryFile.c_str()) == 0;
  return rc::kOk;
}

// Once the camera has taken the command its settings may have changed, whatever it reports.
u32 CTQVSDKPTree::LoadFactoryDefaults() {
  bool accepted = false;
  const u32 result = CommitAndCheck(m_tree, ".system.configurations.factory.load.commit",
                                    ".system.configurations.factory.load.resultOk", &accepted);
  if (accepted) ForgetAll();
  return result;
}

u32 CTQVSDKPTree::SaveFactoryDefaults() {
  bool accepted = false;
  const u32 result = CommitAndCheck(m_tree, ".system.configurations.factory.store.commit",
                                    ".system.configurations.factory.store.resultOk", &accepted);
  if (accepted) Forget([&](PTreeCache& c) { c.storage.stateName.valid = false; });
  return result;
}

// --- Lens states ---------------------------------------------------------------------------------

u32 CTQVSDKPTree::GetLensStateName(char* buffer, i32 size) {
  return CachedGetName(m_cache.storage.lensStateName, ".system.lens.stateName", ".lens", false,
                       buffer, size);
}

// A lens state moves the lens: the lens family's own entries go with the lens state name.
u32 CTQVSDKPTree::LoadLensState(const char* name) {
  const u32 result = CheckedNameAndCommit(m_tree, kStateTimeout, ".system.lens.stateLoadName", name,
                                          ".lens", ".system.lens.stateLoad");
  if (result == rc::kOk) ForgetLensState();
  return result;
}

u32 CTQVSDKPTree::SaveLensStateAs(const char* name) {
  const u32 result = CheckedNameAndCommit(m_tree, kStateTimeout, ".system.lens.stateSaveName", name,
                                          ".lens", ".system.lens.stateSave");
  if (result == rc::kOk) Forget([&](PTreeCache& c) { c.storage.lensStateName.valid = false; });
  return result;
}

u32 CTQVSDKPTree::SaveLensState() {
  char name[kNameSize];
  if (u32 result = GetLensStateName(name, sizeof name)) return result;
  return SaveLensStateAs(name);
}

u32 CTQVSDKPTree::ReloadLensState() {
  char name[kNameSize];
  if (u32 result = GetLensStateName(name, sizeof name)) return result;
  return LoadLensState(name);
}

u32 CTQVSDKPTree::DeleteLensState(const char* name) {
  return KindDelete(m_tree, kLensStates, name);
}

u32 CTQVSDKPTree::RenameLensState(const char* oldName, const char* newName) {
  return KindRename(m_tree, kLensStates, oldName, newName);
}

u32 CTQVSDKPTree::LensStateExists(const char* name) {
  return KindExists(m_tree, kLensStates, name);
}

// --- Palettes ------------------------------------------------------------------------------------

// The camera may store the name in its own way: the cached one is dropped.
u32 CTQVSDKPTree::LoadPalette(const char* name) {
  if (!name) return rc::kInvalidArgument;
  if (std::strlen(name) > storage::kLongestPaletteName) return rc::kError;
  char file[kNameSize];
  std::snprintf(file, sizeof file, "%s.pal", name);
  const u32 result =
      NameAndCommit(m_tree, 0, ".system.palette.name", file, ".system.palette.commit");
  if (result == rc::kOk) Forget([&](PTreeCache& c) { c.storage.palette.valid = false; });
  return result;
}

u32 CTQVSDKPTree::GetPalette(char* buffer, i32 size) {
  return CachedGetText(m_cache.storage.palette, ".system.palette.name", buffer, size);
}

u32 CTQVSDKPTree::PaletteExists(const char* name) { return KindExists(m_tree, kPalettes, name); }

u32 CTQVSDKPTree::RenamePalette(const char* oldName, const char* newName) {
  return KindRename(m_tree, kPalettes, oldName, newName);
}

u32 CTQVSDKPTree::DeletePalette(const char* name) { return KindDelete(m_tree, kPalettes, name); }

// --- Calibrations --------------------------------------------------------------------------------

namespace {

// ".system.calib.cals.<tag>.<field>": 169 when it does not fit.
u32 CalPath(char (&out)[kPathSize], const char* tag, const char* field) {
  if (!tag) return rc::kInvalidArgument;
  constexpr std::size_t kPrefix = sizeof ".system.calib.cals." - 1;
  if (kPrefix + std::strlen(tag) + 1 + std::strlen(field) >= sizeof out) return rc::kTooLarge;
  _tqvResourceForCal(out, sizeof out, tag, field);
  return rc::kOk;
}

using storage::CalField;

// The record's fields in the order the camera keeps them; the atmosphere's come last.
const CalField kCalFields[] = {
    {"name", &tqvSCalInfo::name},
    {"lens", &tqvSCalInfo::lens},
    {"lensFilter", &tqvSCalInfo::lensFilter},
    {"filterID", &tqvSCalInfo::filterID},
    {"minTemp", &tqvSCalInfo::minTemp},
    {"maxTemp", &tqvSCalInfo::maxTemp},
    {"minRad", &tqvSCalInfo::minRad},
    {"maxRad", &tqvSCalInfo::maxRad},
    {"minCounts", &tqvSCalInfo::minCounts},
    {"maxCounts", &tqvSCalInfo::maxCounts},
    {"lutSize", &tqvSCalInfo::lutSize},
    {"order", &tqvSCalInfo::order},
    {"C0", &tqvSCalInfo::C0},
    {"C1", &tqvSCalInfo::C1},
    {"C2", &tqvSCalInfo::C2},
    {"C3", &tqvSCalInfo::C3},
    {"C4", &tqvSCalInfo::C4},
    {"C5", &tqvSCalInfo::C5},
    {"C6", &tqvSCalInfo::C6},
    {"bgValue", &tqvSCalInfo::bgValue},
    {"bandpassLow", &tqvSCalInfo::bandpassLow},
    {"bandpassHigh", &tqvSCalInfo::bandpassHigh},
    {"tempOrder", &tqvSCalInfo::tempOrder},
    {"tempC0", &tqvSCalInfo::tempC0},
    {"tempC1", &tqvSCalInfo::tempC1},
    {"tempC2", &tqvSCalInfo::tempC2},
    {"tempC3", &tqvSCalInfo::tempC3},
    {"tempC4", &tqvSCalInfo::tempC4},
    {"tempC5", &tqvSCalInfo::tempC5},
    {"tempC6", &tqvSCalInfo::tempC6},
    {"r", &tqvSCalInfo::r},
    {"b", &tqvSCalInfo::b},
    {"f", &tqvSCalInfo::f},
};
const CalField kAtmosphereFields[] = {
    {"atmX", &tqvSCalInfo::atmX},           {"atmAlpha1", &tqvSCalInfo::atmAlpha1},
    {"atmAlpha2", &tqvSCalInfo::atmAlpha2}, {"atmBeta1", &tqvSCalInfo::atmBeta1},
    {"atmBeta2", &tqvSCalInfo::atmBeta2},
};

u32 ReadCalField(void* tree, const char* tag, tqvSCalInfo* info, const CalField& field) {
  char path[kPathSize];
  if (u32 result = CalPath(path, tag, field.name)) return result;
  return std::visit(
      [&](auto member) -> u32 {
        using Field = std::remove_reference_t<decltype(info->*member)>;
        if constexpr (std::is_array_v<Field>) {
          return _tqvGetString(tree, path, info->*member, sizeof(Field));
        } else {
          Field value{};
          const u32 result = resRead(tree, path, &value);
          if (result == rc::kOk) info->*member = value;
          return result;
        }
      },
      field.member);
}

// A look-up table file arriving chunk by chunk.
u32 WriteTableChunk(u32 offset, const void* buffer, u32 length, void* sink) {
  return static_cast<storage::TableSink*>(sink)->Put(offset, buffer, length) ? rc::kOk : rc::kError;
}

}  // namespace

u32 CTQVSDKPTree::GetCalTag(u8 preset, char* buffer, i32 size) {
  if (preset > 3) return rc::kInvalidArgument;
  char path[kPathSize];
  return CachedGetText(m_cache.preset[preset].storage.calTag,
                       PresetPath(path, ".system.settings.pn.cal.tag", preset), buffer, size);
}

// A calibration brings settings of its own (offsets, filter, timing and more): nothing cached
// survives it.
u32 CTQVSDKPTree::LoadCal(u8 preset, const char* tag) {
  if (preset > 3 || !tag) return rc::kInvalidArgument;
  char tagPath[kPathSize], loadPath[kPathSize];
  const u32 result = NameAndCommit(
      m_tree, kLoadTimeout, PresetPath(tagPath, ".system.settings.pn.cal.loadtag", preset), tag,
      PresetPath(loadPath, ".system.settings.pn.cal.load", preset));
  if (result == rc::kOk) ForgetAll();
  return result;
}

u32 CTQVSDKPTree::UnloadCal(u8 preset) {
  if (preset > 3) return rc::kInvalidArgument;
  char path[kPathSize];
  const u32 result =
      resWrite(m_tree, PresetPath(path, ".system.settings.pn.cal.unload", preset), true);
  if (result == rc::kOk)
    Forget([&](PTreeCache& c) { c.preset[preset].storage.calTag.valid = false; });
  return result;
}

u32 CTQVSDKPTree::GetCalTags(zel::TArray<zel::CString>& list) {
  list.Clear();
  void* children = nullptr;
  if (u32 result = resGetChildren(m_tree, ".system.calib.cals", &children)) return result;
  const char* name = nullptr;
  for (u32 result = resGetFirstChild(m_tree, children, &name); result == rc::kOk;
       result = resGetNextChild(m_tree, children, &name)) {
    list.Add(zel::CString(name));
  }
  resFreeChildren(m_tree, children);
  return rc::kOk;
}

u32 CTQVSDKPTree::GetCalName(const char* tag, char* buffer, i32 size) {
  char path[kPathSize];
  if (u32 result = CalPath(path, tag, "name")) return result;
  return _tqvGetString(m_tree, path, buffer, size);
}

u32 CTQVSDKPTree::GetCalInfo(const char* tag, tqvSCalInfo* info, bool withTable) {
  if (u32 result = storage::StartCalInfo(tag, info)) return result;
  for (const CalField& field : kCalFields) {
    if (u32 result = ReadCalField(m_tree, tag, info, field)) return result;
  }
  for (const CalField& field : kAtmosphereFields) {
    if (ReadCalField(m_tree, tag, info, field) != rc::kOk) break;
  }
  return withTable ? storage::AttachCalTables(*this, tag, info) : rc::kOk;
}

u32 CTQVSDKPTree::GetCalLookupTableSize(const char* tag, u32* size) {
  if (!size) return rc::kInvalidArgument;
  char path[kPathSize];
  if (u32 result = CalPath(path, tag, "lutSize")) return result;
  return resRead(m_tree, path, size);
}

// The table's file sits in the calibration directory under the calibration's "lutFile" name.
u32 CTQVSDKPTree::GetCalLookupTable(const char* tag, double* first, double* second, u32 count) {
  if (!first || !second) return rc::kInvalidArgument;
  u32 size = 0;
  if (u32 result = GetCalLookupTableSize(tag, &size)) return result;
  if (size > count) return rc::kTooLarge;
  char field[kPathSize], path[kPathSize];
  TreeText file, directory;
  u32 result = CalPath(field, tag, "lutFile");
  if (result == rc::kOk) result = file.Read(m_tree, field);
  if (result == rc::kOk) result = directory.Read(m_tree, ".system.calib.directory");
  if (result == rc::kOk) {
    result = _tqvCameraPath(path, sizeof path, directory.c_str(), file.c_str(), ".lut");
  }
  if (result != rc::kOk) return result;
  if (resFileExists(m_tree, path) != rc::kOk) return rc::kError;
  storage::TableSink sink(first, second, size);
  result = resRecvFile(m_tree, path, &WriteTableChunk, &sink, nullptr, nullptr);
  // A file shorter than its table would leave part of it unfilled.
  if (result == rc::kOk && !sink.Complete()) result = rc::kError;
  return result;
}

u32 CTQVSDKPTree::CalExists(const char* tag) {
  char path[kPathSize];
  if (u32 result = CalPath(path, tag, "name")) return result;
  return resVerify(m_tree, path);
}
