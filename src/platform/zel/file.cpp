#include "zel/file.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace zel {

IFile::~IFile() = default;
IFileSystem::~IFileSystem() = default;

namespace {

// A host file over a C stream.
class CHostFile : public IFile {
 public:
  explicit CHostFile(std::FILE* stream) : m_stream(stream) {}
  ~CHostFile() override { std::fclose(m_stream); }
  CHostFile(const CHostFile&) = delete;
  CHostFile& operator=(const CHostFile&) = delete;

  u32 Write(const void* buffer, u32 length) override {
    return static_cast<u32>(std::fwrite(buffer, 1, length, m_stream));
  }
  u32 Read(void* buffer, u32 length) override {
    return static_cast<u32>(std::fread(buffer, 1, length, m_stream));
  }
  bool Seek(i64 offset, u32 origin) override {
    int whence = origin == kSeekBegin ? SEEK_SET : origin == kSeekEnd ? SEEK_END : SEEK_CUR;
    return fseeko(m_stream, static_cast<off_t>(offset), whence) == 0;
  }
  u64 GetLength() override {
    off_t here = ftello(m_stream);
    if (here < 0 || fseeko(m_stream, 0, SEEK_END) != 0) return 0;
    off_t end = ftello(m_stream);
    fseeko(m_stream, here, SEEK_SET);
    return end < 0 ? 0 : static_cast<u64>(end);
  }
  u64 GetPosition() override {
    off_t here = ftello(m_stream);
    return here < 0 ? 0 : static_cast<u64>(here);
  }

 private:
  std::FILE* m_stream;
};

class CHostFileSystem : public IFileSystem {
 public:
  TSharedPtr<IFile> Open(const char* path, u32 mode) override {
    if (!path) return {};
    const bool read = mode & kOpenRead;
    const bool write = mode & kOpenWrite;
    const char* how = nullptr;
    if (write && (mode & kOpenCreate)) {
      how = read ? "w+b" : "wb";
    } else if (write) {
      how = "r+b";
    } else if (read) {
      how = "rb";
    }
    if (!how) return {};
    std::FILE* stream = std::fopen(path, how);
    if (!stream) return {};
    return TSharedPtr<IFile>(new CHostFile(stream));
  }
};

}  // namespace

IFileSystem& fileSystem() {
  static CHostFileSystem system;
  return system;
}

CMemFile::CMemFile(const void* data, u64 length) {
  if (length && Reserve(length)) {
    std::memcpy(m_data, data, length);
    m_length = length;
  }
}

CMemFile::~CMemFile() { Free(m_data); }

bool CMemFile::Reserve(u64 length) {
  if (length <= m_capacity) return true;
  u64 capacity = m_capacity ? m_capacity : 256;
  while (capacity < length)
    capacity *= 2;
  u8* block = static_cast<u8*>(Realloc(m_data, capacity));
  if (!block) return false;
  m_data = block;
  m_capacity = capacity;
  return true;
}

u32 CMemFile::Write(const void* buffer, u32 length) {
  if (length == 0) return 0;
  if (!Reserve(m_position + length)) return 0;
  if (m_position > m_length) std::memset(m_data + m_length, 0, m_position - m_length);
  std::memcpy(m_data + m_position, buffer, length);
  m_position += length;
  if (m_position > m_length) m_length = m_position;
  return length;
}

u32 CMemFile::Read(void* buffer, u32 length) {
  if (m_position >= m_length) return 0;
  u64 available = m_length - m_position;
  u32 count = available < length ? static_cast<u32>(available) : length;
  std::memcpy(buffer, m_data + m_position, count);
  m_position += count;
  return count;
}

bool CMemFile::Seek(i64 offset, u32 origin) {
  i64 base = origin == kSeekBegin ? 0
             : origin == kSeekEnd ? static_cast<i64>(m_length)
                                  : static_cast<i64>(m_position);
  if (offset > std::numeric_limits<i64>::max() - base) return false;
  i64 target = base + offset;
  if (target < 0) return false;
  m_position = static_cast<u64>(target);
  return true;
}

}  // namespace zel
