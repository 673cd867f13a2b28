// The simulated property-tree camera behind libParamTree, and the handle tests use to drive and
// observe it. A connection opened with resOpen("sim...") or sim::ptree::Connect talks to one
// Camera; CameraOf gives the test that camera.
//
// The test side (Set, Remove, faults, hooks, the file store's Put, ...) changes the camera
// directly: it bypasses read-only flags, limits and hooks and leaves no traffic. Only client
// calls (res*) are recorded.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ParamTreeTransport.h"

namespace sim::ptree {

using paramtree::FileInfo;
using paramtree::i64;
using paramtree::Type;
using paramtree::u16;
using paramtree::u32;
using paramtree::u64;
using paramtree::u8;
using paramtree::Value;

// One client call as the camera saw it.
struct PT_API Access {
  // "verify", "get", "getString", "getValue", "set", "setString", "limits", "attributes",
  // "children", "timeout", "acquire", "release", "fileExists", "deleteFile", "renameFile",
  // "createDir", "removeDir", "fileInfo", "dirOpen", "send", "recv".
  std::string kind;
  // The tree path or camera file path; empty for timeout, acquire and release.
  std::string path;
  // get/set: the type asked for or written ("u16"); getValue: the type held. Otherwise empty.
  std::string type;
  // get/set: the value read (on success) or written, as text. renameFile: the new path;
  // dirOpen: the pattern; send: the size; timeout: the milliseconds; acquire/release: the depth
  // after the call; children: the number of children.
  std::string value;
  int commit = -1;  // the commit argument of set calls
  u32 result = 0;
};

// The camera's file system: directories and files with an attribute byte, a size and a time
// (seconds since 1970-01-01 UTC, taken from the store's clock when a file is written). Names are
// kept as written and compared without regard to ASCII case; '/' separates directories, a
// leading '/' is optional and repeated or trailing '/' are ignored. Entries list in the order
// they were created. Thread-safe.
class PT_API FileStore {
 public:
  FileStore();
  ~FileStore();
  FileStore(const FileStore&) = delete;
  FileStore& operator=(const FileStore&) = delete;

  // --- Test side ---
  // Creates or replaces a file, creating missing directories; 0 or the reason it cannot.
  u32 Put(const std::string& path, std::vector<u8> data);
  std::optional<std::vector<u8>> Data(const std::string& path) const;
  // Creates a directory with every missing parent.
  u32 MakeDirs(const std::string& path);
  bool IsFile(const std::string& path) const;
  bool IsDir(const std::string& path) const;
  // Names in a directory in listing order; empty for a missing directory.
  std::vector<std::string> Names(const std::string& directory) const;
  u32 SetAttributes(const std::string& path, u8 attributes);
  u32 SetTime(const std::string& path, u64 seconds);
  // Free space: stored files take from it, deleted ones give back; an upload larger than it is
  // refused with 169.
  void SetFreeSpace(u64 bytes);
  u64 FreeSpace() const;
  void SetClock(u64 seconds);
  u64 Clock() const;

  // --- What the camera answers to client calls ---
  u32 Exists(const std::string& path) const;
  u32 DeleteFile(const std::string& path);
  u32 Rename(const std::string& path, const std::string& newPath);
  u32 CreateDir(const std::string& path);
  u32 RemoveDir(const std::string& path);
  u32 Info(const std::string& path, FileInfo* info) const;
  // Entries of a directory whose names match the pattern: '*' any run of characters, '?' one
  // character, everything else itself, without regard to ASCII case.
  u32 List(const std::string& directory, const std::string& pattern,
           std::vector<paramtree::DirEntry>* entries) const;
  // Whether a file of that size could be stored there now.
  u32 CheckUpload(const std::string& path, u64 size) const;
  u32 StoreUpload(const std::string& path, std::vector<u8> data);
  u32 Snapshot(const std::string& path, std::vector<u8>* data) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m;
};

class PT_API Camera {
 public:
  // Runs after a client write of the path has stored the (converted) value; a non-zero answer
  // becomes the write's result (the value stays written unless the hook changes it back).
  using WriteHook = std::function<u32(Camera& camera, const std::string& path, const Value&)>;
  // Runs before a client read of the path; it may change the value, and a non-zero answer
  // becomes the read's result.
  using ReadHook = std::function<u32(Camera& camera, const std::string& path)>;

  Camera();
  ~Camera();
  Camera(const Camera&) = delete;
  Camera& operator=(const Camera&) = delete;

  // --- The property tree ---
  // Creates the path (and its parents) or replaces its value and type; flags and limits stay.
  // 166 for a malformed path (it must be "." or ".name.name...").
  u32 Set(const std::string& path, const Value& value);
  // Stores a value converted into the type the path already has (the client's write rules,
  // without read-only and limits); 160 when missing. How behaviours change values.
  u32 Update(const std::string& path, const Value& value);
  // A node without value (a group of children).
  u32 AddNode(const std::string& path);
  std::optional<Value> Get(const std::string& path) const;
  bool Has(const std::string& path) const;
  // The value as text (paramtree::ToText); empty when missing.
  std::string Text(const std::string& path) const;
  // Integer and boolean values; `fallback` when missing or of another type.
  i64 Integer(const std::string& path, i64 fallback = 0) const;
  // Removes the path with everything below it: client calls then answer 160.
  bool Remove(const std::string& path);
  std::vector<std::string> Children(const std::string& path) const;
  void SetReadOnly(const std::string& path, bool readOnly = true);
  bool IsReadOnly(const std::string& path) const;
  void SetLimits(const std::string& path, double min, double max);
  void ClearLimits(const std::string& path);
  void SetHex(const std::string& path, bool hex = true);

