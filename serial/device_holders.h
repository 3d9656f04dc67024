// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
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
//
// The process that holds a pseudo-terminal's master is its other end, the
// receiver or simulator we want to hear, not a competitor, even when it keeps
// the slave open too (socat, or any maker of an openpty() pair).
std::vector<DeviceHolder> otherProgramsHolding(const std::string& device);

// The name of the lock file Qt takes for `device`: "LCK.." and the path less
// a leading "/dev/", with every "/" turned into "_".
std::string lockFileName(const std::string& device);

// The other process named in the lock file of `device`, if one is there and
// still running; nothing for a stale lock, which the next opening takes over.
std::optional<DeviceHolder> lockHolder(const std::string& device);

}  // namespace veltrane
