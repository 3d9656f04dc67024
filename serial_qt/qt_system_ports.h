// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <vector>

#include "comm_map.h"

namespace veltrane {

// The serial ports Qt finds on this system now. Pseudo-terminals are never
// among them; they are reached through VELTRANE_PORTS.
std::vector<SystemPort> qtSystemPorts();

// The Comm map over this system's ports as VELTRANE_PORTS names them: the
// one place the window and the tools read it.
CommMap systemCommMap();

}  // namespace veltrane
