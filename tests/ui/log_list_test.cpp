// SPDX-License-Identifier: BSD-2-Clause
#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTimer>

#include "window_fixture.h"

namespace veltrane {
namespace {

using testing::control;

constexpr std::string_view kLongSentence = "GPRMC,145243.000,A,4807.03800,N,01131.00000,E,0.04,054.70,090324,003.1,E,D*0B";

// The window at its design size on the "NMEA Data" page, the log holding
// `rows` long sentences numbered from the oldest, all of them in the list.
class LogPage {
    std::unique_ptr<MainWindow> window_;

public:
    explicit LogPage(int rows) : window_(testing::openWindow()), list(control<LogListView>(*window_, "logList"))
    {
        control<QTabWidget>(*window_, "tabs").setCurrentIndex(1);
        add(rows);
    }

    void add(int rows)
    {
        SentenceLog& log = window_->monitor().log();
        for (int i = 0; i < rows; ++i) {
            const std::string number = std::to_string(log.size());
            log.insertFirst({2024, 3, 9, 14, 5, i % 60}, std::string(kLongSentence) + " #" + number);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return std::size_t(list.model()->rowCount()) == log.size(); }));
        // The list lays itself out again from the event loop.
        QCoreApplication::processEvents();
    }

    void showPage(int index) { control<QTabWidget>(*window_, "tabs").setCurrentIndex(index); }

    // The sentence shown in the row under the given height of the list's viewport.
    QString sentenceAt(int y) const { return list.model()->index(list.rowAt(y), 1).data().toString(); }
    QString topSentence() const { return sentenceAt(1); }
    QString newestSentence() const { return list.model()->index(0, 1).data().toString(); }
    int sideways() const { return list.horizontalScrollBar()->value(); }

    LogListView& list;
};

struct Scrolling {
    const char* how;
    void (*scroll)(LogPage&);
};

const Scrolling kScrollings[] = {
    {"wheel", [](LogPage& page) { testing::turnWheel(*page.list.viewport(), {40, 40}, -5); }},
    {"page down", [](LogPage& page) {
         QTest::mouseClick(page.list.viewport(), Qt::LeftButton, {}, {40, 5});
         QTest::keyClick(&page.list, Qt::Key_PageDown);
         QTest::keyClick(&page.list, Qt::Key_PageDown);
     }},
    {"scroll bar", [](LogPage& page) { page.list.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); }},
};

class ReadingWhileTheLogGrows : public ::testing::TestWithParam<Scrolling> {};

TEST_P(ReadingWhileTheLogGrows, RowsArrivingAboveLeaveTheReadersRowsInPlace)
{
    LogPage page(300);
    GetParam().scroll(page);
    const QString reading = page.topSentence();
    ASSERT_NE(reading, page.newestSentence()) << "the list did not scroll";
    const QString lower = page.sentenceAt(page.list.viewport()->height() / 2);

    page.add(6);
    EXPECT_EQ(page.topSentence(), reading);
    EXPECT_EQ(page.sentenceAt(page.list.viewport()->height() / 2), lower);

    // Back at the top, the newest rows come into view as they arrive.
    page.list.verticalScrollBar()->setValue(0);
    page.add(6);
    EXPECT_EQ(page.topSentence(), page.newestSentence());
}

INSTANTIATE_TEST_SUITE_P(Scrolled, ReadingWhileTheLogGrows, ::testing::ValuesIn(kScrollings),
                         [](const auto& info) {
                             std::string name = info.param.how;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

QPoint thumbCentre(const QScrollBar& bar)
{
    QStyleOptionSlider thumb;
    thumb.initFrom(&bar);
    thumb.orientation = bar.orientation();
    thumb.minimum = bar.minimum();
    thumb.maximum = bar.maximum();
    thumb.sliderPosition = thumb.sliderValue = bar.value();
    thumb.singleStep = bar.singleStep();
    thumb.pageStep = bar.pageStep();
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &thumb, QStyle::SC_ScrollBarSlider, &bar).center();
}

// Dragging the thumb while rows arrive: Qt places the thumb by the mouse in
// a range that has grown meanwhile, which would move the content by the rows
// that arrived on the next move.
TEST(LogList, RowsArrivingWhileTheThumbIsHeldLeaveTheContentUnderIt)
{
    LogPage page(300);
    QScrollBar& bar = *page.list.verticalScrollBar();
    const QPoint grip = thumbCentre(bar);
    QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&bar, grip + QPoint(0, 30));
    ASSERT_GT(bar.value(), 0) << "the thumb did not move";
    const QString reading = page.topSentence();

    page.add(40);
    EXPECT_EQ(page.topSentence(), reading);
    QTest::mouseMove(&bar, grip + QPoint(0, 30));
    EXPECT_EQ(page.topSentence(), reading) << "on the next move";
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, grip + QPoint(0, 30));
    EXPECT_EQ(page.topSentence(), reading) << "let go";
    QTest::keyClick(&page.list, Qt::Key_End);
    EXPECT_EQ(bar.maximum() + bar.pageStep(), 340) << "the rows that arrived can be scrolled to";
}

TEST(LogList, RowsThatArriveBehindTheReadoutPageAreAllThereWhenTheLogIsShownAgain)
{
    for (const bool scrolled : {false, true}) {
        SCOPED_TRACE(scrolled ? "scrolled away" : "at the top");
        LogPage page(300);
        if (scrolled) page.list.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        const QString reading = page.topSentence();
        page.showPage(0);
        page.add(300);
        page.showPage(1);
        QCoreApplication::processEvents();
        EXPECT_EQ(page.topSentence(), scrolled ? reading : page.newestSentence());

        QTest::keyClick(&page.list, Qt::Key_End);
        const QScrollBar& rows = *page.list.verticalScrollBar();
        EXPECT_EQ(rows.maximum() + rows.pageStep(), 600) << "the oldest row can be scrolled to";
        EXPECT_EQ(rows.value(), rows.maximum());
    }
}

