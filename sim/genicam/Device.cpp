#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "genicam/DeviceImpl.h"
#include "zel/time.h"

namespace sim::genicam {

using zel::cam::gic::CAccessException;
using zel::cam::gic::CTimeoutException;

namespace {

// The exception behind Fault::Exception: a std::exception that is neither a runtime nor a logic
// error, so callers must fall through to their most general handler.
class SimulatedException : public std::exception {
 public:
  explicit SimulatedException(std::string text) : m_text(std::move(text)) {}
  const char* what() const noexcept override { return m_text.c_str(); }

 private:
  std::string m_text;
};

[[noreturn]] void ThrowFault(Fault fault, const std::string& feature) {
  std::string text = std::string("simulated ") + FaultName(fault) + " on " + feature;
  switch (fault) {
    case Fault::Timeout:
      throw CTimeoutException(text.c_str());
    case Fault::Access:
      throw CAccessException(text.c_str());
    case Fault::InvalidArgument:
      throw std::invalid_argument(text);
    case Fault::OutOfRange:
      throw std::out_of_range(text);
    case Fault::RuntimeError:
      throw std::runtime_error(text);
    case Fault::LogicError:
      throw std::logic_error(text);
    case Fault::Exception:
      throw SimulatedException(text);
    case Fault::NonStandard:
      break;
  }
  throw 42;  // deliberately not a std::exception
}

std::string FloatText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

const EnumEntry* EntryByValue(const Node& node, i64 value) {
  for (const EnumEntry& entry : node.entries) {
    if (entry.value == value) return &entry;
  }
  return nullptr;
}

const EnumEntry* EntryByName(const Node& node, const std::string& name) {
  for (const EnumEntry& entry : node.entries) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

std::string Quoted(const std::string& name) { return "'" + name + "'"; }

void CheckReadable(const Node& node, const State& state) {
  if (!state.available) {
    throw CAccessException(("GenICam: feature " + Quoted(node.name) + " is not available").c_str());
  }
}

void CheckWritable(const Node& node, const State& state) {
  CheckReadable(node, state);
  if (!state.writable) {
    throw CAccessException(("GenICam: feature " + Quoted(node.name) + " is read-only").c_str());
  }
}

State InitialState(const FeatureSpec& spec) {
  State state;
  state.available = spec.available;
  state.writable = spec.writable;
  state.i = spec.intValue;
  state.imin = spec.intMin;
  state.imax = spec.intMax;
  state.iinc = spec.intInc > 0 ? spec.intInc : 1;
  state.f = spec.floatValue;
  state.fmin = spec.floatMin;
  state.fmax = spec.floatMax;
  state.b = spec.boolValue;
  state.s = spec.text;
  state.bytes = spec.bytes;
  return state;
}

}  // namespace

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Integer:
      return "int";
    case Kind::Float:
      return "float";
    case Kind::Boolean:
      return "bool";
    case Kind::Enumeration:
      return "enum";
    case Kind::String:
      return "string";
    case Kind::Command:
      return "command";
    case Kind::Register:
      return "register";
  }
  return "?";
}

const char* FaultName(Fault fault) {
  switch (fault) {
    case Fault::Timeout:
      return "time-out";
    case Fault::Access:
      return "access exception";
    case Fault::InvalidArgument:
      return "invalid argument";
    case Fault::OutOfRange:
      return "out of range";
    case Fault::RuntimeError:
      return "runtime error";
    case Fault::LogicError:
      return "logic error";
    case Fault::Exception:
      return "std::exception";
    case Fault::NonStandard:
      return "non-standard exception";
  }
  return "?";
}

FaultSpec FaultAtStep(const std::vector<Access>& log, std::size_t index, Fault fault) {
  if (index >= log.size()) throw std::out_of_range("FaultAtStep: no such log record");
  FaultSpec spec;
  spec.feature = log[index].feature;
  spec.access = log[index].access;
  spec.fault = fault;
  for (std::size_t i = 0; i < index; ++i) {
    if (log[i].feature == spec.feature && log[i].access == spec.access) ++spec.skip;
  }
  return spec;
}

// ---- Impl: test side ----------------------------------------------------------------------

Node* Device::Impl::Find(const std::string& name) {
  auto it = nodes.find(name);
  return it == nodes.end() ? nullptr : &it->second;
}

