// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "health_figures.h"
#include "live_health.h"
#include "statistics.h"

namespace veltrane::watch {

// A receiver counts as up while a byte arrived within this many seconds.
inline constexpr double kUpSeconds = 5;

// What a scrape shows of one receiver: taken whole on the thread that reads
// the port and handed whole to the one that serves it.
struct ReceiverSample {
    std::string port;  // the device path
    bool up = false;
    bool healthy = false;  // the check's verdict over the window
    int fixQuality = -1;   // of the last GGA; -1 before any, or when it sent no number
    std::optional<double> satellitesUsed;  // from the last GGA with a fix
    std::optional<double> hdop;
    health::ByText<health::ByText<double>> satellitesInView;  // talker, signal ID
    health::ByText<health::ByText<health::Spread>> cn0;       // over the window
    health::RunningCounts counts;
    std::optional<double> ttffSeconds;         // since the last opening
    std::optional<double> lastFixUnixSeconds;
    std::uint64_t reopenings = 0;
};

// What the port's side knows of it.
struct PortState {
    bool open = false;
    std::uint64_t reopenings = 0;
};

// `steadyNow` on the clock the health's arrivals use; `unixNow` the same
// instant as Unix time, which dates the last fix.
ReceiverSample sampleOf(const std::string& port, health::LiveHealth& health, const PortState& state,
                        double steadyNow, double unixNow);

}  // namespace veltrane::watch
