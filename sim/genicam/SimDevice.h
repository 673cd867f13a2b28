// sim::genicam: the in-process simulated GenICam device behind libzelcam's "sim" addresses, and
// the handle through which tests look inside it: features, traffic log, injected faults, hooks,
// the camera's file store and the camera side of the file protocol.
//
// Everything a host does goes through the zel::cam::gic interfaces and is logged and subject to
// injected faults. The Device methods below are the test's back door: they are neither logged nor
// faulted, and they do not check limits or writability, but value setters do run write hooks so
// that derived values (an integration time that follows its width, say) stay consistent.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "zel/cam/gic.h"

#define SIM_API __attribute__((visibility("default")))

namespace sim::genicam {

using i64 = std::int64_t;
using u64 = std::uint64_t;
using u8 = std::uint8_t;
using u32 = std::uint32_t;

enum class Kind { Integer, Float, Boolean, Enumeration, String, Command, Register };

// "int", "float", "bool", "enum", "string", "command", "register" (the profile keywords).
SIM_API const char* KindName(Kind kind);

struct EnumEntry {
  std::string name;
  i64 value = 0;
};

// A feature to add. Which fields count depends on the kind; enumerations keep their current
// entry's value in intValue, registers their contents (and so their length) in bytes.
struct FeatureSpec {
  std::string name;
  Kind kind = Kind::Integer;
  bool available = true;
  bool writable = true;
  i64 intValue = 0;
  i64 intMin = std::numeric_limits<i64>::min();
  i64 intMax = std::numeric_limits<i64>::max();
  i64 intInc = 1;
  double floatValue = 0.0;
  double floatMin = std::numeric_limits<double>::lowest();
  double floatMax = std::numeric_limits<double>::max();
  bool boolValue = false;
  std::string text;
  std::vector<EnumEntry> entries;
  std::vector<u8> bytes;
  // IsDone answers false this many times after each Execute, then true.
  int pollsUntilDone = 0;
  // When set, the feature holds one state (value, limits, availability) per value of this
  // integer or enumeration feature, as "VoltageVolts" does per "VoltageIndex".
  std::string selector;
};

// One record of the traffic log: one access by a host.
struct Access {
  std::string feature;
  // "lookup", "available", "get", "set", "min", "max", "inc", "entries", "execute", "isDone",
  // "length", "regGet", "regSet".
  std::string access;
  // The value read or written as text ("found"/"missing" for a lookup, the byte count for a
  // register transfer); empty when the access threw.
  std::string value;
  // What the access threw, empty when it succeeded.
  std::string error;
};

enum class Fault {
  Timeout,          // zel::cam::gic::CTimeoutException
  Access,           // zel::cam::gic::CAccessException
  InvalidArgument,  // std::invalid_argument
  OutOfRange,       // std::out_of_range
  RuntimeError,     // std::runtime_error
  LogicError,       // std::logic_error
  Exception,        // another std::exception
  NonStandard,      // an int: not a std::exception at all
};

SIM_API const char* FaultName(Fault fault);

// Makes accesses of one feature throw: after `skip` matching accesses have passed, the next
// `count` matching ones throw `fault`. An empty `access` matches every access except lookups;
// "lookup" makes IGenICam::GetFeature itself throw.
struct FaultSpec {
  std::string feature;
  Fault fault = Fault::Timeout;
  int count = 1;
  int skip = 0;
  std::string access;
};

// The fault that hits the access recorded at log[index] when the same sequence runs again from
// the same start (the log cleared, the same device state): its feature and access kind, with
// `skip` counting the earlier records of the same feature and access.
SIM_API FaultSpec FaultAtStep(const std::vector<Access>& log, std::size_t index, Fault fault);

// Makes the camera report a failure status for file or directory operations: the operation
// numbered `skip` (0-based, counting executes since the injection, only those of `operation` when
// that is not -1) and the next count-1 ones do nothing and set the status to `status`.
struct OperationFault {
  int skip = 0;
  int count = 1;
  i64 status = 1;
  i64 operation = -1;
};

// Status values the camera reports for file and directory operations. 2 is kept free for the
// directory listing's "nothing to list", so that no failure reads as an empty directory.
enum FileStatus : i64 {
  kFileSuccess = 0,
  kFileFailure = 1,      // a corrupt compressed stream, an unknown operation or selector
  kDirectoryEmpty = 2,   // a listing found nothing (the list is empty, not an error)
  kFileNotFound = 3,     // the file, its directory or a directory to list is missing
  kFileBadOffset = 4,    // a read outside the file, a length above the buffer register
  kFileOverflow = 5,     // a write past the announced size, or more than the store holds
  kFileNotOpen = 6,      // read, write or close without a matching open
  kFileExists = 7,       // rename or create onto an existing name
  kFileBadName = 8,      // an empty name, or a path that leaves the store
  kFileReadOnly = 9,     // write, delete or rename of a read-only file
  kFileIncomplete = 10,  // close of an upload that did not deliver the announced size
  kFileNotEmpty = 11,    // removal of a directory that still holds entries
};

// Directory entry attribute values ("DirectoryEntryAttrib").
enum : u8 { kAttribNormal = 0, kAttribReadOnly = 1, kAttribDirectory = 16 };

struct FileInfo {
  std::string name;  // the last component of the path
  bool directory = false;
  u64 size = 0;
  u64 modified = 0;
  u8 attrib = kAttribNormal;
};

// The camera's storage: directories and files in memory, paths from the root "/". Thread-safe.
class SIM_API FileStore {
 public:
  FileStore();
  ~FileStore();
  FileStore(const FileStore&) = delete;
  FileStore& operator=(const FileStore&) = delete;

