// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace veltrane::health {

// The nearest-rank percentile: the value at rank ceil(percent / 100 * n) of
// the sorted values (ranks from 1), the rank worked out in whole numbers so
// that no rounding moves it. Nothing for no values. Sorts `values`.
std::optional<double> nearestRank(std::vector<double>& values, int percent);

struct Spread {
    double min;
    double median;  // nearest rank
    double max;
};
// Values kept as how often each occurred. A receiver reports a few dozen
// distinct C/N0s, satellite counts and HDOPs however long it is heard, so
// their spread costs no more memory after a day than after a minute; the
// figures are exactly those of the sorted values.
class ValueCounts {
public:
    void add(double value);
    // Adds every value `more` holds, as a stretch read apart joins the rest.
    void add(const ValueCounts& more);
    // Counts what waits: for values that are added to others many times.
    void compact();
    // As nearestRank() over every value added.
    std::optional<double> nearestRank(int percent) const;
    std::optional<Spread> spread() const;

private:
    using Counted = std::vector<std::pair<double, std::uint64_t>>;  // ascending, each value once
    Counted merged() const;
    // `values`: all that were added, merged.
    double nearestRankIn(const Counted& values, int percent) const;
    static Counted merged(const Counted& a, const Counted& b);

    std::vector<double> pending_;  // added since the last compaction
    Counted counted_;
    std::uint64_t total_ = 0;
};

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
