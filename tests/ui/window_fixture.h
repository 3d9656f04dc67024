#pragma once

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "main_window.h"

namespace veltrane::testing {

// A window whose Comm numbers name exactly the devices given, so no test
// depends on the serial ports of the machine it runs on.
inline std::unique_ptr<frmMain> makeWindow(const QByteArray& ports = {})
{
    qputenv("VELTRANE_PORTS", ports);
    return std::make_unique<frmMain>();
}

inline void showAndWait(frmMain& window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

template <class Control = QWidget>
Control& control(QWidget& window, const char* name)
{
    auto* found = window.findChild<Control*>(QString::fromLatin1(name));
    if (!found) throw std::runtime_error(std::string("no control named ") + name);
    return *found;
}

inline QString labelText(QWidget& window, const char* name) { return control<QLabel>(window, name).text(); }

}  // namespace veltrane::testing
