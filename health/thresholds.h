// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "health_figures.h"

namespace veltrane::health {

// Limits a person may set on top of the fixed rules.
struct Thresholds {
    std::optional<double> maxTtffSeconds;
    std::optional<double> maxCep95Metres;
    std::optional<double> maxHdop;        // compared with the median HDOP
    std::optional<double> minSatellites;  // compared with the median of satellites used
    std::optional<double> minCn0;         // dB-Hz, compared with the median C/N0 of every GSV
};

// One threshold, whole: how the command line offers it and how the verdict
// judges it and words its reason, so the two never drift apart.
struct ThresholdRule {
    enum class Bound { AtMost, AtLeast };

    std::string_view option;     // "--max-ttff"
    std::string_view valueName;  // "S", as the help shows it
    std::string_view help;
    double lowest;  // the values the option accepts
    double highest;
    bool wholeNumber;
    bool liveOnly;  // its figure is measured only while listening
    std::optional<double> Thresholds::*limit;
    Bound bound;
    std::optional<double> (*figure)(const HealthFigures&);
    std::string_view figureName;  // "time to first fix (s)", as the reasons name it
    std::string_view missing;     // what a reason says when the figures lack it
    int decimals;                 // of the figure in a reason; -1: the shortest text
};

extern const std::array<ThresholdRule, 5> kThresholdRules;

}  // namespace veltrane::health
