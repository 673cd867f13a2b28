// Stored configurations and the camera's storage over GenICam: each operation is one file or
// directory protocol sequence (files.cpp) with the kind's file or directory selector.
#include "common/transfer.h"
#include "genicam/CTQVSDKGenICam.h"

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
