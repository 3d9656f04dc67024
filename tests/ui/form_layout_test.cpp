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

enum class In { Window, Frame, Page };

struct Placement {
    const char* name;
    In container;
    int left, top, width, height;  // twips
};

// Everything except the three controls that follow the window's size.
constexpr Placement kPlacements[] = {
    {"grpSettings", In::Window, 60, 60, 6975, 975},
    {"imgSettings", In::Frame, 120, 300, 480, 480},
    {"lblCommPort", In::Frame, 840, 420, 1095, 195},
    {"cboCommPort", In::Frame, 1740, 360, 1275, 315},
    {"lblBaud", In::Frame, 3240, 420, 1095, 195},
    {"cboBaud", In::Frame, 4140, 360, 1215, 315},
    {"cmdAuto", In::Frame, 5520, 360, 1275, 315},
    {"grpResults", In::Window, 60, 1140, 6975, 1215},
    {"imgResults", In::Frame, 180, 360, 480, 480},
    {"lblCommOKLabel", In::Frame, 840, 300, 3435, 255},
    {"lblCommOK", In::Frame, 3000, 300, 855, 255},
    {"lblFoundLabel", In::Frame, 840, 540, 3435, 255},
    {"lblFound", In::Frame, 3000, 540, 375, 255},
    {"lblIsGPSLabel", In::Frame, 840, 780, 3435, 255},
    {"lblIsGPS", In::Frame, 3000, 780, 855, 255},
    {"Label1", In::Page, 120, 420, 3315, 195},
    {"lblUTCTime", In::Page, 2040, 420, 3375, 195},
    {"Label2", In::Page, 120, 660, 1575, 195},
    {"lblLatitude", In::Page, 2040, 660, 3375, 195},
    {"Label3", In::Page, 120, 900, 1575, 195},
    {"lblLongitude", In::Page, 2040, 900, 3375, 195},
    {"Label6", In::Page, 120, 1140, 1575, 195},
    {"lblAltitude", In::Page, 2040, 1140, 3375, 195},
    {"Label4", In::Page, 120, 1560, 1575, 195},
    {"lblQuality", In::Page, 2040, 1560, 3375, 195},
    {"Label5", In::Page, 120, 1800, 1575, 195},
    {"lblSatellites", In::Page, 2040, 1800, 3375, 195},
    {"Label8", In::Page, 120, 2040, 1575, 195},
    {"lblInView", In::Page, 2040, 2040, 3375, 195},
    {"Label7", In::Page, 120, 2280, 1575, 195},
    {"lblHDOP", In::Page, 2040, 2280, 3375, 195},
    {"lblUpdatedLabel", In::Page, 120, 2700, 1815, 195},
    {"lblUpdated", In::Page, 2040, 2700, 3375, 195},
    {"Image1", In::Page, 180, 480, 480, 480},
    {"Label9", In::Page, 840, 480, 6015, 255},
    {"Label10", In::Page, 840, 720, 6015, 435},
    {"Label11", In::Page, 840, 1260, 5955, 195},
    {"Label12", In::Page, 840, 1620, 5835, 195},
};

QRect expectedPixels(int left, int top, int width, int height)
{
    return toPixels(TwipsRect{double(left), double(top), double(width), double(height)});
}

QRect rectIn(QWidget& control, QWidget& tabMain, In container)
{
    if (container != In::Page) return control.geometry();
    return QRect(control.mapTo(&tabMain, QPoint(0, 0)), control.size());
}

TEST(FormLayout, EveryControlStandsWhereItWasDesigned)
{
    auto window = makeWindow();
    window->Form_Load();
    showAndWait(*window);
    auto& tabMain = control<QTabWidget>(*window, "tabMain");
    EXPECT_EQ(tabMain.tabBar()->height(), toPixels(295.0));
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.name);
        QWidget& c = control(*window, p.name);
        // Qt lays a page out when it first becomes current.
        if (p.container == In::Page) tabMain.setCurrentWidget(c.parentWidget());
        EXPECT_EQ(rectIn(c, tabMain, p.container), expectedPixels(p.left, p.top, p.width, p.height));
        // A page control above the page's top edge would be cut off.
        if (p.container == In::Page) {
            EXPECT_TRUE(c.parentWidget()->rect().contains(c.geometry()));
        }
    }
    EXPECT_EQ(window->size(), QSize(473, 507));

    // The link keeps its place and grows only as far as its address needs.
    auto& link = control<QLabel>(*window, "lblLink");
    const QRect designed = expectedPixels(840, 1860, 2655, 195);
    const QRect actual = rectIn(link, tabMain, In::Page);
    EXPECT_EQ(actual.topLeft(), designed.topLeft());
    EXPECT_EQ(actual.height(), designed.height());
    EXPECT_GE(actual.width(), designed.width());
    EXPECT_LE(link.fontMetrics().horizontalAdvance(link.text()), actual.width());
}

