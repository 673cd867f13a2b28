// The simulated camera's flash file system.
#include <algorithm>
#include <mutex>

#include "SimTree.h"

namespace sim::ptree {

using namespace paramtree;

namespace {

constexpr u64 kDefaultFreeSpace = 64ull * 1024 * 1024;
constexpr u64 kDefaultClock = 1704067200;  // 2024-01-01 00:00:00 UTC
constexpr std::size_t kMaxNameLength = 255;

struct FsNode {
  std::string name;
  bool dir = false;
  u8 attributes = 0;
  u64 time = 0;
  std::vector<u8> data;
  std::vector<std::unique_ptr<FsNode>> children;  // in creation order
};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

// Glob match without regard to ASCII case; on a mismatch after a '*' the star takes one more
// character and the match resumes.
bool Matches(std::string_view name, std::string_view pattern) {
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t starP = std::string_view::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

// Splits a camera path into names; 166 for a name the file system cannot hold, 169 for one too
// long. No names ("/"): the root.
u32 Split(const std::string& path, std::vector<std::string>* parts) {
  parts->clear();
  if (path.empty()) return kInvalidArgument;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string_view name(path.data() + start, end - start);
    if (!name.empty()) {
      if (name == "." || name == "..") return kInvalidArgument;
      for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\:*?\"<>|").find(c) != std::string_view::npos) {
          return kInvalidArgument;
        }
      }
      if (name.size() > kMaxNameLength) return kTooLarge;
      parts->emplace_back(name);
    }
    start = end + 1;
  }
  return kOk;
}

FsNode* Child(FsNode* dir, std::string_view name) {
  for (auto& child : dir->children) {
    if (SameName(child->name, name)) return child.get();
  }
  return nullptr;
}

}  // namespace

struct FileStore::Impl {
  mutable std::mutex mutex;
  FsNode root;
  u64 freeSpace = kDefaultFreeSpace;
  u64 clock = kDefaultClock;

  Impl() {
    root.dir = true;
    root.attributes = kAttrDirectory;
  }

  // The node of a path; null when any part is missing.
  FsNode* Find(const std::vector<std::string>& parts) {
    FsNode* node = &root;
    for (const std::string& name : parts) {
      if (!node->dir) return nullptr;
      node = Child(node, name);
      if (!node) return nullptr;
    }
    return node;
  }

  // The directory that holds the last part: 160 when missing, 2 when it is a file.
  u32 ParentOf(const std::vector<std::string>& parts, FsNode** parent) {
    std::vector<std::string> up(parts.begin(), parts.end() - 1);
    FsNode* node = Find(up);
    if (!node) return kNotFound;
    if (!node->dir) return kNotSupported;
    *parent = node;
    return kOk;
  }

  void Charge(u64 oldSize, u64 newSize) {
    if (newSize >= oldSize) {
      u64 delta = newSize - oldSize;
      freeSpace = delta > freeSpace ? 0 : freeSpace - delta;
    } else {
      freeSpace += oldSize - newSize;
    }
  }

  u32 CheckStore(const std::vector<std::string>& parts, u64 size, FsNode** parent) {
    if (parts.empty()) return kNotSupported;
    u32 result = ParentOf(parts, parent);
    if (result != kOk) return result;
    FsNode* existing = Child(*parent, parts.back());
    u64 existingSize = 0;
    if (existing) {
      if (existing->dir) return kNotSupported;
      if (existing->attributes & kAttrReadOnly) return kAccessDenied;
      existingSize = existing->data.size();
    }
    if (size > freeSpace + existingSize) return kTooLarge;
    if (size > UINT32_MAX) return kTooLarge;
    return kOk;
  }

  // Creates or replaces a file in an existing directory; free space is charged regardless.
  void Store(FsNode* parent, const std::string& name, std::vector<u8> data) {
    FsNode* file = Child(parent, name);
    if (!file) {
      auto created = std::make_unique<FsNode>();
      created->name = name;
      created->attributes = kAttrArchive;
      file = created.get();
      parent->children.push_back(std::move(created));
    }
    Charge(file->data.size(), data.size());
    file->data = std::move(data);
    file->time = clock;
  }

