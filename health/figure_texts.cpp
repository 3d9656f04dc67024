// SPDX-License-Identifier: BSD-2-Clause
#include "figure_texts.h"

#include <cmath>

#include "fix_quality.h"
#include "number_text.h"
#include "verdict.h"

namespace veltrane::health {

namespace {

// Enough decimals that a share above the limit never reads as the limit ("1.0 %").
std::string percentText(double percent)
{
    int decimals = 1;
    for (double scale = 10; decimals < 6 && percent > kMaxDamagedPercent &&
                            std::round(percent * scale) <= kMaxDamagedPercent * scale;
         scale *= 10)
        ++decimals;
    return fixedText(percent, decimals);
}

}  // namespace

std::string qualitiesText(const ByText<std::uint64_t>& quality)
{
    std::string text;
    for (const auto& [code, count] : quality) {
        if (!text.empty()) text += ", ";
        text += code.empty() ? "(empty)" : code;
        const std::string_view name = qualityName(code);
        if (!name.empty()) text.append(" ").append(name);
        text.append(": ").append(std::to_string(count));
    }
    return text.empty() ? "none" : text;
}

std::string damagedText(const HealthFigures& figures)
{
    std::string text = std::to_string(figures.damagedCount()) + " of " + std::to_string(figures.allSentenceCount()) +
                       " sentences (" + percentText(100 * figures.damagedShare().value_or(0)) + " %";
    const auto part = [&](std::uint64_t count, const char* what) {
        if (count > 0) text += (text.back() == '%' ? ": " : ", ") + std::to_string(count) + " " + what;
    };
    part(figures.checksumInvalidCount(), "with an invalid checksum");
    part(figures.cutSentences, "cut short");
    part(figures.malformedSentences, "malformed");
    return text + ")";
}

}  // namespace veltrane::health
