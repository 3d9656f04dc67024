// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QPointer>
#include <QTabWidget>
#include <vector>

#include "twips.h"

namespace veltrane {

// A tab control whose page controls are positioned from its own top-left
// corner, row of tabs included. Qt puts pages below the tab row at a place
// that depends on the style, so the controls are re-placed whenever the pages
// move. The tab row is kept at its designed height so that the controls near
// the top of a page are not cut off.
class TabControl final : public QTabWidget {
public:
    explicit TabControl(QWidget* parent = nullptr);

    // Puts a control (a child of one of the pages) at a rectangle measured in
    // this control's coordinates.
    void place(QWidget* control, const TwipsRect& rect);

protected:
    bool event(QEvent* event) override;

private:
    struct Placed {
        QPointer<QWidget> control;
        TwipsRect rect;
    };

    void placeAll();
    void placeOne(const Placed& placed);

    std::vector<Placed> placed_;
};

}  // namespace veltrane