Node& Device::Impl::Require(const std::string& name, std::initializer_list<Kind> kinds) {
  Node* node = Find(name);
  if (!node) throw std::invalid_argument("sim device: no feature " + Quoted(name));
  if (kinds.size() != 0 && std::find(kinds.begin(), kinds.end(), node->kind) == kinds.end()) {
    throw std::invalid_argument("sim device: feature " + Quoted(name) + " is of kind " +
                                KindName(node->kind));
  }
  return *node;
}

State& Device::Impl::StateOf(Node& node, int depth) {
  if (node.selector.empty()) return node.base;
  Node* selector = Find(node.selector);
  // A missing selector, or selectors chained in a loop, fall back to the shared state.
  if (!selector || depth > 8) return node.base;
  i64 key = StateOf(*selector, depth + 1).i;
  auto it = node.selected.find(key);
  if (it == node.selected.end()) it = node.selected.emplace(key, node.base).first;
  return it->second;
}

void Device::Impl::RunHooks(const std::string& name, bool onExecute) {
  std::string key = (onExecute ? "x:" : "w:") + name;
  if (!runningHooks.insert(key).second) return;
  struct Done {
    std::set<std::string>& running;
    std::string key;
    ~Done() { running.erase(key); }
  } done{runningHooks, key};
  // A hook may add or remove hooks: run a copy of the list as it stood.
  std::vector<HookEntry> toRun;
  for (const HookEntry& entry : hooks) {
    if (entry.feature == name && entry.onExecute == onExecute && !entry.onRead) {
      toRun.push_back(entry);
    }
  }
  for (const HookEntry& entry : toRun)
    entry.hook(owner, name);
}

void Device::Impl::RunReadHooks(const std::string& name) {
  std::vector<HookEntry> toRun;
  for (const HookEntry& entry : hooks) {
    if (entry.feature == name && entry.onRead) toRun.push_back(entry);
  }
  for (const HookEntry& entry : toRun)
    entry.hook(owner, name);
}

template <typename Change>
void Device::Impl::Store(const std::string& name, std::initializer_list<Kind> kinds,
                         Change change) {
  std::lock_guard<std::recursive_mutex> hold(mutex);
  Node& node = Require(name, kinds);
  State& state = StateOf(node);
  State saved = state;
  change(node, state);
  try {
    RunHooks(name, false);
  } catch (...) {
    if (Node* again = Find(name)) StateOf(*again) = saved;
    throw;
  }
}

// ---- Impl: host side ----------------------------------------------------------------------

void Device::Impl::Record(const std::string& name, const char* access, std::string value,
                          std::string error) {
  nowMs.fetch_add(tickMs.load(std::memory_order_relaxed), std::memory_order_relaxed);
  log.push_back(Access{name, access, std::move(value), std::move(error)});
  while (log.size() > logLimit)
    log.pop_front();
}

void Device::Impl::ThrowArmedFault(const std::string& name, const std::string& access) {
  bool fire = false;
  Fault fault = Fault::Timeout;
  for (FaultSpec& spec : faults) {
    if (spec.feature != name || spec.count <= 0) continue;
    bool matches = spec.access.empty() ? access != "lookup" : spec.access == access;
    if (!matches) continue;
    if (spec.skip > 0) {
      --spec.skip;
    } else if (!fire) {
      fire = true;
      fault = spec.fault;
      --spec.count;
    }
  }
  faults.erase(std::remove_if(faults.begin(), faults.end(),
                              [](const FaultSpec& spec) { return spec.count <= 0; }),
               faults.end());
  if (fire) ThrowFault(fault, name);
}

template <typename Body>
void Device::Impl::Host(const std::string& name, Kind kind, const char* access, Body body) {
  std::lock_guard<std::recursive_mutex> hold(mutex);
  try {
    ThrowArmedFault(name, access);
    if (std::strcmp(access, "get") == 0) RunReadHooks(name);
    Node* node = Find(name);
    if (!node || node->kind != kind) {
      throw CAccessException(("GenICam: feature " + Quoted(name) + " no longer exists").c_str());
    }
    std::string text = body(*node);
    Record(name, access, std::move(text), "");
  } catch (const std::exception& e) {
    Record(name, access, "", e.what());
    throw;
  } catch (...) {
    Record(name, access, "", "non-standard exception");
    throw;
  }
}

bool Device::Impl::HostLookup(const std::string& name, Kind* kind) {
  std::lock_guard<std::recursive_mutex> hold(mutex);
  try {
    ThrowArmedFault(name, "lookup");
  } catch (const std::exception& e) {
    Record(name, "lookup", "", e.what());
    throw;
  } catch (...) {
    Record(name, "lookup", "", "non-standard exception");
    throw;
  }
  Node* node = Find(name);
  Record(name, "lookup", node ? "found" : "missing", "");
  if (node) *kind = node->kind;
  return node != nullptr;
}

