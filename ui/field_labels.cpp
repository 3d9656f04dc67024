#include "field_labels.h"

#include "device_text.h"

namespace veltrane {

FieldLabels::FieldLabels(StatusFields& fields, const Labels& labels) : fields_(fields), labels_(labels)
{
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        // Field texts carry device bytes: never let a label read them as markup.
        labels_[i]->setTextFormat(Qt::PlainText);
        labels_[i]->setText(QString::fromStdString(escapeDeviceText(fields_.read(static_cast<Field>(i)))));
    }
    fields_.addObserver(this);
}

FieldLabels::~FieldLabels() { fields_.removeObserver(this); }

void FieldLabels::fieldWritten(Field field, const std::string& text)
{
    labels_[static_cast<std::size_t>(field)]->setText(QString::fromStdString(escapeDeviceText(text)));
}

}  // namespace veltrane
