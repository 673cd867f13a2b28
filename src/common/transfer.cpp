#include "common/transfer.h"

#include <cstring>

namespace transfer {

FilePtr OpenHostWrite(const char* path) {
  return path ? zel::fileSystem().Open(path, kOpenWrite) : FilePtr();
}

FilePtr OpenHostRead(const char* path) {
  return path ? zel::fileSystem().Open(path, kOpenRead) : FilePtr();
}

u32 UploadName(const char* source, char* name, u32 size) {
  if (!source || !name) return rc::kInvalidArgument;
  const char* start = source;
  const char* dot = nullptr;
  for (const char* c = source; *c; ++c) {
    if (*c == '/' || *c == '\\') {
      start = c + 1;
      dot = nullptr;
    } else if (*c == '.') {
      dot = c;
    }
  }
  const std::size_t length = dot ? static_cast<std::size_t>(dot - start) : std::strlen(start);
  if (length >= size) return rc::kTooLarge;
  std::memcpy(name, start, length);
  name[length] = '\0';
  return rc::kOk;
}

u32 DownloadStd(ITQVSDK& sdk, NamedTransfer download, const char* name, const char* hostPath,
                Progress progress) {
  FilePtr file = OpenHostWrite(hostPath);
  if (!file) return rc::kError;
  return (sdk.*download)(name, file, progress);
}

u32 DownloadStd(ITQVSDK& sdk, UnnamedTransfer download, const char* hostPath, Progress progress) {
  FilePtr file = OpenHostWrite(hostPath);
  if (!file) return rc::kError;
  return (sdk.*download)(file, progress);
}

u32 UploadStd(ITQVSDK& sdk, NamedTransfer upload, const char* name, const char* hostPath,
              Progress progress) {
  FilePtr file = OpenHostRead(hostPath);
  if (!file) return rc::kError;
  return (sdk.*upload)(name, file, progress);
}

u32 UploadStd(ITQVSDK& sdk, UnnamedTransfer upload, const char* hostPath, Progress progress) {
  FilePtr file = OpenHostRead(hostPath);
  if (!file) return rc::kError;
  return (sdk.*upload)(file, progress);
}

u32 UploadStdDerived(ITQVSDK& sdk, NamedTransfer upload, const char* nameSource,
                     const char* hostPath, Progress progress) {
  FilePtr file = OpenHostRead(hostPath);
  if (!file) return rc::kError;
  char name[kNameSize];
  if (u32 result = UploadName(nameSource, name, sizeof name)) return result;
  return (sdk.*upload)(name, file, progress);
}

}  // namespace transfer