bool Device::Impl::HostAvailable(const std::string& name, Kind kind) {
  bool result = false;
  Host(name, kind, "available", [&](Node& node) {
    result = StateOf(node).available;
    return std::string(result ? "true" : "false");
  });
  return result;
}

i64 Device::Impl::HostGetInt(const std::string& name, Kind kind) {
  i64 result = 0;
  Host(name, kind, "get", [&](Node& node) {
    State& state = StateOf(node);
    CheckReadable(node, state);
    result = state.i;
    return std::to_string(result);
  });
  return result;
}

void Device::Impl::HostSetInt(const std::string& name, Kind kind, i64 value) {
  Host(name, kind, "set", [&](Node& node) {
    State& state = StateOf(node);
    CheckWritable(node, state);
    if (kind == Kind::Enumeration) {
      if (!EntryByValue(node, value)) {
        throw std::invalid_argument("GenICam: " + Quoted(name) + " has no entry of value " +
                                    std::to_string(value));
      }
    } else {
      if (value < state.imin || value > state.imax) {
        throw std::out_of_range("GenICam: " + std::to_string(value) + " is outside " +
                                std::to_string(state.imin) + ".." + std::to_string(state.imax) +
                                " of " + Quoted(name));
      }
      __int128 steps = static_cast<__int128>(value) - state.imin;
      if (state.iinc > 1 && steps % state.iinc != 0) {
        throw std::out_of_range("GenICam: " + std::to_string(value) + " is off the increment " +
                                std::to_string(state.iinc) + " of " + Quoted(name));
      }
    }
    Store(name, {kind}, [&](Node&, State& s) { s.i = value; });
    return std::to_string(value);
  });
}

i64 Device::Impl::HostIntLimit(const std::string& name, const char* which) {
  i64 result = 0;
  Host(name, Kind::Integer, which, [&](Node& node) {
    State& state = StateOf(node);
    CheckReadable(node, state);
    result = std::strcmp(which, "min") == 0   ? state.imin
             : std::strcmp(which, "max") == 0 ? state.imax
                                              : state.iinc;
    return std::to_string(result);
  });
  return result;
}

double Device::Impl::HostGetFloat(const std::string& name) {
  double result = 0.0;
  Host(name, Kind::Float, "get", [&](Node& node) {
    State& state = StateOf(node);
    CheckReadable(node, state);
    result = state.f;
    return FloatText(result);
  });
  return result;
}

void Device::Impl::HostSetFloat(const std::string& name, double value) {
  Host(name, Kind::Float, "set", [&](Node& node) {
    State& state = StateOf(node);
    CheckWritable(node, state);
    if (std::isnan(value) || value < state.fmin || value > state.fmax) {
      throw std::out_of_range("GenICam: " + FloatText(value) + " is outside " +
                              FloatText(state.fmin) + ".." + FloatText(state.fmax) + " of " +
                              Quoted(name));
    }
    Store(name, {Kind::Float}, [&](Node&, State& s) { s.f = value; });
    return FloatText(value);
  });
}

double Device::Impl::HostFloatLimit(const std::string& name, const char* which) {
  double result = 0.0;
  Host(name, Kind::Float, which, [&](Node& node) {
    State& state = StateOf(node);
    CheckReadable(node, state);
    result = std::strcmp(which, "min") == 0 ? state.fmin : state.fmax;
    return FloatText(result);
  });
  return result;
}

bool Device::Impl::HostGetBool(const std::string& name) {
  bool result = false;
  Host(name, Kind::Boolean, "get", [&](Node& node) {
    State& state = StateOf(node);
    CheckReadable(node, state);
    result = state.b;
    return std::string(result ? "true" : "false");
  });
  return result;
}

void Device::Impl::HostSetBool(const std::string& name, bool value) {
  Host(name, Kind::Boolean, "set", [&](Node& node) {
    CheckWritable(node, StateOf(node));
    Store(name, {Kind::Boolean}, [&](Node&, State& s) { s.b = value; });
    return std::string(value ? "true" : "false");
  });
}

