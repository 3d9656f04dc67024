// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QComboBox>

#include "selection_box.h"

namespace veltrane {

// Binds a drop-down box to its selection model. The user's pick goes to the
// model (re-picking the current entry too, which reopens the port); changes
// the model makes from code are mirrored without echoing back as picks.
class SelectionCombo {
public:
    SelectionCombo(QComboBox& combo, SelectionBox& box);
    ~SelectionCombo();
    SelectionCombo(const SelectionCombo&) = delete;
    SelectionCombo& operator=(const SelectionCombo&) = delete;

private:
    void showModel();

    QComboBox& combo_;
    SelectionBox& box_;
    QMetaObject::Connection picked_;
};

}  // namespace veltrane
