// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

#include "comm_map.h"
#include "output.h"
#include "verdict.h"

namespace veltrane::cli {

struct CheckOptions {
    int comm = 0;        // 0: search for the receiver first, as detect does
    int baudIndex = 0;   // 0: 4800, 1: 9600
    std::string file;    // a recorded capture instead of a port
    double seconds = 60;
    bool json = false;
    health::Thresholds thresholds;
};

// Is this receiver healthy? One verdict a script can trust: exit 0 pass,
// 1 fail (the reasons printed), 3 no receiver or the port would not open.
int runCheck(const CheckOptions& options, const CommMap& map, Output& out, Output& err);

}  // namespace veltrane::cli