std::string Device::Impl::HostGetText(const std::string& name, Kind kind) {
  std::string result;
  Host(name, kind, "get", [&](Node& node) {
    State& state = StateOf(node);
    CheckReadable(node, state);
    if (kind == Kind::Enumeration) {
      const EnumEntry* entry = EntryByValue(node, state.i);
      if (!entry) {
        throw std::logic_error("GenICam: " + Quoted(name) + " holds " + std::to_string(state.i) +
                               ", which no entry has");
      }
      result = entry->name;
    } else {
      result = state.s;
    }
    return result;
  });
  return result;
}

void Device::Impl::HostSetText(const std::string& name, Kind kind, const char* value) {
  Host(name, kind, "set", [&](Node& node) {
    if (!value) throw std::invalid_argument("GenICam: null text for " + Quoted(name));
    CheckWritable(node, StateOf(node));
    std::string text = value;
    if (kind == Kind::Enumeration) {
      const EnumEntry* entry = EntryByName(node, text);
      if (!entry) {
        throw std::invalid_argument("GenICam: " + Quoted(name) + " has no entry " + Quoted(text));
      }
      i64 number = entry->value;
      Store(name, {kind}, [&](Node&, State& s) { s.i = number; });
    } else {
      Store(name, {kind}, [&](Node&, State& s) { s.s = text; });
    }
    return text;
  });
}

std::vector<EnumEntry> Device::Impl::HostEntries(const std::string& name) {
  std::vector<EnumEntry> result;
  Host(name, Kind::Enumeration, "entries", [&](Node& node) {
    CheckReadable(node, StateOf(node));
    result = node.entries;
    std::string text;
    for (const EnumEntry& entry : result) {
      if (!text.empty()) text += ",";
      text += entry.name + ":" + std::to_string(entry.value);
    }
    return text;
  });
  return result;
}

void Device::Impl::HostExecute(const std::string& name) {
  Host(name, Kind::Command, "execute", [&](Node& node) {
    CheckWritable(node, StateOf(node));
    ++node.executions;
    node.pending = node.polls;
    RunHooks(name, true);
    return std::string();
  });
}

bool Device::Impl::HostIsDone(const std::string& name) {
  bool done = false;
  Host(name, Kind::Command, "isDone", [&](Node& node) {
    CheckReadable(node, StateOf(node));
    done = node.pending <= 0;
    if (!done) --node.pending;
    return std::string(done ? "true" : "false");
  });
  return done;
}

i64 Device::Impl::HostRegisterLength(const std::string& name) {
  i64 length = 0;
  Host(name, Kind::Register, "length", [&](Node& node) {
    State& state = StateOf(node);
    CheckReadable(node, state);
    length = static_cast<i64>(state.bytes.size());
    return std::to_string(length);
  });
  return length;
}

void Device::Impl::HostRegisterGet(const std::string& name, u8* buffer, i64 length) {
  Host(name, Kind::Register, "regGet", [&](Node& node) {
    State& state = StateOf(node);
    CheckReadable(node, state);
    if (!buffer || length < 0) {
      throw std::invalid_argument("GenICam: bad buffer for register " + Quoted(name));
    }
    if (length > static_cast<i64>(state.bytes.size())) {
      throw std::out_of_range("GenICam: " + std::to_string(length) + " bytes exceed register " +
                              Quoted(name) + " of " + std::to_string(state.bytes.size()));
    }
    if (length > 0) std::memcpy(buffer, state.bytes.data(), static_cast<std::size_t>(length));
    return std::to_string(length);
  });
}

void Device::Impl::HostRegisterSet(const std::string& name, const u8* buffer, i64 length) {
  Host(name, Kind::Register, "regSet", [&](Node& node) {
    State& state = StateOf(node);
    CheckWritable(node, state);
    if (!buffer || length < 0) {
      throw std::invalid_argument("GenICam: bad buffer for register " + Quoted(name));
    }
    if (length > static_cast<i64>(state.bytes.size())) {
      throw std::out_of_range("GenICam: " + std::to_string(length) + " bytes exceed register " +
                              Quoted(name) + " of " + std::to_string(state.bytes.size()));
    }
    Store(name, {Kind::Register}, [&](Node&, State& s) {
      if (length > 0) std::memcpy(s.bytes.data(), buffer, static_cast<std::size_t>(length));
    });
    return std::to_string(length);
  });
}

// ---- Device --------------------------------------------------------------------------------

namespace {
void PassTime(void* context, u32 milliseconds) {
  static_cast<Device::Impl*>(context)->nowMs.fetch_add(milliseconds, std::memory_order_relaxed);
}
}  // namespace

Device::Device() : m_impl(std::make_unique<Impl>(*this)) {
  zel::AddSleepObserver(&PassTime, m_impl.get());
}
Device::~Device() { zel::RemoveSleepObserver(&PassTime, m_impl.get()); }

