// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "baud_rates.h"
#include "comm_map.h"
#include "output.h"
#include "given_ports.h"
#include "verdict.h"

namespace veltrane::cli {

struct CheckOptions {
    std::vector<GivenPort> ports;  // none, and not all: search for one receiver first, as detect does
    bool all = false;             // every port the system lists and the Comm map names
    std::optional<int> baud;      // the speed of every port given without one; none: search
    std::vector<int> bauds{kWindowBauds.begin(), kWindowBauds.end()};  // searched where no speed was given
    std::string file;             // a recorded capture instead of ports
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
