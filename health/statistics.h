// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <vector>

namespace veltrane::health {

// The nearest-rank percentile: the value at rank ceil(percent / 100 * n) of
// the sorted values (ranks from 1), the rank worked out in whole numbers so
// that no rounding moves it. Nothing for no values. Reorders `values`.
std::optional<double> nearestRank(std::vector<double>& values, int percent);

struct Spread {
    double min;
    double median;  // nearest rank
    double max;
};
std::optional<Spread> spreadOf(std::vector<double> values);

struct Scatter {
    double meanLatitude;
    double meanLongitude;
    double cep50;  // metres
    double cep95;
};
// Each fix's distance from the mean position on a sphere of the Earth's mean
// radius, east scaled by the cosine of the mean latitude; CEP as nearest-rank
// percentiles of those distances.
std::optional<Scatter> scatterOf(const std::vector<double>& latitudes, const std::vector<double>& longitudes);

}  // namespace veltrane::health
