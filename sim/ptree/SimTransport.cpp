// The in-process transport: client calls pass the camera's gate and are answered by its state.
#include <atomic>
#include <cstring>

#include "CameraState.h"

namespace sim::ptree {

using namespace paramtree;

namespace {

thread_local std::string t_lastOpenError;

class SimTransport;

// The chunks of one transfer, each through the gate like any call.
class TransferBase {
 protected:
  TransferBase(std::shared_ptr<Camera> camera, u32 timeout)
      : m_camera(std::move(camera)),
        m_timeout(timeout),
        m_fault(m_camera->state().TakeChunkFault()) {}

  // 0 to go on with the next chunk, else its result.
  u32 NextChunk() {
    u32 index = m_chunks++;
    if (m_fault && m_fault->chunk == index) return m_fault->code;
    return kOk;
  }

  std::shared_ptr<Camera> m_camera;
  u32 m_timeout;
  std::optional<ChunkFault> m_fault;
  u32 m_chunks = 0;
};

class SimUpload final : public IUpload, TransferBase {
 public:
  SimUpload(std::shared_ptr<Camera> camera, u32 timeout, std::string path, u32 size)
      : TransferBase(std::move(camera), timeout), m_path(std::move(path)), m_size(size) {}

  u32 Write(u32 offset, const void* data, u32 length) override {
    GatePass pass(m_camera->state().gate, m_timeout);
    if (!pass.in()) return kTimeout;
    u32 result = NextChunk();
    if (result != kOk) return result;
    // Chunks arrive in order and never past the announced size.
    if (offset != m_data.size() || length > m_size - m_data.size()) return kInvalidArgument;
    const u8* bytes = static_cast<const u8*>(data);
    m_data.insert(m_data.end(), bytes, bytes + length);
    return kOk;
  }

  u32 Commit() override {
    GatePass pass(m_camera->state().gate, m_timeout);
    if (!pass.in()) return kTimeout;
    if (m_data.size() != m_size) return kFailed;
    return m_camera->state().files.StoreUpload(m_path, std::move(m_data));
  }

 private:
  std::string m_path;
  u32 m_size;
  std::vector<u8> m_data;
};

class SimDownload final : public IDownload, TransferBase {
 public:
  SimDownload(std::shared_ptr<Camera> camera, u32 timeout, std::vector<u8> data)
      : TransferBase(std::move(camera), timeout), m_data(std::move(data)) {}

  u32 Size() const override { return static_cast<u32>(m_data.size()); }

  u32 Read(u32 offset, void* buffer, u32 length) override {
    GatePass pass(m_camera->state().gate, m_timeout);
    if (!pass.in()) return kTimeout;
    u32 result = NextChunk();
    if (result != kOk) return result;
    if (offset > m_data.size() || length > m_data.size() - offset) return kInvalidArgument;
    if (length > 0) std::memcpy(buffer, m_data.data() + offset, length);
    return kOk;
  }

 private:
  std::vector<u8> m_data;
};

class SimTransport final : public ITransport {
 public:
  explicit SimTransport(std::shared_ptr<Camera> camera) : m_camera(std::move(camera)) {}

  // A connection closed while one of its threads still holds the camera lets it go, so that
  // other connections to the same camera are not locked out.
  ~SimTransport() override {
    std::lock_guard<std::mutex> hold(m_heldMutex);
    for (const auto& [thread, levels] : m_held)
      state().gate.ReleaseFor(thread, levels);
  }

  Camera& camera() { return *m_camera; }

  u32 Verify(const char* path) override {
    return Gated("verify", path, [&] { return state().Verify(path); });
  }

  u32 Read(const char* path, Type want, const char* call, Value* value) override {
    return Gated(call, path, [&] { return state().Read(path, want, call, value); });
  }

  u32 Write(const char* path, const Value& value, int commit, const char* call) override {
    return Gated(call, path, [&] { return state().Write(path, value, commit, call); });
  }

  u32 GetLimits(const char* path, double* min, double* max) override {
    return Gated("limits", path, [&] { return state().Limits(path, min, max); });
  }

  u32 GetAttributes(const char* path, u32* flags) override {
    return Gated("attributes", path, [&] { return state().Attributes(path, flags); });
  }

  u32 GetChildren(const char* path, std::vector<std::string>* names) override {
    return Gated("children", path, [&] { return state().Children(path, names); });
  }

  // The time-out is the client's own setting: it neither waits at the gate nor is refused there.
  u32 SetTimeout(u32 milliseconds) override {
    u32 result = state().RecordTimeout(milliseconds);
    if (result == kOk) m_timeout = milliseconds;
    return result;
  }

  u32 Acquire() override {
    // Waits at the gate first (the camera's state is busy while other calls run) and gives the
    // camera back when an injected fault answers instead.
    Access access{"acquire", "", "", "", -1, 0};
    u32 depth = 0;
    if (!state().gate.Acquire(m_timeout, &depth)) {
      access.result = kTimeout;
    } else if ((access.result = state().TakeFault("acquire", "")) != kOk) {
      state().gate.Release(&depth);
    } else {
      std::lock_guard<std::mutex> hold(m_heldMutex);
      ++m_held[std::this_thread::get_id()];
      access.value = std::to_string(depth);
    }
    u32 result = access.result;
    state().Log(std::move(access));
    return result;
  }

