// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include "comm_map.h"
#include "output.h"

namespace veltrane::cli {

struct PortsOptions {
    bool json = false;
};

// Prints which device each Comm number names now and the serial ports the
// system lists, with what it knows of each.
int runPorts(const PortsOptions& options, const CommMap& map, Output& out, Output& err);

}  // namespace veltrane::cli
