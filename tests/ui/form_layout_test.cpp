// SPDX-License-Identifier: BSD-2-Clause
#include <QApplication>
#include <QHeaderView>
#include <QTabBar>

#include "form_layout.h"
#include "window_fixture.h"

namespace veltrane {
namespace {

using testing::control;
using testing::makeWindow;
using testing::showAndWait;

QRect designedPixels(const TwipsRect& rect) { return toPixels(rect); }

QRect rectIn(QWidget& control, QWidget& tabs)
{
    return QRect(control.mapTo(&tabs, QPoint(0, 0)), control.size());
}

// "portCaption" and "portBox", "commOkCaption" and "commOk".
bool captionAndItsControl(const QWidget& a, const QWidget& b)
{
    const auto names = [](const QWidget& caption, const QWidget& control) {
        const QString name = caption.objectName();
        return name.endsWith("Caption") && control.objectName().startsWith(name.chopped(7));
    };
    return names(a, b) || names(b, a);
}

// Rows of labels were drawn 240 twips apart but 255 tall, so neighbours share
// a pixel row or column at most; anything more hides one under the other.
bool overlap(const QRect& a, const QRect& b)
{
    const QRect shared = a & b;
    return shared.width() > 1 && shared.height() > 1;
}

TEST(FormLayout, EveryControlLiesInItsParentAndCoversOnlyItsOwnCaption)
{
    auto window = makeWindow();
    window->start();
    showAndWait(*window);
    auto& tabs = control<QTabWidget>(*window, "tabs");
    EXPECT_EQ(tabs.tabBar()->height(), toPixels(295.0));
    EXPECT_EQ(window->size(), QSize(473, 507));

    std::vector<QWidget*> parents = {window.get(), &control(*window, "settingsFrame"), &control(*window, "resultsFrame")};
    for (int i = 0; i < tabs.count(); ++i) parents.push_back(tabs.widget(i));
    std::size_t checked = 0;
    for (QWidget* parent : parents) {
        SCOPED_TRACE(parent->objectName().toStdString());
        // Qt lays a page out when it first becomes current.
        if (tabs.indexOf(parent) >= 0) tabs.setCurrentWidget(parent);
        std::vector<QWidget*> controls;
        for (QWidget* c : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!c->objectName().isEmpty()) controls.push_back(c);
        ASSERT_FALSE(controls.empty());
        for (std::size_t i = 0; i < controls.size(); ++i) {
            QWidget& a = *controls[i];
            EXPECT_TRUE(parent->rect().contains(a.geometry())) << a.objectName().toStdString();
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                QWidget& b = *controls[j];
                if (captionAndItsControl(a, b)) continue;
                EXPECT_FALSE(overlap(a.geometry(), b.geometry()))
                    << a.objectName().toStdString() << " and " << b.objectName().toStdString();
            }
        }
        checked += controls.size();
    }
    EXPECT_EQ(checked, 42u) << "every control of the form";

