// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comm_map.h"

namespace veltrane {

// The serial ports Qt finds on this system now. Pseudo-terminals are never
// among them; they are reached through VELTRANE_PORTS.
std::vector<SystemPort> qtSystemPorts();

// The Comm map over this system's ports, given the value of VELTRANE_PORTS.
CommMap systemCommMap(std::optional<std::string> portsVariable);

}  // namespace veltrane
