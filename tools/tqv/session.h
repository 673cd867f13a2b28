// The cameras one run of the tool talks to, its exit codes and how a command fails.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "operations.h"

namespace tqvcli {

// Exit codes: 0, or one of a small set that the library's result codes fall into.
namespace exitcode {
constexpr int kOk = 0;
constexpr int kFailed = 1;        // TQV_FAILED, TQV_UNEXPECTED_VALUE, TQV_ERROR, host files
constexpr int kUsage = 2;         // the command line is wrong; nothing was sent to a camera
constexpr int kNotSupported = 3;  // TQV_NOT_SUPPORTED, TQV_NO_LIMITS
constexpr int kNotFound = 4;      // TQV_NOT_FOUND
constexpr int kRefused = 5;       // TQV_INVALID_ARGUMENT, TQV_OUT_OF_ENUMERATION, TQV_TOO_LARGE
constexpr int kDenied = 6;        // TQV_NOT_WRITABLE, TQV_ACCESS_DENIED
constexpr int kTimeout = 7;       // TQV_TIMEOUT
constexpr int kNoCamera = 8;      // the address opens no camera, or no handle can be made
}  // namespace exitcode

int ExitCodeOf(std::uint32_t result);

// A command that cannot go on: what to print on stderr and the exit code.
class Failure : public std::runtime_error {
 public:
  Failure(int exit, const std::string& message) : std::runtime_error(message), exit_(exit) {}
  int exit() const { return exit_; }

 private:
  int exit_;
};

// Throws a Failure for a result other than TQV_OK, with the library's text of the code.
void Check(std::uint32_t result, const std::string& what);

// An open camera: its connection and the library handle over it.
class Camera {
 public:
  virtual ~Camera() = default;
  void* handle() const { return handle_; }
  virtual const char* backend() const = 0;

 protected:
  void* handle_ = nullptr;
};

// Opens cameras by address; an address opened again in the same run gives the same camera, so
// that the commands of a batch see each other's changes.
//   "sim", "sim:<profile>", "sim:file=<path>"  the property-tree client
//   "gic:<address>"                            the GenICam client with that address
//   anything else                              the GenICam client with the whole address
class Session {
 public:
  Camera& Open(const std::string& address);

 private:
  std::map<std::string, std::unique_ptr<Camera>> cameras_;
};

// Binds command-line arguments to an operation's inputs before any camera is opened; throws a
// Failure (usage) when they do not fit.
Call Bind(const Operation& op, const std::vector<std::string>& arguments);
// Makes a bound call; throws a Failure when an argument cannot be prepared or the result is not
// TQV_OK.
Fields Execute(Call& call, void* handle, Progress* progress = nullptr);
// Both.
Fields RunOperation(void* handle, const Operation& op, const std::vector<std::string>& arguments,
                    Progress* progress = nullptr);
// The operation named prefix + name (when the name does not start with the prefix) or name;
// else a Failure that suggests close names.
const Operation& RequireOperation(const std::string& name, const std::string& prefix = "");

}  // namespace tqvcli