    // The link keeps its place and grows only as far as its address needs.
    auto& link = control<QLabel>(*window, "webLink");
    const QRect designed = designedPixels({840, 1860, 2655, 195});
    const QRect actual = rectIn(link, tabs);
    EXPECT_EQ(actual.topLeft(), designed.topLeft());
    EXPECT_EQ(actual.height(), designed.height());
    EXPECT_GE(actual.width(), designed.width());
    EXPECT_LE(link.fontMetrics().horizontalAdvance(link.text()), actual.width());
}

TEST(FormLayout, ResizableControlsStartAtTheirDesignBeforeTheFirstResize)
{
    auto window = makeWindow();
    EXPECT_EQ(control(*window, "tabs").geometry(), designedPixels(kTabsDesign));
    EXPECT_EQ(control(*window, "logList").size(), designedPixels(kLogListDesign).size());
    EXPECT_EQ(control(*window, "clearButton").size(), designedPixels(kClearButtonDesign).size());
}

TEST(FormLayout, EveryFieldHasATooltip)
{
    QWidget window;
    const FormControls form = buildForm(window);
    for (const QLabel* field : form.fields) {
        ASSERT_NE(field, nullptr);
        EXPECT_FALSE(field->toolTip().isEmpty()) << field->objectName().toStdString();
    }
}

TEST(FormLayout, TextsAndListEntriesAreTheProgramsOwn)
{
    auto window = makeWindow();
    const std::pair<const char*, const char*> labels[] = {
        {"portCaption", "Comm Port:"},
        {"baudCaption", "Baud Rate:"},
        {"commOkCaption", "Found selected Comm Port:"},
        {"foundCaption", "Found device on Comm Port:"},
        {"isGpsCaption", "Device recognised as GPS:"},
        {"commOk", "No"},
        {"found", "No"},
        {"isGps", "No"},
        {"utcTimeCaption", "Current UTC Time:"},
        {"latitudeCaption", "Latitude:"},
        {"longitudeCaption", "Longitude:"},
        {"altitudeCaption", "Altitude:"},
        {"qualityCaption", "Signal Quality:"},
        {"satellitesCaption", "Satellites in Use:"},
        {"inViewCaption", "Satellites in View:"},
        {"hdopCaption", "HDOP: "},
        {"updatedCaption", "Date last updated:"},
        {"utcTime", ""},
        {"updated", ""},
        {"aboutTitle", "Veltrane"},
        {"moreInformation", "For more information on this application, please visit:"},
        {"webLink", VELTRANE_WEB_ADDRESS},
    };
    for (const auto& [name, text] : labels) {
        SCOPED_TRACE(name);
        EXPECT_EQ(testing::labelText(*window, name), QString::fromUtf8(text));
    }
    EXPECT_EQ(control<QGroupBox>(*window, "settingsFrame").title(), "GPS Device Settings");
    EXPECT_EQ(control<QGroupBox>(*window, "resultsFrame").title(), "GPS Connection Results");
    EXPECT_EQ(control<QPushButton>(*window, "autoButton").text(), "Auto Detect");
    EXPECT_EQ(control<QPushButton>(*window, "clearButton").text(), "Clear History");
    EXPECT_TRUE(testing::labelText(*window, "aboutText").contains("data and signal monitor for testing GPS devices"));
    EXPECT_TRUE(testing::labelText(*window, "aboutText").contains("Veltrane developers"));
    EXPECT_TRUE(testing::labelText(*window, "copyright").contains("Veltrane developers"));

    auto& tabs = control<QTabWidget>(*window, "tabs");
    ASSERT_EQ(tabs.count(), 3);
    EXPECT_EQ(tabs.tabText(0), "GPS Information");
    EXPECT_EQ(tabs.tabText(1), "NMEA Data");
    EXPECT_EQ(tabs.tabText(2), "About");

    auto& ports = control<QComboBox>(*window, "portBox");
    ASSERT_EQ(ports.count(), 15);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(ports.itemText(i), QString("Comm %1").arg(i + 1));
    EXPECT_EQ(ports.currentIndex(), -1);
    auto& bauds = control<QComboBox>(*window, "baudBox");
    ASSERT_EQ(bauds.count(), 2);
    EXPECT_EQ(bauds.itemText(0), "4800");
    EXPECT_EQ(bauds.itemText(1), "9600");
    EXPECT_FALSE(ports.isEditable());
    EXPECT_FALSE(bauds.isEditable());

    auto& list = control<LogListView>(*window, "logList");
    EXPECT_EQ(list.model()->headerData(0, Qt::Horizontal).toString(), "Time");
    EXPECT_EQ(list.model()->headerData(1, Qt::Horizontal).toString(), "NMEA Data");
    EXPECT_EQ(list.horizontalHeader()->sectionSize(0), toPixels(2000.0));
    EXPECT_EQ(list.horizontalHeader()->sectionSize(1), toPixels(6000.0));
}

TEST(FormLayout, OnlyTheReadoutIndicatorsAndSettingsHaveTooltips)
{
    auto window = makeWindow();
    const std::map<QString, QString> tooltips = {
        {"portBox", "The port that your GPS device is plugged into"},
        {"baudBox", "The speed that your GPS device operates at"},
        {"autoButton", "Attempts to automatically detects your Comm Port and Baud Rate settings"},
        {"commOk", "Indicates whether the selected Comm Port exists on your PC"},
        {"found", "Indicates whether a device was found on the selected Comm Port"},
        {"isGps", "Indicates whether the device is sending signals in the standard GPS format"},
        {"utcTime", "The current UTC time returned by the GPS"},
        {"latitude", "The current latitude returned by the GPS"},
        {"longitude", "The current longitude returned by the GPS"},
        {"altitude", "The current altitude returned by the GPS, in meters"},
        {"quality", "The type of signal that the GPS is currently receiving"},
        {"satellites", "The number of satellites that the GPS is using to determine your position"},
        {"inView", "The number of satellites that the GPS can currently see"},
        {"hdop", "The horizontal dilution or position, or accuracy of the GPS, in meters"},
        {"updated", "The date and time that information was last received from the GPS device"},
    };
    std::size_t seen = 0;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const auto expected = tooltips.find(w->objectName());
        if (expected == tooltips.end()) {
            EXPECT_TRUE(w->toolTip().isEmpty()) << w->objectName().toStdString();
            continue;
        }
        EXPECT_EQ(w->toolTip(), expected->second);
        ++seen;
    }
    EXPECT_EQ(seen, tooltips.size());
}

