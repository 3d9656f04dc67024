// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QWidget>

#include "auto_detect.h"
#include "clock.h"
#include "comm_map.h"
#include "field_labels.h"
#include "form_layout.h"
#include "label_backdrop.h"
#include "live_monitor.h"
#include "qt_detection_loop.h"
#include "resize_rule.h"
#include "selection_combo.h"
#include "sentence_log_model.h"

namespace veltrane {

// The one window: the monitor's readout, indicators and log, the port and
// baud choice, and the About page.
class MainWindow final : public QWidget, private DetectionView {
    Q_OBJECT
public:
    explicit MainWindow(CommMap ports, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up, before the window is first shown: caption, first page, and
    // the first port at the first baud rate.
    void start();

    LiveMonitor& monitor() { return monitor_; }
    AutoDetect& autoDetect() { return autoDetect_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void resizeControls();
    void updateClearButton();
    void clearLog();
    void shutdown();
    void openWebAddress();
    QSizeF outerSizeInTwips() const;
    void fitIntoScreen();

    void setSettingsCaption(const std::string& caption) override;
    void setAutoEnabled(bool enabled) override;
    void showMessage(Icon icon, const std::string& text) override;

    SystemClock clock_;
    LiveMonitor monitor_;
    QtDetectionLoop detectionLoop_;
    FormControls controls_;
    FieldLabels fieldLabels_;
    LabelBackdrop fieldBackdrops_;
    SentenceLogModel logModel_;
    SelectionCombo portCombo_;
    SelectionCombo baudCombo_;
    ResizableLayout resizable_;
    AutoDetect autoDetect_;
    bool shown_ = false;
};

}  // namespace veltrane
