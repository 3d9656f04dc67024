// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "baud_rates.h"
#include "comm_map.h"
#include "port_name.h"

namespace veltrane::cli {

// A port as the command line names it, with the speed given for it, if any.
struct GivenPort {
    PortName port;
    std::optional<int> baud;

    bool operator==(const GivenPort&) const = default;
};

// The ports a command line names, and how their speeds are found.
struct PortArguments {
    std::vector<GivenPort> ports;  // by --comm and --port, in the order given
    bool all = false;              // every port the system lists and the Comm map names
    std::optional<int> baud;       // the speed of every port given without one; none: search
    std::vector<int> bauds{kWindowBauds.begin(), kWindowBauds.end()};  // searched where no speed was given
};

// The ports named, then --all's, each with its speed when one was given.
std::vector<GivenPort> givenPorts(const PortArguments& asked, const CommMap& map);

// One of the standard speeds as text ("115200"); nothing for any other text.
std::optional<int> standardBaud(std::string_view text);

// "N" or "N@RATE" for --comm, "DEVICE" or "DEVICE@RATE" for --port; RATE is
// one of the standard speeds. Nothing when the text is not one.
std::optional<GivenPort> givenComm(std::string_view text);
std::optional<GivenPort> givenDevice(std::string_view text);
// What givenComm and givenDevice accept, for their usage errors.
std::string givenCommRule();
std::string givenDeviceRule();

// "4800,9600" (comma-separated standard speeds, in the order to try them) or
// "all". Nothing when the text is not one.
std::optional<std::vector<int>> baudList(std::string_view text);
std::string baudListRule();

// What --all names: every device a Comm number names and every serial port
// the system lists, each once, in that order.
std::vector<PortName> everyPort(const CommMap& map);
// Why there is nothing to name when that list is empty.
inline constexpr const char* kNoPortFound = "no serial port was found, and no Comm number names a device";

}  // namespace veltrane::cli
