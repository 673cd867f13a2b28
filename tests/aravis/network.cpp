#include "network.h"

#include <dirent.h>
#include <unistd.h>

#include <cstring>

namespace aravis_test {

namespace {
bool g_isolated = false;
std::string g_why = "the network was not isolated";

int CountEntries(const char* directory, const char* linkPrefix) {
  int count = 0;
  DIR* dir = opendir(directory);
  if (!dir) return -1;
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    if (linkPrefix) {
      const std::string path = std::string(directory) + "/" + entry->d_name;
      char target[256] = {};
      const ssize_t size = readlink(path.c_str(), target, sizeof target - 1);
      if (size <= 0 || std::strncmp(target, linkPrefix, std::strlen(linkPrefix)) != 0) continue;
    }
    ++count;
  }
  closedir(dir);
  return count;
}
}  // namespace

void SetIsolation(bool isolated, const std::string& why) {
  g_isolated = isolated;
  g_why = why;
}
bool Isolated() { return g_isolated; }
const std::string& WhyNotIsolated() { return g_why; }

Resources CountResources() {
  return Resources{CountEntries("/proc/self/task", nullptr),
                   CountEntries("/proc/self/fd", "socket:")};
}

void ExpectNothingLeft(const Resources& before) {
  const Resources after = CountResources();
  EXPECT_EQ(after.threads, before.threads);
  EXPECT_EQ(after.sockets, before.sockets);
}

void Network::SetUp() {
  if (!Isolated()) {
    GTEST_SKIP() << "network tests need a network namespace with only loopback: "
                 << WhyNotIsolated();
  }
  camera = std::make_unique<sim::gev::FakeCamera>();
  ASSERT_TRUE(camera->Running()) << camera->Error();
}

void Network::TearDown() { camera.reset(); }

void Network::Serve(const std::string& profileText) {
  camera.reset();
  camera = profileText.empty()
               ? std::make_unique<sim::gev::FakeCamera>()
               : std::make_unique<sim::gev::FakeCamera>(sim::gev::Describe(profileText));
  ASSERT_TRUE(camera->Running()) << camera->Error();
}

zel::TSharedPtr<zel::cam::gic::IGenICam> Network::Open(const std::string& options) {
  zel::CString reason;
  const std::string address = "gev:127.0.0.1" + (options.empty() ? "" : "?" + options);
  zel::TSharedPtr<zel::cam::gic::IGenICam> device =
      zel::cam::gic::OpenDevice(address.c_str(), &reason);
  if (!device) throw std::runtime_error(address + ": " + reason.c_str());
  return device;
}

}  // namespace aravis_test
