// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "baud_rates.h"
#include "comm_map.h"
#include "output.h"
#include "port_name.h"

namespace veltrane::cli {

struct DetectOptions {
    std::vector<PortName> ports;  // none: Comm 1 to Comm 15, as the window searches
    std::vector<int> bauds{kWindowBauds.begin(), kWindowBauds.end()};
    bool json = false;
};

// "Auto Detect", headless: the window's search over ports and baud rates.
int runDetect(const DetectOptions& options, const CommMap& map, Output& out, Output& err);

// The search's progress and closing words as a person reads them, for every
// command that searches.
std::string tryingLine(const PortName& port, const std::string& baud, const std::optional<std::string>& unopened);
std::vector<std::string> unopenedLines(const std::vector<std::string>& unopened);

}  // namespace veltrane::cli
