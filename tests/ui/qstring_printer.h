// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QString>
#include <ostream>

// Lets a failed comparison of texts show the texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
