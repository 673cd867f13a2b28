// Behaviours a profile switches on with "behaviour NAME ARGS...": write and execute hooks that
// make dependent features follow each other as on a real camera.
#pragma once

#include <string>
#include <vector>

#include "genicam/SimDevice.h"

namespace sim::genicam {

// Installs the behaviour named by args[0] with the rest as its arguments; throws
// std::runtime_error for an unknown behaviour, wrong arguments or features that are missing.
void InstallBehaviour(Device& device, const std::vector<std::string>& args);

}  // namespace sim::genicam
