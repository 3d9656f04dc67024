// SPDX-License-Identifier: BSD-2-Clause
#include "main_window.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QScreen>
#include <utility>

#include "app_identity.h"
#include "failure_report.h"
#include "hyperlink.h"

namespace veltrane {

namespace {
// The frame the window was designed with, for platforms that report none.
constexpr double kDesignFrameSides = 60 + 60;
constexpr double kDesignFrameTopAndBottom = 450 + 60;
}  // namespace

frmMain::frmMain(CommMap ports, QWidget* parent)
    : QWidget(parent),
      monitor_(clock_, std::move(ports)),
      controls_(buildForm(*this)),
      fieldLabels_(monitor_.fields(), controls_.fields),
      fieldBackdrops_(*this, {controls_.fields.begin(), controls_.fields.end()}),
      logModel_(monitor_.log(), [this] { return monitor_.assembler().passInProgress(); }),
      portCombo_(*controls_.cboCommPort, monitor_.selection().port),
      baudCombo_(*controls_.cboBaud, monitor_.selection().baud),
      resizable_{static_cast<float>(kTabMainDesign.width), static_cast<float>(kTabMainDesign.height),
                 static_cast<float>(kLvwNMEADesign.width), static_cast<float>(kLvwNMEADesign.height),
                 static_cast<float>(kCmdNMEAClearDesign.left), static_cast<float>(kCmdNMEAClearDesign.width)},
      autoDetect_(monitor_.selection(), monitor_.fields(), *this, detectionLoop_)
{
    showLog(*controls_.lvwNMEA, logModel_);
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    resize(toPixels(kClientWidth), toPixels(kClientHeight));

    connect(controls_.tabMain, &QTabWidget::currentChanged, this, [this] { runUntrapped([this] { tabMain_Click(); }); });
    connect(controls_.cmdNMEAClear, &QPushButton::clicked, this,
            [this] { runUntrapped([this] { cmdNMEAClear_Click(); }); });
    connect(controls_.cmdAuto, &QPushButton::clicked, this,
            [this] { runUntrapped([this] { autoDetect_.run(); }); });
    connect(controls_.lblLink, &LinkLabel::clicked, this, &frmMain::lblLink_Click);
}

frmMain::~frmMain() = default;

void frmMain::Form_Load()
{
    setWindowTitle(versionedCaption());
    controls_.tabMain->setCurrentIndex(0);
    monitor_.selectFirstEntries();
    controls_.cboCommPort->setFocus();
}

void frmMain::setSettingsCaption(const std::string& caption)
{
    controls_.grpSettings->setTitle(QString::fromStdString(caption));
}

void frmMain::setAutoEnabled(bool enabled) { controls_.cmdAuto->setEnabled(enabled); }

void frmMain::showMessage(Icon icon, const std::string& text)
{
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information : QMessageBox::Warning,
                    QString::fromLatin1(kApplicationTitle), QString::fromStdString(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void frmMain::showEvent(QShowEvent* event)
{
    if (!std::exchange(shown_, true)) fitIntoScreen();
    QWidget::showEvent(event);
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Qt reports no new size when a minimised window comes back; lay it out again.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() &&
        (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized))
        Form_Resize();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    runUntrapped([this] { Form_QueryUnload(); });
    event->accept();
}

void frmMain::Form_Resize()
{
    const QSizeF outer = outerSizeInTwips();
    applyResizeRule(resizable_, static_cast<float>(outer.width()), static_cast<float>(outer.height()));
    controls_.tabMain->resize(toPixels(resizable_.tabWidth), toPixels(resizable_.tabHeight));
    controls_.tabMain->place(controls_.lvwNMEA, {kLvwNMEADesign.left, kLvwNMEADesign.top, resizable_.listWidth,
                                                 resizable_.listHeight});
    controls_.tabMain->place(controls_.cmdNMEAClear, {resizable_.clearLeft, kCmdNMEAClearDesign.top,
                                                      resizable_.clearWidth, kCmdNMEAClearDesign.height});
}

QSizeF frmMain::outerSizeInTwips() const
{
    const QRect client = geometry();
    const QRect outer = frameGeometry();
    // Only a frame with a title bar is the window's own: the offscreen
    // platform reports a thin border all round, a bare X server none at all.
    const bool hasTitleBar = client.top() - outer.top() > outer.bottom() - client.bottom();
    if (hasTitleBar) return {toTwips(outer.width()), toTwips(outer.height())};
    return {toTwips(client.width()) + kDesignFrameSides, toTwips(client.height()) + kDesignFrameTopAndBottom};
}

// A large font (QT_FONT_DPI) scales the designed size past a small screen,
// whose window system then cuts the bottom off. Before the window is first
// mapped its frame is not known yet; the designed one stands in for it.
void frmMain::fitIntoScreen()
{
    const QScreen* where = screen();
    if (where == nullptr) return;
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isNull()) frame = QSize(toPixels(kDesignFrameSides), toPixels(kDesignFrameTopAndBottom));
    resize(size().boundedTo(where->availableGeometry().size() - frame));
}

void frmMain::tabMain_Click()
{
    controls_.cmdNMEAClear->setVisible(controls_.tabMain->currentIndex() != 0);
}

void frmMain::cmdNMEAClear_Click() { monitor_.log().clear(); }

void frmMain::Form_QueryUnload()
{
    // A search paused in one of its waits must end without touching the window again.
    autoDetect_.shutdown();
    monitor_.close();
}

void frmMain::lblLink_Click() { OpenHyperlink(QString::fromLatin1(kWebAddress)); }

}  // namespace veltrane
