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

LocalTime SystemClock::now() const { return localTimeAt(std::time(nullptr)); }

namespace {
void appendDigits(std::string& out, int value, int width)
{
    char digits[12];
    int count = 0;
    unsigned magnitude = value < 0 ? 0u : static_cast<unsigned>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 && count < 12);
    for (int pad = count; pad < width; ++pad) out.push_back('0');
    while (count > 0) out.push_back(digits[--count]);
}
}  // namespace

void appendTimestamp(std::string& out, const LocalTime& time)
{
    appendDigits(out, time.day, 2);
    out.push_back('/');
    appendDigits(out, time.month, 2);
    out.push_back('/');
    appendDigits(out, time.year, 4);
    out.push_back(' ');
    appendDigits(out, time.hour, 2);
    out.push_back(':');
    appendDigits(out, time.minute, 2);
    out.push_back(':');
    appendDigits(out, time.second, 2);
}

std::string formatTimestamp(const LocalTime& time)
{
    std::string out;
    out.reserve(19);
    appendTimestamp(out, time);
    return out;
}

}  // namespace veltrane
