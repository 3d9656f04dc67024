// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QLabel>
#include <array>
#include <string>

#include "status_fields.h"

namespace veltrane {

// Shows each status field in its label as the field is written.
class FieldLabels final : private FieldObserver {
public:
    using Labels = std::array<QLabel*, kFieldCount>;  // indexed by Field

    FieldLabels(StatusFields& fields, const Labels& labels);
    ~FieldLabels() override;
    FieldLabels(const FieldLabels&) = delete;
    FieldLabels& operator=(const FieldLabels&) = delete;

private:
    void fieldWritten(Field field, const std::string& text) override;

    StatusFields& fields_;
    Labels labels_;
    // Most writes repeat what a label shows; they are skipped before the
    // escaping and the conversion for Qt.
    std::array<std::string, kFieldCount> shown_;
};

}  // namespace veltrane
