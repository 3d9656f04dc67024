// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QObject>

class QWidget;

namespace veltrane {

// Makes a control take the mouse wheel only while it has the keyboard focus,
// and never take the focus from the wheel. A drop-down otherwise switches its
// entry under a pointer that merely rests on it while the user scrolls, and
// for the port box that reopens the port and empties the log.
void takeWheelOnlyWithFocus(QWidget& control);

}  // namespace veltrane
