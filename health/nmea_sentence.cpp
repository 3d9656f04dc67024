// SPDX-License-Identifier: BSD-2-Clause
#include "nmea_sentence.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace veltrane::health {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool allDigits(std::string_view text)
{
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

bool isAddress(std::string_view text)
{
    if (text.empty() || text.size() > 24) return false;
    for (const char c : text)
        if (!(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9')) return false;
    return true;
}

bool isStandard(std::string_view address) { return address.size() == 5 && address.front() != 'P'; }

std::optional<double> plainNumber(std::string_view text)
{
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() || !allDigits(whole)) return std::nullopt;
    if (point != std::string_view::npos && (fraction.empty() || !allDigits(fraction))) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // Still a plain number when no double holds it: hundreds of digits are
    // more than any double, hundreds of zeros after the point next to nothing.
    if (error == std::errc::result_out_of_range)
        return whole.find_first_not_of('0') == std::string_view::npos ? 0.0 : std::numeric_limits<double>::infinity();
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<unsigned> wholeNumber(std::string_view text, unsigned highest)
{
    const std::optional<double> number = plainNumber(text);
    if (!number || *number > highest || *number != std::floor(*number)) return std::nullopt;
    return static_cast<unsigned>(*number);
}

Sentence readSentence(std::string_view text)
{
    Sentence read;
    const std::string_view after = text.substr(1);
    read.address = after.substr(0, after.find_first_of(",*"));
    if (isStandard(read.address)) read.talker = read.address.substr(0, 2);

    read.body = after;
    const std::size_t star = after.find('*');
    if (star == std::string_view::npos) return read;
    read.checksum = Checksum::Invalid;
    // Only a "*" and two hex digits that end the sentence are a checksum; a
    // "*" anywhere else leaves the sentence invalid.
    if (star + 3 != after.size()) return read;
    const int high = hexValue(after[star + 1]);
    const int low = hexValue(after[star + 2]);
    if (high < 0 || low < 0) return read;
    unsigned char sum = 0;
    for (const char c : after.substr(0, star)) sum ^= static_cast<unsigned char>(c);
    if (sum != high * 16 + low) return read;
    read.checksum = Checksum::Valid;
    read.body = after.substr(0, star);
    return read;
}

}  // namespace veltrane::health