  // The canonical form of a path ("/a/b"), or empty when it is not one (empty, "..", NUL).
  static std::string Normalize(const std::string& path);

  bool Exists(const std::string& path) const;
  bool IsDirectory(const std::string& path) const;
  std::optional<std::vector<u8>> Read(const std::string& path) const;
  std::optional<FileInfo> Info(const std::string& path) const;
  // Entries of a directory ordered by name; nullopt when it is not a directory.
  std::optional<std::vector<FileInfo>> List(const std::string& path) const;

  // Each returns one of the FileStatus values.
  i64 Write(const std::string& path, const std::vector<u8>& bytes);  // creates or replaces
  i64 MakeDirectory(const std::string& path);                        // the parent must exist
  i64 MakeDirectories(const std::string& path);                      // with missing parents
  i64 Remove(const std::string& path);  // a file, or an empty directory
  i64 Rename(const std::string& from, const std::string& to);
  i64 SetReadOnly(const std::string& path, bool readOnly);
  i64 SetModified(const std::string& path, u64 time);

  // The time stamped on files written from now on (seconds; each write advances it by one).
  void SetClock(u64 time);
  u64 Clock() const;
  // Bytes the store may hold in all; free space is this less the bytes of all files.
  void SetCapacity(u64 bytes);
  u64 Capacity() const;
  u64 FreeSpace() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

class SIM_API Device {
 public:
  using Hook = std::function<void(Device& device, const std::string& feature)>;

  Device();
  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  // Features. Add replaces a feature of the same name; names are case-sensitive.
  void Add(const FeatureSpec& spec);
  bool Remove(const std::string& name);
  bool Has(const std::string& name) const;
  std::vector<std::string> Names() const;
  // The feature's current state (for a selected feature: the state of the selector's value).
  // These throw std::invalid_argument for an unknown feature or one of another kind.
  FeatureSpec Spec(const std::string& name) const;
  Kind KindOf(const std::string& name) const;

  // Simulated time: milliseconds since the device was made. It moves on by the tick with every
  // host access and by every zel::SleepMs in the process, so that what the camera does over
  // time (moves, runs, drifts) progresses while a host polls it, without real waiting.
  u64 NowMs() const;
  void AdvanceMs(u64 milliseconds);
  // The time one host access takes (default 1 ms; profile "tick <ms>").
  void SetTickMs(u32 milliseconds);