TEST(LogList, AChosenRowKeepsTimeInViewStaysWithItsSentenceAndCopiesIt)
{
    LogPage page(300);
    QWidget& rows = *page.list.viewport();
    ASSERT_GT(page.list.horizontalScrollBar()->maximum(), 0) << "the columns should be wider than the list";

    // The right edge lies in "NMEA Data", whose end is out of view.
    QTest::mouseClick(&rows, Qt::LeftButton, {}, {rows.width() - 4, 30});
    EXPECT_EQ(page.sideways(), 0);
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home}) {
        QTest::keyClick(&page.list, key);
        EXPECT_EQ(page.sideways(), 0) << QTest::toString(key);
    }

    // The chosen row stays with its sentence as newer ones arrive above it.
    const QString chosen = page.list.model()->index(page.list.currentRow(), 1).data().toString();
    page.add(6);
    EXPECT_EQ(page.list.model()->index(page.list.currentRow(), 1).data().toString(), chosen);

    QTest::keyClick(&page.list, Qt::Key_C, Qt::ControlModifier);
    const QString time = page.list.model()->index(page.list.currentRow(), 0).data().toString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), time + "\t" + chosen);

    // Scrolled to the end of the sentences, a click on what is left of "Time" stays there too.
    const int end = page.list.horizontalScrollBar()->maximum();
    page.list.horizontalScrollBar()->setValue(end);
    QTest::mouseClick(&rows, Qt::LeftButton, {}, {4, 50});
    EXPECT_EQ(page.sideways(), end);
    QTest::keyClick(&page.list, Qt::Key_Up);
    EXPECT_EQ(page.sideways(), end);
}

// The middle of the row at `row`, counted from the top of the view.
QPoint rowCentre(const LogListView& list, int row) { return list.cellRect(row, 1).center(); }

// What a screen reader reads: a table whose cells stay with their rows as
// newer ones arrive above them, and the row the user chose.
TEST(LogListAccessible, ReadsAsATableOfHeadersRowsAndTheChosenRow)
{
    LogPage page(3);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&page.list);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    ASSERT_EQ(cells->columnCount(), 2);
    EXPECT_EQ(cells->rowCount(), 3);
    const QString headers[] = {"Time", "NMEA Data"};
    for (int column = 0; column < 2; ++column) {
        QAccessibleInterface* header = table->child(column);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->role(), QAccessible::ColumnHeader);
        EXPECT_EQ(header->text(QAccessible::Name), headers[column]);
        EXPECT_EQ(cells->cellAt(0, column)->tableCellInterface()->columnHeaderCells(), QList{header});
    }

    QAccessibleInterface* oldest = cells->cellAt(2, 1);
    EXPECT_EQ(oldest->text(QAccessible::Name), QString::fromLatin1(kLongSentence) + " #0");
    page.add(2);
    EXPECT_EQ(cells->rowCount(), 5);
    EXPECT_EQ(cells->cellAt(0, 1)->text(QAccessible::Name), QString::fromLatin1(kLongSentence) + " #4");
    EXPECT_EQ(cells->cellAt(4, 1), oldest) << "a cell stays with its row";
    EXPECT_EQ(oldest->tableCellInterface()->rowIndex(), 4);
    EXPECT_EQ(table->child(table->indexOfChild(oldest)), oldest);
    EXPECT_EQ(cells->cellAt(5, 0), nullptr);

    QTest::mouseClick(page.list.viewport(), Qt::LeftButton, {}, rowCentre(page.list, 1));
    EXPECT_EQ(cells->selectedRows(), QList{1});
    EXPECT_EQ(table->focusChild(), cells->cellAt(1, 0));
    EXPECT_TRUE(cells->cellAt(1, 1)->state().selected);
    QTest::keyClick(&page.list, Qt::Key_Down);
    EXPECT_EQ(cells->selectedRows(), QList{2});
    EXPECT_TRUE(cells->cellAt(2, 0)->state().focused);
    EXPECT_FALSE(cells->cellAt(1, 1)->state().selected);

    // A tool that walks a long log cell by cell leaves only so many behind.
    const QAccessible::Id walkedFirst = QAccessible::uniqueId(cells->cellAt(0, 0));
    page.add(600);
    for (int row = 0; row < cells->rowCount(); ++row) {
        for (int column = 0; column < 2; ++column) cells->cellAt(row, column);
    }
    EXPECT_EQ(QAccessible::accessibleInterface(walkedFirst), nullptr);
}

// A right click chooses the row under the pointer and offers to copy it.
TEST(LogList, TheContextMenuCopiesTheRowUnderThePointer)
{
    LogPage page(3);
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* action : menu->actions()) offered.append(action->text());
        menu->setActiveAction(menu->actions().value(0));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint where = rowCentre(page.list, 2);
    QContextMenuEvent click(QContextMenuEvent::Mouse, where, page.list.viewport()->mapToGlobal(where));
    QApplication::sendEvent(page.list.viewport(), &click);
    EXPECT_EQ(offered, QStringList{"Copy"});
    EXPECT_EQ(page.list.currentRow(), 2);
    const QAbstractItemModel& rows = *page.list.model();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), rows.index(2, 0).data().toString() + "\t" + rows.index(2, 1).data().toString());
}

}  // namespace
}  // namespace veltrane
