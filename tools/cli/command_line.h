// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "check_command.h"
#include "detect_command.h"
#include "monitor_command.h"
#include "ports_command.h"
#include "replay_command.h"
#include "watch_command.h"

namespace veltrane::cli {

// What the arguments ask for. Text to print (help, version) goes to standard
// output; a usage error is one line for standard error and exit status 2.
struct PrintText {
    std::string text;
};
struct UsageError {
    std::string message;
};
using Invocation = std::variant<PrintText, UsageError, ReplayOptions, MonitorOptions, PortsOptions, DetectOptions,
                                CheckOptions, WatchOptions>;

Invocation parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace veltrane::cli
