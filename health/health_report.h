// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

#include "health_figures.h"
#include "verdict.h"

namespace veltrane::health {

// One JSON object, for scripts: the figures under their documented names,
// null where a figure is unknown (a live-only figure of a capture, a median
// of nothing), then the verdict and its reasons.
std::string jsonReport(const HealthFigures& figures, const Verdict& verdict);

// A short aligned report for a person. `source` says what was checked
// ("Comm 3 at 9600 baud for 60 s", "capture 'bench.log'").
std::string textReport(const HealthFigures& figures, const Verdict& verdict, const std::string& source);

}  // namespace veltrane::health