  u32 Release() override {
    // Recorded before a waiting call can run, so that the record order is the camera's order.
    std::lock_guard<std::recursive_mutex> recording(state().mutex);
    Access access{"release", "", "", "", -1, 0};
    access.result = state().TakeFault("release", "");
    u32 depth = 0;
    if (access.result == kOk) {
      if (state().gate.Release(&depth)) {
        std::lock_guard<std::mutex> hold(m_heldMutex);
        auto held = m_held.find(std::this_thread::get_id());
        if (held != m_held.end() && --held->second == 0) m_held.erase(held);
        access.value = std::to_string(depth);
      } else {
        access.result = kNotSupported;  // this thread holds nothing to release
      }
    }
    u32 result = access.result;
    state().Log(std::move(access));
    return result;
  }

  u32 FileExists(const char* path) override {
    return Files("fileExists", path, "", [&] { return files().Exists(path); });
  }

  u32 DeleteFile(const char* path) override {
    return Files("deleteFile", path, "", [&] { return files().DeleteFile(path); });
  }

  u32 RenameFile(const char* path, const char* newPath) override {
    return Files("renameFile", path, newPath, [&] { return files().Rename(path, newPath); });
  }

  u32 CreateDir(const char* path) override {
    return Files("createDir", path, "", [&] { return files().CreateDir(path); });
  }

  u32 RemoveDir(const char* path) override {
    return Files("removeDir", path, "", [&] { return files().RemoveDir(path); });
  }

  u32 GetFileInfo(const char* path, FileInfo* info) override {
    return Files("fileInfo", path, "", [&] { return files().Info(path, info); });
  }

  u32 ListDir(const char* directory, const char* pattern, std::vector<DirEntry>* entries) override {
    return Files("dirOpen", directory, pattern,
                 [&] { return files().List(directory, pattern, entries); });
  }

  u32 ChunkSize() override { return camera().ChunkSize(); }

  u32 BeginUpload(const char* path, u32 size, std::unique_ptr<IUpload>* upload) override {
    return Files("send", path, std::to_string(size), [&]() -> u32 {
      u32 result = files().CheckUpload(path, size);
      if (result == kOk) *upload = std::make_unique<SimUpload>(m_camera, m_timeout, path, size);
      return result;
    });
  }

  u32 BeginDownload(const char* path, std::unique_ptr<IDownload>* download) override {
    return Files("recv", path, "", [&]() -> u32 {
      std::vector<u8> data;
      u32 result = files().Snapshot(path, &data);
      if (result == kOk) {
        *download = std::make_unique<SimDownload>(m_camera, m_timeout, std::move(data));
      }
      return result;
    });
  }

 private:
  Camera::State& state() { return m_camera->state(); }
  FileStore& files() { return m_camera->Files(); }

  // A call that waits at the gate while another thread holds the camera; recorded as a time-out
  // when the wait outlasts the connection's time-out.
  template <typename F>
  u32 Gated(const char* kind, const char* path, F&& body) {
    GatePass pass(state().gate, m_timeout);
    if (!pass.in()) {
      state().Log(Access{kind, path, "", "", -1, kTimeout});
      return kTimeout;
    }
    return body();
  }

  template <typename F>
  u32 Files(const char* kind, const char* path, std::string value, F&& body) {
    return Gated(kind, path, [&] { return state().FileCall(kind, path, value, body); });
  }

  std::shared_ptr<Camera> m_camera;
  std::atomic<u32> m_timeout{10000};
  std::mutex m_heldMutex;
  std::unordered_map<std::thread::id, u32> m_held;  // acquisitions made through this connection
};

}  // namespace

Camera* CameraOf(void* tree) {
  auto* transport = dynamic_cast<SimTransport*>(TransportOf(tree));
  return transport ? &transport->camera() : nullptr;
}

u32 Connect(std::shared_ptr<Camera> camera, void** tree) {
  if (!camera || !tree) return kInvalidArgument;
  return OpenConnection(std::make_unique<SimTransport>(std::move(camera)), tree);
}

std::string LastOpenError() { return t_lastOpenError; }

}  // namespace sim::ptree

namespace paramtree {

u32 OpenSimTransport(std::string_view rest, std::unique_ptr<ITransport>* transport,
                     std::string* reason) {
  using namespace sim::ptree;
  auto camera = std::make_shared<Camera>();
  std::string error;
  u32 result;
  if (rest.empty()) {
    result = LoadBuiltinProfile(*camera, "sim", &error);
  } else if (rest.substr(0, 6) == ":file=") {
    result = LoadProfileFile(*camera, std::string(rest.substr(6)), &error);
  } else {
    result = LoadBuiltinProfile(*camera, rest.substr(1), &error);
  }
  t_lastOpenError = error;
  if (reason) *reason = error;
  if (result != kOk) return result;
  *transport = std::make_unique<SimTransport>(std::move(camera));
  return kOk;
}

}  // namespace paramtree
