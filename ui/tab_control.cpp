// SPDX-License-Identifier: BSD-2-Clause
#include "tab_control.h"

#include <QEvent>
#include <QTabBar>
#include <algorithm>

namespace veltrane {

namespace {
constexpr double kTabRowHeight = 295;

class TabRow final : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override
    {
        return {QTabBar::tabSizeHint(index).width(), toPixels(kTabRowHeight)};
    }
};
}  // namespace

TabControl::TabControl(QWidget* parent) : QTabWidget(parent) { setTabBar(new TabRow(this)); }

void TabControl::place(QWidget* control, const TwipsRect& rect)
{
    auto found = std::find_if(placed_.begin(), placed_.end(),
                              [control](const Placed& p) { return p.control == control; });
    if (found == placed_.end())
        found = placed_.insert(placed_.end(), Placed{control, rect});
    else
        found->rect = rect;
    placeOne(*found);
}

bool TabControl::event(QEvent* event)
{
    const bool handled = QTabWidget::event(event);
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::LayoutRequest:
    case QEvent::StyleChange:
    case QEvent::FontChange:
        placeAll();
        break;
    default:
        break;
    }
    return handled;
}

void TabControl::placeAll()
{
    for (const Placed& placed : placed_) placeOne(placed);
}

void TabControl::placeOne(const Placed& placed)
{
    if (!placed.control) return;
    const QPoint pageOrigin = placed.control->parentWidget()->mapTo(this, QPoint(0, 0));
    placed.control->setGeometry(toPixels(placed.rect).translated(-pageOrigin));
}

}  // namespace veltrane
