// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QTest>
#include <QWheelEvent>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <memory>

#include "main_window.h"
#include "qstring_printer.h"

namespace veltrane::testing {

// A window whose Comm numbers name exactly the devices given, so no test
// depends on the serial ports of the machine it runs on.
inline std::unique_ptr<MainWindow> makeWindow(const std::string& ports = {})
{
    return std::make_unique<MainWindow>(CommMap(ports));
}

inline void showAndWait(MainWindow& window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

// A started window, shown and active as on a desktop, so keys and the wheel reach it.
inline std::unique_ptr<MainWindow> openWindow(const std::string& ports = {})
{
    auto window = makeWindow(ports);
    window->start();
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
}

template <class Control = QWidget>
Control& control(QWidget& window, const char* name)
{
    auto* found = window.findChild<Control*>(QString::fromLatin1(name));
    if (!found) throw std::runtime_error(std::string("no control named ") + name);
    return *found;
}

inline QString labelText(QWidget& window, const char* name) { return control<QLabel>(window, name).text(); }

// Turns the mouse wheel over `where` in `target` as the window system would:
// the window finds the control under the pointer, and Qt then applies its
// own rules (focus by wheel, passing an unused turn on to the parent).
// Negative notches turn towards the user, that is down; each is one event.
inline void turnWheel(QWidget& target, QPoint where, int notches)
{
    QWidget* window = target.window();
    const QPointF inWindow = target.mapTo(window, where);
    for (int i = 0; i < std::abs(notches); ++i) {
        QWheelEvent turn(inWindow, window->mapToGlobal(inWindow), QPoint(), QPoint(0, notches < 0 ? -120 : 120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        // sendEvent() would mark the turn as the program's own, which Qt neither
        // propagates nor lets give the focus.
        QSpontaneKeyEvent::setSpontaneous(&turn);
        QCoreApplication::instance()->notify(window->windowHandle(), &turn);
    }
}

}  // namespace veltrane::testing
