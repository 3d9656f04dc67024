// SPDX-License-Identifier: BSD-2-Clause
#include "qt_system_ports.h"

#include <QSerialPortInfo>
#include <QtGlobal>

#include <cstdlib>

namespace veltrane {

std::vector<SystemPort> qtSystemPorts()
{
    std::vector<SystemPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const std::string name = info.portName().toStdString();
#ifdef Q_OS_MACOS
        // Each macOS port appears twice; the cu. side opens without waiting for carrier.
        if (!name.starts_with("cu.")) continue;
#endif
#ifdef Q_OS_WIN
        SystemPort port{name, name};
#else
        SystemPort port{name, info.systemLocation().toStdString()};
#endif
        port.description = info.description().toStdString();
        port.manufacturer = info.manufacturer().toStdString();
        port.serialNumber = info.serialNumber().toStdString();
        if (info.hasVendorIdentifier()) port.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier()) port.productId = info.productIdentifier();
        ports.push_back(std::move(port));
    }
    return ports;
}

CommMap systemCommMap()
{
    const char* ports = std::getenv("VELTRANE_PORTS");
    return CommMap(ports ? std::optional<std::string>(ports) : std::nullopt, qtSystemPorts);
}

}  // namespace veltrane
