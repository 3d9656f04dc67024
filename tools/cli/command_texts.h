// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <vector>

namespace veltrane::cli {

// What veltrane-cli says about itself and each command: the line in the list
// of commands, the help's usage line and description, and its exit statuses.
struct CommandText {
    std::string name;  // empty for the program itself
    std::string summary;
    std::string about;
    std::vector<const char*> exitRows;
};

const CommandText& programText();
// The command's text; each command named here has one.
const CommandText& commandText(const std::string& name);
// "replay, monitor, ports, detect, check or watch"
std::string commandNamesText();

}  // namespace veltrane::cli
