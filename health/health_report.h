// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "health_figures.h"
#include "json_writer.h"
#include "verdict.h"

namespace veltrane::health {

// One JSON object and a line end, for scripts: the figures under their
// documented names, null where a figure is unknown (a live-only figure of a
// capture, a median of nothing), then the verdict and its reasons.
std::string jsonReport(const HealthFigures& figures, const Verdict& verdict);
// The same members into an object `json` has open, after those that say
// which receiver the report is of.
void writeJsonReport(JsonWriter& json, const HealthFigures& figures, const Verdict& verdict);

// The figures a person looks at first, as text under their JSON names (nested
// ones joined by "."), the unknown ones left out: for reports that hold only
// flat pairs of name and value, such as a JUnit file's properties.
std::vector<std::pair<std::string, std::string>> headlineFigures(const HealthFigures& figures);

// A short aligned report for a person. `source` says what was checked
// ("Comm 3 at 9600 baud for 60 s", "capture 'bench.log'").
std::string textReport(const HealthFigures& figures, const Verdict& verdict, const std::string& source);

}  // namespace veltrane::health
