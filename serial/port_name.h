// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

// A port as a person names it: by a Comm number, which the Comm map turns
// into a device at each opening, or by its device.
struct PortName {
    int comm = 0;        // 1 to 15; 0 when the device names the port
    std::string device;  // when comm is 0

    static PortName byComm(int comm);
    // A path, or the system's name of a port ("ttyUSB0", "COM17"), which
    // opens the same device Qt would open for that name.
    static PortName byDevice(std::string_view pathOrName);

    // "Comm 3", or the device: device text, to be escaped where it is shown.
    std::string label() const;

    bool operator==(const PortName&) const = default;
};

// The window's ports: Comm 1 to Comm 15.
std::vector<PortName> commPorts();

}  // namespace veltrane
