#pragma once

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

// Turns a Comm number into a device. The answer is worked out afresh on every
// call, so a receiver plugged in after start-up is found at the next opening.
class CommMap {
public:
    // With the value of VELTRANE_PORTS the map is exactly what it names;
    // without, Comm N is the system's N-th serial port.
    explicit CommMap(std::optional<std::string> portsVariable);
    static CommMap fromEnvironment();

    // Empty when the number names no device.
    std::string device(int comm) const;
    // Every Comm number that names a device now, ascending.
    std::vector<std::pair<int, std::string>> devices() const;
    const std::vector<std::string>& problems() const { return problems_; }

private:
    std::optional<std::map<int, std::string>> mapped_;
    std::vector<std::string> problems_;
};

}  // namespace veltrane
