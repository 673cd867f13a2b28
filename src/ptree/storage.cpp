// Stored configurations and the camera's storage over the property tree.
#include <cstring>

#include "common/transfer.h"
#include "ptree/CTQVSDKPTree.h"
#include "ptree/transfer.h"

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

// The directory of a kind as the camera names it.
u32 ReadDirectory(void* tree, const Store& store, TreeText& directory, const char** text) {
  if (store.fallback && resVerify(tree, store.directory) != rc::kOk) {
    *text = store.fallback;
    return rc::kOk;
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
