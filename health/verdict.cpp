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

    for (const ThresholdRule& rule : kThresholdRules) {
        const std::optional<double>& limit = thresholds.*rule.limit;
        if (!limit) continue;
        const std::string given = std::string(rule.option) + " " + shortestText(*limit);
        const std::optional<double> value = rule.figure(figures);
        const bool atMost = rule.bound == ThresholdRule::Bound::AtMost;
        if (!value)
            fail(std::string(rule.missing) + " to compare with " + given);
        else if (atMost ? *value > *limit : *value < *limit)
            fail(std::string(rule.figureName) + " " +
                 (rule.decimals < 0 ? shortestText(*value) : fixedText(*value, rule.decimals)) +
                 (atMost ? " is above " : " is below ") + given);
    }
    return verdict;
}

}  // namespace veltrane::health
