// SPDX-License-Identifier: BSD-2-Clause
#include "field_labels.h"

#include "device_text.h"

namespace veltrane {

FieldLabels::FieldLabels(StatusFields& fields, const Labels& labels) : fields_(fields), labels_(labels)
{
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        // Field texts carry device bytes: never let a label read them as markup.
        labels_[i]->setTextFormat(Qt::PlainText);
        shown_[i] = fields_.read(static_cast<Field>(i));
        labels_[i]->setText(QString::fromStdString(escapeDeviceText(shown_[i])));
    }
    fields_.addObserver(this);
}

FieldLabels::~FieldLabels() { fields_.removeObserver(this); }

void FieldLabels::fieldWritten(Field field, const std::string& text)
{
    const auto i = static_cast<std::size_t>(field);
    if (text == shown_[i]) return;
    shown_[i] = text;
    labels_[i]->setText(QString::fromStdString(escapeDeviceText(text)));
}

}  // namespace veltrane
