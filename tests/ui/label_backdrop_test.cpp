// SPDX-License-Identifier: BSD-2-Clause
#include <QApplication>
#include <functional>

#include "window_fixture.h"

namespace veltrane {
namespace {

using testing::control;

constexpr const char* kFields[] = {"utcTime", "latitude", "longitude", "altitude",
                                   "quality", "satellites", "inView",    "hdop",
                                   "updated", "commOk",     "found",     "isGps"};

class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void settle()
{
    // Once for the events of the change, once for the look they queue.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

int fieldsFillingThemselves(MainWindow& window)
{
    int filling = 0;
    for (const char* name : kFields) filling += control<QLabel>(window, name).autoFillBackground() ? 1 : 0;
    return filling;
}

// The window as Qt paints it with every field label see-through.
QImage seeThroughLook(MainWindow& window)
{
    for (const char* name : kFields) control<QLabel>(window, name).setAutoFillBackground(false);
    return window.grab().toImage();
}

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return -1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return differing;
}

TEST(LabelBackdrop, AChangingReadoutIsRepaintedWithoutTheTabPaneBeneathIt)
{
    auto window = testing::openWindow();
    settle();
    PaintCounter pane;
    PaintCounter readout;
    control<QWidget>(*window, "tabs").installEventFilter(&pane);
    control<QWidget>(*window, "utcTime").installEventFilter(&readout);

    window->monitor().fields().set(Field::UtcTime, "12:35:19.");
    ASSERT_TRUE(QTest::qWaitFor([&] { return readout.paints > 0; }, 2000));
    EXPECT_EQ(pane.paints, 0);
}

struct Situation {
    const char* name;
    std::function<void(MainWindow&)> bringAbout;
    bool allFill;  // whether every field label can fill itself there
};

TEST(LabelBackdrop, TheWindowLooksTheSameAsWithSeeThroughLabels)
{
    const QPalette original = QApplication::palette();
    const Situation situations[] = {
        {"at the design size", [](MainWindow&) {}, true},
        {"back from the log page",
         [](MainWindow& w) {
             auto& tab = control<QTabWidget>(w, "tabs");
             tab.setCurrentIndex(1);
             settle();
             tab.setCurrentIndex(0);
         },
         true},
        {"in another palette",
         [](MainWindow&) {
             QPalette reddish = QApplication::palette();
             reddish.setColor(QPalette::Button, QColor(200, 120, 120));
             reddish.setColor(QPalette::Window, QColor(150, 200, 150));
             QApplication::setPalette(reddish);
         },
         true},
        // The captions then run on under the fields beside them.
        {"in a large font",
         [](MainWindow& w) {
             QFont large = w.font();
             large.setPointSize(20);
             w.setFont(large);
         },
         false},
    };
    for (const Situation& situation : situations) {
        SCOPED_TRACE(situation.name);
        auto window = testing::openWindow();
        window->monitor().fields().set(Field::Latitude, "4807.0380 N");
        situation.bringAbout(*window);
        settle();
        const int filling = fieldsFillingThemselves(*window);
        if (situation.allFill)
            EXPECT_EQ(filling, std::size(kFields));
        else
            EXPECT_LT(filling, std::size(kFields));

        const QImage shown = window->grab().toImage();
        EXPECT_EQ(differingPixels(shown, seeThroughLook(*window)), 0);
        QApplication::setPalette(original);
    }
}

}  // namespace
}  // namespace veltrane
