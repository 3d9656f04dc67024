// SPDX-License-Identifier: BSD-2-Clause
#include "log_list_accessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <deque>
#include <iterator>
#include <limits>
#include <utility>

#include "log_list_view.h"

namespace veltrane {

namespace {

// A screen reader asks for the rows in view and a few around them; a tool
// that walks a long log cell by cell leaves no more than this many behind.
constexpr int kMostCellsKept = 1024;

int columnsOf(const LogListView* list) { return list && list->model() ? list->model()->columnCount() : 0; }
int rowsOf(const LogListView* list) { return list && list->model() ? list->model()->rowCount() : 0; }

// The headers come first among the table's children, then the rows, a child for each cell.
int childIndex(const LogListView* list, int row, int column) { return (row + 1) * columnsOf(list) + column; }

QWindow* windowOf(const LogListView* list) { return list ? list->window()->windowHandle() : nullptr; }

class HeaderCell final : public QAccessibleInterface {
public:
    HeaderCell(LogListView* list, int column) : list_(list), column_(column) {}

    bool isValid() const override { return list_ && column_ < columnsOf(list_); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return windowOf(list_); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(list_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid()) return {};
        return list_->model()->headerData(column_, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid()) return {};
        const QHeaderView* header = list_->horizontalHeader();
        const QRect section(header->sectionViewportPosition(column_), 0, header->sectionSize(column_), header->height());
        return QRect(header->mapToGlobal(section.topLeft()), section.size());
    }
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !list_ || !list_->isVisible();
        return state;
    }

    int column() const { return column_; }

private:
    QPointer<LogListView> list_;
    int column_;
};

class Cell final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    Cell(LogListView* list, const QModelIndex& index) : list_(list), index_(index) {}

