// SPDX-License-Identifier: BSD-2-Clause
#include "verdict.h"

#include "number_text.h"

namespace veltrane::health {

Verdict judge(const HealthFigures& figures, const Thresholds& thresholds)
{
    Verdict verdict{true, {}};
    const auto fail = [&](std::string reason) {
        verdict.pass = false;
        verdict.reasons.push_back(std::move(reason));
    };

    if (figures.ggaCount == 0)
        fail("no fix: the receiver sent no GGA sentence");
    else if (figures.fixes == 0)
        fail("no fix: none of the " + std::to_string(figures.ggaCount) + " GGA sentences reports one");

    const std::uint64_t sentences = figures.sentenceCount();
    const std::uint64_t invalid = figures.checksumInvalidCount();
    if (invalid * 100 > sentences * kMaxInvalidChecksumPercent)
        fail(std::to_string(invalid) + " of " + std::to_string(sentences) + " sentences (" +
             fixedText(100.0 * static_cast<double>(invalid) / static_cast<double>(sentences), 1) +
             " %) have an invalid checksum; at most " +
             std::to_string(kMaxInvalidChecksumPercent) + " % may");

    const auto atMost = [&](const std::optional<double>& limit, const std::optional<double>& value,
                            const std::string& what, const std::string& option, int decimals) {
        if (!limit) return;
        const std::string given = option + " " + shortestText(*limit);
        if (!value)
            fail("no " + what + " to compare with " + given);
        else if (*value > *limit)
            fail(what + " " + fixedText(*value, decimals) + " is above " + given);
    };
    atMost(thresholds.maxTtffSeconds, figures.ttffSeconds, "time to first fix (s)", "--max-ttff", 1);
    atMost(thresholds.maxCep95Metres, figures.scatter ? std::optional(figures.scatter->cep95) : std::nullopt,
           "CEP95 (m)", "--max-cep95", 2);
    atMost(thresholds.maxHdop, figures.hdop ? std::optional(figures.hdop->median) : std::nullopt, "median HDOP",
           "--max-hdop", 1);
    if (thresholds.minSatellites) {
        const std::string given = "--min-satellites " + shortestText(*thresholds.minSatellites);
        if (!figures.satellitesUsed)
            fail("no count of satellites used to compare with " + given);
        else if (figures.satellitesUsed->median < *thresholds.minSatellites)
            fail("median satellites used " + shortestText(figures.satellitesUsed->median) + " is below " + given);
    }
    return verdict;
}

}  // namespace veltrane::health
