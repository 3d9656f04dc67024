// SPDX-License-Identifier: BSD-2-Clause
#include "number_text.h"

#include <charconv>

namespace veltrane::health {

std::string shortestText(double value)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string("0");
}

// Not printf: the live commands run under the user's locale, which may write
// a decimal comma.
std::string fixedText(double value, int decimals)
{
    char text[512];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return error == std::errc() ? std::string(text, end) : shortestText(value);
}

}  // namespace veltrane::health
