// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstddef>
#include <string>

#include "output.h"

namespace veltrane::cli {

// A chunk is one receive event's text; a real port never hands over more than
// a moment's worth, and a bound keeps a mistyped size from exhausting memory.
inline constexpr std::size_t kMaxChunkBytes = std::size_t{1} << 20;

struct ReplayOptions {
    std::string file = "-";  // "-": standard input
    std::size_t chunkBytes = 64;
    bool json = false;
};

// Runs a capture through the monitor as if a port had just been opened on it.
int runReplay(const ReplayOptions& options, Output& out, Output& err);

}  // namespace veltrane::cli