TEST(FormLayout, FontsFollowTheDesign)
{
    auto window = makeWindow();
    EXPECT_DOUBLE_EQ(window->font().pointSizeF(), 8.25);
    const QFont title = control(*window, "aboutTitle").font();
    EXPECT_TRUE(title.bold());
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 8.25);
    EXPECT_FALSE(control(*window, "aboutText").font().bold());

    auto& link = control(*window, "webLink");
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(link.cursor().shape(), Qt::WhatsThisCursor);
    for (const char* picture : {"settingsIcon", "resultsIcon", "aboutIcon"})
        EXPECT_EQ(control<QLabel>(*window, picture).pixmap().size(), QSize(32, 32)) << picture;
}

TEST(FormLayout, CaptionsFitBesideTheControlsNextToThem)
{
    auto window = makeWindow();
    const std::pair<const char*, const char*> neighbours[] = {
        {"portCaption", "portBox"},      {"baudCaption", "baudBox"},
        {"commOkCaption", "commOk"},     {"foundCaption", "found"},
        {"isGpsCaption", "isGps"},       {"utcTimeCaption", "utcTime"},
        {"updatedCaption", "updated"},   {"inViewCaption", "inView"},
    };
    for (const auto& [caption, beside] : neighbours) {
        auto& label = control<QLabel>(*window, caption);
        const int room = control(*window, beside).x() - label.x();
        EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), room) << caption;
    }
}

QString focusedName()
{
    QWidget* focused = QApplication::focusWidget();
    if (!focused) return QStringLiteral("(none)");
    if (qobject_cast<QTabBar*>(focused)) return focused->parentWidget()->objectName();
    return focused->objectName();
}

QStringList tabThrough(int presses, Qt::Key key = Qt::Key_Tab)
{
    QStringList names;
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget(), key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        names << focusedName();
    }
    return names;
}

TEST(FormLayout, TabKeyVisitsTheShownControlsInDesignOrder)
{
    auto window = testing::openWindow();
    EXPECT_EQ(focusedName(), "portBox");

    EXPECT_EQ(tabThrough(4), QStringList({"tabs", "baudBox", "autoButton", "portBox"}));

    auto& tabs = control<QTabWidget>(*window, "tabs");
    tabs.setCurrentIndex(1);
    EXPECT_EQ(tabThrough(6),
              QStringList({"tabs", "logList", "clearButton", "baudBox", "autoButton", "portBox"}));

    tabs.setCurrentIndex(2);
    EXPECT_EQ(tabThrough(4), QStringList({"tabs", "baudBox", "autoButton", "portBox"}));

    control(*window, "baudBox").setEnabled(false);
    EXPECT_EQ(tabThrough(3), QStringList({"tabs", "autoButton", "portBox"}));
}

TEST(FormLayout, TabAndShiftTabLeaveTheLogWhateverItHolds)
{
    auto window = testing::openWindow();
    control<QTabWidget>(*window, "tabs").setCurrentIndex(1);
    SentenceLog& log = window->monitor().log();
    for (int i = 0; i < 40; ++i) log.insertFirst({2024, 3, 9, 14, 5, i % 60}, "GPGGA,row " + std::to_string(i));
    auto& list = control<LogListView>(*window, "logList");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model()->rowCount() == 40; }));

    const QPoint thirdRow(list.viewport()->width() / 2, list.viewport()->height() / 8);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, thirdRow);
    ASSERT_EQ(focusedName(), "logList");
    EXPECT_EQ(tabThrough(3), QStringList({"clearButton", "baudBox", "autoButton"}));

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, thirdRow);
    ASSERT_EQ(focusedName(), "logList");
    EXPECT_EQ(tabThrough(3, Qt::Key_Backtab), QStringList({"tabs", "portBox", "autoButton"}));
}

}  // namespace
}  // namespace veltrane
