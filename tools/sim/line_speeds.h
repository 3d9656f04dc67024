// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <termios.h>

#include <optional>
#include <string>
#include <vector>

namespace veltrane::sim {

// The rates a receiver's serial line is set to, in the names people type.
std::vector<std::string> standardBaudNames();
// The line setting for one of those rates; none for any other.
std::optional<speed_t> speedSetting(int baud);

}  // namespace veltrane::sim
