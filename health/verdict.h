// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "health_figures.h"
#include "thresholds.h"

namespace veltrane::health {

// At most this share of sentences, in percent, may be damaged.
inline constexpr int kMaxDamagedPercent = 1;

struct Verdict {
    bool pass;
    std::vector<std::string> reasons;  // why it failed, one text each; empty on a pass
};

// Pass when there is a fix, at most 1 % of the sentences are damaged, and
// each threshold given holds.
Verdict judge(const HealthFigures& figures, const Thresholds& thresholds);

}  // namespace veltrane::health
