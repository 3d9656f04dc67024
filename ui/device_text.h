#pragma once

#include <QString>
#include <string_view>

namespace veltrane {

// Device bytes (Latin-1) as text safe to show in a label or a cell, written
// the way the command-line tool writes them: control characters as escapes
// ("\r", "\n", "\x1B") and a backslash doubled, so a line ending stays visible
// and nothing in the text acts on the display. Callers still show the result
// as plain text, never as markup.
QString deviceText(std::string_view latin1);

}  // namespace veltrane
