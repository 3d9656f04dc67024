// SPDX-License-Identifier: BSD-2-Clause
#include "decimal.h"

#include <algorithm>

namespace veltrane {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), isDigit);
}

bool anyNonZero(std::string_view digits)
{
    return digits.find_first_not_of('0') != std::string_view::npos;
}

}  // namespace

std::optional<DecimalText> parseDecimal(std::string_view text)
{
    DecimalText value;
    bool minus = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        minus = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    std::string_view integer = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (integer.empty() && fraction.empty()) return std::nullopt;
    if (!allDigits(integer) || !allDigits(fraction)) return std::nullopt;
    integer.remove_prefix(std::min(integer.find_first_not_of('0'), integer.size()));
    value.integer = integer;
    value.fraction = fraction;
    value.negative = minus && (!integer.empty() || anyNonZero(fraction));
    return value;
}

void appendFixed(std::string& out, const DecimalText& value, int decimals)
{
    const std::size_t places = static_cast<std::size_t>(decimals);
    std::string digits;
    digits.reserve(value.integer.size() + places + 1);
    digits.append(value.integer);
    digits.append(value.fraction.substr(0, places));
    digits.append(places - std::min(places, value.fraction.size()), '0');

    if (value.fraction.size() > places && value.fraction[places] >= '5') {
        auto digit = digits.rbegin();
        for (; digit != digits.rend() && *digit == '9'; ++digit) *digit = '0';
        if (digit == digits.rend())
            digits.insert(digits.begin(), '1');
        else
            ++*digit;
    }

    if (value.negative) out.push_back('-');
    const std::size_t integerDigits = digits.size() - places;
    if (integerDigits == 0)
        out.push_back('0');
    else
        out.append(digits, 0, integerDigits);
    if (places > 0) {
        out.push_back('.');
        out.append(digits, integerDigits, places);
    }
}

std::optional<int> roundToInt16(const DecimalText& value)
{
    // Six or more integer digits lie beyond range whatever the fraction says.
    if (value.integer.size() > 5) return std::nullopt;
    int magnitude = 0;
    for (char c : value.integer) magnitude = magnitude * 10 + (c - '0');

    if (!value.fraction.empty()) {
        const char first = value.fraction.front();
        const bool beyondHalf = anyNonZero(value.fraction.substr(1));
        if (first > '5' || (first == '5' && beyondHalf) || (first == '5' && magnitude % 2 == 1))
            ++magnitude;
    }
    const int result = value.negative ? -magnitude : magnitude;
    if (result < -32768 || result > 32767) return std::nullopt;
    return result;
}

}  // namespace veltrane
