// Aravis's fake GigE Vision camera serving a description, and the network namespace the tests
// run it in.
#include <arv.h>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "gev/FakeGev.h"

namespace sim::gev {

namespace {

std::uint64_t FromBigEndian(const std::vector<u8>& bytes) {
  std::uint64_t value = 0;
  for (u8 byte : bytes)
    value = value << 8 | byte;
  return value;
}

std::vector<u8> ToBigEndian(std::uint64_t value, u32 length) {
  std::vector<u8> bytes(length);
  for (u32 i = 0; i < length; ++i)
    bytes[length - 1 - i] = static_cast<u8>(value >> (8 * i));
  return bytes;
}

// The description's XML in a file of its own for as long as the fake camera starts.
class XmlFile {
 public:
  explicit XmlFile(const std::string& xml) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tqvgev.XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    m_directory = pattern;
    m_path = m_directory + "/camera.xml";
    FILE* file = std::fopen(m_path.c_str(), "wb");
    const bool written = file && std::fwrite(xml.data(), 1, xml.size(), file) == xml.size();
    if (file) std::fclose(file);
    if (!written) m_path.clear();
  }
  ~XmlFile() {
    std::error_code ignored;
    if (!m_directory.empty()) std::filesystem::remove_all(m_directory, ignored);
  }
  const std::string& path() const { return m_path; }

 private:
  std::string m_directory;
  std::string m_path;
};

}  // namespace

bool IsolateNetwork(std::string* why) {
  // Without root, a user namespace of our own may still give the right to make one.
  if (unshare(CLONE_NEWNET) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
    *why = std::string("cannot make a network namespace (") + std::strerror(errno) +
           "): run as root, or allow unprivileged user namespaces";
    return false;
  }
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  const bool up = fd >= 0 && ioctl(fd, SIOCGIFFLAGS, &request) == 0 &&
                  (request.ifr_flags |= IFF_UP, ioctl(fd, SIOCSIFFLAGS, &request) == 0);
  if (fd >= 0) close(fd);
  if (!up) *why = std::string("cannot bring loopback up (") + std::strerror(errno) + ")";
  return up;
}

FakeCamera::FakeCamera(const Description& description) : m_description(description) {
  XmlFile file(m_description.xml);
  if (file.path().empty()) {
    m_error = "cannot write the camera description to a temporary file";
    return;
  }
  m_camera = arv_gv_fake_camera_new_full("127.0.0.1", "TQV0001", file.path().c_str());
  if (!arv_gv_fake_camera_is_running(m_camera)) {
    g_clear_object(&m_camera);
    m_error = "the fake camera cannot serve 127.0.0.1:3956 (is loopback up, is the port free?)";
    return;
  }
  for (const auto& [address, bytes] : m_description.initial)
    Write(address, bytes);
}

FakeCamera::~FakeCamera() { Stop(); }

void FakeCamera::Stop() { g_clear_object(&m_camera); }

std::vector<u8> FakeCamera::Read(u32 address, u32 length) const {
  if (!m_camera) throw std::logic_error("the fake camera is stopped");
  if (address < kFirstAddress || length == 0 || address + length >= kMemoryEnd) {
    throw std::out_of_range("outside the camera's registers");
  }
  std::vector<u8> bytes(length);
  arv_fake_camera_read_memory(arv_gv_fake_camera_get_fake_camera(m_camera), address, length,
                              bytes.data());
  return bytes;
}

void FakeCamera::Write(u32 address, const std::vector<u8>& bytes) {
  if (!m_camera) throw std::logic_error("the fake camera is stopped");
  if (bytes.empty()) return;
  if (address < kFirstAddress || address + bytes.size() >= kMemoryEnd) {
    throw std::out_of_range("outside the camera's registers");
  }
  arv_fake_camera_write_memory(arv_gv_fake_camera_get_fake_camera(m_camera), address,
                               static_cast<u32>(bytes.size()), bytes.data());
}

const Register& FakeCamera::ValueOf(const std::string& feature) const {
  auto it = m_description.values.find(feature);
  if (it == m_description.values.end()) throw std::out_of_range("no feature " + feature);
  return it->second;
}

i64 FakeCamera::GetInt(const std::string& feature) const {
  const Register& reg = ValueOf(feature);
  const std::uint64_t raw = FromBigEndian(Read(reg.address, reg.length));
  // Sign-extend the register's width.
  const unsigned shift = 64 - 8 * reg.length;
  return static_cast<i64>(raw << shift) >> shift;
}

void FakeCamera::SetInt(const std::string& feature, i64 value) {
  const Register& reg = ValueOf(feature);
  Write(reg.address, ToBigEndian(static_cast<std::uint64_t>(value), reg.length));
}

double FakeCamera::GetFloat(const std::string& feature) const {
  const Register& reg = ValueOf(feature);
  const std::uint64_t raw = FromBigEndian(Read(reg.address, 8));
  double value = 0;
  std::memcpy(&value, &raw, sizeof value);
  return value;
}

void FakeCamera::SetFloat(const std::string& feature, double value) {
  std::uint64_t raw = 0;
  std::memcpy(&raw, &value, sizeof raw);
  Write(ValueOf(feature).address, ToBigEndian(raw, 8));
}

std::string FakeCamera::GetText(const std::string& feature) const {
  const Register& reg = ValueOf(feature);
  const std::vector<u8> bytes = Read(reg.address, reg.length);
  return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
}

void FakeCamera::SetText(const std::string& feature, const std::string& text) {
  const Register& reg = ValueOf(feature);
  if (text.size() >= reg.length) throw std::length_error("text too long for " + feature);
  std::vector<u8> bytes(text.begin(), text.end());
  bytes.resize(reg.length, 0);
  Write(reg.address, bytes);
}

// GigE Vision bootstrap registers.
constexpr u32 kHeartbeatTimeoutRegister = 0x0938;
constexpr u32 kControlChannelPrivilegeRegister = 0x0A00;

bool FakeCamera::Controlled() const {
  if (!m_camera) throw std::logic_error("the fake camera is stopped");
  guint32 privilege = 0;
  arv_fake_camera_read_register(arv_gv_fake_camera_get_fake_camera(m_camera),
                                kControlChannelPrivilegeRegister, &privilege);
  return privilege != 0;
}

void FakeCamera::SetHeartbeatTimeout(u32 milliseconds) {
  if (!m_camera) throw std::logic_error("the fake camera is stopped");
  arv_fake_camera_write_register(arv_gv_fake_camera_get_fake_camera(m_camera),
                                 kHeartbeatTimeoutRegister, milliseconds);
}

std::vector<std::string> FakeCamera::PendingCommands() const {
  std::vector<std::string> pending;
  for (const Command& command : m_description.commands) {
    if (FromBigEndian(Read(command.address, 4)) == 1) pending.push_back(command.name);
  }
  return pending;
}

int FakeCamera::CompleteCommands() {
  int completed = 0;
  for (const Command& command : m_description.commands) {
    if (FromBigEndian(Read(command.address, 4)) != 1) continue;
    Write(command.address, ToBigEndian(0, 4));
    ++completed;
  }
  return completed;
}

}  // namespace sim::gev
