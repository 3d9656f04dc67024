// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <vector>

namespace veltrane {

struct DeviceHolder {
    int pid;
    std::string program;  // control characters replaced: it is the program's own choice
};

// The other processes that have `device` open, as far as this user may look
// into them (/proc/<pid>/fd; on systems without /proc, none). A terminal program reading the port neither
// locks it nor opens it exclusively, so opening it again would succeed and
// share the data, each reader getting part of it.
std::vector<DeviceHolder> otherProgramsHolding(const std::string& device);

}  // namespace veltrane
