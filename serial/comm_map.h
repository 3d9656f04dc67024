// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrane {

// The Comm numbers the port box offers: "Comm 1" to "Comm 15".
inline constexpr int kLastComm = 15;

struct PortMapEntries {
    std::map<int, std::string> devices;
    std::vector<std::string> problems;  // one line per refused entry: which and why
};

// Parses VELTRANE_PORTS, comma-separated N=PATH pairs such as
// "1=/dev/ttyUSB0,3=/dev/pts/4". Refused entries are reported and left out;
// the others still count.
PortMapEntries parsePortMap(std::string_view value);

// Orders names as a person counts: "ttyS2" before "ttyS10".
bool naturalLess(std::string_view a, std::string_view b);

// A serial port as the system lists it now: its name ("ttyUSB0", "COM3"),
// the device a port opens ("/dev/ttyUSB0", "COM3"), and what the system knows
// of the hardware behind it (empty where it does not say).
struct SystemPort {
    std::string name;
    std::string device;
    std::string description{};
    std::string manufacturer{};
    std::string serialNumber{};
    std::optional<std::uint16_t> vendorId{};
    std::optional<std::uint16_t> productId{};
};
using SystemPortLister = std::function<std::vector<SystemPort>()>;

// How Comm numbers name the system's ports: on Windows Comm N is COMN, as the
// numbers were made for; elsewhere Comm N is the N-th port in natural order.
enum class PortNaming { NaturalOrder, ComNumbers };
PortNaming platformPortNaming();

// Turns a Comm number into a device. The answer is worked out afresh on every
// call, so a receiver plugged in after start-up is found at the next opening.
class CommMap {
public:
    // With the value of VELTRANE_PORTS the map is exactly what it names;
    // without, the system's ports that `systemPorts` lists, by `naming`.
    explicit CommMap(std::optional<std::string> portsVariable, SystemPortLister systemPorts = {},
                     PortNaming naming = platformPortNaming());

    // Empty when the number names no device.
    std::string device(int comm) const;
    // Every Comm number that names a device now, ascending.
    std::vector<std::pair<int, std::string>> devices() const;
    // VELTRANE_PORTS entries that were refused, one line each: which and why.
    const std::vector<std::string>& problems() const { return problems_; }
    // The serial ports the system lists now, whether or not a Comm number names them.
    std::vector<SystemPort> systemPorts() const;

private:
    std::vector<std::string> naturallyOrdered() const;

    std::optional<std::map<int, std::string>> mapped_;
    std::vector<std::string> problems_;
    SystemPortLister systemPorts_;
    PortNaming naming_;
};

}  // namespace veltrane
