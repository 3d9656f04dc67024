// SPDX-License-Identifier: BSD-2-Clause
#include "comm_map.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace veltrane {

namespace {

std::string_view trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

PortMapEntries parsePortMap(std::string_view value)
{
    PortMapEntries result;
    while (!value.empty()) {
        const std::size_t comma = value.find(',');
        const std::string_view entry = trim(value.substr(0, comma));
        value = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
        if (entry.empty()) continue;

        const auto refuse = [&](const std::string& why) {
            result.problems.push_back("VELTRANE_PORTS entry \"" + std::string(entry) + "\" ignored: " + why);
        };
        const std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos) {
            refuse("expected N=PATH, for example 1=/dev/ttyUSB0");
            continue;
        }
        const std::string_view number = trim(entry.substr(0, equals));
        const std::string_view path = trim(entry.substr(equals + 1));
        int comm = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), comm);
        if (number.empty() || error != std::errc() || end != number.data() + number.size() || comm < 1 ||
            comm > kLastComm) {
            refuse("the Comm number must be 1 to " + std::to_string(kLastComm));
            continue;
        }
        if (path.empty()) {
            refuse("the device path is missing");
            continue;
        }
        if (result.devices.count(comm) != 0) {
            refuse("Comm " + std::to_string(comm) + " is already mapped to " + result.devices[comm]);
            continue;
        }
        result.devices.emplace(comm, std::string(path));
    }
    return result;
}

bool naturalLess(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && isDigit(a[endA])) ++endA;
            while (endB < b.size() && isDigit(b[endB])) ++endB;
            std::string_view runA = a.substr(i, endA - i);
            std::string_view runB = b.substr(j, endB - j);
            while (runA.size() > 1 && runA.front() == '0') runA.remove_prefix(1);
            while (runB.size() > 1 && runB.front() == '0') runB.remove_prefix(1);
            if (runA.size() != runB.size()) return runA.size() < runB.size();
            if (runA != runB) return runA < runB;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
    return a < b;  // equal as numbers ("ttyS01" and "ttyS1"): any fixed order
}

PortNaming platformPortNaming()
{
#ifdef _WIN32
    return PortNaming::ComNumbers;
#else
    return PortNaming::NaturalOrder;
#endif
}

CommMap::CommMap(std::optional<std::string> portsVariable, SystemPortLister systemPorts, PortNaming naming)
    : systemPorts_(std::move(systemPorts)), naming_(naming)
{
    if (!portsVariable) return;
    PortMapEntries entries = parsePortMap(*portsVariable);
    mapped_ = std::move(entries.devices);
    problems_ = std::move(entries.problems);
}

std::vector<SystemPort> CommMap::systemPorts() const { return systemPorts_ ? systemPorts_() : std::vector<SystemPort>(); }

std::vector<std::string> CommMap::naturallyOrdered() const
{
    std::vector<SystemPort> ports = systemPorts();
    std::sort(ports.begin(), ports.end(), [](const SystemPort& a, const SystemPort& b) { return naturalLess(a.name, b.name); });
    std::vector<std::string> devices;
    for (SystemPort& port : ports) devices.push_back(std::move(port.device));
    return devices;
}

std::string CommMap::device(int comm) const
{
    if (comm < 1 || comm > kLastComm) return {};
    if (mapped_) {
        const auto found = mapped_->find(comm);
        return found == mapped_->end() ? std::string() : found->second;
    }
    if (naming_ == PortNaming::ComNumbers) return "COM" + std::to_string(comm);
    const std::vector<std::string> ports = naturallyOrdered();
    return static_cast<std::size_t>(comm) <= ports.size() ? ports[static_cast<std::size_t>(comm) - 1] : std::string();
}

std::vector<std::pair<int, std::string>> CommMap::devices() const
{
    std::vector<std::pair<int, std::string>> result;
    if (mapped_) {
        result.assign(mapped_->begin(), mapped_->end());
        return result;
    }
    if (naming_ == PortNaming::ComNumbers) {
        for (const SystemPort& port : systemPorts()) {
            if (!port.name.starts_with("COM")) continue;
            int comm = 0;
            const char* digits = port.name.data() + 3;
            const char* end = port.name.data() + port.name.size();
            if (std::from_chars(digits, end, comm).ptr == end && comm >= 1 && comm <= kLastComm)
                result.emplace_back(comm, port.name);
        }
        std::sort(result.begin(), result.end());
        return result;
    }
    const std::vector<std::string> ports = naturallyOrdered();
    for (std::size_t i = 0; i < ports.size() && i < static_cast<std::size_t>(kLastComm); ++i)
        result.emplace_back(static_cast<int>(i) + 1, ports[i]);
    return result;
}

}  // namespace veltrane
