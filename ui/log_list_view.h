// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QAbstractItemModel>
#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QPointer>

namespace veltrane {

// The sentence log's list: column headers over rows of one height, chosen as
// whole rows, scrolling sideways when the columns are wider than the list.
//
// The log has no row limit, so the list keeps nothing per row: it paints the
// rows in view straight from the model. (A table view keeps a record per row
// in its row header, and shifts all of them on every insert at the top.) Rows
// arriving at the top leave a reader who has scrolled away, or who holds the
// scroll bar's thumb, at the same rows; at the top, the newest rows come into
// view. Choosing a row never scrolls sideways, and Tab leaves the list.
// Ctrl+C, or "Copy" in the row's context menu, copies the chosen row as its
// time, a tab and its sentence.
class LogListView final : public QAbstractScrollArea {
public:
    explicit LogListView(QWidget* parent = nullptr);

    // The model's rows arrive at the top or go all at once.
    void setModel(QAbstractItemModel* model);
    QAbstractItemModel* model() const { return model_; }
    QHeaderView* horizontalHeader() const { return header_; }

    // The row shown at this height of the viewport, or -1 where there is none.
    int rowAt(int y) const;
    // The column shown at this distance from the viewport's left edge, or -1.
    int columnAt(int x) const;
    // Where a cell is, in the viewport's coordinates; outside it when not in view.
    QRect cellRect(int row, int column) const;
    int currentRow() const { return current_; }
    // Chooses the row and scrolls it into view.
    void setCurrentRow(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int rowCount() const;
    int rowHeight() const;
    int rowsInView() const;
    void rowsInserted(const QModelIndex& parent, int first, int last);
    void reset();
    void layOutHeader();
    void updateScrollBars();
    // The first row in view; while the thumb is held, the rows that arrived
    // since it was grabbed sit above the scroll bar's range.
    int topRow() const;
    void scrollTo(int top);
    void thumbReleased();
    void copyCurrentRow() const;
    void paintRow(QPainter& painter, int row, int top);

    QHeaderView* header_;
    QPointer<QAbstractItemModel> model_;
    int current_ = -1;
    bool scrollBarsStale_ = false;  // rows arrived while hidden
    int arrivedWhileHeld_ = 0;
};

}  // namespace veltrane
