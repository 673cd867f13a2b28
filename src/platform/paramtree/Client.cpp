// The res* calls: argument checks, the connection registry, hand-outs in host memory, and the
// chunked file transfers. Everything else is the transport's.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "ParamTree.h"
#include "ParamTreeTransport.h"

namespace paramtree {

namespace {

// A walk over the children of one path, handed to the host as an opaque pointer.
struct ChildList {
  std::vector<std::string> names;
  std::size_t next = 0;
};

// A directory listing, read at open; `current` holds the name the host was last given.
struct DirList {
  std::vector<DirEntry> entries;
  std::size_t next = 0;
  std::string current;
};

class Connection {
 public:
  explicit Connection(std::unique_ptr<ITransport> transport) : m_transport(std::move(transport)) {}
  ITransport& transport() { return *m_transport; }

  void* AddChildren(std::vector<std::string> names) {
    auto list = std::make_unique<ChildList>();
    list->names = std::move(names);
    void* key = list.get();
    std::lock_guard<std::mutex> hold(m_mutex);
    m_children.emplace(key, std::move(list));
    return key;
  }

  // Runs `use` on a list of this connection under the connection's lock; 166 for a stranger.
  template <typename F>
  u32 WithChildren(void* key, F&& use) {
    std::lock_guard<std::mutex> hold(m_mutex);
    auto found = m_children.find(key);
    if (found == m_children.end()) return kInvalidArgument;
    return use(*found->second);
  }

  void FreeChildren(void* key) {
    std::lock_guard<std::mutex> hold(m_mutex);
    m_children.erase(key);
  }

  void* AddDir(std::vector<DirEntry> entries) {
    auto list = std::make_unique<DirList>();
    list->entries = std::move(entries);
    void* key = list.get();
    std::lock_guard<std::mutex> hold(m_mutex);
    m_dirs.emplace(key, std::move(list));
    return key;
  }

  template <typename F>
  u32 WithDir(void* key, F&& use) {
    std::lock_guard<std::mutex> hold(m_mutex);
    auto found = m_dirs.find(key);
    if (found == m_dirs.end()) return kInvalidArgument;
    return use(*found->second);
  }

  u32 CloseDir(void* key) {
    std::lock_guard<std::mutex> hold(m_mutex);
    return m_dirs.erase(key) ? kOk : kInvalidArgument;
  }

 private:
  std::unique_ptr<ITransport> m_transport;
  std::mutex m_mutex;
  std::unordered_map<void*, std::unique_ptr<ChildList>> m_children;
  std::unordered_map<void*, std::unique_ptr<DirList>> m_dirs;
};

// The open connections. A call holds its own reference, so a connection closed by another
// thread meanwhile stays whole until the call returns; a closed or foreign pointer is refused.
class Registry {
 public:
  void* Add(std::shared_ptr<Connection> connection) {
    void* key = connection.get();
    std::lock_guard<std::mutex> hold(m_mutex);
    m_open.emplace(key, std::move(connection));
    return key;
  }
  std::shared_ptr<Connection> Find(void* key) {
    if (!key) return nullptr;
    std::lock_guard<std::mutex> hold(m_mutex);
    auto found = m_open.find(key);
    return found == m_open.end() ? nullptr : found->second;
  }
  std::shared_ptr<Connection> Remove(void* key) {
    std::lock_guard<std::mutex> hold(m_mutex);
    auto found = m_open.find(key);
    if (found == m_open.end()) return nullptr;
    std::shared_ptr<Connection> connection = std::move(found->second);
    m_open.erase(found);
    return connection;
  }

