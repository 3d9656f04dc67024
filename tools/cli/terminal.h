// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>

namespace veltrane::cli {

struct TerminalSize {
    std::size_t columns;
    std::size_t rows;
};

bool isTerminal(std::FILE* file);
// Nothing when the file is not a terminal or its size is unknown.
std::optional<TerminalSize> terminalSize(std::FILE* file);

}  // namespace veltrane::cli
