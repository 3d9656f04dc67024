// SPDX-License-Identifier: BSD-2-Clause
#include "link_label.h"

#include <QMouseEvent>

namespace veltrane {

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

}  // namespace veltrane