TEST(FormLayout, ResizableControlsStartAtTheirDesignBeforeTheFirstResize)
{
    auto window = makeWindow();
    EXPECT_EQ(control(*window, "tabMain").geometry(), expectedPixels(60, 2460, 6975, 5055));
    EXPECT_EQ(control(*window, "lvwNMEA").size(), expectedPixels(60, 720, 6855, 4275).size());
    EXPECT_EQ(control(*window, "cmdNMEAClear").size(), expectedPixels(5820, 360, 1095, 315).size());
}

TEST(FormLayout, TextsAndListEntriesAreTheProgramsOwn)
{
    auto window = makeWindow();
    const std::pair<const char*, const char*> labels[] = {
        {"lblCommPort", "Comm Port:"},
        {"lblBaud", "Baud Rate:"},
        {"lblCommOKLabel", "Found selected Comm Port:"},
        {"lblFoundLabel", "Found device on Comm Port:"},
        {"lblIsGPSLabel", "Device recognised as GPS:"},
        {"lblCommOK", "No"},
        {"lblFound", "No"},
        {"lblIsGPS", "No"},
        {"Label1", "Current UTC Time:"},
        {"Label2", "Latitude:"},
        {"Label3", "Longitude:"},
        {"Label6", "Altitude:"},
        {"Label4", "Signal Quality:"},
        {"Label5", "Satellites in Use:"},
        {"Label8", "Satellites in View:"},
        {"Label7", "HDOP: "},
        {"lblUpdatedLabel", "Date last updated:"},
        {"lblUTCTime", ""},
        {"lblUpdated", ""},
        {"Label9", "Veltrane"},
        {"Label12", "For more information on this application, please visit:"},
        {"lblLink", VELTRANE_WEB_ADDRESS},
    };
    for (const auto& [name, text] : labels) {
        SCOPED_TRACE(name);
        EXPECT_EQ(testing::labelText(*window, name), QString::fromUtf8(text));
    }
    EXPECT_EQ(control<QGroupBox>(*window, "grpSettings").title(), "GPS Device Settings");
    EXPECT_EQ(control<QGroupBox>(*window, "grpResults").title(), "GPS Connection Results");
    EXPECT_EQ(control<QPushButton>(*window, "cmdAuto").text(), "Auto Detect");
    EXPECT_EQ(control<QPushButton>(*window, "cmdNMEAClear").text(), "Clear History");
    EXPECT_TRUE(testing::labelText(*window, "Label10").contains("data and signal monitor for testing GPS devices"));
    EXPECT_TRUE(testing::labelText(*window, "Label10").contains("Veltrane developers"));
    EXPECT_TRUE(testing::labelText(*window, "Label11").contains("Veltrane developers"));

    auto& tabMain = control<QTabWidget>(*window, "tabMain");
    ASSERT_EQ(tabMain.count(), 3);
    EXPECT_EQ(tabMain.tabText(0), "GPS Information");
    EXPECT_EQ(tabMain.tabText(1), "NMEA Data");
    EXPECT_EQ(tabMain.tabText(2), "About");

    auto& ports = control<QComboBox>(*window, "cboCommPort");
    ASSERT_EQ(ports.count(), 15);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(ports.itemText(i), QString("Comm %1").arg(i + 1));
    EXPECT_EQ(ports.currentIndex(), -1);
    auto& bauds = control<QComboBox>(*window, "cboBaud");
    ASSERT_EQ(bauds.count(), 2);
    EXPECT_EQ(bauds.itemText(0), "4800");
    EXPECT_EQ(bauds.itemText(1), "9600");
    EXPECT_FALSE(ports.isEditable());
    EXPECT_FALSE(bauds.isEditable());

    auto& list = control<LogListView>(*window, "lvwNMEA");
    EXPECT_EQ(list.model()->headerData(0, Qt::Horizontal).toString(), "Time");
    EXPECT_EQ(list.model()->headerData(1, Qt::Horizontal).toString(), "NMEA Data");
    EXPECT_EQ(list.horizontalHeader()->sectionSize(0), toPixels(2000.0));
    EXPECT_EQ(list.horizontalHeader()->sectionSize(1), toPixels(6000.0));
}

