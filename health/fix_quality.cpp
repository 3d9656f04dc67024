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

std::optional<std::size_t> code(std::string_view quality)
{
    const std::optional<double> number = plainNumber(quality);
    for (std::size_t value = 0; value < kNames.size(); ++value)
        if (number == static_cast<double>(value)) return value;
    return std::nullopt;
}

}  // namespace

bool isFix(std::string_view quality)
{
    const std::optional<std::size_t> value = code(quality);
    return value && *value >= 1 && *value <= 5;
}

std::string_view qualityName(std::string_view quality)
{
    const std::optional<std::size_t> value = code(quality);
    return value ? kNames[*value] : std::string_view();
}

}  // namespace veltrane::health
