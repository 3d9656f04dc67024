// SPDX-License-Identifier: BSD-2-Clause
#include "health_analysis.h"

namespace veltrane::health {

std::uint64_t HealthFigures::sentenceCount() const
{
    std::uint64_t total = 0;
    for (const auto& [address, counts] : sentences) total += counts.count;
    return total;
}

std::uint64_t HealthFigures::checksumInvalidCount() const
{
    std::uint64_t total = 0;
    for (const auto& [address, counts] : sentences) total += counts.checksumInvalid;
    return total;
}

std::uint64_t HealthFigures::damagedCount() const
{
    return checksumInvalidCount() + cutSentences + malformedSentences;
}

std::optional<double> HealthFigures::damagedShare() const
{
    if (allSentenceCount() == 0) return std::nullopt;
    return static_cast<double>(damagedCount()) / static_cast<double>(allSentenceCount());
}

void HealthAnalysis::add(std::string_view bytes, std::optional<double> arrival)
{
    tally_.addBytes(bytes.size());
    reading_.add(bytes, arrival);
}

std::optional<double> HealthAnalysis::ttffSeconds() const
{
    if (!opened_ || !tally_.firstFix()) return std::nullopt;
    return *tally_.firstFix() - *opened_;
}

Progress HealthAnalysis::progress() const
{
    return {tally_.lastGgaFix(), tally_.satellitesUsed().nearestRank(50), tally_.cn0().nearestRank(50), ttffSeconds(),
            tally_.counts().damagedShare()};
}

HealthFigures HealthAnalysis::finish()
{
    reading_.finish();
    HealthFigures result = tally_.figures();
    result.ttffSeconds = ttffSeconds();
    result.windowRecognises = reading_.windowRecognises();
    return result;
}

}  // namespace veltrane::health
