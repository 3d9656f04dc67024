// SPDX-License-Identifier: BSD-2-Clause
#include "selection_combo.h"

#include <QSignalBlocker>

#include "failure_report.h"

namespace veltrane {

SelectionCombo::SelectionCombo(QComboBox& combo, SelectionBox& box) : combo_(combo), box_(box)
{
    {
        const QSignalBlocker quiet(&combo_);
        combo_.clear();
        for (int i = 0; i < box_.count(); ++i) combo_.addItem(QString::fromStdString(box_.entry(i)));
    }
    showModel();
    box_.onChanged = [this] { showModel(); };
    picked_ = QObject::connect(&combo_, &QComboBox::activated, [this](int index) {
        runUntrapped([this, index] { box_.select(index); });
    });
}

SelectionCombo::~SelectionCombo()
{
    QObject::disconnect(picked_);
    box_.onChanged = nullptr;
}

void SelectionCombo::showModel()
{
    const QSignalBlocker quiet(&combo_);
    combo_.setCurrentIndex(box_.selectedIndex());
    combo_.setEnabled(box_.enabled());
}

}  // namespace veltrane