  u32 MakeDirs(const std::vector<std::string>& parts) {
    FsNode* node = &root;
    for (const std::string& name : parts) {
      FsNode* next = Child(node, name);
      if (!next) {
        auto created = std::make_unique<FsNode>();
        created->name = name;
        created->dir = true;
        created->attributes = kAttrDirectory;
        created->time = clock;
        next = created.get();
        node->children.push_back(std::move(created));
      }
      if (!next->dir) return kNotSupported;
      node = next;
    }
    return kOk;
  }
};

FileStore::FileStore() : m(std::make_unique<Impl>()) {}
FileStore::~FileStore() = default;

u32 FileStore::Put(const std::string& path, std::vector<u8> data) {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  if (parts.empty()) return kInvalidArgument;
  if (data.size() > UINT32_MAX) return kTooLarge;
  std::lock_guard<std::mutex> hold(m->mutex);
  result = m->MakeDirs(std::vector<std::string>(parts.begin(), parts.end() - 1));
  if (result != kOk) return result;
  FsNode* parent = nullptr;
  m->ParentOf(parts, &parent);
  FsNode* existing = Child(parent, parts.back());
  if (existing && existing->dir) return kNotSupported;
  m->Store(parent, parts.back(), std::move(data));
  return kOk;
}

std::optional<std::vector<u8>> FileStore::Data(const std::string& path) const {
  std::vector<u8> data;
  if (Snapshot(path, &data) != kOk) return std::nullopt;
  return data;
}

u32 FileStore::MakeDirs(const std::string& path) {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  return m->MakeDirs(parts);
}

bool FileStore::IsFile(const std::string& path) const {
  FileInfo info;
  return Info(path, &info) == kOk && !(info.attributes & kAttrDirectory);
}

bool FileStore::IsDir(const std::string& path) const {
  FileInfo info;
  return Info(path, &info) == kOk && (info.attributes & kAttrDirectory);
}

std::vector<std::string> FileStore::Names(const std::string& directory) const {
  std::vector<DirEntry> entries;
  std::vector<std::string> names;
  if (List(directory, "*", &entries) != kOk) return names;
  for (DirEntry& entry : entries)
    names.push_back(std::move(entry.name));
  return names;
}

u32 FileStore::SetAttributes(const std::string& path, u8 attributes) {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  FsNode* node = m->Find(parts);
  if (!node) return kNotFound;
  node->attributes =
      static_cast<u8>((attributes & ~kAttrDirectory) | (node->dir ? kAttrDirectory : 0));
  return kOk;
}

u32 FileStore::SetTime(const std::string& path, u64 seconds) {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  FsNode* node = m->Find(parts);
  if (!node) return kNotFound;
  node->time = seconds;
  return kOk;
}

void FileStore::SetFreeSpace(u64 bytes) {
  std::lock_guard<std::mutex> hold(m->mutex);
  m->freeSpace = bytes;
}

u64 FileStore::FreeSpace() const {
  std::lock_guard<std::mutex> hold(m->mutex);
  return m->freeSpace;
}

void FileStore::SetClock(u64 seconds) {
  std::lock_guard<std::mutex> hold(m->mutex);
  m->clock = seconds;
}

u64 FileStore::Clock() const {
  std::lock_guard<std::mutex> hold(m->mutex);
  return m->clock;
}

u32 FileStore::Exists(const std::string& path) const {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  return m->Find(parts) ? kOk : kNotFound;
}

u32 FileStore::DeleteFile(const std::string& path) {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  FsNode* node = m->Find(parts);
  if (!node) return kNotFound;
  if (node->dir) return kNotSupported;
  if (node->attributes & kAttrReadOnly) return kAccessDenied;
  FsNode* parent = nullptr;
  m->ParentOf(parts, &parent);
  m->Charge(node->data.size(), 0);
  std::erase_if(parent->children, [&](const auto& child) { return child.get() == node; });
  return kOk;
}

