// SPDX-License-Identifier: BSD-2-Clause
#include "log_list_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <utility>

#include "log_list_accessible.h"

namespace veltrane {

LogListView::LogListView(QWidget* parent) : QAbstractScrollArea(parent), header_(new QHeaderView(Qt::Horizontal, this))
{
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header_->setHighlightSections(false);
    header_->setStretchLastSection(false);
    connect(header_, &QHeaderView::sectionResized, this, [this] {
        updateScrollBars();
        viewport()->update();
    });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, &LogListView::thumbReleased);
    viewport()->setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus);
    static const bool accessible = (QAccessible::installFactory(logListAccessible), true);
    Q_UNUSED(accessible);
    forgetEarlyAccessible(*this);
}

void LogListView::setModel(QAbstractItemModel* model)
{
    if (model_) model_->disconnect(this);
    model_ = model;
    header_->setModel(model);
    if (model) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &LogListView::rowsInserted);
        connect(model, &QAbstractItemModel::modelReset, this, &LogListView::reset);
        connect(model, &QAbstractItemModel::dataChanged, this, [this] { viewport()->update(); });
    }
    reset();
}

int LogListView::rowCount() const { return model_ ? model_->rowCount() : 0; }

int LogListView::rowHeight() const { return fontMetrics().height() + 4; }

int LogListView::rowsInView() const { return std::max(1, viewport()->height() / rowHeight()); }

int LogListView::rowAt(int y) const
{
    if (y < 0) return -1;
    const int row = topRow() + y / rowHeight();
    return row < rowCount() ? row : -1;
}

int LogListView::columnAt(int x) const { return header_->logicalIndexAt(x); }

QRect LogListView::cellRect(int row, int column) const
{
    return QRect(header_->sectionViewportPosition(column), (row - topRow()) * rowHeight(),
                 header_->sectionSize(column), rowHeight());
}

void LogListView::rowsInserted(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid()) return;
    announceRowsInserted(*this, first, last);
    const int added = last - first + 1;
    if (current_ >= first) current_ += added;
    QScrollBar* rows = verticalScrollBar();
    // Qt places a held thumb by the mouse within the range it had when
    // grabbed; a range grown meanwhile would move the rows under it.
    if (rows->isSliderDown()) {
        arrivedWhileHeld_ += added;
        return;
    }
    const int top = rows->value();
    // Behind another page each new range would cost the scroll area a layout;
    // a list read from its top needs none until it is shown.
    if (top == 0 && !isVisible()) {
        scrollBarsStale_ = true;
        return;
    }
    updateScrollBars();
    // At the top the newest rows come into view; below it the reader keeps the rows they were reading.
    if (top > 0 && top >= first) rows->setValue(top + added);
    viewport()->update();
}

void LogListView::reset()
{
    announceReset(*this);
    current_ = -1;
    arrivedWhileHeld_ = 0;
    layOutHeader();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void LogListView::layOutHeader()
{
    const int headerHeight = header_->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    header_->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);
    updateScrollBars();
}

void LogListView::updateScrollBars()
{
    QScrollBar* rows = verticalScrollBar();
    rows->setRange(0, std::max(0, rowCount() - arrivedWhileHeld_ - rowsInView()));
    rows->setPageStep(rowsInView());
    rows->setSingleStep(1);
    QScrollBar* sideways = horizontalScrollBar();
    sideways->setRange(0, std::max(0, header_->length() - viewport()->width()));
    sideways->setPageStep(viewport()->width());
    sideways->setSingleStep(rowHeight());
    header_->setOffset(sideways->value());
}

void LogListView::setCurrentRow(int row)
{
    const int rows = rowCount();
    if (rows == 0) return;
    const int previous = std::exchange(current_, std::clamp(row, 0, rows - 1));
    if (current_ < topRow())
        scrollTo(current_);
    else if (current_ >= topRow() + rowsInView())
        scrollTo(current_ - rowsInView() + 1);
    viewport()->update();
    if (current_ != previous) announceCurrentRow(*this, previous);
}

int LogListView::topRow() const { return verticalScrollBar()->value() + arrivedWhileHeld_; }

