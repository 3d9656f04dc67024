// SPDX-License-Identifier: BSD-2-Clause
#include "verdict.h"

#include "figure_texts.h"
#include "nmea_sentence.h"
#include "number_text.h"

namespace veltrane::health {

namespace {

std::string count(std::uint64_t n, const std::string& one, const std::string& many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Says why there is no fix in the figures' own terms.
std::string noFix(const HealthFigures& figures)
{
    if (figures.bytes > 0 && figures.allSentenceCount() == 0) {
        const std::string none = "no sentence in " + count(figures.bytes, "byte", "bytes");
        if (figures.ubxFrames.empty() && figures.rtcm3Frames.empty()) return none + ": the line speed may be wrong";
        return none + ", only binary frames: the receiver's NMEA output may be off";
    }
    if (figures.ggaCount == 0) {
        std::uint64_t rejected = 0;
        for (const auto& [address, counts] : figures.sentences)
            if (isStandard(address) && address.ends_with("GGA")) rejected += counts.count;
        if (rejected == 0) return "no fix: the receiver sent no GGA sentence";
        return "no fix: " + count(rejected, "GGA sentence, with", "GGA sentences, all with") + " an invalid checksum";
    }
    return "no fix: none of the " + count(figures.ggaCount, "GGA sentence", "GGA sentences") +
           " reports one (quality " + qualitiesText(figures.quality) + ")";
}

}  // namespace

Verdict judge(const HealthFigures& figures, const Thresholds& thresholds)
{
    Verdict verdict{true, {}};
    const auto fail = [&](std::string reason) {
        verdict.pass = false;
        verdict.reasons.push_back(std::move(reason));
    };

    if (figures.fixes == 0) fail(noFix(figures));
    if (figures.damagedCount() * 100 > figures.allSentenceCount() * kMaxDamagedPercent)
        fail(damagedText(figures) + " are damaged; at most " + std::to_string(kMaxDamagedPercent) + " % may");

    const auto atMost = [&](const std::optional<double>& limit, const std::optional<double>& value,
                            const std::string& what, const std::string& option, int decimals) {
        if (!limit) return;
        const std::string given = option + " " + shortestText(*limit);
        if (!value)
            fail("no " + what + " to compare with " + given);
        else if (*value > *limit)
            fail(what + " " + fixedText(*value, decimals) + " is above " + given);
    };
    const auto atLeast = [&](const std::optional<double>& limit, const std::optional<Spread>& spread,
                             const std::string& none, const std::string& median, const std::string& option) {
        if (!limit) return;
        const std::string given = option + " " + shortestText(*limit);
        if (!spread)
            fail(none + " to compare with " + given);
        else if (spread->median < *limit)
            fail(median + " " + shortestText(spread->median) + " is below " + given);
    };
    atMost(thresholds.maxTtffSeconds, figures.ttffSeconds, "time to first fix (s)", "--max-ttff", 1);
    atMost(thresholds.maxCep95Metres, figures.scatter ? std::optional(figures.scatter->cep95) : std::nullopt,
           "CEP95 (m)", "--max-cep95", 2);
    atMost(thresholds.maxHdop, figures.hdop ? std::optional(figures.hdop->median) : std::nullopt, "median HDOP",
           "--max-hdop", 1);
    atLeast(thresholds.minSatellites, figures.satellitesUsed, "no count of satellites used", "median satellites used",
            "--min-satellites");
    atLeast(thresholds.minCn0, figures.cn0, "no C/N0 in any GSV sentence", "median C/N0 (dB-Hz)", "--min-cn0");
    return verdict;
}

}  // namespace veltrane::health
