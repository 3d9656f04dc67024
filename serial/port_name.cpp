// SPDX-License-Identifier: BSD-2-Clause
#include "port_name.h"

#include "comm_map.h"

namespace veltrane {

PortName PortName::byComm(int comm) { return {comm, {}}; }

PortName PortName::byDevice(std::string_view pathOrName)
{
#ifdef _WIN32
    return {0, std::string(pathOrName)};
#else
    if (pathOrName.find('/') != std::string_view::npos) return {0, std::string(pathOrName)};
    return {0, "/dev/" + std::string(pathOrName)};
#endif
}

std::string PortName::label() const { return comm > 0 ? "Comm " + std::to_string(comm) : device; }

std::vector<PortName> commPorts()
{
    std::vector<PortName> ports;
    for (int comm = 1; comm <= kLastComm; ++comm) ports.push_back(PortName::byComm(comm));
    return ports;
}

}  // namespace veltrane
