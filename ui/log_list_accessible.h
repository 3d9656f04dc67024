// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QAccessible>
#include <QString>

namespace veltrane {

class LogListView;

// What screen readers and test tools see of the sentence log: a table with
// the two column headers, then a cell for each column of every row. The list
// paints its rows itself and keeps nothing per row, so cells are made when
// asked for, and only so many are kept at a time.

// A factory for QAccessible::installFactory(); it answers for LogListView only.
QAccessibleInterface* logListAccessible(const QString& className, QObject* object);

// Qt describes the list as soon as its first child is made, while it is still
// a bare scroll area, if assistive technology is listening; to be called once
// it is built, so that the next look finds it as the table.
void forgetEarlyAccessible(LogListView& list);

// What the list tells assistive technology, while any is listening.
void announceCurrentRow(LogListView& list, int previous);  // the chosen row moved
void announceFocus(LogListView& list);                      // the list took the focus
void announceRowsInserted(LogListView& list, int first, int last);
void announceReset(LogListView& list);

}  // namespace veltrane
