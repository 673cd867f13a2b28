// The property-tree backend's file transfers and camera paths: files move through the client's
// resSendFile/resRecvFile with callbacks that read and write the host file and carry progress to
// the caller's delegate.
#pragma once

#include "ptree/CTQVSDKPTree.h"

// Holds a copy of the caller's progress delegate for the duration of one transfer.
class CProgressAdapter {
 public:
  explicit CProgressAdapter(zel::delegate<int(u32, u32)> progress) : m_progress(progress) {}
  int Progress(u32 done, u32 total) const { return m_progress(done, total); }
  bool empty() const { return !m_progress; }

 private:
  zel::delegate<int(u32, u32)> m_progress;
};

// Client callbacks. The host file's own read and write results are not examined: both report
// success, and a short host file sends whatever the buffer holds.
u32 res_ifile_read(u32 offset, void* buffer, u32 length, void* file);
u32 res_ifile_write(u32 offset, const void* buffer, u32 length, void* file);
// Calls the adapter's delegate and hands its answer back to the client.
int res_progress(u32 done, u32 total, void* adapter);

// Downloads the camera file at `path` into the host file: 0xFFFFFFFF when the camera does not
// have it, else the client's result.
u32 resDownload(void* tree, const char* path, zel::TSharedPtr<zel::IFile> file,
                zel::delegate<int(u32, u32)> progress);
// Uploads the whole host file to `path`; 169 for a host file of 4 GiB or more.
u32 resUpload(void* tree, const char* path, zel::TSharedPtr<zel::IFile> file,
              zel::delegate<int(u32, u32)> progress);

// The camera path of a named file: `directory`, a '/' unless it ends with one (an empty directory
// gives "/"), `name`, and `extension` unless the name already ends with it in any case (null: no
// extension). 169 when the path does not fit `size` bytes.
u32 _tqvCameraPath(char* dst, u32 size, const char* directory, const char* name,
                   const char* extension);
