#include <map>
#include <mutex>

#include "genicam/SimDevice.h"

namespace sim::genicam {

namespace {

struct Entry {
  bool directory = false;
  std::vector<u8> bytes;
  u64 modified = 0;
  bool readOnly = false;
};

std::string Parent(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string LastName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool IsBelow(const std::string& path, const std::string& directory) {
  if (directory == "/") return path.size() > 1;
  return path.size() > directory.size() && path.compare(0, directory.size(), directory) == 0 &&
         path[directory.size()] == '/';
}

}  // namespace

struct FileStore::Impl {
  mutable std::mutex mutex;
  std::map<std::string, Entry> entries;  // by canonical path; "/" is always there
  u64 clock = 1700000000;
  u64 capacity = 64ull << 20;

  u64 Used() const {
    u64 used = 0;
    for (const auto& [path, entry] : entries)
      used += entry.bytes.size();
    return used;
  }
  const Entry* Find(const std::string& path) const {
    auto it = entries.find(path);
    return it == entries.end() ? nullptr : &it->second;
  }
  bool HasDirectory(const std::string& path) const {
    const Entry* entry = Find(path);
    return entry && entry->directory;
  }
};

FileStore::FileStore() : m_impl(std::make_unique<Impl>()) { m_impl->entries["/"].directory = true; }
FileStore::~FileStore() = default;

std::string FileStore::Normalize(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return "";
  std::string result;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    if (part == "..") return "";
    if (!part.empty() && part != ".") result += "/" + part;
    start = end + 1;
  }
  return result.empty() ? "/" : result;
}

bool FileStore::Exists(const std::string& path) const {
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  return m_impl->Find(Normalize(path)) != nullptr;
}

bool FileStore::IsDirectory(const std::string& path) const {
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  return m_impl->HasDirectory(Normalize(path));
}

std::optional<std::vector<u8>> FileStore::Read(const std::string& path) const {
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  const Entry* entry = m_impl->Find(Normalize(path));
  if (!entry || entry->directory) return std::nullopt;
  return entry->bytes;
}

std::optional<FileInfo> FileStore::Info(const std::string& path) const {
  std::string key = Normalize(path);
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  const Entry* entry = m_impl->Find(key);
  if (!entry) return std::nullopt;
  FileInfo info;
  info.name = key == "/" ? "/" : LastName(key);
  info.directory = entry->directory;
  info.size = entry->bytes.size();
  info.modified = entry->modified;
  info.attrib =
      entry->directory ? kAttribDirectory : (entry->readOnly ? kAttribReadOnly : kAttribNormal);
  return info;
}

std::optional<std::vector<FileInfo>> FileStore::List(const std::string& path) const {
  std::string key = Normalize(path);
  std::vector<std::string> names;
  {
    std::lock_guard<std::mutex> hold(m_impl->mutex);
    if (!m_impl->HasDirectory(key)) return std::nullopt;
    for (const auto& [entryPath, entry] : m_impl->entries) {
      if (IsBelow(entryPath, key) && Parent(entryPath) == key) names.push_back(entryPath);
    }
  }
  std::vector<FileInfo> result;
  for (const std::string& name : names) {
    if (std::optional<FileInfo> info = Info(name)) result.push_back(*info);
  }
  return result;
}

i64 FileStore::Write(const std::string& path, const std::vector<u8>& bytes) {
  std::string key = Normalize(path);
  if (key.empty() || key == "/") return kFileBadName;
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  if (!m_impl->HasDirectory(Parent(key))) return kFileNotFound;
  auto it = m_impl->entries.find(key);
  u64 replaced = 0;
  if (it != m_impl->entries.end()) {
    if (it->second.directory) return kFileBadName;
    if (it->second.readOnly) return kFileReadOnly;
    replaced = it->second.bytes.size();
  }
  if (m_impl->Used() - replaced + bytes.size() > m_impl->capacity) return kFileOverflow;
  Entry& entry = m_impl->entries[key];
  entry.bytes = bytes;
  entry.modified = m_impl->clock++;
  return kFileSuccess;
}

i64 FileStore::MakeDirectory(const std::string& path) {
  std::string key = Normalize(path);
  if (key.empty()) return kFileBadName;
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  if (m_impl->Find(key)) return kFileExists;
  if (!m_impl->HasDirectory(Parent(key))) return kFileNotFound;
  Entry& entry = m_impl->entries[key];
  entry.directory = true;
  entry.modified = m_impl->clock++;
  return kFileSuccess;
}

i64 FileStore::MakeDirectories(const std::string& path) {
  std::string key = Normalize(path);
  if (key.empty()) return kFileBadName;
  if (key == "/") return kFileSuccess;
  std::size_t start = 1;
  while (true) {
    std::size_t end = key.find('/', start);
    std::string prefix = key.substr(0, end);
    if (!IsDirectory(prefix)) {
      i64 status = MakeDirectory(prefix);
      if (status != kFileSuccess) return status;
    }
    if (end == std::string::npos) return kFileSuccess;
    start = end + 1;
  }
}

i64 FileStore::Remove(const std::string& path) {
  std::string key = Normalize(path);
  if (key.empty() || key == "/") return kFileBadName;
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  auto it = m_impl->entries.find(key);
  if (it == m_impl->entries.end()) return kFileNotFound;
  if (it->second.readOnly) return kFileReadOnly;
  if (it->second.directory) {
    for (const auto& [entryPath, entry] : m_impl->entries) {
      if (IsBelow(entryPath, key)) return kFileNotEmpty;
    }
  }
  m_impl->entries.erase(it);
  return kFileSuccess;
}

i64 FileStore::Rename(const std::string& from, const std::string& to) {
  std::string source = Normalize(from);
  std::string target = Normalize(to);
  if (source.empty() || target.empty() || source == "/" || target == "/") return kFileBadName;
  if (source == target) return kFileSuccess;
  if (IsBelow(target, source)) return kFileBadName;  // a directory into itself
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  auto it = m_impl->entries.find(source);
  if (it == m_impl->entries.end()) return kFileNotFound;
  if (it->second.readOnly) return kFileReadOnly;
  if (m_impl->Find(target)) return kFileExists;
  if (!m_impl->HasDirectory(Parent(target))) return kFileNotFound;
  // Move the entry and, for a directory, everything below it.
  std::vector<std::string> moving{source};
  for (const auto& [entryPath, entry] : m_impl->entries) {
    if (IsBelow(entryPath, source)) moving.push_back(entryPath);
  }
  for (const std::string& oldPath : moving) {
    auto node = m_impl->entries.extract(oldPath);
    node.key() = target + oldPath.substr(source.size());
    m_impl->entries.insert(std::move(node));
  }
  return kFileSuccess;
}

i64 FileStore::SetReadOnly(const std::string& path, bool readOnly) {
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  auto it = m_impl->entries.find(Normalize(path));
  if (it == m_impl->entries.end()) return kFileNotFound;
  it->second.readOnly = readOnly;
  return kFileSuccess;
}

i64 FileStore::SetModified(const std::string& path, u64 time) {
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  auto it = m_impl->entries.find(Normalize(path));
  if (it == m_impl->entries.end()) return kFileNotFound;
  it->second.modified = time;
  return kFileSuccess;
}

void FileStore::SetClock(u64 time) {
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  m_impl->clock = time;
}

u64 FileStore::Clock() const {
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  return m_impl->clock;
}

void FileStore::SetCapacity(u64 bytes) {
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  m_impl->capacity = bytes;
}

u64 FileStore::Capacity() const {
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  return m_impl->capacity;
}

u64 FileStore::FreeSpace() const {
  std::lock_guard<std::mutex> hold(m_impl->mutex);
  u64 used = m_impl->Used();
  return used >= m_impl->capacity ? 0 : m_impl->capacity - used;
}

}  // namespace sim::genicam