 private:
  std::mutex m_mutex;
  std::unordered_map<void*, std::shared_ptr<Connection>> m_open;
};

// Never destroyed: a host may close connections from its own exit-time destructors.
Registry& registry() {
  static Registry* instance = new Registry;
  return *instance;
}

// Runs a call body; C callers never see an exception (memory exhaustion becomes 165).
template <typename F>
u32 Guarded(F&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return kFailed;
  } catch (...) {
    return kError;
  }
}

// The common shape of a call on a connection.
template <typename F>
u32 OnConnection(void* tree, F&& body) noexcept {
  return Guarded([&]() -> u32 {
    std::shared_ptr<Connection> connection = registry().Find(tree);
    if (!connection) return kInvalidArgument;
    return body(*connection);
  });
}

template <typename T>
u32 GetTyped(void* tree, const char* path, T* value, Type want) {
  if (!path || !value) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) -> u32 {
    Value read;
    u32 result = c.transport().Read(path, want, "get", &read);
    if (result != kOk) return result;
    if constexpr (std::is_floating_point_v<T>) {
      *value = static_cast<T>(read.real);
    } else {
      *value = static_cast<T>(read.integer);
    }
    return kOk;
  });
}

u32 SetTyped(void* tree, const char* path, const Value& value, int commit) {
  if (!path) return kInvalidArgument;
  return OnConnection(
      tree, [&](Connection& c) { return c.transport().Write(path, value, commit, "set"); });
}

// Host copies come from the C allocator so that hosts may release them with free.
char* CopyText(const std::string& text) {
  auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (!copy) throw std::bad_alloc();
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

uint16_t* CopyUtf16(const std::u16string& text) {
  auto* copy = static_cast<uint16_t*>(std::malloc((text.size() + 1) * sizeof(uint16_t)));
  if (!copy) throw std::bad_alloc();
  for (std::size_t i = 0; i < text.size(); ++i)
    copy[i] = text[i];
  copy[text.size()] = 0;
  return copy;
}

}  // namespace

u32 OpenConnection(std::unique_ptr<ITransport> transport, void** tree) {
  if (!transport || !tree) return kInvalidArgument;
  return Guarded([&]() -> u32 {
    *tree = registry().Add(std::make_shared<Connection>(std::move(transport)));
    return kOk;
  });
}

ITransport* TransportOf(void* tree) {
  std::shared_ptr<Connection> connection = registry().Find(tree);
  return connection ? &connection->transport() : nullptr;
}

}  // namespace paramtree

using namespace paramtree;

extern "C" {

namespace {
// Why the calling thread's last resOpen failed.
thread_local std::string t_openError;
}  // namespace

RES_API uint32_t resOpen(const char* address, void** tree) {
  t_openError.clear();
  if (!address || !tree) {
    t_openError = !address ? "no address given" : "no place for the connection given";
    return kInvalidArgument;
  }
  return Guarded([&]() -> u32 {
    std::string_view text(address);
    std::unique_ptr<ITransport> transport;
    u32 result = kNotFound;
    if (text.substr(0, 3) == "sim" && (text.size() == 3 || text[3] == ':')) {
      result = OpenSimTransport(text.substr(3), &transport, &t_openError);
    } else {
      t_openError = "no camera answers at \"" + std::string(text) +
                    "\" (addresses: sim, sim:<profile>, sim:file=<path>)";
    }
    if (result != kOk) return result;
    return OpenConnection(std::move(transport), tree);
  });
}

RES_API const char* resLastOpenError(void) { return t_openError.c_str(); }

RES_API uint32_t resClose(void* tree) {
  return Guarded([&]() -> u32 {
    // The transport goes when the last call still running on it returns.
    return registry().Remove(tree) ? kOk : kInvalidArgument;
  });
}

RES_API void* resAlloc(size_t size) { return std::malloc(size); }
RES_API void resFree(void* pointer) { std::free(pointer); }

RES_API const char* resErrorToString(uint32_t code) {
  switch (code) {
    case RES_OK:
      return "Success";
    case RES_TIMEOUT:
      return "Time-out: the camera did not answer in time";
    case RES_NOT_SUPPORTED:
      return "Not supported in this form, or inconsistent camera state";
    case RES_NOT_FOUND:
      return "Not found: no such path, file or item";
    case RES_NO_LIMITS:
      return "No limits available for this value";
    case RES_READ_ONLY:
      return "Not writable: the value is read-only";
    case RES_FAILED:
      return "The operation failed";
    case RES_INVALID_ARGUMENT:
      return "Invalid argument";
    case RES_UNEXPECTED_VALUE:
      return "Unexpected value read from the camera";
    case RES_OUT_OF_ENUMERATION:
      return "Value outside the enumeration";
    case RES_TOO_LARGE:
      return "Too long or too large";
    case RES_ACCESS_DENIED:
      return "Access denied";
    case RES_ERROR:
      return "Failure (unknown handle or no finer reason)";
    default:
      return "Unknown result code";
  }
}

RES_API uint32_t resVerify(void* tree, const char* path) {
  if (!path) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) { return c.transport().Verify(path); });
}