  void SetAvailable(const std::string& name, bool available);
  void SetWritable(const std::string& name, bool writable);
  i64 GetInt(const std::string& name) const;  // integer or enumeration value
  void SetInt(const std::string& name, i64 value);
  double GetFloat(const std::string& name) const;
  void SetFloat(const std::string& name, double value);
  bool GetBool(const std::string& name) const;
  void SetBool(const std::string& name, bool value);
  // A string's text, or an enumeration's current entry name.
  std::string GetString(const std::string& name) const;
  void SetString(const std::string& name, const std::string& value);
  std::vector<u8> GetRegister(const std::string& name) const;
  void SetRegister(const std::string& name, const std::vector<u8>& bytes);
  void SetIntLimits(const std::string& name, i64 min, i64 max, i64 inc = 1);
  void SetFloatLimits(const std::string& name, double min, double max);
  void SetEntries(const std::string& name, const std::vector<EnumEntry>& entries);
  void SetPollsUntilDone(const std::string& name, int polls);
  int ExecuteCount(const std::string& name) const;
  // Forgets the per-selector states of a selected feature.
  void ResetSelected(const std::string& name);

  // Traffic log.
  std::vector<Access> Log() const;
  // Only the records of one feature, and of one access kind when `access` is not empty.
  std::vector<Access> Log(const std::string& feature, const std::string& access = "") const;
  std::size_t Count(const std::string& feature, const std::string& access = "") const;
  void ClearLog();
  // The log keeps the newest records only, 1048576 unless set, so that a device used for long
  // does not grow without bound.
  void SetLogLimit(std::size_t records);

  // Faults.
  void InjectFault(const FaultSpec& fault);
  void ClearFaults();
  // Faults still armed (their count not used up).
  std::size_t PendingFaults() const;
  void FailFileOperation(const OperationFault& fault);
  void FailDirectoryOperation(const OperationFault& fault);

  // Hooks run under the device lock: a write hook after a host or test write has stored the
  // value (when it throws, the old state comes back and the exception reaches the writer), an
  // execute hook when a host executes the command. A feature's hooks do not run again while they
  // are running, so two features that update each other settle. Returns an id for RemoveHook.
  int OnWrite(const std::string& name, Hook hook);
  int OnExecute(const std::string& name, Hook hook);
  // A read hook runs before a host reads the feature's value, so that a value that changes with
  // time (a position on the way, a status) can be brought up to date.
  int OnRead(const std::string& name, Hook hook);
  void RemoveHook(int id);

  // Storage and the camera side of the file protocol.
  FileStore& Files();
  // Where a file of a file-selector kind lives: kind 0 takes the name as a path, kind 5 is one
  // fixed file, the others are a directory and an extension ("/nuc", ".nuc").
  void SetFilePlace(int kind, const std::string& directoryOrPath, const std::string& extension);
  // The store path of a file of that kind and name, empty when there is none.
  std::string PathOf(int kind, const std::string& name) const;
  bool IsFileOpen() const;

  // The library's own feature objects reach the device through this.
  struct Impl;
  Impl& Internal() { return *m_impl; }

 private:
  std::unique_ptr<Impl> m_impl;
};

// A new simulated device for an address: "sim", "sim:<built-in profile>", "sim:file=<path>";
// empty for another address, with the reason in *error (when given).
SIM_API zel::TSharedPtr<zel::cam::gic::IGenICam> OpenSimDevice(const char* address,
                                                               std::string* error = nullptr);
// A new simulated device from profile text (the format of docs/simulated-cameras.md).
SIM_API zel::TSharedPtr<zel::cam::gic::IGenICam> OpenSimProfile(const std::string& text,
                                                                std::string* error = nullptr);
// The simulated device behind a libzelcam device; null for any other device.
SIM_API Device* DeviceOf(zel::cam::gic::IGenICam* device);

// The built-in profiles: "sim" is the default camera, the others are variants of it.
SIM_API std::vector<std::string> BuiltinProfileNames();
// The profile's text; empty for an unknown name.
SIM_API std::string BuiltinProfileText(const std::string& name);

// Loads profile text into a device; throws std::runtime_error naming the line on bad input.
SIM_API void LoadProfile(Device& device, const std::string& text);

}  // namespace sim::genicam
