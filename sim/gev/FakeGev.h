// sim::gev: a GigE Vision camera on 127.0.0.1 that nobody here wrote: Aravis's own fake camera
// (ArvGvFakeCamera), serving a GenICam description made from a simulated camera's profile, so
// that the Aravis transport of libzelcam runs against Aravis's real network client code.
//
// Every feature of the profile becomes camera registers: its value and, for numbers, its limits
// (and availability where a state lacks it). A selected feature has one block of registers per
// selector value, reached through an address formula. The profile's behaviours become GenICam:
// "period" a converter over the clock frequency, "sum" a formula, "mirror" a second feature over
// the same register. Other behaviours (window, file protocol) do not exist on this camera.
// Commands write their command value; the camera has finished when the register is cleared again,
// which a test (or the fake camera program) does by writing the register.
//
// Network tests run in a network namespace of their own whose only interface is loopback
// (IsolateNetwork), so that nothing reaches any other host and port 3956 is free.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

typedef struct _ArvGvFakeCamera ArvGvFakeCamera;

namespace sim::gev {

using u8 = std::uint8_t;
using u32 = std::uint32_t;
using i64 = std::int64_t;

// What a register holds.
enum class RegisterKind { Integer, Float, Boolean, Text, Bytes };

struct Register {
  u32 address = 0;
  u32 length = 0;
  RegisterKind kind = RegisterKind::Integer;
};

struct Command {
  std::string name;
  u32 address = 0;
};

// A camera description: the GenICam XML, where each feature's value lives (for a selected
// feature: under the selector's first value; for numbers also their limits, under the names of
// their register nodes "<feature>__min", "__max" and "__inc") and what the memory holds at the
// start.
struct Description {
  std::string xml;
  std::map<std::string, Register> values;
  std::vector<Command> commands;
  std::vector<std::pair<u32, std::vector<u8>>> initial;
};

// First address of the camera's own registers (below it lie the GigE Vision bootstrap registers)
// and the end of the memory the fake camera has.
constexpr u32 kFirstAddress = 0x1000;
constexpr u32 kMemoryEnd = 0x10000;

// The description of a simulated camera's profile (the text format of docs/simulated-cameras.md).
// Throws std::runtime_error when the profile is malformed or its registers do not fit.
Description Describe(const std::string& profileText);
// The description of the built-in profile "sim".
const Description& DefaultDescription();

// Moves the calling thread (call it before any other thread starts, so that the whole process
// follows) into a new network namespace with loopback up and nothing else. False with the reason
// when the machine does not allow it (it needs root, or CAP_SYS_ADMIN).
bool IsolateNetwork(std::string* why);

// Aravis's fake GigE Vision camera serving a description on 127.0.0.1:3956.
class FakeCamera {
 public:
  explicit FakeCamera(const Description& description = DefaultDescription());
  ~FakeCamera();
  FakeCamera(const FakeCamera&) = delete;
  FakeCamera& operator=(const FakeCamera&) = delete;

  // Whether it serves; when not, Error() says why.
  bool Running() const { return m_camera != nullptr; }
  const std::string& Error() const { return m_error; }
  // Stops serving (its thread and sockets go); the camera no longer answers.
  void Stop();

  // The camera's memory, as the camera itself sees it.
  std::vector<u8> Read(u32 address, u32 length) const;
  void Write(u32 address, const std::vector<u8>& bytes);
  // A feature's value register (see Description::values). Unknown features throw
  // std::out_of_range.
  i64 GetInt(const std::string& feature) const;
  void SetInt(const std::string& feature, i64 value);
  double GetFloat(const std::string& feature) const;
  void SetFloat(const std::string& feature, double value);
  std::string GetText(const std::string& feature) const;
  void SetText(const std::string& feature, const std::string& text);
  // Whether a host holds the camera's control channel, and how long the camera waits for its
  // heartbeat before it gives the channel up (the GigE Vision bootstrap registers).
  bool Controlled() const;
  void SetHeartbeatTimeout(u32 milliseconds);
  // Executed commands (their register holds the command value).
  std::vector<std::string> PendingCommands() const;
  // Finishes every executed command by clearing its register, as the camera does when it has
  // acted; returns how many there were.
  int CompleteCommands();

 private:
  const Register& ValueOf(const std::string& feature) const;

  Description m_description;
  ArvGvFakeCamera* m_camera = nullptr;
  std::string m_error;
};

}  // namespace sim::gev
