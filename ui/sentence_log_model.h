// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QAbstractTableModel>
#include <QTimer>
#include <functional>

#include "sentence_log.h"

namespace veltrane {

// The sentence log as a two-column table, newest row first.
//
// Inserting rows into a large view one at a time costs milliseconds each,
// mostly repaint, and the assembler adds rows from inside a pass that yields
// to the event loop after every character. So new rows are held back and
// reach the view in one insert once the pass is over (holdRows() false).
class SentenceLogModel final : public QAbstractTableModel, private LogObserver {
public:
    // holdRows tells whether rows are still arriving (an assembler pass is paused).
    SentenceLogModel(SentenceLog& log, std::function<bool()> holdRows);
    ~SentenceLogModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Hands the rows added since the last flush to the view.
    void flush();

private:
    void rowInserted(const LogRow& row) override;
    void cleared() override;
    void flushWhenSettled();

    SentenceLog& log_;
    std::function<bool()> holdRows_;
    std::size_t shown_ = 0;  // rows the view knows of; newer ones wait for flush()
    QTimer flushTimer_;
};

}  // namespace veltrane
