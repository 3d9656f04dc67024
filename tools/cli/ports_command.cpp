// SPDX-License-Identifier: BSD-2-Clause
#include "ports_command.h"

#include <cstdio>
#include <optional>

#include "comm_map.h"
#include "device_text.h"
#include "exit_status.h"
#include "given_ports.h"
#include "json_writer.h"

namespace veltrane::cli {

namespace {

// A port as `ports` lists it: the device, the Comm number naming it, and
// what the system knows of it when it lists it.
struct ListedPort {
    std::string device;
    std::optional<int> comm;
    std::optional<SystemPort> system;
};

std::vector<ListedPort> listedPorts(const CommMap& map)
{
    std::vector<ListedPort> ports;
    const std::vector<SystemPort> system = map.systemPorts();
    const auto systemPort = [&](const std::string& device) -> std::optional<SystemPort> {
        for (const SystemPort& port : system)
            if (port.device == device || port.name == device) return port;
        return std::nullopt;
    };
    for (const auto& [comm, device] : map.devices()) ports.push_back({device, comm, systemPort(device)});
    for (const SystemPort& port : system) {
        bool named = false;
        for (const ListedPort& listed : ports) named = named || (listed.system && listed.system->device == port.device);
        if (!named) ports.push_back({port.device, std::nullopt, port});
    }
    return ports;
}

std::string hex4(std::uint16_t id)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", id);
    return text;
}

// "u-blox GNSS receiver, u-blox AG, serial 01A2, USB 1546:01a9"
std::string factsText(const SystemPort& port)
{
    std::string text;
    const auto add = [&](const std::string& fact) {
        if (!fact.empty()) text += (text.empty() ? "" : ", ") + fact;
    };
    add(escapeDeviceText(port.description));
    add(escapeDeviceText(port.manufacturer));
    if (!port.serialNumber.empty()) add("serial " + escapeDeviceText(port.serialNumber));
    if (port.vendorId || port.productId)
        add("USB " + (port.vendorId ? hex4(*port.vendorId) : "?") + ":" + (port.productId ? hex4(*port.productId) : "?"));
    return text;
}

std::string textLine(const ListedPort& port)
{
    char comm[16] = "         ";
    if (port.comm) std::snprintf(comm, sizeof comm, "Comm %-2d  ", *port.comm);
    std::string line = comm + escapeDeviceText(port.device);
    if (port.system) {
        const std::string facts = factsText(*port.system);
        if (!facts.empty()) line += "  (" + facts + ")";
    }
    return line;
}

std::string jsonLine(const ListedPort& port)
{
    const SystemPort none;
    const SystemPort& system = port.system ? *port.system : none;
    const auto hexId = [](const std::optional<std::uint16_t>& id) { return id ? std::optional(hex4(*id)) : std::nullopt; };
    std::string line;
    JsonWriter(line)
        .beginObject()
        .member("device", port.device)
        .member("comm", port.comm)
        .member("listed", port.system.has_value())
        .member("description", system.description)
        .member("manufacturer", system.manufacturer)
        .member("serial_number", system.serialNumber)
        .member("vendor_id", hexId(system.vendorId))
        .member("product_id", hexId(system.productId))
        .endObject();
    return line;
}

}  // namespace

int runPorts(const PortsOptions& options, const CommMap& map, Output& out, Output& err)
{
    const std::vector<ListedPort> ports = listedPorts(map);
    for (const ListedPort& port : ports) out.line(options.json ? jsonLine(port) : textLine(port));
    out.flush();
    if (ports.empty()) {
        err.line(std::string("veltrane-cli ports: ") + kNoPortFound + "; map one with "
                 "VELTRANE_PORTS, for example VELTRANE_PORTS=1=/dev/ttyUSB0");
        return kExitNoReceiver;
    }
    return map.problems().empty() ? kExitSuccess : kExitUsage;
}

}  // namespace veltrane::cli
