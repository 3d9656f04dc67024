// SPDX-License-Identifier: BSD-2-Clause
#include "form_layout.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>
#include <string_view>

#include "app_identity.h"
#include "focused_wheel.h"

namespace veltrane {

namespace {

// The window was designed around an 8.25-point sans-serif face.
constexpr double kFontPoints = 8.25;

enum class On { Window, Frame, Page };

struct Placement {
    std::string_view name;
    On on;
    TwipsRect rect;  // from the top-left corner of the window, the frame, or the tab control (tabs included)
    const char* tooltip = nullptr;
};

// Every control of the window where it stands at design time, with its tooltip.
constexpr Placement kPlacements[] = {
    {"settingsFrame", On::Window, {60, 60, 6975, 975}},
    {"settingsIcon", On::Frame, {120, 300, 480, 480}},
    {"portCaption", On::Frame, {840, 420, 1095, 195}},
    {"portBox", On::Frame, {1740, 360, 1275, 315}, "The port that your GPS device is plugged into"},
    {"baudCaption", On::Frame, {3240, 420, 1095, 195}},
    {"baudBox", On::Frame, {4140, 360, 1215, 315}, "The speed that your GPS device operates at"},
    {"autoButton", On::Frame, {5520, 360, 1275, 315},
     "Attempts to automatically detects your Comm Port and Baud Rate settings"},
    {"resultsFrame", On::Window, {60, 1140, 6975, 1215}},
    {"resultsIcon", On::Frame, {180, 360, 480, 480}},
    // Each caption runs under its indicator.
    {"commOkCaption", On::Frame, {840, 300, 3435, 255}},
    {"commOk", On::Frame, {3000, 300, 855, 255}, "Indicates whether the selected Comm Port exists on your PC"},
    {"foundCaption", On::Frame, {840, 540, 3435, 255}},
    {"found", On::Frame, {3000, 540, 375, 255}, "Indicates whether a device was found on the selected Comm Port"},
    {"isGpsCaption", On::Frame, {840, 780, 3435, 255}},
    {"isGps", On::Frame, {3000, 780, 855, 255},
     "Indicates whether the device is sending signals in the standard GPS format"},
    {"tabs", On::Window, kTabsDesign},
    {"utcTimeCaption", On::Page, {120, 420, 3315, 195}},
    {"utcTime", On::Page, {2040, 420, 3375, 195}, "The current UTC time returned by the GPS"},
    {"latitudeCaption", On::Page, {120, 660, 1575, 195}},
    {"latitude", On::Page, {2040, 660, 3375, 195}, "The current latitude returned by the GPS"},
    {"longitudeCaption", On::Page, {120, 900, 1575, 195}},
    {"longitude", On::Page, {2040, 900, 3375, 195}, "The current longitude returned by the GPS"},
    {"altitudeCaption", On::Page, {120, 1140, 1575, 195}},
    {"altitude", On::Page, {2040, 1140, 3375, 195}, "The current altitude returned by the GPS, in meters"},
    {"qualityCaption", On::Page, {120, 1560, 1575, 195}},
    {"quality", On::Page, {2040, 1560, 3375, 195}, "The type of signal that the GPS is currently receiving"},
    {"satellitesCaption", On::Page, {120, 1800, 1575, 195}},
    {"satellites", On::Page, {2040, 1800, 3375, 195},
     "The number of satellites that the GPS is using to determine your position"},
    {"inViewCaption", On::Page, {120, 2040, 1575, 195}},
    {"inView", On::Page, {2040, 2040, 3375, 195}, "The number of satellites that the GPS can currently see"},
    {"hdopCaption", On::Page, {120, 2280, 1575, 195}},
    {"hdop", On::Page, {2040, 2280, 3375, 195},
     "The horizontal dilution or position, or accuracy of the GPS, in meters"},
    {"updatedCaption", On::Page, {120, 2700, 1815, 195}},
    {"updated", On::Page, {2040, 2700, 3375, 195},
     "The date and time that information was last received from the GPS device"},
    {"logList", On::Page, kLogListDesign},
    {"clearButton", On::Page, kClearButtonDesign},
    {"aboutIcon", On::Page, {180, 480, 480, 480}},
    {"aboutTitle", On::Page, {840, 480, 6015, 255}},
    {"aboutText", On::Page, {840, 720, 6015, 435}},
    {"copyright", On::Page, {840, 1260, 5955, 195}},
    {"moreInformation", On::Page, {840, 1620, 5835, 195}},
    // As wide as its address needs, if wider: it is set when building.
    {"webLink", On::Page, {840, 1860, 2655, 195}},
};

// The room a caption has: from its left edge to the control beside it.
consteval double roomBeside(std::string_view captionName, std::string_view controlName)
{
    double captionLeft = -1;
    double controlLeft = -1;
    for (const Placement& p : kPlacements) {
        if (p.name == captionName) captionLeft = p.rect.left;
        if (p.name == controlName) controlLeft = p.rect.left;
    }
    if (captionLeft < 0 || controlLeft < 0) throw "a control without a placement";
    return controlLeft - captionLeft;
}

constexpr const char* kPortCaption = "Comm Port:";
constexpr const char* kBaudCaption = "Baud Rate:";

// The caption beside a field, from the one table the command-line tool prints too.
QString caption(Field field)
{
    const std::string_view text = fieldCaption(field);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool captionsFit(const QFont& font)
{
    struct Room {
        QString caption;
        double twips;
    };
    // The captions with the least room beside them.
    const Room tightest[] = {
        {caption(Field::CommOk), roomBeside("commOkCaption", "commOk")},
        {caption(Field::Found), roomBeside("foundCaption", "found")},
        {caption(Field::IsGps), roomBeside("isGpsCaption", "isGps")},
        {QString::fromLatin1(kPortCaption), roomBeside("portCaption", "portBox")},
        {QString::fromLatin1(kBaudCaption), roomBeside("baudCaption", "baudBox")},
    };
    const QFontMetrics metrics(font);
    for (const Room& room : tightest)
        if (metrics.horizontalAdvance(room.caption) > toPixels(room.twips)) return false;
    return true;
}

// The form was drawn for a face narrower than most desktops' sans-serif, so
// the face is narrowed just as much as the longest captions need to fit
// beside their fields.
QFont windowFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kFontPoints);
    for (int stretch = QFont::Unstretched; stretch > QFont::ExtraCondensed; stretch -= 5) {
        font.setStretch(stretch);
        if (captionsFit(font)) break;
    }
    return font;
}

template <class Control>
Control* make(QWidget* parent, const char* name)
{
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* control = make<QLabel>(parent, name);
    control->setTextFormat(Qt::PlainText);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    control->setText(text);
    return control;
}

QLabel* picture(QWidget* parent, const char* name)
{
    auto* control = make<QLabel>(parent, name);
    control->setPixmap(QPixmap(QStringLiteral(":/icons/veltrane-32.png")));
    return control;
}

void setField(FormControls& form, Field field, QLabel* label)
{
    form.fields[static_cast<std::size_t>(field)] = label;
}

void buildSettings(QWidget& window, FormControls& form)
{
    QGroupBox* frame = form.settingsFrame = make<QGroupBox>(&window, "settingsFrame");
    frame->setTitle(QStringLiteral("GPS Device Settings"));
    picture(frame, "settingsIcon");
    label(frame, "portCaption", QString::fromLatin1(kPortCaption));
    form.portBox = make<QComboBox>(frame, "portBox");
    takeWheelOnlyWithFocus(*form.portBox);
    label(frame, "baudCaption", QString::fromLatin1(kBaudCaption));
    form.baudBox = make<QComboBox>(frame, "baudBox");
    takeWheelOnlyWithFocus(*form.baudBox);
    form.autoButton = make<QPushButton>(frame, "autoButton");
    form.autoButton->setText(QStringLiteral("Auto Detect"));
}

void buildResults(QWidget& window, FormControls& form)
{
    auto* frame = make<QGroupBox>(&window, "resultsFrame");
    frame->setTitle(QStringLiteral("GPS Connection Results"));
    picture(frame, "resultsIcon");
    // Each indicator is made after its caption, to lie on top of it.
    label(frame, "commOkCaption", caption(Field::CommOk));
    setField(form, Field::CommOk, label(frame, "commOk", {}));
    label(frame, "foundCaption", caption(Field::Found));
    setField(form, Field::Found, label(frame, "found", {}));
    label(frame, "isGpsCaption", caption(Field::IsGps));
    setField(form, Field::IsGps, label(frame, "isGps", {}));
}

struct Readout {
    const char* captionName;
    const char* fieldName;
    Field field;
};

constexpr Readout kReadouts[] = {
    {"utcTimeCaption", "utcTime", Field::UtcTime},          {"latitudeCaption", "latitude", Field::Latitude},
    {"longitudeCaption", "longitude", Field::Longitude},    {"altitudeCaption", "altitude", Field::Altitude},
    {"qualityCaption", "quality", Field::Quality},          {"satellitesCaption", "satellites", Field::Satellites},
    {"inViewCaption", "inView", Field::InView},             {"hdopCaption", "hdop", Field::Hdop},
    {"updatedCaption", "updated", Field::Updated},
};

void buildInformationPage(TabControl* tab, FormControls& form)
{
    QWidget* page = make<QWidget>(tab, "pageInformation");
    tab->addTab(page, QStringLiteral("GPS Information"));
    for (const Readout& r : kReadouts) {
        label(page, r.captionName, caption(r.field));
        setField(form, r.field, label(page, r.fieldName, {}));
    }
}

void buildLogPage(TabControl* tab, FormControls& form)
{
    QWidget* page = make<QWidget>(tab, "pageNMEA");
    tab->addTab(page, QStringLiteral("NMEA Data"));
    form.logList = make<LogListView>(page, "logList");
    form.clearButton = make<QPushButton>(page, "clearButton");
    form.clearButton->setText(QStringLiteral("Clear History"));
    form.clearButton->hide();
}

void buildAboutPage(TabControl* tab, FormControls& form, const QFont& font)
{
    QWidget* page = make<QWidget>(tab, "pageAbout");
    tab->addTab(page, QStringLiteral("About"));

    picture(page, "aboutIcon");
    QFont bold = font;
    bold.setBold(true);
    label(page, "aboutTitle", QString::fromLatin1(kApplicationTitle))->setFont(bold);
    label(page, "aboutText",
          QStringLiteral("A data and signal monitor for testing GPS devices.\n"
                         "Written by the Veltrane developers."))
        ->setWordWrap(true);
    label(page, "copyright", QStringLiteral("Copyright \u00a9 2026 the Veltrane developers. All rights reserved."));
    label(page, "moreInformation", QStringLiteral("For more information on this application, please visit:"));

    LinkLabel* link = form.webLink = make<LinkLabel>(page, "webLink");
    link->setTextFormat(Qt::PlainText);
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link->setText(QString::fromLatin1(kWebAddress));
    QFont underlined = font;
    underlined.setUnderline(true);
    link->setFont(underlined);
    QPalette blue = link->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    link->setPalette(blue);
    link->setCursor(Qt::WhatsThisCursor);
}

void buildTabs(QWidget& window, FormControls& form, const QFont& font)
{
    TabControl* tab = form.tabs = make<TabControl>(&window, "tabs");
    buildInformationPage(tab, form);
    buildLogPage(tab, form);
    buildAboutPage(tab, form, font);
    tab->setCurrentIndex(0);
}

// The address is set when building and may be longer than the link was
// drawn for; cut short it would be of no use.
TwipsRect fitToText(TwipsRect rect, const QLabel& label)
{
    rect.width = std::max(rect.width, toTwips(label.fontMetrics().horizontalAdvance(label.text()) + 1));
    return rect;
}

void placeControls(QWidget& window, FormControls& form)
{
    for (const Placement& p : kPlacements) {
        const QString name = QString::fromLatin1(p.name.data(), static_cast<qsizetype>(p.name.size()));
        auto* control = window.findChild<QWidget*>(name);
        if (p.on == On::Page) {
            form.tabs->place(control, control == form.webLink ? fitToText(p.rect, *form.webLink) : p.rect);
        } else {
            control->setGeometry(toPixels(p.rect));
        }
        if (p.tooltip) control->setToolTip(QString::fromLatin1(p.tooltip));
    }
}

}  // namespace

FormControls buildForm(QWidget& window)
{
    const QFont font = windowFont();
    window.setFont(font);
    window.setObjectName(QStringLiteral("mainWindow"));

    FormControls form{};
    buildSettings(window, form);
    buildResults(window, form);
    buildTabs(window, form, font);
    placeControls(window, form);

    QWidget::setTabOrder(form.portBox, form.tabs);
    QWidget::setTabOrder(form.tabs, form.logList);
    QWidget::setTabOrder(form.logList, form.clearButton);
    QWidget::setTabOrder(form.clearButton, form.baudBox);
    QWidget::setTabOrder(form.baudBox, form.autoButton);
    return form;
}

void showLog(LogListView& list, QAbstractItemModel& log)
{
    list.setModel(&log);
    list.horizontalHeader()->resizeSection(0, toPixels(2000));
    list.horizontalHeader()->resizeSection(1, toPixels(6000));
}

}  // namespace veltrane
