// zel::IFile and the file system that opens host files; zel::CMemFile, a file in memory.
#pragma once

#include "zel/base.h"
#include "zel/shared.h"

namespace zel {

// Seek origins.
enum : u32 { kSeekCurrent = 0, kSeekBegin = 1, kSeekEnd = 2 };

// Open-mode bits. 40 (kOpenCreate | kOpenWrite) creates or truncates a file and writes it from
// offset 0; 18 (kOpenExisting | kOpenRead) reads an existing file from its start.
enum : u32 {
  kOpenRead = 0x02,
  kOpenWrite = 0x08,
  kOpenExisting = 0x10,
  kOpenCreate = 0x20,
};

class ZEL_API IFile {
 public:
  virtual ~IFile();
  // Both return the number of bytes moved.
  virtual u32 Write(const void* buffer, u32 length) = 0;
  virtual u32 Read(void* buffer, u32 length) = 0;
  virtual bool Seek(i64 offset, u32 origin) = 0;
  virtual u64 GetLength() = 0;
  virtual u64 GetPosition() = 0;
};

class ZEL_API IFileSystem {
 public:
  virtual ~IFileSystem();
  // An empty pointer when the file cannot be opened in that mode.
  virtual TSharedPtr<IFile> Open(const char* path, u32 mode) = 0;
};

// The host's file system.
ZEL_API IFileSystem& fileSystem();

class ZEL_API CMemFile : public IFile {
 public:
  CMemFile() = default;
  CMemFile(const void* data, u64 length);
  ~CMemFile() override;
  CMemFile(const CMemFile&) = delete;
  CMemFile& operator=(const CMemFile&) = delete;

  u32 Write(const void* buffer, u32 length) override;
  u32 Read(void* buffer, u32 length) override;
  bool Seek(i64 offset, u32 origin) override;
  u64 GetLength() override { return m_length; }
  u64 GetPosition() override { return m_position; }

  u8* GetData() { return m_data; }

 private:
  bool Reserve(u64 length);

  u8* m_data = nullptr;
  u64 m_length = 0;
  u64 m_capacity = 0;
  u64 m_position = 0;
};

}  // namespace zel
