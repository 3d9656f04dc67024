// SPDX-License-Identifier: BSD-2-Clause
#include <QLabel>

#include <new>
#include <string>
#include <vector>

#include "line_settings.h"
#include "port_failures.h"
#include "window_fixture.h"

namespace veltrane {
namespace {

using testing::control;
using testing::makeWindow;

std::string refusedSettingsCause(const char* settings)
{
    try {
        parseLineSettings(settings);
    } catch (const Failure& failure) {
        return failure.what();
    }
    return "accepted";
}

// Every cause a failure writes into "Signal Quality" fits the field at the
// window's design size, with the window's own font; the rest is in the detail.
TEST(FailureTexts, EveryCauseFitsTheSignalQualityField)
{
    const std::string device = "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0";
    const std::vector<DeviceHolder> holders = {{1234, "gpsd"}, {5678, "cat"}};
    const std::vector<std::string> causes = {
        unmappedPort(15).what(),
        portDoesNotExist(15, device).what(),
        deviceNameTooLong(15, device, "for a lock file").what(),
        notASerialPort(15, device, "a device that is not a terminal").what(),
        portInUse(15, device, holders).what(),
        portAlreadyOpen(15, device).what(),
        permissionDenied(15, device, "dialout").what(),
        permissionDenied(15, device, "uucp").what(),
        settingsRefused(15, device, "Inappropriate ioctl for device").what(),
        cannotOpen(15, device, "Input/output error").what(),
        deviceDisconnected(15, device, "").what(),
        portNotOpen().what(),
        thresholdRefused().what(),
        refusedSettingsCause(",n,8,1"),
        refusedSettingsCause("4800,x,8,1"),
        std::bad_alloc().what(),
    };
    auto window = makeWindow();
    window->start();
    const auto& field = control<QLabel>(*window, "quality");
    ASSERT_EQ(field.width(), toPixels(3375.0));
    for (const std::string& cause : causes) {
        EXPECT_LE(field.fontMetrics().horizontalAdvance(QString::fromStdString(cause)), field.width()) << cause;
        EXPECT_EQ(cause.find(device), std::string::npos) << "the device belongs in the detail: " << cause;
    }
}

}  // namespace
}  // namespace veltrane
