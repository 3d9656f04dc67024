// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string_view>

#include "figure_tally.h"
#include "health_figures.h"
#include "stream_reading.h"

namespace veltrane::health {

// The figures a live view shows while listening, a few times a second.
struct Progress {
    std::optional<bool> fix;               // whether the latest GGA reports one; none before any
    std::optional<double> satellitesUsed;  // the median over the fixes so far
    std::optional<double> cn0;             // the median of every C/N0 so far
    std::optional<double> ttffSeconds;
    std::optional<double> damagedShare;
};

// Reads one receiver's output as it arrives, in chunks of any size, from any
// source, and works out its health figures. Times are seconds on any steady
// clock; a recorded capture has none, and its live-only figures stay empty.
class HealthAnalysis {
public:
    // `opened`: when the port was opened, for the time to the first fix.
    explicit HealthAnalysis(std::optional<double> opened = std::nullopt) : opened_(opened) {}

    // `arrival`: when these bytes were read.
    void add(std::string_view bytes, std::optional<double> arrival = std::nullopt);
    Progress progress() const;
    // Reads what the end of the input leaves undecided, then works out every
    // figure. A capture's end and the end of listening are read alike. Call
    // once, after the last add().
    HealthFigures finish();

private:
    std::optional<double> ttffSeconds() const;

    std::optional<double> opened_;
    FigureTally tally_;
    StreamReading reading_{tally_};
};

}  // namespace veltrane::health
