// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

#include "health_figures.h"

namespace veltrane::health {

// Figures in words, the same in the report and in the reasons of a verdict.

// "1 GNSS: 48, 8 simulation: 2"; device text unescaped.
std::string qualitiesText(const ByText<std::uint64_t>& quality);

// "3 of 1200 sentences (0.3 %: 1 with an invalid checksum, 2 cut short)".
// Call when there are damaged sentences.
std::string damagedText(const HealthFigures& figures);

}  // namespace veltrane::health
