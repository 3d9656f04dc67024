// SPDX-License-Identifier: BSD-2-Clause
#include "focused_wheel.h"

#include <QEvent>
#include <QWidget>

namespace veltrane {

namespace {

class FocusedWheel final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus()) return false;
        // Handled here but not accepted: Qt offers the turn to the parent instead.
        event->ignore();
        return true;
    }
};

}  // namespace

void takeWheelOnlyWithFocus(QWidget& control)
{
    control.setFocusPolicy(Qt::StrongFocus);
    control.installEventFilter(new FocusedWheel(&control));
}

}  // namespace veltrane
