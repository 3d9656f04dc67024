// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <vector>

#include "output.h"

namespace veltrane::cli {

// The whole of veltrane-cli after the program name: parses the arguments,
// runs the command and returns the exit status. Nothing escapes as an
// exception; output that could not be written is reported here, once.
int runCommandLine(const std::vector<std::string>& arguments, Output& out, Output& err);

}  // namespace veltrane::cli
