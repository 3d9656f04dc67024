// SPDX-License-Identifier: BSD-2-Clause
#include "open_failure.h"

#ifndef _WIN32
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "device_holders.h"
#include "port_failures.h"

namespace veltrane {

#ifdef _WIN32

// Windows names its serial ports (COM3), not device files, and Qt takes no
// lock file there: its own errors name the cause. The system opens a port for
// one program at a time and has no dialout group, so a refusal of a port that
// exists means another program has it.
std::optional<Failure> refusalBeforeOpening(int, const std::string&) { return std::nullopt; }

DeviceFacts factsAbout(const std::string&, QSerialPort::SerialPortError) { return {}; }

#else

namespace {

// When the lock file's name exceeds what a file name may hold, Qt reports the
// failed lock as a permission error.
bool lockNameTooLong(const std::string& device) { return lockFileName(device).size() > NAME_MAX; }

// Who keeps the port from us: the lock file names the holder even where /proc
// hides another user's descriptors; a program that holds the device
// exclusively without a lock shows only in /proc.
std::vector<DeviceHolder> holdersOf(const std::string& device)
{
    if (std::optional<DeviceHolder> holder = lockHolder(device)) return {*holder};
    return otherProgramsHolding(device);
}

}  // namespace

std::optional<Failure> refusalBeforeOpening(int comm, const std::string& device)
{
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return portDoesNotExist(comm, device);
        if (errno == ENAMETOOLONG) return deviceNameTooLong(comm, device, "for the system");
        return std::nullopt;  // Qt's own error says more
    }
    if (S_ISDIR(status.st_mode)) return notASerialPort(comm, device, "a directory");
    if (S_ISREG(status.st_mode)) return notASerialPort(comm, device, "a plain file");
    if (!S_ISCHR(status.st_mode)) return notASerialPort(comm, device, "a file that is no terminal device");
    return std::nullopt;
}

DeviceFacts factsAbout(const std::string& device, QSerialPort::SerialPortError error)
{
    DeviceFacts facts;
    facts.accessible = ::access(device.c_str(), R_OK | W_OK) == 0;
    struct stat status {};
    if (::stat(device.c_str(), &status) == 0) {
        if (const group* owner = ::getgrgid(status.st_gid); owner && owner->gr_gid != 0) facts.group = owner->gr_name;
    }
    // Opening a serial device can raise its modem lines and so reset a
    // receiver; only this error needs to know whether it is a terminal.
    if (error == QSerialPort::UnsupportedOperationError) {
        if (const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); fd >= 0) {
            facts.terminal = ::isatty(fd) == 1;
            ::close(fd);
        }
    }
    facts.lockNameTooLong = lockNameTooLong(device);
    if (error == QSerialPort::PermissionError && facts.accessible && !facts.lockNameTooLong)
        facts.holders = holdersOf(device);
    return facts;
}

#endif

Failure describeOpenFailure(int comm, const std::string& device, QSerialPort::SerialPortError error,
                            const std::string& systemText, const DeviceFacts& facts)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return portDoesNotExist(comm, device);
    case QSerialPort::PermissionError:
        // Qt says "permission" for a device this user may not open, for one
        // that another program holds locked or exclusive, and for a lock it
        // could not even create.
        if (!facts.accessible) return permissionDenied(comm, device, facts.group);
        if (facts.lockNameTooLong) return deviceNameTooLong(comm, device, "for a lock file");
        return portInUse(comm, device, facts.holders);
    case QSerialPort::OpenError:
        return portAlreadyOpen(comm, device);
    case QSerialPort::UnsupportedOperationError:
        if (!facts.terminal) return notASerialPort(comm, device, "a device that is not a terminal");
        return settingsRefused(comm, device, systemText);
    default:
        return cannotOpen(comm, device, systemText);
    }
}

}  // namespace veltrane
