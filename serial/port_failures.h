// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "device_holders.h"
#include "failure.h"

namespace veltrane {

// Every failure of a port, in one place. The cause (what()) is what "Signal
// Quality" shows, so it must fit that one-line field at the window's design
// size; the detail names the Comm number and device and says what to do.
// `comm` is 0 for a port named by its device alone, as a command line may.
Failure unmappedPort(int comm);
Failure portDoesNotExist(int comm, const std::string& device);
Failure deviceNameTooLong(int comm, const std::string& device, std::string_view why);
// `kind` says what the device is instead: "a directory", "a plain file", ...
Failure notASerialPort(int comm, const std::string& device, std::string_view kind);
// `holders` may be empty: the system does not always let us see who it is.
Failure portInUse(int comm, const std::string& device, const std::vector<DeviceHolder>& holders);
Failure portAlreadyOpen(int comm, const std::string& device);
Failure permissionDenied(int comm, const std::string& device, const std::string& group);
Failure settingsRefused(int comm, const std::string& device, const std::string& systemText);
Failure cannotOpen(int comm, const std::string& device, const std::string& systemText);
// `systemText` may be empty: after a hang-up the system's own text says nothing useful.
Failure deviceDisconnected(int comm, const std::string& device, const std::string& systemText);
Failure portNotOpen();
Failure thresholdRefused();

}  // namespace veltrane
