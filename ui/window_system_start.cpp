// SPDX-License-Identifier: BSD-2-Clause
#include "window_system_start.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace veltrane {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

// Qt's message handler is a plain function, so what it needs lives here.
QtMessageHandler passOn = nullptr;
std::vector<HeldMessage> held;

bool fromPlatformPlugin(const QMessageLogContext& context)
{
    return context.category != nullptr && QByteArray(context.category).startsWith("qt.qpa");
}

std::string whyNoWindowSystem()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return "DISPLAY is not set";
    if (!held.empty()) return held.front().text.toStdString();
    return "the window system did not start";
}

void watch(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "veltrane: %s\n", noDisplayText(whyNoWindowSystem()).c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (fromPlatformPlugin(context)) {
        held.push_back({type, context.category, text});
        return;
    }
    passOn(type, context, text);
}

}  // namespace

std::string noDisplayText(const std::string& why)
{
    return "no display to show the window on (" + why + "); veltrane-cli works without one";
}

WindowSystemStartWatch::WindowSystemStartWatch() { passOn = qInstallMessageHandler(watch); }

WindowSystemStartWatch::~WindowSystemStartWatch()
{
    qInstallMessageHandler(passOn);
    for (const HeldMessage& message : held)
        passOn(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.constData()), message.text);
    held.clear();
}

}  // namespace veltrane
