// SPDX-License-Identifier: BSD-2-Clause
#include "ports_command.h"

#include <cstdio>

#include "comm_map.h"
#include "device_text.h"
#include "exit_status.h"

namespace veltrane::cli {

int runPorts(const PortsOptions&, const CommMap& map, Output& out, Output& err)
{
    const auto devices = map.devices();
    for (const auto& [comm, device] : devices) {
        char number[16];
        std::snprintf(number, sizeof number, "Comm %-2d  ", comm);
        out.line(number + escapeDeviceText(device));
    }
    out.flush();
    if (devices.empty()) {
        err.line("veltrane-cli ports: no Comm number names a device: no serial port was found; map one with "
                 "VELTRANE_PORTS, for example VELTRANE_PORTS=1=/dev/ttyUSB0");
        return kExitNoReceiver;
    }
    return map.problems().empty() ? kExitSuccess : kExitUsage;
}

}  // namespace veltrane::cli