RES_API uint32_t resGetBool(void* tree, const char* path, bool* value) {
  return GetTyped(tree, path, value, Type::Bool);
}
RES_API uint32_t resGetInt8(void* tree, const char* path, int8_t* value) {
  return GetTyped(tree, path, value, Type::Int8);
}
RES_API uint32_t resGetUInt8(void* tree, const char* path, uint8_t* value) {
  return GetTyped(tree, path, value, Type::UInt8);
}
RES_API uint32_t resGetInt16(void* tree, const char* path, int16_t* value) {
  return GetTyped(tree, path, value, Type::Int16);
}
RES_API uint32_t resGetUInt16(void* tree, const char* path, uint16_t* value) {
  return GetTyped(tree, path, value, Type::UInt16);
}
RES_API uint32_t resGetInt32(void* tree, const char* path, int32_t* value) {
  return GetTyped(tree, path, value, Type::Int32);
}
RES_API uint32_t resGetUInt32(void* tree, const char* path, uint32_t* value) {
  return GetTyped(tree, path, value, Type::UInt32);
}
RES_API uint32_t resGetInt(void* tree, const char* path, int* value) {
  return GetTyped(tree, path, value, Type::Int);
}
RES_API uint32_t resGetFlt32(void* tree, const char* path, float* value) {
  return GetTyped(tree, path, value, Type::Float);
}
RES_API uint32_t resGetFlt64(void* tree, const char* path, double* value) {
  return GetTyped(tree, path, value, Type::Double);
}

RES_API uint32_t resSetBool(void* tree, const char* path, bool value, int commit) {
  return SetTyped(tree, path, Value::Bool(value), commit);
}
RES_API uint32_t resSetInt8(void* tree, const char* path, int8_t value, int commit) {
  return SetTyped(tree, path, Value::I8(value), commit);
}
RES_API uint32_t resSetUInt8(void* tree, const char* path, uint8_t value, int commit) {
  return SetTyped(tree, path, Value::U8(value), commit);
}
RES_API uint32_t resSetInt16(void* tree, const char* path, int16_t value, int commit) {
  return SetTyped(tree, path, Value::I16(value), commit);
}
RES_API uint32_t resSetUInt16(void* tree, const char* path, uint16_t value, int commit) {
  return SetTyped(tree, path, Value::U16(value), commit);
}
RES_API uint32_t resSetInt32(void* tree, const char* path, int32_t value, int commit) {
  return SetTyped(tree, path, Value::I32(value), commit);
}
RES_API uint32_t resSetUInt32(void* tree, const char* path, uint32_t value, int commit) {
  return SetTyped(tree, path, Value::U32(value), commit);
}
RES_API uint32_t resSetInt(void* tree, const char* path, int value, int commit) {
  return SetTyped(tree, path, Value::Int(value), commit);
}
RES_API uint32_t resSetFlt32(void* tree, const char* path, float value, int commit) {
  return SetTyped(tree, path, Value::F32(value), commit);
}
RES_API uint32_t resSetFlt64(void* tree, const char* path, double value, int commit) {
  return SetTyped(tree, path, Value::F64(value), commit);
}
RES_API uint32_t resSetDouble(void* tree, const char* path, double value, int commit) {
  return SetTyped(tree, path, Value::F64(value), commit);
}

RES_API uint32_t resGetString(void* tree, const char* path, char** text) {
  if (!path || !text) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) -> u32 {
    Value read;
    u32 result = c.transport().Read(path, Type::String, "getString", &read);
    if (result != kOk) return result;
    *text = CopyText(read.text);
    return kOk;
  });
}

RES_API void resFreeString(char** text) {
  if (!text) return;
  std::free(*text);
  *text = nullptr;
}

