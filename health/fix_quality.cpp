// SPDX-License-Identifier: BSD-2-Clause
#include "fix_quality.h"

#include <array>
#include <optional>

#include "nmea_sentence.h"

namespace veltrane::health {

namespace {

constexpr std::array<std::string_view, 9> kNames = {
    "no fix", "GNSS", "differential", "PPS", "RTK fixed", "RTK float", "estimated (dead reckoning)", "manual input",
    "simulation",
};

std::optional<unsigned> code(std::string_view quality) { return wholeNumber(quality, kNames.size() - 1); }

}  // namespace

bool isFix(std::string_view quality)
{
    const std::optional<unsigned> value = code(quality);
    return value && *value >= 1 && *value <= 5;
}

std::string_view qualityName(std::string_view quality)
{
    const std::optional<unsigned> value = code(quality);
    return value ? kNames[*value] : std::string_view();
}

}  // namespace veltrane::health
