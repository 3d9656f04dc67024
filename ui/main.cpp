// SPDX-License-Identifier: BSD-2-Clause
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_identity.h"
#include "failure_report.h"
#include "main_window.h"
#include "port_map_problems.h"
#include "qt_event_loop.h"
#include "qt_system_ports.h"
#include "x11_image_transfer.h"

namespace {

constexpr const char* kUsage =
    "Usage: veltrane [--version] [--help]\n"
    "\n"
    "A data and signal monitor for testing GPS receivers on a serial port.\n"
    "VELTRANE_PORTS maps Comm numbers to devices, for example\n"
    "VELTRANE_PORTS=1=/dev/ttyUSB0,3=/dev/pts/4; without it Comm N is the system's\n"
    "N-th serial port.\n"
    "\n"
    "Exit status:\n"
    "  0  the window was closed\n"
    "  1  a failure ended the program; its number and description were shown\n"
    "  2  bad usage\n";

// Answered before Qt starts, so that they work without a display.
bool answeredWithoutWindow(int argc, char** argv, int& status)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("veltrane %s\n", VELTRANE_VERSION);
            status = 0;
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            status = 0;
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    int status = 0;
    if (answeredWithoutWindow(argc, argv, status)) return status;

    veltrane::useQtEventDispatcher();
    veltrane::imagesOverTheConnection.make();
    QApplication app(argc, argv);
    veltrane::forgetEventDispatcherChoice();
    veltrane::imagesOverTheConnection.forget();
    if (app.arguments().size() > 1) {
        std::fprintf(stderr, "veltrane: unexpected argument '%s'\n%s",
                     app.arguments().at(1).toLocal8Bit().constData(), kUsage);
        return 2;
    }
    QApplication::setApplicationName(QString::fromLatin1(veltrane::kApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(VELTRANE_VERSION));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/veltrane-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/veltrane-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);

    // The one place the window reads the environment: VELTRANE_PORTS, the Comm map.
    const char* ports = std::getenv("VELTRANE_PORTS");
    veltrane::CommMap map = veltrane::systemCommMap(ports ? std::optional<std::string>(ports) : std::nullopt);
    const std::vector<std::string> problems = map.problems();

    std::unique_ptr<veltrane::frmMain> window;
    veltrane::runUntrapped([&window, &map] {
        window = std::make_unique<veltrane::frmMain>(std::move(map));
        window->Form_Load();
    });
    window->show();
    if (!problems.empty()) veltrane::showPortMapProblems(*window, problems);
    return QApplication::exec();
}