RES_API uint32_t resSetString(void* tree, const char* path, const char* text, int commit) {
  if (!path || !text) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) {
    return c.transport().Write(path, Value::Str(text), commit, "setString");
  });
}

RES_API uint32_t resGetLimitsFlt32Ex(void* tree, const char* path, float* min, float* max) {
  if (!path || !min || !max) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) -> u32 {
    double low = 0.0;
    double high = 0.0;
    u32 result = c.transport().GetLimits(path, &low, &high);
    if (result != kOk) return result;
    *min = ToFloat(low);
    *max = ToFloat(high);
    return kOk;
  });
}

RES_API uint32_t resGet(void* tree, const char* path, resValue* value) {
  if (!path || !value) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) -> u32 {
    Value read;
    u32 result = c.transport().Read(path, Type::None, "getValue", &read);
    if (result != kOk) return result;
    resValue out{};
    if (read.type == Type::Bool) {
      out.type = RES_TYPE_BOOL;
      out.payload.b = read.integer != 0;
    } else if (IsInteger(read.type)) {
      out.type = RES_TYPE_UINT32;
      out.payload.u32 = static_cast<uint32_t>(read.integer);
    } else if (IsFloating(read.type)) {
      out.type = RES_TYPE_DOUBLE;
      out.payload.f64 = read.real;
    } else if (read.type == Type::String) {
      out.type = RES_TYPE_STRING;
      out.payload.text = CopyText(read.text);
    } else if (read.type == Type::Utf16) {
      out.type = RES_TYPE_UTF16;
      out.payload.utf16 = CopyUtf16(read.utf16);
    } else {
      return kNotSupported;
    }
    *value = out;
    return kOk;
  });
}

RES_API uint32_t resFiniValue(resValue* value) {
  if (!value) return kInvalidArgument;
  if (value->type == RES_TYPE_STRING) std::free(value->payload.text);
  if (value->type == RES_TYPE_UTF16) std::free(value->payload.utf16);
  *value = resValue{};
  return kOk;
}

RES_API uint32_t resGetAttributes(void* tree, const char* path, resAttributes* attributes) {
  if (!path || !attributes) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) -> u32 {
    u32 flags = 0;
    u32 result = c.transport().GetAttributes(path, &flags);
    if (result == kOk) attributes->flags = flags;
    return result;
  });
}

RES_API uint32_t resGetChildren(void* tree, const char* path, void** list) {
  if (!path || !list) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) -> u32 {
    std::vector<std::string> names;
    u32 result = c.transport().GetChildren(path, &names);
    if (result != kOk) return result;
    *list = c.AddChildren(std::move(names));
    return kOk;
  });
}

RES_API uint32_t resGetFirstChild(void* tree, void* list, const char** name) {
  if (!name) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) {
    return c.WithChildren(list, [&](ChildList& children) -> u32 {
      children.next = 0;
      if (children.names.empty()) return kNotFound;
      *name = children.names[children.next++].c_str();
      return kOk;
    });
  });
}

RES_API uint32_t resGetNextChild(void* tree, void* list, const char** name) {
  if (!name) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) {
    return c.WithChildren(list, [&](ChildList& children) -> u32 {
      if (children.next >= children.names.size()) return kNotFound;
      *name = children.names[children.next++].c_str();
      return kOk;
    });
  });
}

RES_API void resFreeChildren(void* tree, void* list) {
  OnConnection(tree, [&](Connection& c) -> u32 {
    c.FreeChildren(list);
    return kOk;
  });
}

RES_API uint32_t resSetTimeout(void* tree, uint32_t milliseconds) {
  return OnConnection(tree, [&](Connection& c) { return c.transport().SetTimeout(milliseconds); });
}

RES_API uint32_t resAcquire(void* tree) {
  return OnConnection(tree, [&](Connection& c) { return c.transport().Acquire(); });
}

RES_API uint32_t resRelease(void* tree) {
  return OnConnection(tree, [&](Connection& c) { return c.transport().Release(); });
}

RES_API uint32_t resFileExists(void* tree, const char* path) {
  if (!path) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) { return c.transport().FileExists(path); });
}

