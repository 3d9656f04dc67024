// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QSerialPort>
#include <optional>
#include <string>
#include <vector>

#include "device_holders.h"
#include "failure.h"

namespace veltrane {

// Why a device cannot be opened as a serial port, found out before Qt tries:
// Qt's own errors name the wrong cause for a missing or overlong name (its
// lock file fails first) and for something that is no device at all. Empty
// when nothing speaks against opening.
std::optional<Failure> refusalBeforeOpening(int comm, const std::string& device);

// What Qt's error does not tell, looked up after it failed, as far as that
// error needs it.
struct DeviceFacts {
    bool accessible = true;       // this user may read and write it
    std::string group = "dialout";  // the group that owns it
    bool terminal = true;
    bool lockNameTooLong = false;
    std::vector<DeviceHolder> holders{};  // of a port in use, as far as they can be seen
};
DeviceFacts factsAbout(const std::string& device, QSerialPort::SerialPortError error);

// Why Qt could not open the device, in words a person can act on.
Failure describeOpenFailure(int comm, const std::string& device, QSerialPort::SerialPortError error,
                            const std::string& systemText, const DeviceFacts& facts);

}  // namespace veltrane
