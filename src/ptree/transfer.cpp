#include "ptree/transfer.h"

#include <strings.h>

#include <cstring>

u32 res_ifile_read(u32 offset, void* buffer, u32 length, void* file) {
  auto* host = static_cast<zel::IFile*>(file);
  host->Seek(offset, zel::kSeekBegin);
  host->Read(buffer, length);
  return rc::kOk;
}

u32 res_ifile_write(u32 offset, const void* buffer, u32 length, void* file) {
  auto* host = static_cast<zel::IFile*>(file);
  host->Seek(offset, zel::kSeekBegin);
  host->Write(buffer, length);
  return rc::kOk;
}

int res_progress(u32 done, u32 total, void* adapter) {
  return static_cast<const CProgressAdapter*>(adapter)->Progress(done, total);
}

u32 resDownload(void* tree, const char* path, zel::TSharedPtr<zel::IFile> file,
                zel::delegate<int(u32, u32)> progress) {
  if (!path || !file) return rc::kInvalidArgument;
  if (resFileExists(tree, path) != rc::kOk) return rc::kError;
  CProgressAdapter adapter(progress);
  return resRecvFile(tree, path, res_ifile_write, file.get(),
                     adapter.empty() ? nullptr : res_progress, &adapter);
}

u32 resUpload(void* tree, const char* path, zel::TSharedPtr<zel::IFile> file,
              zel::delegate<int(u32, u32)> progress) {
  if (!path || !file) return rc::kInvalidArgument;
  const u64 length = file->GetLength();
  if (length > 0xFFFFFFFFu) return rc::kTooLarge;
  CProgressAdapter adapter(progress);
  return resSendFile(tree, path, static_cast<u32>(length), res_ifile_read, file.get(),
                     adapter.empty() ? nullptr : res_progress, &adapter);
}

u32 _tqvCameraPath(char* dst, u32 size, const char* directory, const char* name,
                   const char* extension) {
  if (!directory || !name) return rc::kInvalidArgument;
  const std::size_t dirLength = std::strlen(directory);
  const std::size_t nameLength = std::strlen(name);
  const bool slash = dirLength == 0 || directory[dirLength - 1] != '/';
  std::size_t extLength = extension ? std::strlen(extension) : 0;
  if (extLength && nameLength >= extLength &&
      strcasecmp(name + nameLength - extLength, extension) == 0) {
    extLength = 0;
  }
  const std::size_t length = dirLength + (slash ? 1 : 0) + nameLength + extLength;
  if (length >= size) return rc::kTooLarge;
  char* out = dst;
  std::memcpy(out, directory, dirLength);
  out += dirLength;
  if (slash) *out++ = '/';
  std::memcpy(out, name, nameLength);
  out += nameLength;
  if (extLength) std::memcpy(out, extension, extLength);
  out[extLength] = '\0';
  return rc::kOk;
}
