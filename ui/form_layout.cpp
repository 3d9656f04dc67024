// SPDX-License-Identifier: BSD-2-Clause
#include "form_layout.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>

#include "app_identity.h"
#include "focused_wheel.h"

namespace veltrane {

namespace {

// The window was designed around an 8.25-point sans-serif face.
constexpr double kFontPoints = 8.25;

// The caption beside a field, from the one table the command-line tool prints too.
QString caption(Field field)
{
    const std::string_view text = fieldCaption(field);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

struct Room {
    QString caption;
    double twips;  // from the caption's left edge to the control beside it
};

bool captionsFit(const QFont& font)
{
    // The captions with the least room beside them.
    const Room tightest[] = {
        {caption(Field::CommOk), 3000 - 840},
        {caption(Field::Found), 3000 - 840},
        {caption(Field::IsGps), 3000 - 840},
        {QStringLiteral("Comm Port:"), 1740 - 840},
        {QStringLiteral("Baud Rate:"), 4140 - 3240},
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

QLabel* framedLabel(QWidget* frame, const char* name, const TwipsRect& rect, const QString& text)
{
    QLabel* control = label(frame, name, text);
    control->setGeometry(toPixels(rect));
    return control;
}

QLabel* pageLabel(TabControl* tab, QWidget* page, const char* name, const TwipsRect& rect, const QString& text)
{
    QLabel* control = label(page, name, text);
    tab->place(control, rect);
    return control;
}

QLabel* picture(QWidget* parent, const char* name)
{
    auto* control = make<QLabel>(parent, name);
    control->setPixmap(QPixmap(QStringLiteral(":/icons/veltrane-32.png")));
    return control;
}

void setField(FormControls& form, Field field, QLabel* label, const char* tooltip)
{
    label->setToolTip(QString::fromLatin1(tooltip));
    form.fields[static_cast<std::size_t>(field)] = label;
}

void buildSettings(QWidget& window, FormControls& form)
{
    QGroupBox* frame = form.settingsFrame = make<QGroupBox>(&window, "settingsFrame");
    frame->setTitle(QStringLiteral("GPS Device Settings"));
    frame->setGeometry(toPixels(TwipsRect{60, 60, 6975, 975}));

    picture(frame, "settingsIcon")->setGeometry(toPixels(TwipsRect{120, 300, 480, 480}));
    framedLabel(frame, "portCaption", {840, 420, 1095, 195}, QStringLiteral("Comm Port:"));
    form.portBox = make<QComboBox>(frame, "portBox");
    form.portBox->setGeometry(toPixels(TwipsRect{1740, 360, 1275, 315}));
    form.portBox->setToolTip(QStringLiteral("The port that your GPS device is plugged into"));
    takeWheelOnlyWithFocus(*form.portBox);
    framedLabel(frame, "baudCaption", {3240, 420, 1095, 195}, QStringLiteral("Baud Rate:"));
    form.baudBox = make<QComboBox>(frame, "baudBox");
    form.baudBox->setGeometry(toPixels(TwipsRect{4140, 360, 1215, 315}));
    form.baudBox->setToolTip(QStringLiteral("The speed that your GPS device operates at"));
    takeWheelOnlyWithFocus(*form.baudBox);
    form.autoButton = make<QPushButton>(frame, "autoButton");
    form.autoButton->setText(QStringLiteral("Auto Detect"));
    form.autoButton->setGeometry(toPixels(TwipsRect{5520, 360, 1275, 315}));
    form.autoButton->setToolTip(
        QStringLiteral("Attempts to automatically detects your Comm Port and Baud Rate settings"));
}

void buildResults(QWidget& window, FormControls& form)
{
    auto* frame = make<QGroupBox>(&window, "resultsFrame");
    frame->setTitle(QStringLiteral("GPS Connection Results"));
    frame->setGeometry(toPixels(TwipsRect{60, 1140, 6975, 1215}));
    picture(frame, "resultsIcon")->setGeometry(toPixels(TwipsRect{180, 360, 480, 480}));

    // Each caption runs under its indicator, so the indicator is made after it to lie on top.
    framedLabel(frame, "commOkCaption", {840, 300, 3435, 255}, caption(Field::CommOk));
    setField(form, Field::CommOk, framedLabel(frame, "commOk", {3000, 300, 855, 255}, {}),
             "Indicates whether the selected Comm Port exists on your PC");
    framedLabel(frame, "foundCaption", {840, 540, 3435, 255}, caption(Field::Found));
    setField(form, Field::Found, framedLabel(frame, "found", {3000, 540, 375, 255}, {}),
             "Indicates whether a device was found on the selected Comm Port");
    framedLabel(frame, "isGpsCaption", {840, 780, 3435, 255}, caption(Field::IsGps));
    setField(form, Field::IsGps, framedLabel(frame, "isGps", {3000, 780, 855, 255}, {}),
             "Indicates whether the device is sending signals in the standard GPS format");
}

struct Readout {
    const char* captionName;
    double captionWidth;
    const char* fieldName;
    Field field;
    double top;
    const char* tooltip;
};

// Caption name and width, field name, field, top, tooltip.
constexpr Readout kReadouts[] = {
    {"utcTimeCaption", 3315, "utcTime", Field::UtcTime, 420, "The current UTC time returned by the GPS"},
    {"latitudeCaption", 1575, "latitude", Field::Latitude, 660, "The current latitude returned by the GPS"},
    {"longitudeCaption", 1575, "longitude", Field::Longitude, 900, "The current longitude returned by the GPS"},
    {"altitudeCaption", 1575, "altitude", Field::Altitude, 1140, "The current altitude returned by the GPS, in meters"},
    {"qualityCaption", 1575, "quality", Field::Quality, 1560, "The type of signal that the GPS is currently receiving"},
    {"satellitesCaption", 1575, "satellites", Field::Satellites, 1800, "The number of satellites that the GPS is using to determine your position"},
    {"inViewCaption", 1575, "inView", Field::InView, 2040, "The number of satellites that the GPS can currently see"},
    {"hdopCaption", 1575, "hdop", Field::Hdop, 2280, "The horizontal dilution or position, or accuracy of the GPS, in meters"},
    {"updatedCaption", 1815, "updated", Field::Updated, 2700, "The date and time that information was last received from the GPS device"},
};

void buildInformationPage(TabControl* tab, FormControls& form)
{
    QWidget* page = make<QWidget>(tab, "pageInformation");
    tab->addTab(page, QStringLiteral("GPS Information"));
    for (const Readout& r : kReadouts) {
        pageLabel(tab, page, r.captionName, {120, r.top, r.captionWidth, 195}, caption(r.field));
        setField(form, r.field, pageLabel(tab, page, r.fieldName, {2040, r.top, 3375, 195}, {}), r.tooltip);
    }
}

void buildLogPage(TabControl* tab, FormControls& form)
{
    QWidget* page = make<QWidget>(tab, "pageNMEA");
    tab->addTab(page, QStringLiteral("NMEA Data"));

    form.logList = make<LogListView>(page, "logList");
    tab->place(form.logList, kLogListDesign);

    QPushButton* clear = form.clearButton = make<QPushButton>(page, "clearButton");
    clear->setText(QStringLiteral("Clear History"));
    tab->place(clear, kClearButtonDesign);
    clear->hide();
}

void buildAboutPage(TabControl* tab, FormControls& form, const QFont& font)
{
    QWidget* page = make<QWidget>(tab, "pageAbout");
    tab->addTab(page, QStringLiteral("About"));

    tab->place(picture(page, "aboutIcon"), {180, 480, 480, 480});
    QFont bold = font;
    bold.setBold(true);
    pageLabel(tab, page, "aboutTitle", {840, 480, 6015, 255}, QString::fromLatin1(kApplicationTitle))->setFont(bold);
    QLabel* about = pageLabel(tab, page, "aboutText", {840, 720, 6015, 435},
                              QStringLiteral("A data and signal monitor for testing GPS devices.\n"
                                             "Written by the Veltrane developers."));
    about->setWordWrap(true);
    pageLabel(tab, page, "copyright", {840, 1260, 5955, 195},
              QStringLiteral("Copyright \u00a9 2026 the Veltrane developers. All rights reserved."));
    pageLabel(tab, page, "moreInformation", {840, 1620, 5835, 195},
              QStringLiteral("For more information on this application, please visit:"));

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
    // The address is set when building and may be longer than the label was
    // drawn for; cut short it would be of no use.
    const double textWidth = toTwips(link->fontMetrics().horizontalAdvance(link->text()) + 1);
    tab->place(link, {840, 1860, std::max(2655.0, textWidth), 195});
}

void buildTabs(QWidget& window, FormControls& form, const QFont& font)
{
    TabControl* tab = form.tabs = new TabControl(&window);
    tab->setObjectName(QStringLiteral("tabs"));
    tab->setGeometry(toPixels(kTabsDesign));
    buildInformationPage(tab, form);
    buildLogPage(tab, form);
    buildAboutPage(tab, form, font);
    tab->setCurrentIndex(0);
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
