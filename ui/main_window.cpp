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

MainWindow::MainWindow(CommMap ports, QWidget* parent)
    : QWidget(parent),
      monitor_(clock_, std::move(ports)),
      controls_(buildForm(*this)),
      fieldLabels_(monitor_.fields(), controls_.fields),
      fieldBackdrops_(*this, {controls_.fields.begin(), controls_.fields.end()}),
      logModel_(monitor_.log(), [this] { return monitor_.assembler().passInProgress(); }),
      portCombo_(*controls_.portBox, monitor_.selection().port),
      baudCombo_(*controls_.baudBox, monitor_.selection().baud),
      resizable_(kResizableDesign),
      autoDetect_(monitor_.selection(), monitor_.fields(), *this, detectionLoop_)
{
    showLog(*controls_.logList, logModel_);
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    resize(toPixels(kClientWidth), toPixels(kClientHeight));

    connect(controls_.tabs, &QTabWidget::currentChanged, this,
            [this] { runUntrapped([this] { updateClearButton(); }); });
    connect(controls_.clearButton, &QPushButton::clicked, this,
            [this] { runUntrapped([this] { clearLog(); }); });
    connect(controls_.autoButton, &QPushButton::clicked, this,
            [this] { runUntrapped([this] { autoDetect_.run(); }); });
    connect(controls_.webLink, &LinkLabel::clicked, this, &MainWindow::openWebAddress);
}

MainWindow::~MainWindow() = default;

void MainWindow::start()
{
    setWindowTitle(versionedCaption());
    controls_.tabs->setCurrentIndex(0);
    monitor_.selectFirstEntries();
    controls_.portBox->setFocus();
}

void MainWindow::setSettingsCaption(const std::string& caption)
{
    controls_.settingsFrame->setTitle(QString::fromStdString(caption));
}

void MainWindow::setAutoEnabled(bool enabled) { controls_.autoButton->setEnabled(enabled); }

void MainWindow::showMessage(Icon icon, const std::string& text)
{
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information : QMessageBox::Warning,
                    QString::fromLatin1(kApplicationTitle), QString::fromStdString(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MainWindow::showEvent(QShowEvent* event)
{
    if (!std::exchange(shown_, true)) fitIntoScreen();
    QWidget::showEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    resizeControls();
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Qt reports no new size when a minimised window comes back; lay it out again.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() &&
        (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized))
        resizeControls();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    runUntrapped([this] { shutdown(); });
    event->accept();
}

void MainWindow::resizeControls()
{
    const QSizeF outer = outerSizeInTwips();
    applyResizeRule(resizable_, static_cast<float>(outer.width()), static_cast<float>(outer.height()));
    controls_.tabs->resize(toPixels(resizable_.tabWidth), toPixels(resizable_.tabHeight));
    controls_.tabs->place(controls_.logList,
                          {kLogListDesign.left, kLogListDesign.top, resizable_.listWidth, resizable_.listHeight});
    controls_.tabs->place(controls_.clearButton, {resizable_.clearLeft, kClearButtonDesign.top,
                                                  resizable_.clearWidth, kClearButtonDesign.height});
}

QSizeF MainWindow::outerSizeInTwips() const
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
void MainWindow::fitIntoScreen()
{
    const QScreen* where = screen();
    if (where == nullptr) return;
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isNull()) frame = QSize(toPixels(kDesignFrameSides), toPixels(kDesignFrameTopAndBottom));
    resize(size().boundedTo(where->availableGeometry().size() - frame));
}

void MainWindow::updateClearButton()
{
    controls_.clearButton->setVisible(controls_.tabs->currentIndex() != 0);
}

void MainWindow::clearLog() { monitor_.log().clear(); }

void MainWindow::shutdown()
{
    // A search paused in one of its waits must end without touching the window again.
    autoDetect_.shutdown();
    monitor_.close();
}

void MainWindow::openWebAddress() { openHyperlink(QString::fromLatin1(kWebAddress)); }

}  // namespace veltrane
