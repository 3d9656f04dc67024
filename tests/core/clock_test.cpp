// SPDX-License-Identifier: BSD-2-Clause
#include "clock.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>
#include <string>
#include <utility>

namespace veltrane {
namespace {

// std::mktime, the system's own way back from calendar fields to a moment,
// is the reference: whichever safe form of localtime the platform has, the
// fields must come back as they went in. Times of day clear of any daylight
// saving change, so the round trip holds in every time zone.
TEST(LocalTimeAt, GivesBackTheFieldsOfTheMomentTheyMake)
{
    const LocalTime cases[] = {
        {1999, 12, 31, 23, 59, 59},
        {2000, 2, 29, 12, 0, 0},
        {2026, 7, 15, 9, 27, 50},
        {2038, 1, 19, 3, 14, 8},  // past a 32-bit time_t
    };
    for (const LocalTime& expected : cases) {
        std::tm fields{};
        fields.tm_year = expected.year - 1900;
        fields.tm_mon = expected.month - 1;
        fields.tm_mday = expected.day;
        fields.tm_hour = expected.hour;
        fields.tm_min = expected.minute;
        fields.tm_sec = expected.second;
        fields.tm_isdst = -1;
        EXPECT_EQ(formatTimestamp(localTimeAt(std::mktime(&fields))), formatTimestamp(expected));
    }
}

TEST(Timestamp, PadsEveryFieldAndFitsAnyValue)
{
    constexpr int kMax = INT_MAX;
    const std::pair<LocalTime, const char*> cases[] = {
        {{2026, 12, 7, 14, 3, 59}, "07/12/2026 14:03:59"},
        {{987, 1, 2, 0, 4, 5}, "02/01/0987 00:04:05"},
        {{-5, -1, -1, -1, -1, -1}, "00/00/0000 00:00:00"},
        {{kMax, kMax, kMax, kMax, kMax, kMax}, "2147483647/2147483647/2147483647 2147483647:2147483647:2147483647"},
    };
    for (const auto& [time, expected] : cases) {
        std::string text = "at ";
        appendTimestamp(text, time);
        EXPECT_EQ(text, std::string("at ") + expected);
    }
}

}  // namespace
}  // namespace veltrane
