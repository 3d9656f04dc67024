// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

#include "comm_map.h"
#include "output.h"
#include "port_name.h"

namespace veltrane::cli {

// A timer counts milliseconds in an int; a little under 12 days stays far inside it.
inline constexpr double kMaxSeconds = 1e6;

struct MonitorOptions {
    PortName port = PortName::byComm(1);
    int baud = 4800;
    bool json = false;
    double seconds = 0;  // 0: until a signal
    std::string record;  // a file for every byte read from the port; empty: none
};

// The window's start-up and live readout, headless. Needs no display.
int runMonitor(const MonitorOptions& options, const CommMap& map, Output& out, Output& err);

}  // namespace veltrane::cli
