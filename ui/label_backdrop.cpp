// SPDX-License-Identifier: BSD-2-Clause
#include "label_backdrop.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <algorithm>
#include <optional>

namespace veltrane {

namespace {

enum class Watched { Window, Beneath, Label };

bool changesTheBackdrop(const QEvent& event, Watched watched)
{
    switch (event.type()) {
    case QEvent::Move:  // where the window stands on the screen changes nothing in it
        return watched != Watched::Window;
    case QEvent::Resize:
    case QEvent::Show:
        return true;
    case QEvent::ActivationChange:
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:  // a label's own palette is the colour it was given
    case QEvent::StyleChange:
    case QEvent::FontChange:
        return watched != Watched::Label;
    default:
        return false;
    }
}

// The pixels that show `area` in an image of `shown` at the given pixel ratio.
QRect pixelsOf(const QRect& area, const QRect& shown, qreal ratio)
{
    return QRectF(QPointF(area.topLeft() - shown.topLeft()) * ratio, QSizeF(area.size()) * ratio).toAlignedRect();
}

std::optional<QColor> flatColour(const QImage& image, const QRect& pixels)
{
    if (pixels.isEmpty() || !image.rect().contains(pixels)) return std::nullopt;
    const QRgb first = image.pixel(pixels.topLeft());
    if (qAlpha(first) != 255) return std::nullopt;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (image.pixel(x, y) != first) return std::nullopt;
    return QColor::fromRgb(first);
}

void fillWith(QLabel& label, const QColor& colour)
{
    QPalette palette = label.palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, label.backgroundRole(), colour);
    if (palette != label.palette()) label.setPalette(palette);
    label.setAutoFillBackground(true);
}

}  // namespace

LabelBackdrop::LabelBackdrop(QWidget& window, std::vector<QLabel*> labels)
    : window_(window), labels_(std::move(labels))
{
    window_.installEventFilter(this);
    for (QLabel* label : labels_) {
        label->installEventFilter(this);
        for (QWidget* beneath = label->parentWidget(); beneath && beneath != &window_;
             beneath = beneath->parentWidget())
            beneath->installEventFilter(this);
    }
    seeThroughUntilLookedAgain();
}

bool LabelBackdrop::eventFilter(QObject* watched, QEvent* event)
{
    const bool isLabel = std::find(labels_.begin(), labels_.end(), watched) != labels_.end();
    // While the backdrop is looked at, the labels themselves must not show.
    if (looking_ && event->type() == QEvent::Paint) return isLabel;
    const Watched role = watched == &window_ ? Watched::Window : isLabel ? Watched::Label : Watched::Beneath;
    if (changesTheBackdrop(*event, role)) seeThroughUntilLookedAgain();
    return false;
}

void LabelBackdrop::seeThroughUntilLookedAgain()
{
    for (QLabel* label : labels_) label->setAutoFillBackground(false);
    if (lookPending_) return;
    lookPending_ = true;
    // Queued, so that the look comes after the event has been handled and the
    // controls stand where it leaves them.
    QMetaObject::invokeMethod(this, [this] { lookAtTheBackdrop(); }, Qt::QueuedConnection);
}

void LabelBackdrop::lookAtTheBackdrop()
{
    lookPending_ = false;
    if (!window_.isVisible()) return;
    QRect shown;
    for (const QLabel* label : labels_)
        if (label->isVisible()) shown |= QRect(label->mapTo(&window_, QPoint(0, 0)), label->size());
    if (shown.isEmpty()) return;

    const qreal ratio = window_.devicePixelRatioF();
    QImage image((QSizeF(shown.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    looking_ = true;
    window_.render(&image, QPoint(), QRegion(shown), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    looking_ = false;

    for (QLabel* label : labels_) {
        if (!label->isVisible()) continue;
        const QRect area(label->mapTo(&window_, QPoint(0, 0)), label->size());
        if (const std::optional<QColor> colour = flatColour(image, pixelsOf(area, shown, ratio))) fillWith(*label, *colour);
    }
}

}  // namespace veltrane
