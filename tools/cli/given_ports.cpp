// SPDX-License-Identifier: BSD-2-Clause
#include "given_ports.h"

#include <algorithm>
#include <charconv>

#include "baud_rates.h"
#include "option_checks.h"

namespace veltrane::cli {

namespace {

std::optional<int> wholeNumber(std::string_view text)
{
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

// The text before "@RATE" and the rate; a text without "@" has none. Only the
// last "@" counts, so a device whose path holds one still works.
struct Split {
    std::string_view port;
    std::optional<std::string_view> baud;
};

Split splitAtBaud(std::string_view text)
{
    const std::size_t at = text.rfind('@');
    if (at == std::string_view::npos) return {text, std::nullopt};
    return {text.substr(0, at), text.substr(at + 1)};
}

std::optional<GivenPort> withBaud(PortName port, const std::optional<std::string_view>& baudText)
{
    if (!baudText) return GivenPort{std::move(port), std::nullopt};
    const std::optional<int> baud = standardBaud(*baudText);
    if (!baud) return std::nullopt;
    return GivenPort{std::move(port), baud};
}

}  // namespace

std::optional<int> standardBaud(std::string_view text)
{
    const std::optional<int> baud = wholeNumber(text);
    return baud && isStandardBaud(*baud) ? baud : std::nullopt;
}

std::optional<GivenPort> givenComm(std::string_view text)
{
    const Split split = splitAtBaud(text);
    const std::optional<int> comm = wholeNumber(split.port);
    if (!comm || *comm < 1 || *comm > kLastComm) return std::nullopt;
    return withBaud(PortName::byComm(*comm), split.baud);
}

std::optional<GivenPort> givenDevice(std::string_view text)
{
    const Split split = splitAtBaud(text);
    if (split.port.empty()) return std::nullopt;
    return withBaud(PortName::byDevice(split.port), split.baud);
}

std::string givenCommRule()
{
    return "must be N or N@RATE, N from 1 to " + std::to_string(kLastComm) + " and RATE " + standardBaudsText();
}

std::string givenDeviceRule() { return "must be DEVICE or DEVICE@RATE, RATE " + standardBaudsText(); }

std::optional<std::vector<int>> baudList(std::string_view text)
{
    if (text == "all") return searchOrderOfEveryBaud();
    std::vector<int> bauds;
    for (const std::string& item : tools::listItems(std::string(text))) {
        const std::optional<int> baud = standardBaud(item);
        if (!baud) return std::nullopt;
        if (std::find(bauds.begin(), bauds.end(), *baud) == bauds.end()) bauds.push_back(*baud);
    }
    return bauds;
}

std::string baudListRule() { return "must be all or a comma-separated list of " + standardBaudsText(); }

std::vector<PortName> everyPort(const CommMap& map)
{
    std::vector<PortName> ports;
    // Devices exactly as listed: a mapped path without a "/" is no port name.
    const auto add = [&](const std::string& device) {
        PortName port{0, device};
        if (std::find(ports.begin(), ports.end(), port) == ports.end()) ports.push_back(std::move(port));
    };
    for (const auto& [comm, device] : map.devices()) add(device);
    for (const SystemPort& port : map.systemPorts()) add(port.device);
    return ports;
}

std::vector<GivenPort> givenPorts(const PortArguments& asked, const CommMap& map)
{
    std::vector<GivenPort> ports = asked.ports;
    if (asked.all)
        for (PortName& port : everyPort(map)) ports.push_back({std::move(port), std::nullopt});
    for (GivenPort& given : ports)
        if (!given.baud) given.baud = asked.baud;
    return ports;
}

}  // namespace veltrane::cli
