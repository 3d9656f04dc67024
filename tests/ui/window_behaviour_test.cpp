// SPDX-License-Identifier: BSD-2-Clause
#include <QDesktopServices>
#include <QHeaderView>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <new>

#include "app_identity.h"
#include "failure.h"
#include "failure_report.h"
#include "url_recorder.h"
#include "window_fixture.h"

namespace veltrane {
namespace {

using testing::control;
using testing::labelText;
using testing::makeWindow;
using testing::showAndWait;

TEST(WindowBehaviour, StartUpSelectsTheFirstPortAndBaudAndShowsTheFirstPage)
{
    auto window = makeWindow();
    EXPECT_EQ(window->windowTitle(), "Veltrane");
    window->start();
    showAndWait(*window);

    EXPECT_EQ(window->windowTitle(), "Veltrane v1.0");
    EXPECT_EQ(control<QTabWidget>(*window, "tabs").currentIndex(), 0);
    EXPECT_EQ(control<QComboBox>(*window, "portBox").currentText(), "Comm 1");
    EXPECT_EQ(control<QComboBox>(*window, "baudBox").currentText(), "4800");
    // No device is mapped to Comm 1 here.
    EXPECT_EQ(labelText(*window, "commOk"), "No");
    EXPECT_EQ(labelText(*window, "found"), "No");
    EXPECT_EQ(labelText(*window, "isGps"), "No");
    EXPECT_EQ(labelText(*window, "utcTime"), "Unknown");
    EXPECT_EQ(labelText(*window, "quality"), "No GPS device detected");
    EXPECT_EQ(labelText(*window, "satellites"), "0");
    EXPECT_EQ(labelText(*window, "updated"), "No data received");
    EXPECT_FALSE(control(*window, "clearButton").isVisible());
}

struct Sizes {
    QSize tab;
    QSize list;
    int clearLeft;  // in the tab control
};

Sizes measure(MainWindow& window)
{
    auto& tab = control(window, "tabs");
    auto& clear = control(window, "clearButton");
    return {tab.size(), control(window, "logList").size(), clear.mapTo(&tab, QPoint(0, 0)).x()};
}

int px(double twips) { return toPixels(twips); }

TEST(WindowBehaviour, ResizingFollowsTheRuleAndKeepsRefusedSizes)
{
    auto window = makeWindow();
    window->start();
    showAndWait(*window);
    const Sizes design = measure(*window);
    EXPECT_EQ(design.tab, QSize(px(6965), px(5065)));
    EXPECT_EQ(design.list, QSize(px(6835), px(4265)));
    EXPECT_EQ(design.clearLeft, px(5740));
    auto& tab = control(*window, "tabs");
    EXPECT_EQ(control(*window, "logList").mapTo(&tab, QPoint(0, 0)), QPoint(px(60), px(720)));
    EXPECT_EQ(control(*window, "clearButton").mapTo(&tab, QPoint(0, 0)).y(), px(360));

    // Outer height 166 * 15 + 510 = 3000 twips: below 3050, both heights stay.
    window->resize(473, 166);
    QCoreApplication::processEvents();
    EXPECT_EQ(measure(*window).tab, design.tab);
    EXPECT_EQ(measure(*window).list, design.list);

    // Outer height 3495: the tab control follows, the list would be negative and stays.
    window->resize(473, 199);
    QCoreApplication::processEvents();
    EXPECT_EQ(measure(*window).tab, QSize(design.tab.width(), px(445)));
    EXPECT_EQ(measure(*window).list, design.list);

    // Outer width 8 * 15 + 120 = 240: below 250, the tab width stays.
    window->resize(8, 507);
    QCoreApplication::processEvents();
    EXPECT_EQ(measure(*window).tab, QSize(design.tab.width(), px(5065)));
    EXPECT_EQ(measure(*window).list.width(), design.list.width());
    EXPECT_EQ(measure(*window).clearLeft, design.clearLeft);

    window->resize(473, 507);
    QCoreApplication::processEvents();
    const Sizes back = measure(*window);
    EXPECT_EQ(back.tab, design.tab);
    EXPECT_EQ(back.list, design.list);
    EXPECT_EQ(back.clearLeft, design.clearLeft);
}

// A screen shorter than the design, as a laptop's is to a large font: the
// window opens within it, laid out by the resize rule for the height it got.
TEST(WindowBehaviour, NeverOpensLargerThanTheScreen)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto small = std::find_if(screens.begin(), screens.end(), [](QScreen* s) { return s->name() == "small"; });
    ASSERT_NE(small, screens.end()) << "no small screen: the tests' offscreen configuration is missing";
    auto window = makeWindow();
    window->setScreen(*small);
    window->move((*small)->geometry().topLeft());
    window->start();
    showAndWait(*window);