    // Follows its row as newer rows arrive above it; a cleared log leaves it invalid.
    bool isValid() const override { return list_ && index_.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return windowOf(list_); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return table(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? index_.data().toString() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid()) return {};
        const QRect cell = list_->cellRect(index_.row(), index_.column());
        return QRect(list_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        state.focused = state.selected && list_->hasFocus();
        state.offscreen = !list_->viewport()->rect().intersects(list_->cellRect(index_.row(), index_.column()));
        state.invisible = !list_->isVisible();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    int columnExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        QAccessibleInterface* list = table();
        return list ? QList<QAccessibleInterface*>{list->child(index_.column())} : QList<QAccessibleInterface*>{};
    }
    int columnIndex() const override { return index_.column(); }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int rowIndex() const override { return index_.row(); }
    bool isSelected() const override { return isValid() && list_->currentRow() == index_.row(); }
    QAccessibleInterface* table() const override { return QAccessible::queryAccessibleInterface(list_); }

private:
    QPointer<LogListView> list_;
    QPersistentModelIndex index_;
};

class LogTable final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit LogTable(LogListView* list) : QAccessibleWidget(list, QAccessible::Table) {}
    ~LogTable() override
    {
        forgetCells();
        for (const QAccessible::Id id : std::as_const(headers_)) QAccessible::deleteAccessibleInterface(id);
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override
    {
        const qint64 children = (static_cast<qint64>(rowsOf(list())) + 1) * columnsOf(list());
        return static_cast<int>(std::min<qint64>(children, std::numeric_limits<int>::max()));
    }
    QAccessibleInterface* child(int index) const override
    {
        const int columns = columnsOf(list());
        if (index < 0 || columns == 0) return nullptr;
        if (index < columns) return header(index);
        return cellAt(index / columns - 1, index % columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (const auto* header = dynamic_cast<const HeaderCell*>(child)) return header->column();
        if (const auto* cell = dynamic_cast<const Cell*>(child); cell && cell->isValid())
            return childIndex(list(), cell->rowIndex(), cell->columnIndex());
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint inRows = list()->viewport()->mapFromGlobal(QPoint(x, y));
        if (list()->viewport()->rect().contains(inRows)) return cellAt(list()->rowAt(inRows.y()), list()->columnAt(inRows.x()));
        const QHeaderView* headers = list()->horizontalHeader();
        const QPoint inHeader = headers->mapFromGlobal(QPoint(x, y));
        if (headers->rect().contains(inHeader)) return header(headers->logicalIndexAt(inHeader.x()));
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        return list()->hasFocus() && list()->currentRow() >= 0 ? cellAt(list()->currentRow(), 0) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowsOf(list()) || column < 0 || column >= columnsOf(list())) return nullptr;
        // A row keeps its key while newer rows arrive above it.
        const qint64 key = static_cast<qint64>(rowsOf(list()) - 1 - row) * columnsOf(list()) + column;
        if (const auto found = cells_.constFind(key); found != cells_.constEnd()) {
            QAccessibleInterface* cell = QAccessible::accessibleInterface(*found);
            if (cell && cell->isValid()) return cell;
            QAccessible::deleteAccessibleInterface(*found);
            cells_.erase(found);
        }
        auto* cell = new Cell(list(), list()->model()->index(row, column));
        const QAccessible::Id id = QAccessible::registerAccessibleInterface(cell);
        cells_.insert(key, id);
        made_.emplace_back(key, id);
        while (made_.size() > static_cast<std::size_t>(kMostCellsKept)) {
            const auto [oldKey, oldId] = made_.front();
            made_.pop_front();
            if (cells_.value(oldKey) != oldId) continue;  // already made anew
            cells_.remove(oldKey);
            QAccessible::deleteAccessibleInterface(oldId);
        }
        return cell;
    }
    int selectedCellCount() const override { return selectedRowCount() * columnsOf(list()); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        if (list()->currentRow() < 0) return cells;
        for (int column = 0; column < columnsOf(list()); ++column) cells.append(cellAt(list()->currentRow(), column));
        return cells;
    }
    QString columnDescription(int column) const override
    {
        QAccessibleInterface* cell = header(column);
        return cell ? cell->text(QAccessible::Name) : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return list()->currentRow() >= 0 ? 1 : 0; }
    int columnCount() const override { return columnsOf(list()); }
    int rowCount() const override { return rowsOf(list()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        return list()->currentRow() >= 0 ? QList<int>{list()->currentRow()} : QList<int>{};
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return row >= 0 && row == list()->currentRow(); }
    bool selectRow(int row) override
    {
        if (row < 0 || row >= rowCount()) return false;
        list()->setCurrentRow(row);
        return true;
    }
    bool selectColumn(int) override { return false; }
    // One row is always chosen once any is: the list has no empty choice to go back to.
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override
    {
        if (event->modelChangeType() == QAccessibleTableModelChangeEvent::ModelReset) forgetCells();
    }

private:
    LogListView* list() const { return static_cast<LogListView*>(widget()); }

    QAccessibleInterface* header(int column) const
    {
        if (column < 0 || column >= std::min(columnCount(), static_cast<int>(std::size(headers_)))) return nullptr;
        QAccessible::Id& id = headers_[column];
        if (id == 0) id = QAccessible::registerAccessibleInterface(new HeaderCell(list(), column));
        return QAccessible::accessibleInterface(id);
    }

    void forgetCells()
    {
        for (const QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
        made_.clear();
    }

    mutable QAccessible::Id headers_[2] = {};
    mutable QHash<qint64, QAccessible::Id> cells_;
    mutable std::deque<std::pair<qint64, QAccessible::Id>> made_;  // oldest first
};

void notify(QAccessibleEvent& event) { QAccessible::updateAccessibility(&event); }

void announceRow(LogListView& list, QAccessible::Event type, int row)
{
    for (int column = 0; column < columnsOf(&list); ++column) {
        QAccessibleEvent event(&list, type);
        event.setChild(childIndex(&list, row, column));
        notify(event);
    }
}

}  // namespace

QAccessibleInterface* logListAccessible(const QString&, QObject* object)
{
    auto* list = dynamic_cast<LogListView*>(object);
    return list ? new LogTable(list) : nullptr;
}

void forgetEarlyAccessible(LogListView& list)
{
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* early = QAccessible::queryAccessibleInterface(&list);
    if (early && !early->tableInterface()) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(early));
}

void announceCurrentRow(LogListView& list, int previous)
{
    if (!QAccessible::isActive()) return;
    if (previous >= 0 && previous < rowsOf(&list)) announceRow(list, QAccessible::SelectionRemove, previous);
    if (list.currentRow() < 0) return;
    announceRow(list, QAccessible::SelectionAdd, list.currentRow());
    announceFocus(list);
}

void announceFocus(LogListView& list)
{
    if (!QAccessible::isActive() || !list.hasFocus() || list.currentRow() < 0) return;
    QAccessibleEvent event(&list, QAccessible::Focus);
    event.setChild(childIndex(&list, list.currentRow(), 0));
    notify(event);
}

void announceRowsInserted(LogListView& list, int first, int last)
{
    if (!QAccessible::isActive()) return;
    QAccessibleTableModelChangeEvent event(&list, QAccessibleTableModelChangeEvent::RowsInserted);
    event.setFirstRow(first);
    event.setLastRow(last);
    event.setFirstColumn(0);
    event.setLastColumn(columnsOf(&list) - 1);
    notify(event);
}

void announceReset(LogListView& list)
{
    if (!QAccessible::isActive()) return;
    QAccessibleTableModelChangeEvent event(&list, QAccessibleTableModelChangeEvent::ModelReset);
    notify(event);
}

}  // namespace veltrane