void LogListView::scrollTo(int top) { verticalScrollBar()->setValue(top - arrivedWhileHeld_); }

void LogListView::thumbReleased()
{
    if (arrivedWhileHeld_ == 0) return;
    const int top = topRow();
    arrivedWhileHeld_ = 0;
    updateScrollBars();
    scrollTo(top);
}

void LogListView::copyCurrentRow() const
{
    if (current_ < 0) return;
    QGuiApplication::clipboard()->setText(model_->index(current_, 0).data().toString() + QLatin1Char('\t') +
                                          model_->index(current_, 1).data().toString());
}

void LogListView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    layOutHeader();
}

void LogListView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (std::exchange(scrollBarsStale_, false)) updateScrollBars();
}

void LogListView::scrollContentsBy(int, int)
{
    header_->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

void LogListView::keyPressEvent(QKeyEvent* event)
{
    // People copy a sentence to report a receiver's fault, with the time it came.
    if (event->matches(QKeySequence::Copy)) {
        copyCurrentRow();
        event->accept();
        return;
    }
    const int page = rowsInView();
    switch (event->key()) {
    case Qt::Key_Down: setCurrentRow(current_ + 1); break;
    case Qt::Key_Up: setCurrentRow(current_ < 0 ? 0 : current_ - 1); break;
    case Qt::Key_PageDown: setCurrentRow(std::max(current_, 0) + page); break;
    case Qt::Key_PageUp: setCurrentRow(current_ - page); break;
    case Qt::Key_Home: setCurrentRow(0); break;
    case Qt::Key_End: setCurrentRow(rowCount() - 1); break;
    case Qt::Key_Left: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Right: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void LogListView::mousePressEvent(QMouseEvent* event)
{
    const int row = rowAt(event->position().toPoint().y());
    if (event->button() == Qt::LeftButton && row >= 0) setCurrentRow(row);
    event->accept();
}

void LogListView::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard, the menu is for the chosen row; from the mouse, for the row under it.
    const bool byMouse = event->reason() == QContextMenuEvent::Mouse;
    const QPoint inRows = viewport()->mapFromGlobal(event->globalPos());
    const int row = byMouse ? rowAt(viewport()->rect().contains(inRows) ? inRows.y() : -1) : current_;
    if (row < 0) return;
    setCurrentRow(row);
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("Copy"), this, &LogListView::copyCurrentRow);
    copy->setShortcut(QKeySequence::Copy);
    const QRect chosen = cellRect(current_, 0);
    menu.exec(byMouse ? event->globalPos() : viewport()->mapToGlobal(chosen.bottomLeft()));
}

void LogListView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    announceFocus(*this);
}

void LogListView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void LogListView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) layOutHeader();
}

void LogListView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const int height = rowHeight();
    const int top = topRow();
    const QRect exposed = event->rect();
    const int rows = rowCount();
    for (int row = top + exposed.top() / height; row < rows && (row - top) * height <= exposed.bottom(); ++row)
        paintRow(painter, row, (row - top) * height);
}

void LogListView::paintRow(QPainter& painter, int row, int top)
{
    const QRect bounds(0, top, viewport()->width(), rowHeight());
    const bool current = row == current_;
    if (current) painter.fillRect(bounds, palette().brush(QPalette::Highlight));
    painter.setPen(palette().color(current ? QPalette::HighlightedText : QPalette::Text));
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    for (int column = 0; column < header_->count(); ++column) {
        const QRect cell = QRect(header_->sectionViewportPosition(column), top, header_->sectionSize(column), rowHeight())
                               .adjusted(margin, 0, -margin, 0);
        if (cell.right() < 0 || cell.left() > bounds.right()) continue;
        // No glyph is narrower than a pixel, so a sentence of a megabyte need not be laid out whole.
        const QString text = model_->index(row, column).data().toString().left(cell.width() + 1);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(text, Qt::ElideRight, cell.width()));
    }
    if (current && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = bounds;
        focus.backgroundColor = palette().color(QPalette::Highlight);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace veltrane