  // --- Simulated time: milliseconds since the camera was made. It moves on by the tick with
  // every client call and by every zel::SleepMs in the process, so that what the camera does
  // over time (moves, runs, drifts) progresses while a host polls it, without real waiting.
  u64 NowMs() const;
  void AdvanceMs(u64 milliseconds);
  // The time one client call takes (default 1 ms; profile "option tick <ms>").
  void SetTickMs(u32 milliseconds);

  // --- Traffic: one record per client call, in order ---
  std::vector<Access> Traffic() const;
  void ClearTraffic();
  std::size_t Count(std::string_view kind) const;
  std::size_t Count(std::string_view kind, std::string_view path) const;
  std::size_t CountPath(std::string_view path) const;
  // Successful set and setString calls as "path=value", in order.
  std::vector<std::string> Writes() const;
  // Recording is on from the start; off, nothing is kept (long runs).
  void SetTrafficLogging(bool on);

  // --- Fault injection ---
  // The next `count` client calls on `path` (whose kind is `kind`, when given) answer `code`
  // without touching the camera. Faults are consumed in the order they were injected.
  void InjectFault(const std::string& path, u32 code, u32 count = 1, const std::string& kind = "");
  // The same for calls on any path; calls without a path (timeout, acquire, release) are hit only
  // when `kind` names them.
  void InjectFaultAny(u32 code, u32 count = 1, const std::string& kind = "");
  // In the next transfer (send or recv), chunk number `chunk` (from 0) answers `code`.
  void FailTransferChunk(u32 chunk, u32 code);
  // The client call numbered `index` from now (0: the next one; every kind of call counts, in
  // the order of the traffic log) answers `code` without touching the camera. Lets a test fail
  // each step of an operation in turn.
  void FailCall(u64 index, u32 code);
  void ClearFaults();
  u32 PendingFaults() const;

  // --- Hooks (several per path run in the order added; the first failure stops them) ---
  void OnWrite(const std::string& path, WriteHook hook);
  void OnRead(const std::string& path, ReadHook hook);
  void ClearHooks(const std::string& path);

  // --- Time-out: the last value any connection set, and every resSetTimeout in order ---
  u32 Timeout() const;
  std::vector<u32> TimeoutHistory() const;
  void ClearTimeoutHistory();

  // --- Acquire/release ---
  // The owner's acquire depth; 0 when no thread holds the connection.
  u32 AcquireDepth() const;
  // Client calls waiting for another thread's acquisition (or for calls in flight to end).
  std::size_t WaitingCalls() const;
  // Blocks until at least `count` calls wait or `limitMs` pass; whether they did. Lets a test
  // see that a call is held back without sleeping.
  bool WaitForWaitingCalls(std::size_t count, u32 limitMs = 10000) const;

  // --- Files ---
  FileStore& Files();
  const FileStore& Files() const;
  // The size of one transfer chunk (default 4096 bytes; 0 is taken as 1).
  void SetChunkSize(u32 bytes);
  u32 ChunkSize() const;

  // The camera's inside, for the transport.
  struct State;
  State& state();

 private:
  std::unique_ptr<State> m;
};

// The camera of a simulated connection; null for any other (or a closed) connection.
PT_API Camera* CameraOf(void* tree);
// Opens one more client connection to an existing camera (several connections may share it).
PT_API u32 Connect(std::shared_ptr<Camera> camera, void** tree);

// --- Profiles (format: docs/simulated-cameras.md) ---
// Names of the built-in profiles ("sim" first).
PT_API std::vector<std::string> BuiltinProfiles();
// The text of a built-in profile; null when there is none of that name.
PT_API const char* BuiltinProfileText(std::string_view name);
// Load a profile into a camera. The profile is checked as a whole before anything changes:
// 160 for an unknown built-in name or an unreadable file, 169 for a file over 16 MiB, 166 for a
// malformed profile, with the reason ("<origin>:<line>: <what>") in *error when given.
PT_API u32 LoadBuiltinProfile(Camera& camera, std::string_view name, std::string* error = nullptr);
PT_API u32 LoadProfileText(Camera& camera, std::string_view text, std::string* error = nullptr);
PT_API u32 LoadProfileFile(Camera& camera, const std::string& path, std::string* error = nullptr);
// Why the calling thread's last resOpen of a simulated camera failed; empty after a success.
PT_API std::string LastOpenError();

// --- Behaviours: named hook sets a profile switches on ---
PT_API std::vector<std::string> BehaviourNames();
// Installs a behaviour on a camera (after its paths are in place); false for an unknown name.
PT_API bool InstallBehaviour(Camera& camera, std::string_view name);

}  // namespace sim::ptree
