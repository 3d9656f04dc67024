#pragma once

#include <QString>
#include <string_view>

namespace veltrane {

// Device bytes (Latin-1) as text safe to show in a label or a cell: control
// characters become their visible pictures (carriage return as U+240D), so a
// line ending stays visible and nothing in the text can act on the display.
// Callers still show the result as plain text, never as markup.
QString deviceText(std::string_view latin1);

}  // namespace veltrane
