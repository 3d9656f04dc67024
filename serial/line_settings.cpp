// SPDX-License-Identifier: BSD-2-Clause
#include "line_settings.h"

#include <charconv>
#include <string>
#include <vector>

#include "failure.h"

namespace veltrane {

namespace {

std::vector<std::string_view> splitCommas(std::string_view text)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t comma = text.find(',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) return parts;
        text.remove_prefix(comma + 1);
    }
}

[[noreturn]] void refuse(std::string_view text, const std::string& why, const char* cause = "Invalid line settings")
{
    throw Failure(kInvalidSettings, cause, "line settings \"" + std::string(text) + "\": " + why);
}

bool parseWhole(std::string_view part, int& value)
{
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    return error == std::errc() && end == part.data() + part.size();
}

}  // namespace

LineSettings parseLineSettings(std::string_view text)
{
    const std::vector<std::string_view> parts = splitCommas(text);
    if (parts.size() != 4) refuse(text, "expected baud,parity,data,stop, for example 4800,n,8,1");

    LineSettings settings;
    if (parts[0].empty()) refuse(text, "no baud rate is selected", "No baud rate selected");
    if (!parseWhole(parts[0], settings.baud) || settings.baud <= 0)
        refuse(text, "the baud rate \"" + std::string(parts[0]) + "\" is not a positive whole number");

    static constexpr std::string_view kParityLetters = "neoms";
    static constexpr Parity kParities[] = {Parity::None, Parity::Even, Parity::Odd, Parity::Mark, Parity::Space};
    const std::size_t letter = parts[1].size() == 1 ? kParityLetters.find(static_cast<char>(parts[1][0] | 0x20))
                                                    : std::string_view::npos;
    if (letter == std::string_view::npos)
        refuse(text, "the parity \"" + std::string(parts[1]) + "\" is not one of n, e, o, m, s");
    settings.parity = kParities[letter];

    if (!parseWhole(parts[2], settings.dataBits) || settings.dataBits < 5 || settings.dataBits > 8)
        refuse(text, "the data bits \"" + std::string(parts[2]) + "\" are not 5, 6, 7 or 8");

    if (parts[3] == "1")
        settings.stopBits = StopBits::One;
    else if (parts[3] == "1.5")
        settings.stopBits = StopBits::OneAndHalf;
    else if (parts[3] == "2")
        settings.stopBits = StopBits::Two;
    else
        refuse(text, "the stop bits \"" + std::string(parts[3]) + "\" are not 1, 1.5 or 2");
    return settings;
}

}  // namespace veltrane
