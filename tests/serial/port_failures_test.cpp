// SPDX-License-Identifier: BSD-2-Clause
#include "port_failures.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

#ifdef _WIN32
constexpr bool kGpsdService = false;
#else
constexpr bool kGpsdService = true;
#endif

// Stopping gpsd is advised only where it may be what holds the port.
TEST(PortInUse, AdvisesStoppingGpsdOnlyWhereItMayBeTheHolder)
{
    struct Case {
        std::vector<DeviceHolder> holders;
        const char* named;
        bool advised;
    };
    const Case cases[] = {
        {{}, " (another monitor, or a daemon such as gpsd); close it", kGpsdService},
        {{{41, "cat"}}, ": cat (PID 41); close it", false},
        {{{42, "gpsd"}}, ": gpsd (PID 42); close it", kGpsdService},
        {{{41, "cat"}, {42, "gpsd"}}, ": cat (PID 41), gpsd (PID 42); close it", kGpsdService},
    };
    for (const Case& c : cases) {
        const std::string detail = portInUse(1, "/dev/ttyUSB0", c.holders).detail();
        EXPECT_NE(detail.find(std::string("Comm 1 (/dev/ttyUSB0) is in use by another program") + c.named),
                  std::string::npos)
            << detail;
        EXPECT_EQ(detail.ends_with("; close it, or stop the daemon (systemctl stop gpsd.socket gpsd)"), c.advised)
            << detail;
        EXPECT_EQ(detail.ends_with("; close it"), !c.advised) << detail;
    }
}

// A port named by its device on a command line has no Comm number to map:
// the advice names the device instead.
TEST(PortFailures, APortNamedByItsDeviceIsToldByItsDevice)
{
    const struct {
        Failure failure;
        const char* detail;
    } cases[] = {
        {portDoesNotExist(0, "/dev/ttyUSB9"), "/dev/ttyUSB9 does not exist: plug the receiver in, or name its device "
                                              "(veltrane-cli ports lists the serial ports)"},
        {portDoesNotExist(2, "/dev/ttyUSB9"), "Comm 2 (/dev/ttyUSB9) does not exist: plug the receiver in, or map the "
                                              "Comm number to its device with VELTRANE_PORTS"},
        {notASerialPort(0, "/tmp", "a directory"), "/tmp is not a serial port but a directory: name the receiver's "
                                                   "device (veltrane-cli ports lists the serial ports)"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.failure.detail(), c.detail);
}

}  // namespace
}  // namespace veltrane
