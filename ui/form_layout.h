// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "field_labels.h"
#include "link_label.h"
#include "log_list_view.h"
#include "resize_rule.h"
#include "tab_control.h"
#include "twips.h"

namespace veltrane {

// The controls the window's handlers work with; every control also carries
// its name as objectName.
struct FormControls {
    QGroupBox* settingsFrame;
    QComboBox* portBox;
    QComboBox* baudBox;
    QPushButton* autoButton;
    TabControl* tabs;
    LogListView* logList;
    QPushButton* clearButton;
    LinkLabel* webLink;
    FieldLabels::Labels fields;
};

// Where the controls that follow the window's size stand at design time.
inline constexpr TwipsRect kTabsDesign{60, 2460, 6975, 5055};
inline constexpr TwipsRect kLogListDesign{60, 720, 6855, 4275};
inline constexpr TwipsRect kClearButtonDesign{5820, 360, 1095, 315};
inline constexpr ResizableLayout kResizableDesign{
    static_cast<float>(kTabsDesign.width),       static_cast<float>(kTabsDesign.height),
    static_cast<float>(kLogListDesign.width),    static_cast<float>(kLogListDesign.height),
    static_cast<float>(kClearButtonDesign.left), static_cast<float>(kClearButtonDesign.width)};

inline constexpr double kClientWidth = 7095;
inline constexpr double kClientHeight = 7605;

// Builds every control of the window at its designed place, with its texts,
// tooltips, fonts and keyboard order.
FormControls buildForm(QWidget& window);

// Shows the log in the list with its two columns, which together are wider
// than the list so that it scrolls sideways.
void showLog(LogListView& list, QAbstractItemModel& log);

}  // namespace veltrane
