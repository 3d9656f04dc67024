// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QLabel>

namespace veltrane {

// A label that reports a click of the left button released over it.
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace veltrane
