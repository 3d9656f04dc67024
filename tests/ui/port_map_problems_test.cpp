// SPDX-License-Identifier: BSD-2-Clause
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "port_map_problems.h"
#include "qstring_printer.h"

namespace veltrane {
namespace {

// A refused VELTRANE_PORTS entry is told where the person looks: a box over
// the window, its device text shown as plain text.
TEST(PortMapProblems, AreShownOverTheWindowAsPlainText)
{
    QWidget window;
    window.show();
    QString shown;
    Qt::TextFormat format = Qt::RichText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        format = box->textFormat();
        box->accept();
    });
    showPortMapProblems(window, {"VELTRANE_PORTS entry \"x<b>\x1b\" ignored: expected N=PATH"});
    EXPECT_EQ(shown, "Some Comm numbers could not be mapped to devices:\n\n"
                     "VELTRANE_PORTS entry \"x<b>\\x1b\" ignored: expected N=PATH");
    EXPECT_EQ(format, Qt::PlainText);
}

}  // namespace
}  // namespace veltrane
