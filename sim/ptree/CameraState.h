// The inside of a simulated camera: what the transport calls to answer client calls.
#pragma once

#include <atomic>
#include <map>
#include <mutex>

#include "Gate.h"
#include "PathTree.h"
#include "SimTree.h"

namespace sim::ptree {

struct Fault {
  std::string path;  // empty: any path
  std::string kind;  // empty: any kind
  u32 code = 0;
  u32 remaining = 0;
};

struct ChunkFault {
  u32 chunk = 0;
  u32 code = 0;
};

struct Camera::State {
  explicit State(Camera& owner) : camera(owner) {}

  Camera& camera;
  // Guards everything below except the gate and the file store, which lock themselves. Hooks
  // run under it and may use the test side of the camera, hence recursive.
  mutable std::recursive_mutex mutex;
  PathTree tree;
  std::vector<Access> traffic;
  bool logging = true;
  std::vector<Fault> faults;
  std::optional<ChunkFault> chunkFault;
  u64 calls = 0;                                // client calls that have asked for faults
  std::optional<std::pair<u64, u32>> failCall;  // the call number that fails, and its code
  std::map<std::string, std::vector<WriteHook>> writeHooks;
  std::map<std::string, std::vector<ReadHook>> readHooks;
  u32 timeout = 10000;
  std::vector<u32> timeoutHistory;
  u32 chunkSize = 4096;
  std::atomic<u64> nowMs{0};
  std::atomic<u32> tickMs{1};

  Gate gate;
  FileStore files;

  // Takes one matching injected fault: its code, or 0 when none applies.
  u32 TakeFault(std::string_view kind, std::string_view path);
  std::optional<ChunkFault> TakeChunkFault();
  void Log(Access access);

  // Client calls on the tree.
  u32 Verify(const std::string& path);
  u32 Read(const std::string& path, Type want, const char* call, Value* value);
  u32 Write(const std::string& path, const Value& value, int commit, const char* call);
  u32 Limits(const std::string& path, double* min, double* max);
  u32 Attributes(const std::string& path, u32* flags);
  u32 Children(const std::string& path, std::vector<std::string>* names);
  u32 RecordTimeout(u32 milliseconds);
  // A file-store call: an injected fault or `body`, recorded either way.
  template <typename F>
  u32 FileCall(const char* kind, const std::string& path, std::string value, F&& body) {
    Access access{kind, path, "", std::move(value), -1, 0};
    access.result = TakeFault(kind, path);
    if (access.result == 0) access.result = body();
    u32 result = access.result;
    Log(std::move(access));
    return result;
  }
};

}  // namespace sim::ptree
