// The simulated camera: its tree as client calls see it, and the test side.
#include <algorithm>
#include <chrono>

#include "CameraState.h"
#include "zel/time.h"

namespace sim::ptree {

using namespace paramtree;

namespace {

// Longest text a client may write; the camera refuses more with 169.
constexpr std::size_t kMaxTextLength = 4096;

using Lock = std::lock_guard<std::recursive_mutex>;

std::string TypeText(Type type) { return type == Type::None ? std::string() : TypeName(type); }

double NumberOf(const Value& value) {
  return IsFloating(value.type) ? value.real : static_cast<double>(value.integer);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Client calls

u32 Camera::State::TakeFault(std::string_view kind, std::string_view path) {
  Lock hold(mutex);
  if (failCall && failCall->first == calls++) {
    u32 code = failCall->second;
    failCall.reset();
    return code;
  }
  for (auto it = faults.begin(); it != faults.end(); ++it) {
    bool pathMatches = it->path.empty() ? !path.empty() || !it->kind.empty() : it->path == path;
    bool kindMatches = it->kind.empty() || it->kind == kind;
    if (!pathMatches || !kindMatches) continue;
    u32 code = it->code;
    if (--it->remaining == 0) faults.erase(it);
    return code;
  }
  return 0;
}

std::optional<ChunkFault> Camera::State::TakeChunkFault() {
  Lock hold(mutex);
  std::optional<ChunkFault> taken = chunkFault;
  chunkFault.reset();
  return taken;
}

void Camera::State::Log(Access access) {
  nowMs.fetch_add(tickMs.load(std::memory_order_relaxed), std::memory_order_relaxed);
  Lock hold(mutex);
  if (logging) traffic.push_back(std::move(access));
}

u32 Camera::State::Verify(const std::string& path) {
  Lock hold(mutex);
  Access access{"verify", path, "", "", -1, 0};
  access.result = TakeFault("verify", path);
  if (access.result == 0) {
    if (!ValidTreePath(path)) {
      access.result = kInvalidArgument;
    } else if (!tree.Find(path)) {
      access.result = kNotFound;
    }
  }
  u32 result = access.result;
  Log(std::move(access));
  return result;
}

u32 Camera::State::Read(const std::string& path, Type want, const char* call, Value* value) {
  Lock hold(mutex);
  Access access{call, path, TypeText(want), "", -1, 0};
  u32 result = TakeFault(call, path);
  if (result == 0 && !ValidTreePath(path)) result = kInvalidArgument;
  if (result == 0) {
    auto hooks = readHooks.find(path);
    if (hooks != readHooks.end()) {
      std::vector<ReadHook> copy = hooks->second;  // a hook may add hooks
      for (ReadHook& hook : copy) {
        result = hook(camera, path);
        if (result != 0) break;
      }
    }
  }
  if (result == 0) {
    const Node* node = tree.Find(path);
    if (!node) {
      result = kNotFound;
    } else {
      if (want == Type::None) access.type = TypeName(node->value.type);
      result = ConvertForRead(node->value, want, value);
    }
  }
  if (result == 0) access.value = ToText(*value);
  access.result = result;
  Log(std::move(access));
  return result;
}

u32 Camera::State::Write(const std::string& path, const Value& value, int commit,
                         const char* call) {
  Lock hold(mutex);
  Access access{call, path, TypeText(value.type), ToText(value), commit, 0};
  u32 result = TakeFault(call, path);
  if (result == 0 && !ValidTreePath(path)) result = kInvalidArgument;
  Node* node = nullptr;
  Value stored;
  if (result == 0) {
    node = tree.Find(path);
    if (!node) {
      result = kNotFound;
    } else if (node->value.type == Type::None) {
      result = kNotSupported;
    } else if (node->readOnly) {
      result = kReadOnly;
    } else if (value.type == Type::String && value.text.size() > kMaxTextLength) {
      result = kTooLarge;
    } else {
      result = ConvertForWrite(node->value.type, value, &stored);
    }
  }
  if (result == 0 && node->hasLimits && (IsInteger(stored.type) || IsFloating(stored.type))) {
    double number = NumberOf(stored);
    if (number < node->min || number > node->max) result = kInvalidArgument;
  }
  if (result == 0) {
    node->value = stored;
    auto hooks = writeHooks.find(path);
    if (hooks != writeHooks.end()) {
      std::vector<WriteHook> copy = hooks->second;
      for (WriteHook& hook : copy) {
        result = hook(camera, path, stored);
        if (result != 0) break;
      }
    }
  }
  access.result = result;
  Log(std::move(access));
  return result;
}

u32 Camera::State::Limits(const std::string& path, double* min, double* max) {
  Lock hold(mutex);
  Access access{"limits", path, "", "", -1, 0};
  u32 result = TakeFault("limits", path);
  if (result == 0 && !ValidTreePath(path)) result = kInvalidArgument;
  if (result == 0) {
    const Node* node = tree.Find(path);
    if (!node) {
      result = kNotFound;
    } else if (!node->hasLimits) {
      result = kNoLimits;
    } else {
      *min = node->min;
      *max = node->max;
      access.value = ToText(Value::F64(node->min)) + "," + ToText(Value::F64(node->max));
    }
  }
  access.result = result;
  Log(std::move(access));
  return result;
}

u32 Camera::State::Attributes(const std::string& path, u32* flags) {
  Lock hold(mutex);
  Access access{"attributes", path, "", "", -1, 0};
  u32 result = TakeFault("attributes", path);
  if (result == 0 && !ValidTreePath(path)) result = kInvalidArgument;
  if (result == 0) {
    const Node* node = tree.Find(path);
    if (!node) {
      result = kNotFound;
    } else {
      *flags = node->hex ? RES_ATTR_HEX : 0;
      access.value = std::to_string(*flags);
    }
  }
  access.result = result;
  Log(std::move(access));
  return result;
}

u32 Camera::State::Children(const std::string& path, std::vector<std::string>* names) {
  Lock hold(mutex);
  Access access{"children", path, "", "", -1, 0};
  u32 result = TakeFault("children", path);
  if (result == 0 && !ValidTreePath(path)) result = kInvalidArgument;
  if (result == 0) {
    const Node* node = tree.Find(path);
    if (!node) {
      result = kNotFound;
    } else {
      *names = node->children;
      access.value = std::to_string(names->size());
    }
  }
  access.result = result;
  Log(std::move(access));
  return result;
}

u32 Camera::State::RecordTimeout(u32 milliseconds) {
  Lock hold(mutex);
  Access access{"timeout", "", "", std::to_string(milliseconds), -1, 0};
  access.result = TakeFault("timeout", "");
  if (access.result == 0) {
    timeout = milliseconds;
    timeoutHistory.push_back(milliseconds);
  }
  u32 result = access.result;
  Log(std::move(access));
  return result;
}

// ---------------------------------------------------------------------------------------------
// Test side

namespace {
void PassTime(void* context, u32 milliseconds) {
  static_cast<Camera::State*>(context)->nowMs.fetch_add(milliseconds, std::memory_order_relaxed);
}
}  // namespace

Camera::Camera() : m(std::make_unique<State>(*this)) { zel::AddSleepObserver(&PassTime, m.get()); }
Camera::~Camera() { zel::RemoveSleepObserver(&PassTime, m.get()); }

u64 Camera::NowMs() const { return m->nowMs.load(std::memory_order_relaxed); }
void Camera::AdvanceMs(u64 milliseconds) {
  m->nowMs.fetch_add(milliseconds, std::memory_order_relaxed);
}
void Camera::SetTickMs(u32 milliseconds) {
  m->tickMs.store(milliseconds, std::memory_order_relaxed);
}
Camera::State& Camera::state() { return *m; }

u32 Camera::Set(const std::string& path, const Value& value) {
  Lock hold(m->mutex);
  Node* node = m->tree.Ensure(path);
  if (!node) return kInvalidArgument;
  node->value = value;
  return kOk;
}

u32 Camera::Update(const std::string& path, const Value& value) {
  Lock hold(m->mutex);
  Node* node = m->tree.Find(path);
  if (!node) return kNotFound;
  Value stored;
  u32 result = ConvertForWrite(node->value.type, value, &stored);
  if (result == kOk) node->value = stored;
  return result;
}

u32 Camera::AddNode(const std::string& path) {
  Lock hold(m->mutex);
  return m->tree.Ensure(path) ? kOk : kInvalidArgument;
}

std::optional<Value> Camera::Get(const std::string& path) const {
  Lock hold(m->mutex);
  const Node* node = m->tree.Find(path);
  if (!node) return std::nullopt;
  return node->value;
}

bool Camera::Has(const std::string& path) const {
  Lock hold(m->mutex);
  return m->tree.Find(path) != nullptr;
}

std::string Camera::Text(const std::string& path) const {
  std::optional<Value> value = Get(path);
  return value ? ToText(*value) : std::string();
}

i64 Camera::Integer(const std::string& path, i64 fallback) const {
  std::optional<Value> value = Get(path);
  if (!value || !(value->type == Type::Bool || IsInteger(value->type))) return fallback;
  return value->integer;
}

bool Camera::Remove(const std::string& path) {
  Lock hold(m->mutex);
  return m->tree.Remove(path);
}

std::vector<std::string> Camera::Children(const std::string& path) const {
  Lock hold(m->mutex);
  const Node* node = m->tree.Find(path);
  return node ? node->children : std::vector<std::string>();
}

void Camera::SetReadOnly(const std::string& path, bool readOnly) {
  Lock hold(m->mutex);
  if (Node* node = m->tree.Find(path)) node->readOnly = readOnly;
}

bool Camera::IsReadOnly(const std::string& path) const {
  Lock hold(m->mutex);
  const Node* node = m->tree.Find(path);
  return node && node->readOnly;
}

void Camera::SetLimits(const std::string& path, double min, double max) {
  Lock hold(m->mutex);
  if (Node* node = m->tree.Find(path)) {
    node->hasLimits = true;
    node->min = min;
    node->max = max;
  }
}

void Camera::ClearLimits(const std::string& path) {
  Lock hold(m->mutex);
  if (Node* node = m->tree.Find(path)) node->hasLimits = false;
}

void Camera::SetHex(const std::string& path, bool hex) {
  Lock hold(m->mutex);
  if (Node* node = m->tree.Find(path)) node->hex = hex;
}

std::vector<Access> Camera::Traffic() const {
  Lock hold(m->mutex);
  return m->traffic;
}

void Camera::ClearTraffic() {
  Lock hold(m->mutex);
  m->traffic.clear();
}

std::size_t Camera::Count(std::string_view kind) const {
  Lock hold(m->mutex);
  return std::count_if(m->traffic.begin(), m->traffic.end(),
                       [&](const Access& a) { return a.kind == kind; });
}

std::size_t Camera::Count(std::string_view kind, std::string_view path) const {
  Lock hold(m->mutex);
  return std::count_if(m->traffic.begin(), m->traffic.end(),
                       [&](const Access& a) { return a.kind == kind && a.path == path; });
}

std::size_t Camera::CountPath(std::string_view path) const {
  Lock hold(m->mutex);
  return std::count_if(m->traffic.begin(), m->traffic.end(),
                       [&](const Access& a) { return a.path == path; });
}

std::vector<std::string> Camera::Writes() const {
  Lock hold(m->mutex);
  std::vector<std::string> writes;
  for (const Access& a : m->traffic) {
    if ((a.kind == "set" || a.kind == "setString") && a.result == kOk) {
      writes.push_back(a.path + "=" + a.value);
    }
  }
  return writes;
}

void Camera::SetTrafficLogging(bool on) {
  Lock hold(m->mutex);
  m->logging = on;
}

void Camera::InjectFault(const std::string& path, u32 code, u32 count, const std::string& kind) {
  if (count == 0 || path.empty()) return;
  Lock hold(m->mutex);
  m->faults.push_back(Fault{path, kind, code, count});
}

void Camera::InjectFaultAny(u32 code, u32 count, const std::string& kind) {
  if (count == 0) return;
  Lock hold(m->mutex);
  m->faults.push_back(Fault{"", kind, code, count});
}

void Camera::FailTransferChunk(u32 chunk, u32 code) {
  Lock hold(m->mutex);
  m->chunkFault = ChunkFault{chunk, code};
}

void Camera::ClearFaults() {
  Lock hold(m->mutex);
  m->faults.clear();
  m->chunkFault.reset();
  m->failCall.reset();
}

void Camera::FailCall(u64 index, u32 code) {
  Lock hold(m->mutex);
  m->failCall = std::make_pair(m->calls + index, code);
}

u32 Camera::PendingFaults() const {
  Lock hold(m->mutex);
  u32 total = (m->chunkFault ? 1 : 0) + (m->failCall ? 1 : 0);
  for (const Fault& fault : m->faults)
    total += fault.remaining;
  return total;
}

void Camera::OnWrite(const std::string& path, WriteHook hook) {
  Lock hold(m->mutex);
  m->writeHooks[path].push_back(std::move(hook));
}

void Camera::OnRead(const std::string& path, ReadHook hook) {
  Lock hold(m->mutex);
  m->readHooks[path].push_back(std::move(hook));
}

void Camera::ClearHooks(const std::string& path) {
  Lock hold(m->mutex);
  m->writeHooks.erase(path);
  m->readHooks.erase(path);
}

u32 Camera::Timeout() const {
  Lock hold(m->mutex);
  return m->timeout;
}

std::vector<u32> Camera::TimeoutHistory() const {
  Lock hold(m->mutex);
  return m->timeoutHistory;
}

void Camera::ClearTimeoutHistory() {
  Lock hold(m->mutex);
  m->timeoutHistory.clear();
}

u32 Camera::AcquireDepth() const { return m->gate.Depth(); }
std::size_t Camera::WaitingCalls() const { return m->gate.Waiting(); }
bool Camera::WaitForWaitingCalls(std::size_t count, u32 limitMs) const {
  return m->gate.WaitForWaiting(count, limitMs);
}

FileStore& Camera::Files() { return m->files; }
const FileStore& Camera::Files() const { return m->files; }

void Camera::SetChunkSize(u32 bytes) {
  Lock hold(m->mutex);
  m->chunkSize = std::max<u32>(1, bytes);
}

u32 Camera::ChunkSize() const {
  Lock hold(m->mutex);
  return m->chunkSize;
}

}  // namespace sim::ptree
