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
    std::sort(values.begin(), values.end());
    const std::size_t rank = (static_cast<std::size_t>(percent) * values.size() + 99) / 100;
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

void ValueCounts::add(double value)
{
    constexpr std::size_t kLeastPending = 1024;
    pending_.push_back(value);
    ++total_;
    // Compacting only once as many values wait as are counted keeps adding
    // cheap even when nearly every value differs.
    if (pending_.size() >= std::max(kLeastPending, counted_.size())) compact();
}

void ValueCounts::compact()
{
    if (pending_.empty()) return;
    counted_ = merged();
    pending_.clear();
}

void ValueCounts::add(const ValueCounts& more)
{
    compact();
    counted_ = more.pending_.empty() ? merged(counted_, more.counted_) : merged(counted_, more.merged());
    total_ += more.total_;
}

ValueCounts::Counted ValueCounts::merged() const
{
    std::vector<double> sorted = pending_;
    std::sort(sorted.begin(), sorted.end());
    Counted pending;
    for (const double value : sorted) {
        if (!pending.empty() && pending.back().first == value)
            ++pending.back().second;
        else
            pending.emplace_back(value, 1);
    }
    return merged(counted_, pending);
}

ValueCounts::Counted ValueCounts::merged(const Counted& a, const Counted& b)
{
    Counted result;
    result.reserve(a.size() + b.size());
    auto left = a.begin();
    auto right = b.begin();
    while (left != a.end() || right != b.end()) {
        if (right == b.end() || (left != a.end() && left->first < right->first))
            result.push_back(*left++);
        else if (left == a.end() || right->first < left->first)
            result.push_back(*right++);
        else {
            result.emplace_back(left->first, left->second + right->second);
            ++left;
            ++right;
        }
    }
    return result;
}

double ValueCounts::nearestRankIn(const Counted& values, int percent) const
{
    const std::uint64_t rank = std::clamp<std::uint64_t>((static_cast<std::uint64_t>(percent) * total_ + 99) / 100, 1, total_);
    std::uint64_t seen = 0;
    for (const auto& [value, count] : values) {
        seen += count;
        if (seen >= rank) return value;
    }
    return values.back().first;
}

std::optional<double> ValueCounts::nearestRank(int percent) const
{
    if (total_ == 0) return std::nullopt;
    return nearestRankIn(merged(), percent);
}

// The values are merged once for all three figures.
std::optional<Spread> ValueCounts::spread() const
{
    if (total_ == 0) return std::nullopt;
    const Counted values = merged();
    return Spread{values.front().first, nearestRankIn(values, 50), values.back().first};
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
