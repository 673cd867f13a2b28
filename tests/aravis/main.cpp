// Isolates the network before gtest (or anything else) starts a thread: a namespace belongs to
// the thread that makes it and to the threads it starts afterwards.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "network.h"

int main(int argc, char** argv) {
  std::string why;
  const bool isolated = sim::gev::IsolateNetwork(&why);
  aravis_test::SetIsolation(isolated, why);
  if (!isolated) {
    // CI asks for them: there a skip would hide that they did not run.
    const char* required = std::getenv("TQV_REQUIRE_NETWORK_TESTS");
    if (required && std::string(required) == "1") {
      std::fprintf(stderr, "network tests cannot run: %s\n", why.c_str());
      return 1;
    }
    std::fprintf(stderr, "network tests will be skipped: %s\n", why.c_str());
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
