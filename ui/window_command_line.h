// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrane {

// What the window's command line gets instead of the window: the help or the
// version (status 0, for standard output), or a usage error (status 2, one
// line for standard error). Answered before Qt starts, so that they work
// without a display.
struct CommandLineAnswer {
    int status;
    std::string text;
};

// Empty when the window is to be shown.
std::optional<CommandLineAnswer> answerWithoutWindow(const std::vector<std::string>& arguments);

}  // namespace veltrane
