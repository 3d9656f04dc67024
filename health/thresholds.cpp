// SPDX-License-Identifier: BSD-2-Clause
#include "thresholds.h"

namespace veltrane::health {

namespace {

std::optional<double> median(const std::optional<Spread>& spread)
{
    return spread ? std::optional(spread->median) : std::nullopt;
}

using Bound = ThresholdRule::Bound;

}  // namespace

constinit const std::array<ThresholdRule, 5> kThresholdRules = {{
    {"--max-ttff", "S", "fail when the first fix takes more than S seconds", 0, 1e6, false, true,
     &Thresholds::maxTtffSeconds, Bound::AtMost, [](const HealthFigures& f) { return f.ttffSeconds; },
     "time to first fix (s)", "no time to first fix (s)", 1},
    {"--max-cep95", "M", "fail when 95 % of the fixes are not within M metres", 0, 20000000, false, false,
     &Thresholds::maxCep95Metres, Bound::AtMost,
     [](const HealthFigures& f) { return f.scatter ? std::optional(f.scatter->cep95) : std::nullopt; }, "CEP95 (m)",
     "no CEP95 (m)", 2},
    {"--max-hdop", "H", "fail when the median HDOP is above H", 0, 100, false, false, &Thresholds::maxHdop,
     Bound::AtMost, [](const HealthFigures& f) { return median(f.hdop); }, "median HDOP", "no median HDOP", 1},
    {"--min-satellites", "N", "fail when the median of satellites used is below N", 0, 99, true, false,
     &Thresholds::minSatellites, Bound::AtLeast, [](const HealthFigures& f) { return median(f.satellitesUsed); },
     "median satellites used", "no count of satellites used", -1},
    {"--min-cn0", "DB", "fail when the median C/N0 of every GSV is below DB dB-Hz", 0, 99, false, false,
     &Thresholds::minCn0, Bound::AtLeast, [](const HealthFigures& f) { return median(f.cn0); },
     "median C/N0 (dB-Hz)", "no C/N0 in any GSV sentence", -1},
}};

}  // namespace veltrane::health