u64 Device::NowMs() const { return m_impl->nowMs.load(std::memory_order_relaxed); }
void Device::AdvanceMs(u64 milliseconds) {
  m_impl->nowMs.fetch_add(milliseconds, std::memory_order_relaxed);
}
void Device::SetTickMs(u32 milliseconds) {
  m_impl->tickMs.store(milliseconds, std::memory_order_relaxed);
}

void Device::Add(const FeatureSpec& spec) {
  if (spec.name.empty()) throw std::invalid_argument("sim device: a feature needs a name");
  if (spec.kind == Kind::Enumeration) {
    for (std::size_t i = 0; i < spec.entries.size(); ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        if (spec.entries[i].name == spec.entries[j].name ||
            spec.entries[i].value == spec.entries[j].value) {
          throw std::invalid_argument("sim device: enumeration " + Quoted(spec.name) +
                                      " repeats entry " + Quoted(spec.entries[i].name));
        }
      }
    }
  }
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  Node node;
  node.name = spec.name;
  node.kind = spec.kind;
  node.entries = spec.entries;
  node.polls = spec.pollsUntilDone;
  node.selector = spec.selector;
  node.base = InitialState(spec);
  m_impl->nodes[spec.name] = std::move(node);
}

bool Device::Remove(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->nodes.erase(name) != 0;
}

bool Device::Has(const std::string& name) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->nodes.count(name) != 0;
}

std::vector<std::string> Device::Names() const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  std::vector<std::string> names;
  for (const auto& [name, node] : m_impl->nodes)
    names.push_back(name);
  return names;
}

FeatureSpec Device::Spec(const std::string& name) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  Node& node = m_impl->Require(name, {});
  const State& state = m_impl->StateOf(node);
  FeatureSpec spec;
  spec.name = node.name;
  spec.kind = node.kind;
  spec.available = state.available;
  spec.writable = state.writable;
  spec.intValue = state.i;
  spec.intMin = state.imin;
  spec.intMax = state.imax;
  spec.intInc = state.iinc;
  spec.floatValue = state.f;
  spec.floatMin = state.fmin;
  spec.floatMax = state.fmax;
  spec.boolValue = state.b;
  spec.text = state.s;
  spec.entries = node.entries;
  spec.bytes = state.bytes;
  spec.pollsUntilDone = node.polls;
  spec.selector = node.selector;
  return spec;
}

Kind Device::KindOf(const std::string& name) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->Require(name, {}).kind;
}

void Device::SetAvailable(const std::string& name, bool available) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->StateOf(m_impl->Require(name, {})).available = available;
}

void Device::SetWritable(const std::string& name, bool writable) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->StateOf(m_impl->Require(name, {})).writable = writable;
}

i64 Device::GetInt(const std::string& name) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->StateOf(m_impl->Require(name, {Kind::Integer, Kind::Enumeration})).i;
}

void Device::SetInt(const std::string& name, i64 value) {
  m_impl->Store(name, {Kind::Integer, Kind::Enumeration}, [&](Node&, State& s) { s.i = value; });
}

double Device::GetFloat(const std::string& name) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->StateOf(m_impl->Require(name, {Kind::Float})).f;
}

void Device::SetFloat(const std::string& name, double value) {
  m_impl->Store(name, {Kind::Float}, [&](Node&, State& s) { s.f = value; });
}

bool Device::GetBool(const std::string& name) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->StateOf(m_impl->Require(name, {Kind::Boolean})).b;
}

void Device::SetBool(const std::string& name, bool value) {
  m_impl->Store(name, {Kind::Boolean}, [&](Node&, State& s) { s.b = value; });
}

std::string Device::GetString(const std::string& name) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  Node& node = m_impl->Require(name, {Kind::String, Kind::Enumeration});
  const State& state = m_impl->StateOf(node);
  if (node.kind == Kind::String) return state.s;
  const EnumEntry* entry = EntryByValue(node, state.i);
  return entry ? entry->name : std::string();
}

void Device::SetString(const std::string& name, const std::string& value) {
  m_impl->Store(name, {Kind::String, Kind::Enumeration}, [&](Node& node, State& s) {
    if (node.kind == Kind::String) {
      s.s = value;
      return;
    }
    const EnumEntry* entry = EntryByName(node, value);
    if (!entry)
      throw std::invalid_argument("sim device: " + Quoted(name) + " has no entry " + value);
    s.i = entry->value;
  });
}

