// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

namespace veltrane::cli {

struct TerminalSize {
    std::size_t columns;
    std::size_t rows;
};

bool isTerminal(std::FILE* file);
// At most `columns` characters of UTF-8 text, so that a line drawn in place never wraps.
std::string clipToColumns(std::string text, std::size_t columns);
// Nothing when the file is not a terminal or its size is unknown.
std::optional<TerminalSize> terminalSize(std::FILE* file);

}  // namespace veltrane::cli
