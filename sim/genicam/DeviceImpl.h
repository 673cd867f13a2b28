// The inside of sim::genicam::Device: feature storage, per-selector states, the traffic log,
// faults, hooks, and the host-side (logged, faulted, checked) accesses used by the feature objects.
#pragma once

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "genicam/FileProtocol.h"
#include "genicam/SimDevice.h"

namespace sim::genicam {

// What a feature holds per selector value.
struct State {
  bool available = true;
  bool writable = true;
  i64 i = 0;
  i64 imin = 0;
  i64 imax = 0;
  i64 iinc = 1;
  double f = 0.0;
  double fmin = 0.0;
  double fmax = 0.0;
  bool b = false;
  std::string s;
  std::vector<u8> bytes;
};

struct Node {
  std::string name;
  Kind kind = Kind::Integer;
  std::vector<EnumEntry> entries;
  int polls = 0;
  int pending = 0;
  int executions = 0;
  std::string selector;
  State base;
  std::map<i64, State> selected;
};

struct HookEntry {
  int id = 0;
  std::string feature;
  bool onExecute = false;
  bool onRead = false;
  Device::Hook hook;
};

struct Device::Impl {
  explicit Impl(Device& owner) : owner(owner) {}

  // Test side (no log, no faults, no checks). Throw std::invalid_argument for an unknown feature
  // or one of another kind.
  Node& Require(const std::string& name, std::initializer_list<Kind> kinds);
  Node* Find(const std::string& name);
  State& StateOf(Node& node, int depth = 0);
  // Applies `change` to the feature's current state and runs its write hooks; restores the old
  // state when a hook throws.
  template <typename Change>
  void Store(const std::string& name, std::initializer_list<Kind> kinds, Change change);
  void RunHooks(const std::string& name, bool onExecute);
  // Read hooks of the feature, before a host reads its value.
  void RunReadHooks(const std::string& name);

  // Host side: every call is logged and may throw an injected fault.
  bool HostLookup(const std::string& name, Kind* kind);
  bool HostAvailable(const std::string& name, Kind kind);
  i64 HostGetInt(const std::string& name, Kind kind);  // integer or enumeration value
  void HostSetInt(const std::string& name, Kind kind, i64 value);
  i64 HostIntLimit(const std::string& name, const char* which);  // "min", "max", "inc"
  double HostGetFloat(const std::string& name);
  void HostSetFloat(const std::string& name, double value);
  double HostFloatLimit(const std::string& name, const char* which);
  bool HostGetBool(const std::string& name);
  void HostSetBool(const std::string& name, bool value);
  std::string HostGetText(const std::string& name, Kind kind);  // string, or enumeration entry
  void HostSetText(const std::string& name, Kind kind, const char* value);
  std::vector<EnumEntry> HostEntries(const std::string& name);
  void HostExecute(const std::string& name);
  bool HostIsDone(const std::string& name);
  i64 HostRegisterLength(const std::string& name);
  void HostRegisterGet(const std::string& name, u8* buffer, i64 length);
  void HostRegisterSet(const std::string& name, const u8* buffer, i64 length);

  // Runs one host access: fault check, the feature of the expected kind, `body` (which returns
  // the value text), the log record.
  template <typename Body>
  void Host(const std::string& name, Kind kind, const char* access, Body body);
  void ThrowArmedFault(const std::string& name, const std::string& access);
  void Record(const std::string& name, const char* access, std::string value, std::string error);

  Device& owner;
  mutable std::recursive_mutex mutex;
  std::map<std::string, Node> nodes;
  std::deque<Access> log;
  std::size_t logLimit = std::size_t{1} << 20;
  std::vector<FaultSpec> faults;
  std::vector<HookEntry> hooks;
  int nextHookId = 1;
  std::set<std::string> runningHooks;
  FileStore files;
  FileProtocol protocol;
  std::atomic<u64> nowMs{0};
  std::atomic<u32> tickMs{1};
};

}  // namespace sim::genicam