RES_API uint32_t resDeleteFile(void* tree, const char* path) {
  if (!path) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) { return c.transport().DeleteFile(path); });
}

RES_API uint32_t resRenameFile(void* tree, const char* path, const char* newPath) {
  if (!path || !newPath) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) { return c.transport().RenameFile(path, newPath); });
}

RES_API uint32_t resCreateDir(void* tree, const char* path) {
  if (!path) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) { return c.transport().CreateDir(path); });
}

RES_API uint32_t resRemoveDir(void* tree, const char* path) {
  if (!path) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) { return c.transport().RemoveDir(path); });
}

RES_API uint32_t resGetFileInfo(void* tree, const char* path, uint8_t* attributes, uint32_t* size,
                                uint64_t* time) {
  if (!path) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) -> u32 {
    FileInfo info;
    u32 result = c.transport().GetFileInfo(path, &info);
    if (result != kOk) return result;
    if (attributes) *attributes = info.attributes;
    if (size) *size = info.size;
    if (time) *time = info.time;
    return kOk;
  });
}

RES_API uint32_t resDirOpen(void* tree, void** dir, const char* directory, const char* pattern) {
  if (!dir || !directory) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) -> u32 {
    std::vector<DirEntry> entries;
    u32 result = c.transport().ListDir(directory, pattern ? pattern : "*", &entries);
    if (result != kOk) return result;
    *dir = c.AddDir(std::move(entries));
    return kOk;
  });
}

RES_API uint32_t resDirRead(void* tree, void* dir, const char** name, uint8_t* attributes,
                            uint32_t* size, uint64_t* time) {
  return OnConnection(tree, [&](Connection& c) {
    return c.WithDir(dir, [&](DirList& list) -> u32 {
      if (list.next >= list.entries.size()) return kNotFound;
      const DirEntry& entry = list.entries[list.next++];
      list.current = entry.name;
      if (name) *name = list.current.c_str();
      if (attributes) *attributes = entry.info.attributes;
      if (size) *size = entry.info.size;
      if (time) *time = entry.info.time;
      return kOk;
    });
  });
}

RES_API uint32_t resDirClose(void* tree, void* dir) {
  return OnConnection(tree, [&](Connection& c) { return c.CloseDir(dir); });
}

RES_API uint32_t resSendFile(void* tree, const char* path, uint32_t size, resReadCallback read,
                             void* readContext, resProgressCallback progress,
                             void* progressContext) {
  if (!path || !read) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) -> u32 {
    std::unique_ptr<IUpload> upload;
    u32 result = c.transport().BeginUpload(path, size, &upload);
    if (result != kOk) return result;
    const u32 chunk = std::max<u32>(1, c.transport().ChunkSize());
    std::vector<u8> buffer(std::min(chunk, size));
    for (u32 done = 0; done < size;) {
      u32 length = std::min(chunk, size - done);
      // The host's non-zero answer ends the transfer with that code; the upload is abandoned.
      result = read(done, buffer.data(), length, readContext);
      if (result != kOk) return result;
      result = upload->Write(done, buffer.data(), length);
      if (result != kOk) return result;
      done += length;
      if (progress) progress(done, size, progressContext);
    }
    return upload->Commit();
  });
}

RES_API uint32_t resRecvFile(void* tree, const char* path, resWriteCallback write,
                             void* writeContext, resProgressCallback progress,
                             void* progressContext) {
  if (!path || !write) return kInvalidArgument;
  return OnConnection(tree, [&](Connection& c) -> u32 {
    std::unique_ptr<IDownload> download;
    u32 result = c.transport().BeginDownload(path, &download);
    if (result != kOk) return result;
    const u32 size = download->Size();
    const u32 chunk = std::max<u32>(1, c.transport().ChunkSize());
    std::vector<u8> buffer(std::min(chunk, size));
    for (u32 done = 0; done < size;) {
      u32 length = std::min(chunk, size - done);
      result = download->Read(done, buffer.data(), length);
      if (result != kOk) return result;
      result = write(done, buffer.data(), length, writeContext);
      if (result != kOk) return result;
      done += length;
      if (progress) progress(done, size, progressContext);
    }
    return kOk;
  });
}

}  // extern "C"