std::vector<u8> Device::GetRegister(const std::string& name) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->StateOf(m_impl->Require(name, {Kind::Register})).bytes;
}

void Device::SetRegister(const std::string& name, const std::vector<u8>& bytes) {
  m_impl->Store(name, {Kind::Register}, [&](Node&, State& s) { s.bytes = bytes; });
}

void Device::SetIntLimits(const std::string& name, i64 min, i64 max, i64 inc) {
  if (min > max || inc < 1) throw std::invalid_argument("sim device: bad limits for " + name);
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  State& state = m_impl->StateOf(m_impl->Require(name, {Kind::Integer}));
  state.imin = min;
  state.imax = max;
  state.iinc = inc;
}

void Device::SetFloatLimits(const std::string& name, double min, double max) {
  if (!(min <= max)) throw std::invalid_argument("sim device: bad limits for " + name);
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  State& state = m_impl->StateOf(m_impl->Require(name, {Kind::Float}));
  state.fmin = min;
  state.fmax = max;
}

void Device::SetEntries(const std::string& name, const std::vector<EnumEntry>& entries) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->Require(name, {Kind::Enumeration}).entries = entries;
}

void Device::SetPollsUntilDone(const std::string& name, int polls) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->Require(name, {Kind::Command}).polls = polls;
}

int Device::ExecuteCount(const std::string& name) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->Require(name, {Kind::Command}).executions;
}

void Device::ResetSelected(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->Require(name, {}).selected.clear();
}

std::vector<Access> Device::Log() const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return std::vector<Access>(m_impl->log.begin(), m_impl->log.end());
}

void Device::SetLogLimit(std::size_t records) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->logLimit = records;
  while (m_impl->log.size() > records)
    m_impl->log.pop_front();
}

std::vector<Access> Device::Log(const std::string& feature, const std::string& access) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  std::vector<Access> result;
  for (const Access& record : m_impl->log) {
    if (record.feature == feature && (access.empty() || record.access == access)) {
      result.push_back(record);
    }
  }
  return result;
}

std::size_t Device::Count(const std::string& feature, const std::string& access) const {
  return Log(feature, access).size();
}

void Device::ClearLog() {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->log.clear();
}

void Device::InjectFault(const FaultSpec& fault) {
  if (fault.feature.empty() || fault.count < 1 || fault.skip < 0) {
    throw std::invalid_argument("sim device: a fault needs a feature, a count and a skip >= 0");
  }
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->faults.push_back(fault);
}

void Device::ClearFaults() {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->faults.clear();
}

std::size_t Device::PendingFaults() const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->faults.size();
}

void Device::FailFileOperation(const OperationFault& fault) {
  if (fault.count < 1 || fault.skip < 0) throw std::invalid_argument("sim device: bad fault");
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->protocol.FailFile(fault);
}

void Device::FailDirectoryOperation(const OperationFault& fault) {
  if (fault.count < 1 || fault.skip < 0) throw std::invalid_argument("sim device: bad fault");
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->protocol.FailDirectory(fault);
}

int Device::OnWrite(const std::string& name, Hook hook) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  int id = m_impl->nextHookId++;
  m_impl->hooks.push_back(HookEntry{id, name, false, false, std::move(hook)});
  return id;
}

int Device::OnRead(const std::string& name, Hook hook) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  int id = m_impl->nextHookId++;
  m_impl->hooks.push_back(HookEntry{id, name, false, true, std::move(hook)});
  return id;
}

int Device::OnExecute(const std::string& name, Hook hook) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  int id = m_impl->nextHookId++;
  m_impl->hooks.push_back(HookEntry{id, name, true, false, std::move(hook)});
  return id;
}

void Device::RemoveHook(int id) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  auto& hooks = m_impl->hooks;
  hooks.erase(std::remove_if(hooks.begin(), hooks.end(),
                             [id](const HookEntry& entry) { return entry.id == id; }),
              hooks.end());
}

FileStore& Device::Files() { return m_impl->files; }

void Device::SetFilePlace(int kind, const std::string& directoryOrPath,
                          const std::string& extension) {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  m_impl->protocol.SetPlace(kind, directoryOrPath, extension);
}

std::string Device::PathOf(int kind, const std::string& name) const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->protocol.PathOf(kind, name);
}

bool Device::IsFileOpen() const {
  std::lock_guard<std::recursive_mutex> hold(m_impl->mutex);
  return m_impl->protocol.IsOpen();
}

}  // namespace sim::genicam
