// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "nmea_receiver.h"

namespace veltrane::sim {

// One receiver of the bench, on a line of its own.
struct SimReceiver {
    int baud = 4800;
    int ttffSeconds = 0;
    ReceiverOutput output;

    bool operator==(const SimReceiver&) const = default;
};

struct SimOptions {
    std::vector<SimReceiver> receivers = {SimReceiver{}};
    std::string capture;  // empty: the simulator's own receivers
    bool loop = false;
    std::string device;   // empty: a new pseudo-terminal for each receiver

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
// As a shell reports a program that a closed pipe (SIGPIPE) ended.
constexpr int kExitReaderGone = 141;

std::variant<SimOptions, SimExit> parseSimOptions(int argc, const char* const* argv);

}  // namespace veltrane::sim