u32 FileStore::Rename(const std::string& path, const std::string& newPath) {
  std::vector<std::string> from;
  std::vector<std::string> to;
  u32 result = Split(path, &from);
  if (result == kOk) result = Split(newPath, &to);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  FsNode* node = m->Find(from);
  if (!node) return kNotFound;
  if (from.empty() || to.empty()) return kAccessDenied;  // the root is neither source nor target
  if (node->attributes & kAttrReadOnly) return kAccessDenied;
  FsNode* oldParent = nullptr;
  FsNode* newParent = nullptr;
  m->ParentOf(from, &oldParent);
  result = m->ParentOf(to, &newParent);
  if (result != kOk) return result;
  // A directory cannot move below itself.
  if (node->dir && to.size() > from.size() &&
      std::equal(from.begin(), from.end(), to.begin(), SameName)) {
    return kInvalidArgument;
  }
  FsNode* existing = Child(newParent, to.back());
  if (existing && existing != node) return kFailed;
  if (oldParent != newParent) {
    auto slot = std::find_if(oldParent->children.begin(), oldParent->children.end(),
                             [&](const auto& child) { return child.get() == node; });
    std::unique_ptr<FsNode> moved = std::move(*slot);
    oldParent->children.erase(slot);
    newParent->children.push_back(std::move(moved));
  }
  node->name = to.back();
  return kOk;
}

u32 FileStore::CreateDir(const std::string& path) {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  if (parts.empty()) return kFailed;  // the root exists
  FsNode* parent = nullptr;
  result = m->ParentOf(parts, &parent);
  if (result != kOk) return result;
  if (Child(parent, parts.back())) return kFailed;
  return m->MakeDirs(parts);
}

u32 FileStore::RemoveDir(const std::string& path) {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  FsNode* node = m->Find(parts);
  if (!node) return kNotFound;
  if (!node->dir) return kNotSupported;
  if (parts.empty()) return kAccessDenied;
  if (!node->children.empty()) return kFailed;
  FsNode* parent = nullptr;
  m->ParentOf(parts, &parent);
  std::erase_if(parent->children, [&](const auto& child) { return child.get() == node; });
  return kOk;
}

u32 FileStore::Info(const std::string& path, FileInfo* info) const {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  const FsNode* node = m->Find(parts);
  if (!node) return kNotFound;
  info->attributes = node->attributes;
  info->size = static_cast<u32>(node->data.size());
  info->time = node->time;
  return kOk;
}

u32 FileStore::List(const std::string& directory, const std::string& pattern,
                    std::vector<DirEntry>* entries) const {
  std::vector<std::string> parts;
  u32 result = Split(directory, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  const FsNode* node = m->Find(parts);
  if (!node) return kNotFound;
  if (!node->dir) return kNotSupported;
  entries->clear();
  for (const auto& child : node->children) {
    if (!Matches(child->name, pattern)) continue;
    DirEntry entry;
    entry.name = child->name;
    entry.info.attributes = child->attributes;
    entry.info.size = static_cast<u32>(child->data.size());
    entry.info.time = child->time;
    entries->push_back(std::move(entry));
  }
  return kOk;
}

u32 FileStore::CheckUpload(const std::string& path, u64 size) const {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  FsNode* parent = nullptr;
  return m->CheckStore(parts, size, &parent);
}

u32 FileStore::StoreUpload(const std::string& path, std::vector<u8> data) {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  FsNode* parent = nullptr;
  result = m->CheckStore(parts, data.size(), &parent);
  if (result != kOk) return result;
  m->Store(parent, parts.back(), std::move(data));
  return kOk;
}

u32 FileStore::Snapshot(const std::string& path, std::vector<u8>* data) const {
  std::vector<std::string> parts;
  u32 result = Split(path, &parts);
  if (result != kOk) return result;
  std::lock_guard<std::mutex> hold(m->mutex);
  const FsNode* node = m->Find(parts);
  if (!node) return kNotFound;
  if (node->dir) return kNotSupported;
  *data = node->data;
  return kOk;
}

}  // namespace sim::ptree
