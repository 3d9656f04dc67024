// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QObject>
#include <vector>

class QLabel;
class QWidget;

namespace veltrane {

// Lets labels that change every second fill in the colour behind them
// themselves. A see-through label is repainted together with everything
// beneath it, the tab pane above all; one that fills itself is repainted alone.
//
// A label fills itself only while what lies beneath it is one flat colour, so
// the window looks the same pixel for pixel. Whenever that may have changed
// (a move or a resize, another page, palette, style or activation) the labels
// turn see-through at once and the colour is looked at again once the event
// loop has settled.
class LabelBackdrop final : public QObject {
public:
    LabelBackdrop(QWidget& window, std::vector<QLabel*> labels);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void seeThroughUntilLookedAgain();
    void lookAtTheBackdrop();

    QWidget& window_;
    std::vector<QLabel*> labels_;
    bool lookPending_ = false;
    bool looking_ = false;
};

}  // namespace veltrane
