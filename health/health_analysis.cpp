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

HealthFigures HealthAnalysis::finish()
{
    reading_.finish();
    HealthFigures result = tally_.figures();
    if (opened_ && tally_.firstFix()) result.ttffSeconds = *tally_.firstFix() - *opened_;
    result.windowRecognises = reading_.windowRecognises();
    return result;
}

}  // namespace veltrane::health
