// The Aravis transport's tests against Aravis's fake GigE Vision camera. The program's main moves
// the process into a network namespace of its own, with only loopback, before any thread starts;
// where the machine does not allow that, every network test is skipped with the reason.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
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
// Fails the test when threads or sockets were left behind since `before`.
void ExpectNothingLeft(const Resources& before);

// A feature of one kind of ours; throws, failing the test, when there is none.
template <typename Kind>
zel::TSharedPtr<Kind> As(zel::TSharedPtr<zel::cam::gic::IGenICam>& device, const char* name) {
  zel::TSharedPtr<Kind> feature = device->GetFeature(name).template DynamicCast<Kind>();
  if (!feature) throw std::runtime_error(std::string("no such feature of that kind: ") + name);
  return feature;
}

// A fake camera serving the built-in "sim" profile (or a profile of the test's own) on
// 127.0.0.1, and a device of ours over it.
class Network : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Serves another profile instead, or the built-in one again (stops the camera that served
  // before).
  void Serve(const std::string& profileText = "");
  // Opens "gev:127.0.0.1" with the options given (after a '?'); throws, failing the test, when it
  // cannot.
  zel::TSharedPtr<zel::cam::gic::IGenICam> Open(const std::string& options = "");

  std::unique_ptr<sim::gev::FakeCamera> camera;
};

}  // namespace aravis_test
