// The Aravis transport's tests against Aravis's fake GigE Vision camera. The program's main moves
// the process into a network namespace of its own, with only loopback, before any thread starts;
// where the machine does not allow that, every network test is skipped with the reason.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gev/FakeGev.h"
#include "zel/cam/gic.h"

namespace aravis_test {

// Set once by main.
void SetIsolation(bool isolated, const std::string& why);
bool Isolated();
const std::string& WhyNotIsolated();

// The running threads and open sockets of this process.
struct Resources {
  int threads = 0;
  int sockets = 0;
};
Resources CountResources();

// A fake camera serving the built-in "sim" profile (or a profile of the test's own) on
// 127.0.0.1, and a device of ours over it.
class Network : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Serves another profile instead (stops the camera that served before).
  void Serve(const std::string& profileText);
  // Opens "gev:127.0.0.1" with the options given (after a '?'); fails the test when it cannot.
  zel::TSharedPtr<zel::cam::gic::IGenICam> Open(const std::string& options = "");

  std::unique_ptr<sim::gev::FakeCamera> camera;
};

}  // namespace aravis_test
