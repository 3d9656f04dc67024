// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comm_map.h"
#include "output.h"
#include "given_ports.h"
#include "verdict.h"

namespace veltrane::cli {

// With no port and without --all, a check first searches for one receiver, as detect does.
struct CheckOptions : PortArguments {
    std::string file;  // a recorded capture instead of ports
    double seconds = 60;
    bool json = false;
    std::string junit;  // a JUnit XML file to write; empty: none
    health::Thresholds thresholds;
};

// Are these receivers healthy? One verdict each a script can trust: exit 0
// when every receiver found passed, 1 when one failed or was lost (the
// reasons printed), 3 when none was found.
int runCheck(const CheckOptions& options, const CommMap& map, Output& out, Output& err);

}  // namespace veltrane::cli
