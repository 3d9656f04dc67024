// SPDX-License-Identifier: BSD-2-Clause
#include <QApplication>
#include <QIcon>
#include <cstdio>
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
#include "start_up_choices.h"
#include "window_command_line.h"
#include "window_system_start.h"
#include "x11_image_transfer.h"

int main(int argc, char** argv)
{
    if (const std::optional<veltrane::CommandLineAnswer> answer = veltrane::answerWithoutWindow({argv + 1, argv + argc})) {
        std::fputs(answer->text.c_str(), answer->status == 0 ? stdout : stderr);
        return answer->status;
    }

    std::optional<veltrane::StartUpChoices> choices(std::in_place,
                                                    {veltrane::kQtEventDispatcher, veltrane::kImagesOverTheConnection});
    std::optional<veltrane::WindowSystemStartWatch> starting(std::in_place);
    QApplication app(argc, argv);
    starting.reset();
    choices.reset();
    QApplication::setApplicationName(QString::fromLatin1(veltrane::kApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(VELTRANE_VERSION));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/veltrane-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/veltrane-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);

    veltrane::CommMap map = veltrane::systemCommMap();
    const std::vector<std::string> problems = map.problems();

    std::unique_ptr<veltrane::MainWindow> window;
    veltrane::runUntrapped([&window, &map] {
        window = std::make_unique<veltrane::MainWindow>(std::move(map));
        window->start();
    });
    window->show();
    if (!problems.empty()) veltrane::showPortMapProblems(*window, problems);
    return QApplication::exec();
}
