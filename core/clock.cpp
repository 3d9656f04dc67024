// SPDX-License-Identifier: BSD-2-Clause
#include "clock.h"

namespace veltrane {

LocalTime localTimeAt(std::time_t seconds)
{
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour, local.tm_min, local.tm_sec};
}

LocalTime SystemClock::now() const
{
    const std::time_t seconds = std::time(nullptr);
    if (seconds != convertedSecond_) {
        converted_ = localTimeAt(seconds);
        convertedSecond_ = seconds;
    }
    return converted_;
}

namespace {
constexpr int kMostDigits = 10;  // of a non-negative int

char* putDigits(char* at, int value, int width)
{
    char digits[kMostDigits];
    int count = 0;
    unsigned magnitude = value < 0 ? 0u : static_cast<unsigned>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    for (int pad = count; pad < width; ++pad) *at++ = '0';
    while (count > 0) *at++ = digits[--count];
    return at;
}
}  // namespace

// Written into a buffer and appended once: a replay stamps every sentence and
// every row.
void appendTimestamp(std::string& out, const LocalTime& time)
{
    char text[6 * kMostDigits + 5];
    char* at = putDigits(text, time.day, 2);
    *at++ = '/';
    at = putDigits(at, time.month, 2);
    *at++ = '/';
    at = putDigits(at, time.year, 4);
    *at++ = ' ';
    at = putDigits(at, time.hour, 2);
    *at++ = ':';
    at = putDigits(at, time.minute, 2);
    *at++ = ':';
    at = putDigits(at, time.second, 2);
    out.append(text, at);
}

std::string formatTimestamp(const LocalTime& time)
{
    std::string out;
    out.reserve(19);
    appendTimestamp(out, time);
    return out;
}

}  // namespace veltrane
