#pragma once

#include <QMessageBox>
#include <QWidget>

#include "clock.h"
#include "field_labels.h"
#include "form_layout.h"
#include "live_monitor.h"
#include "resize_rule.h"
#include "selection_combo.h"
#include "sentence_log_model.h"

namespace veltrane {

// The one window: the monitor's readout, indicators and log, the port and
// baud choice, and the About page.
class frmMain final : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up, before the window is first shown: caption, first page, and
    // the first port at the first baud rate.
    void Form_Load();

    LiveMonitor& monitor() { return monitor_; }
    QPushButton& cmdAuto() { return *controls_.cmdAuto; }

    // What the automatic detection changes on the window while it searches.
    void setSettingsCaption(const QString& caption);
    void setAutoDetectEnabled(bool enabled);
    void showMessage(const QString& text, QMessageBox::Icon icon);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Resize();
    void tabMain_Click();
    void cmdNMEAClear_Click();
    void Form_QueryUnload();
    void lblLink_Click();
    QSizeF outerSizeInTwips() const;

    SystemClock clock_;
    LiveMonitor monitor_;
    FormControls controls_;
    FieldLabels fieldLabels_;
    SentenceLogModel logModel_;
    SelectionCombo portCombo_;
    SelectionCombo baudCombo_;
    ResizableLayout resizable_;
};

}  // namespace veltrane
