// Runs the tqv program as a separate process, as a user or a script would.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/testutil.h"

namespace clitest {

using Json = nlohmann::ordered_json;

struct Outcome {
  int exit = -1;  // the exit code; -1 when the process did not exit by itself
  std::string out;
  std::string err;
};

// tqv with these arguments; `input` is its standard input.
Outcome Tool(const std::vector<std::string>& arguments, const std::string& input = "");
// A command under a pseudo-terminal (script(1)), as a person at a terminal sees it.
Outcome ToolOnTerminal(const std::vector<std::string>& arguments, const std::string& directory);

// Every JSON document printed one after another (a batch prints one per command).
std::vector<Json> JsonDocuments(const std::string& text);

// The two simulated cameras: the property-tree one and the GenICam one.
inline const std::vector<std::string>& Addresses() {
  static const std::vector<std::string> addresses{"sim", "gic:sim"};
  return addresses;
}

}  // namespace clitest
