// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <variant>

#include "nmea_receiver.h"

namespace veltrane::sim {

struct SimOptions {
    int baud = 4800;
    std::string capture;  // empty: the simulator's own receiver
    bool loop = false;
    std::string device;   // empty: a new pseudo-terminal
    ReceiverOutput output;

    bool operator==(const SimOptions&) const = default;
};

// A command line that ends before the simulator starts: the help or the
// version (status 0, text for standard output), or a usage error (status 2,
// text for standard error).
struct SimExit {
    int status;
    std::string text;
};

// Exit statuses of veltrane-sim; the help's closing table explains them.
constexpr int kExitRuntimeError = 1;
constexpr int kExitUsageError = 2;

std::variant<SimOptions, SimExit> parseSimOptions(int argc, const char* const* argv);

}  // namespace veltrane::sim