    const QRect room = (*small)->availableGeometry();
    EXPECT_LE(window->frameGeometry().height(), room.height());
    EXPECT_LE(window->frameGeometry().width(), room.width());
    EXPECT_LT(window->height(), px(7605));
    EXPECT_EQ(window->width(), px(7095)) << "the width fitted as designed";
    const double outerHeight = window->height() * 15.0 + 510;
    EXPECT_EQ(measure(*window).tab.height(), px(outerHeight - 3050));
    EXPECT_EQ(measure(*window).list.height(), px(outerHeight - 3050 - 800));
}

TEST(WindowBehaviour, RestoringAfterMinimisingLaysTheWindowOutAgain)
{
    auto window = makeWindow();
    window->start();
    showAndWait(*window);
    window->resize(600, 640);
    QCoreApplication::processEvents();
    const Sizes before = measure(*window);
    EXPECT_EQ(before.tab.width(), px(600 * 15 + 120 - 250));

    window->showMinimized();
    QCoreApplication::processEvents();
    window->showNormal();
    QCoreApplication::processEvents();
    const Sizes after = measure(*window);
    EXPECT_EQ(after.tab, before.tab);
    EXPECT_EQ(after.list, before.list);
    EXPECT_EQ(after.clearLeft, before.clearLeft);
}

TEST(WindowBehaviour, ClearHistoryIsSeenOnlyOnTheLogPage)
{
    auto window = makeWindow();
    window->start();
    showAndWait(*window);
    auto& tabs = control<QTabWidget>(*window, "tabs");
    auto& clear = control(*window, "clearButton");

    tabs.setCurrentIndex(2);
    EXPECT_FALSE(clear.isVisible());
    tabs.setCurrentIndex(1);
    EXPECT_TRUE(clear.isVisible());
    tabs.setCurrentIndex(0);
    EXPECT_FALSE(clear.isVisible());

    // The user's click on a tab takes the same way.
    QTabBar* bar = tabs.tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(tabs.currentIndex(), 1);
    EXPECT_TRUE(clear.isVisible());
}

TEST(WindowBehaviour, ClearHistoryEmptiesOnlyTheLog)
{
    auto window = makeWindow();
    window->start();
    showAndWait(*window);
    SentenceLog& log = window->monitor().log();
    log.insertFirst({2024, 1, 2, 3, 4, 5}, "GPRMC,1");
    log.insertFirst({2024, 1, 2, 3, 4, 6}, "GPRMC,2");
    auto& list = control<LogListView>(*window, "logList");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model()->rowCount() == 2; }, 2000));
    window->monitor().fields().set(Field::IsGps, "Yes");

    control<QTabWidget>(*window, "tabs").setCurrentIndex(1);
    QTest::mouseClick(&control<QPushButton>(*window, "clearButton"), Qt::LeftButton);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(list.model()->rowCount(), 0);
    EXPECT_EQ(labelText(*window, "isGps"), "Yes");
    EXPECT_EQ(list.horizontalHeader()->sectionSize(0), px(2000));

    log.insertFirst({2024, 1, 2, 3, 4, 7}, "GPRMC,3");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model()->rowCount() == 1; }, 2000));
    EXPECT_EQ(list.model()->index(0, 1).data().toString(), "GPRMC,3");
}

TEST(WindowBehaviour, TheTickRunsUntilTheWindowCloses)
{
    auto running = makeWindow();
    running->start();
    // The first pass reads the empty slot 0 and moves on to slot 1.
    EXPECT_TRUE(QTest::qWaitFor([&] { return running->monitor().assembler().readIndex() == 1; }, 2000));

    auto closing = makeWindow();
    closing->start();
    EXPECT_TRUE(closing->close());
    QTest::qWait(350);
    EXPECT_EQ(closing->monitor().assembler().readIndex(), 0);
    EXPECT_FALSE(closing->monitor().port().isOpen());
}

TEST(WindowBehaviour, TheLinkAsksTheDesktopEveryTimeAndChangesNothing)
{
    auto window = makeWindow();
    testing::UrlRecorder recorder;
    const QString scheme = QUrl(QString::fromLatin1(kWebAddress)).scheme();
    QDesktopServices::setUrlHandler(scheme, &recorder, "open");
    auto& link = control<QLabel>(*window, "webLink");
    QTest::mouseClick(&link, Qt::LeftButton);
    QTest::mouseClick(&link, Qt::LeftButton);
    QTest::mouseClick(&link, Qt::RightButton);
    QDesktopServices::unsetUrlHandler(scheme);

    ASSERT_EQ(recorder.opened.size(), 2);
    EXPECT_EQ(recorder.opened.at(0), QUrl(QString::fromLatin1(kWebAddress)));
    EXPECT_EQ(link.text(), QString::fromLatin1(kWebAddress));
}

TEST(TopLevelFailure, DescribesTheFailureANumberAndACause)
{
    const auto described = [](auto failure) { return describeFailure(std::make_exception_ptr(failure)); };
    EXPECT_EQ(described(Failure(8002, "no such port")).number, 8002);
    EXPECT_EQ(described(Failure(8002, "no such port")).description, "no such port");
    EXPECT_EQ(described(std::runtime_error("broken")).number, kRuntimeFailure);
    EXPECT_EQ(described(std::bad_alloc()).number, 7);
    EXPECT_EQ(failureMessage({8005, "port in use"}), "Error 8005: port in use\n\nVeltrane will now close.");
}

TEST(TopLevelFailureDeathTest, AFailureThatEscapesAHandlerIsShownAndEndsTheProgram)
{
    EXPECT_EXIT(
        {
            QTimer closer;
            QObject::connect(&closer, &QTimer::timeout, [] {
                if (QWidget* box = QApplication::activeModalWidget()) box->close();
            });
            closer.start(10);
            runUntrapped([] { throw Failure(8015, "could not close the port"); });
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "Error 8015: could not close the port");
}

}  // namespace
}  // namespace veltrane
