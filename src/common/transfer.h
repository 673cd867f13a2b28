// Host-path transfers shared by both backends: the host file is opened here, then the backend's
// file-object transfer of the same kind runs. Uploads without a camera name take it from the host
// path (or, for UploadNUCStdEx, from the name given).
#pragma once

#include "interface/ITQVSDK.h"

namespace transfer {

using FilePtr = zel::TSharedPtr<zel::IFile>;
using Progress = zel::delegate<int(u32, u32)>;

// Framework open modes: write, creating (or emptying) the file; read an existing file.
constexpr u32 kOpenWrite = 40;
constexpr u32 kOpenRead = 18;

// Room for a derived camera name with its terminator. Camera file systems keep names of up to 255
// characters; longer ones are refused before the camera is asked.
constexpr u32 kNameSize = 256;

// Host files; empty when the file cannot be opened.
FilePtr OpenHostWrite(const char* path);
FilePtr OpenHostRead(const char* path);

// The camera name of a host-path upload: the text after the last '/' or '\\' of `source`, cut at
// its last '.'. 166 for a null source, 169 when it does not fit `size` bytes with its terminator
// (`name` is then untouched).
u32 UploadName(const char* source, char* name, u32 size);

using NamedTransfer = u32 (ITQVSDK::*)(const char* name, FilePtr file, Progress progress);
using UnnamedTransfer = u32 (ITQVSDK::*)(FilePtr file, Progress progress);

// Opens the host file for writing (0xFFFFFFFF when it cannot be) and downloads into it.
u32 DownloadStd(ITQVSDK& sdk, NamedTransfer download, const char* name, const char* hostPath,
                Progress progress);
u32 DownloadStd(ITQVSDK& sdk, UnnamedTransfer download, const char* hostPath, Progress progress);
// Opens the host file for reading and uploads it under `name` unchanged.
u32 UploadStd(ITQVSDK& sdk, NamedTransfer upload, const char* name, const char* hostPath,
              Progress progress);
u32 UploadStd(ITQVSDK& sdk, UnnamedTransfer upload, const char* hostPath, Progress progress);
// Opens the host file for reading and uploads it under the name derived from `nameSource`.
u32 UploadStdDerived(ITQVSDK& sdk, NamedTransfer upload, const char* nameSource,
                     const char* hostPath, Progress progress);

}  // namespace transfer

// The host-path operations of a backend, identical on both: each opens the host file and calls the
// backend's own file-object transfer. Expanded once in each backend's storage family.
#define TQV_STD_TRANSFERS(Backend)                                                                 \
  u32 Backend::DownloadNUCStd(const char* name, const char* hostPath, transfer::Progress p) {      \
    return transfer::DownloadStd(*this, &ITQVSDK::DownloadNUC, name, hostPath, p);                 \
  }                                                                                                \
  u32 Backend::UploadNUCStd(const char* hostPath, transfer::Progress p) {                          \
    return transfer::UploadStdDerived(*this, &ITQVSDK::UploadNUC, hostPath, hostPath, p);          \
  }                                                                                                \
  u32 Backend::UploadNUCStdEx(const char* name, const char* hostPath, transfer::Progress p) {      \
    return transfer::UploadStdDerived(*this, &ITQVSDK::UploadNUC, name, hostPath, p);              \
  }                                                                                                \
  u32 Backend::DownloadStateStd(const char* name, const char* hostPath, transfer::Progress p) {    \
    return transfer::DownloadStd(*this, &ITQVSDK::DownloadState, name, hostPath, p);               \
  }                                                                                                \
  u32 Backend::UploadStateStd(const char* hostPath, transfer::Progress p) {                        \
    return transfer::UploadStdDerived(*this, &ITQVSDK::UploadState, hostPath, hostPath, p);        \
  }                                                                                                \
  u32 Backend::DownloadLensStateStd(const char* name, const char* hostPath,                        \
                                    transfer::Progress p) {                                        \
    return transfer::DownloadStd(*this, &ITQVSDK::DownloadLensState, name, hostPath, p);           \
  }                                                                                                \
  u32 Backend::UploadLensStateStd(const char* hostPath, transfer::Progress p) {                    \
    return transfer::UploadStdDerived(*this, &ITQVSDK::UploadLensState, hostPath, hostPath, p);    \
  }                                                                                                \
  u32 Backend::DownloadPaletteStd(const char* name, const char* hostPath, transfer::Progress p) {  \
    return transfer::DownloadStd(*this, &ITQVSDK::DownloadPalette, name, hostPath, p);             \
  }                                                                                                \
  u32 Backend::UploadPaletteStd(const char* hostPath, transfer::Progress p) {                      \
    return transfer::UploadStdDerived(*this, &ITQVSDK::UploadPalette, hostPath, hostPath, p);      \
  }                                                                                                \
  u32 Backend::DownloadFactoryDefaultStateStd(const char* hostPath, transfer::Progress p) {        \
    return transfer::DownloadStd(*this, &ITQVSDK::DownloadFactoryDefaultState, hostPath, p);       \
  }                                                                                                \
  u32 Backend::UploadFactoryDefaultStateStd(const char* hostPath, transfer::Progress p) {          \
    return transfer::UploadStd(*this, &ITQVSDK::UploadFactoryDefaultState, hostPath, p);           \
  }                                                                                                \
  u32 Backend::DownloadFileStd(const char* cameraPath, const char* hostPath,                       \
                               transfer::Progress p) {                                             \
    return transfer::DownloadStd(*this, &ITQVSDK::DownloadFile, cameraPath, hostPath, p);          \
  }                                                                                                \
  u32 Backend::UploadFileStd(const char* cameraPath, const char* hostPath, transfer::Progress p) { \
    return transfer::UploadStd(*this, &ITQVSDK::UploadFile, cameraPath, hostPath, p);              \
  }