TEST(FormLayout, OnlyTheReadoutIndicatorsAndSettingsHaveTooltips)
{
    auto window = makeWindow();
    const std::map<QString, QString> tooltips = {
        {"cboCommPort", "The port that your GPS device is plugged into"},
        {"cboBaud", "The speed that your GPS device operates at"},
        {"cmdAuto", "Attempts to automatically detects your Comm Port and Baud Rate settings"},
        {"lblCommOK", "Indicates whether the selected Comm Port exists on your PC"},
        {"lblFound", "Indicates whether a device was found on the selected Comm Port"},
        {"lblIsGPS", "Indicates whether the device is sending signals in the standard GPS format"},
        {"lblUTCTime", "The current UTC time returned by the GPS"},
        {"lblLatitude", "The current latitude returned by the GPS"},
        {"lblLongitude", "The current longitude returned by the GPS"},
        {"lblAltitude", "The current altitude returned by the GPS, in meters"},
        {"lblQuality", "The type of signal that the GPS is currently receiving"},
        {"lblSatellites", "The number of satellites that the GPS is using to determine your position"},
        {"lblInView", "The number of satellites that the GPS can currently see"},
        {"lblHDOP", "The horizontal dilution or position, or accuracy of the GPS, in meters"},
        {"lblUpdated", "The date and time that information was last received from the GPS device"},
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
    const QFont title = control(*window, "Label9").font();
    EXPECT_TRUE(title.bold());
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 8.25);
    EXPECT_FALSE(control(*window, "Label10").font().bold());

    auto& link = control(*window, "lblLink");
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(link.cursor().shape(), Qt::WhatsThisCursor);
    for (const char* picture : {"imgSettings", "imgResults", "Image1"})
        EXPECT_EQ(control<QLabel>(*window, picture).pixmap().size(), QSize(32, 32)) << picture;
}

TEST(FormLayout, CaptionsFitBesideTheControlsNextToThem)
{
    auto window = makeWindow();
    const std::pair<const char*, const char*> neighbours[] = {
        {"lblCommPort", "cboCommPort"},      {"lblBaud", "cboBaud"},
        {"lblCommOKLabel", "lblCommOK"},     {"lblFoundLabel", "lblFound"},
        {"lblIsGPSLabel", "lblIsGPS"},       {"Label1", "lblUTCTime"},
        {"lblUpdatedLabel", "lblUpdated"},   {"Label8", "lblInView"},
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
    EXPECT_EQ(focusedName(), "cboCommPort");

    EXPECT_EQ(tabThrough(4), QStringList({"tabMain", "cboBaud", "cmdAuto", "cboCommPort"}));

    auto& tabMain = control<QTabWidget>(*window, "tabMain");
    tabMain.setCurrentIndex(1);
    EXPECT_EQ(tabThrough(6),
              QStringList({"tabMain", "lvwNMEA", "cmdNMEAClear", "cboBaud", "cmdAuto", "cboCommPort"}));

    tabMain.setCurrentIndex(2);
    EXPECT_EQ(tabThrough(4), QStringList({"tabMain", "cboBaud", "cmdAuto", "cboCommPort"}));

    control(*window, "cboBaud").setEnabled(false);
    EXPECT_EQ(tabThrough(3), QStringList({"tabMain", "cmdAuto", "cboCommPort"}));
}

TEST(FormLayout, TabAndShiftTabLeaveTheLogWhateverItHolds)
{
    auto window = testing::openWindow();
    control<QTabWidget>(*window, "tabMain").setCurrentIndex(1);
    SentenceLog& log = window->monitor().log();
    for (int i = 0; i < 40; ++i) log.insertFirst({2024, 3, 9, 14, 5, i % 60}, "GPGGA,row " + std::to_string(i));
    auto& list = control<LogListView>(*window, "lvwNMEA");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model()->rowCount() == 40; }));

    const QPoint thirdRow(list.viewport()->width() / 2, list.viewport()->height() / 8);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, thirdRow);
    ASSERT_EQ(focusedName(), "lvwNMEA");
    EXPECT_EQ(tabThrough(3), QStringList({"cmdNMEAClear", "cboBaud", "cmdAuto"}));

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, thirdRow);
    ASSERT_EQ(focusedName(), "lvwNMEA");
    EXPECT_EQ(tabThrough(3, Qt::Key_Backtab), QStringList({"tabMain", "cboCommPort", "cmdAuto"}));
}

}  // namespace
}  // namespace veltrane
