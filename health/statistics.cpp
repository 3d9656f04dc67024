// SPDX-License-Identifier: BSD-2-Clause
#include "statistics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace veltrane::health {

namespace {
constexpr double kEarthRadiusMetres = 6371008.8;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
}  // namespace

std::optional<double> nearestRank(std::vector<double>& values, int percent)
{
    if (values.empty()) return std::nullopt;
    const std::size_t rank = (static_cast<std::size_t>(percent) * values.size() + 99) / 100;
    // Only the value at that rank is needed, not the order of all the others:
    // a watched receiver's window holds tens of thousands of C/N0 values.
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(std::clamp<std::size_t>(rank, 1, values.size()) - 1);
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

std::optional<Spread> spreadOf(std::vector<double> values)
{
    const std::optional<double> median = nearestRank(values, 50);
    if (!median) return std::nullopt;
    const auto [min, max] = std::minmax_element(values.begin(), values.end());
    return Spread{*min, *median, *max};
}

std::optional<Scatter> scatterOf(const std::vector<double>& latitudes, const std::vector<double>& longitudes)
{
    const std::size_t n = latitudes.size();
    if (n == 0 || longitudes.size() != n) return std::nullopt;
    // A running mean: fixes that all stand on one spot give exactly that spot
    // and a scatter of 0 m, where a sum divided by n would leave rounding dust.
    Scatter scatter{0, 0, 0, 0};
    for (std::size_t i = 0; i < n; ++i) {
        scatter.meanLatitude += (latitudes[i] - scatter.meanLatitude) / static_cast<double>(i + 1);
        scatter.meanLongitude += (longitudes[i] - scatter.meanLongitude) / static_cast<double>(i + 1);
    }
    const double eastScale = std::cos(scatter.meanLatitude * kRadiansPerDegree);
    std::vector<double> distances;
    distances.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double east = kEarthRadiusMetres * (longitudes[i] - scatter.meanLongitude) * kRadiansPerDegree * eastScale;
        const double north = kEarthRadiusMetres * (latitudes[i] - scatter.meanLatitude) * kRadiansPerDegree;
        distances.push_back(std::hypot(east, north));
    }
    scatter.cep50 = *nearestRank(distances, 50);
    scatter.cep95 = *nearestRank(distances, 95);
    return scatter;
}

}  // namespace veltrane::health
