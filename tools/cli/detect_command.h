// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comm_map.h"
#include "output.h"

namespace veltrane::cli {

struct DetectOptions {
    bool json = false;
};

// "Auto Detect", headless: the window's search over every Comm number and baud rate.
int runDetect(const DetectOptions& options, const CommMap& map, Output& out, Output& err);

// The search's progress and closing words as a person reads them, for every
// command that searches.
std::string tryingLine(int comm, const std::string& baud, const std::optional<std::string>& unopened);
std::vector<std::string> unopenedLines(const std::vector<std::string>& unopened);

}  // namespace veltrane::cli
