// SPDX-License-Identifier: BSD-2-Clause
#include "port_failures.h"

#include <algorithm>

namespace veltrane {

namespace {

std::string portLabel(int comm, const std::string& device)
{
    return comm > 0 ? "Comm " + std::to_string(comm) + " (" + device + ")" : device;
}

// How to point at the right device: through the map for a Comm number, or by
// naming another device.
std::string renaming(int comm, std::string_view what)
{
    return comm > 0 ? "map the Comm number to " + std::string(what) + " with VELTRANE_PORTS"
                    : "name " + std::string(what) + " (veltrane-cli ports lists the serial ports)";
}

std::string inParentheses(const std::string& text) { return text.empty() ? "" : " (" + text + ")"; }

// Stopping gpsd helps only where it may be the holder, and systemctl exists
// only on Linux.
bool mayBeGpsd([[maybe_unused]] const std::vector<DeviceHolder>& holders)
{
#ifdef _WIN32
    return false;
#else
    return holders.empty() ||
           std::any_of(holders.begin(), holders.end(), [](const DeviceHolder& holder) { return holder.program == "gpsd"; });
#endif
}

}  // namespace

Failure unmappedPort(int comm)
{
    const std::string number = std::to_string(comm);
    return Failure(kPortDoesNotExist, "Port does not exist",
                   "Comm " + number + " names no device: map it with VELTRANE_PORTS, for example " + number +
                       "=/dev/ttyUSB0");
}

Failure portDoesNotExist(int comm, const std::string& device)
{
    return Failure(kPortDoesNotExist, "Port does not exist",
                   portLabel(comm, device) + " does not exist: plug the receiver in, or " + renaming(comm, "its device"));
}

Failure deviceNameTooLong(int comm, const std::string& device, std::string_view why)
{
    return Failure(kPortRefused, "Device name too long",
                   portLabel(comm, device) + ": the device name is too long " + std::string(why) +
                       ": name the device by a shorter path, for example a link in /dev/serial/by-id");
}

Failure notASerialPort(int comm, const std::string& device, std::string_view kind)
{
    return Failure(kPortRefused, "Not a serial port",
                   portLabel(comm, device) + " is not a serial port but " + std::string(kind) + ": " +
                       renaming(comm, "the receiver's device"));
}

Failure portInUse(int comm, const std::string& device, const std::vector<DeviceHolder>& holders)
{
    std::string who = " (another monitor, or a daemon such as gpsd)";
    if (!holders.empty()) {
        constexpr std::size_t kNamed = 3;
        who = ": ";
        for (std::size_t i = 0; i < holders.size() && i < kNamed; ++i) {
            if (i > 0) who += ", ";
            who += holders[i].program + " (PID " + std::to_string(holders[i].pid) + ")";
        }
        if (holders.size() > kNamed) who += " and " + std::to_string(holders.size() - kNamed) + " more";
    }
    return Failure(kPortInUse, "Port in use by another program",
                   portLabel(comm, device) + " is in use by another program" + who + "; close it" +
                       (mayBeGpsd(holders) ? ", or stop the daemon (systemctl stop gpsd.socket gpsd)" : ""));
}

Failure portAlreadyOpen(int comm, const std::string& device)
{
    return Failure(kPortInUse, "Port already open", portLabel(comm, device) + " is already open");
}

Failure permissionDenied(int comm, const std::string& device, const std::string& group)
{
    return Failure(kPortRefused, "Permission denied (" + group + " group)",
                   portLabel(comm, device) + ": permission denied: add your user to the " + group +
                       " group, then log in again");
}

Failure settingsRefused(int comm, const std::string& device, const std::string& systemText)
{
    return Failure(kPortRefused, "Line settings refused",
                   portLabel(comm, device) + " refuses these line settings" + inParentheses(systemText));
}

Failure cannotOpen(int comm, const std::string& device, const std::string& systemText)
{
    return Failure(kPortRefused, "Cannot open the port",
                   portLabel(comm, device) + " cannot be opened as a serial port" + inParentheses(systemText));
}

Failure deviceDisconnected(int comm, const std::string& device, const std::string& systemText)
{
    return Failure(kDeviceDisconnected, "Device disconnected",
                   portLabel(comm, device) + ": device disconnected" + inParentheses(systemText) +
                       "; reconnect the receiver and select the port again");
}

Failure portNotOpen() { return Failure(kPortNotOpen, "Port not open", "the port is not open"); }

Failure thresholdRefused()
{
    return Failure(kInvalidSettings, "Invalid receive threshold", "the receive threshold must be 0 or more");
}

}  // namespace veltrane
