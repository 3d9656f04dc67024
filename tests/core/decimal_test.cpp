// SPDX-License-Identifier: BSD-2-Clause
#include "decimal.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace veltrane {
namespace {

std::optional<std::string> fixed(std::string_view text, int decimals)
{
    const auto value = parseDecimal(text);
    if (!value) return std::nullopt;
    std::string out;
    appendFixed(out, *value, decimals);
    return out;
}

std::optional<int> whole(std::string_view text)
{
    const auto value = parseDecimal(text);
    return value ? roundToInt16(*value) : std::nullopt;
}

struct FixedCase {
    std::string_view text;
    int decimals;
    std::string_view expected;
};

TEST(Decimal, FixedPatternsRoundHalvesAwayFromZero)
{
    const FixedCase cases[] = {
        {"4807.038", 4, "4807.0380"},
        {"4807.03805", 4, "4807.0381"},
        {"4807.03804999", 4, "4807.0380"},
        {"01131.000", 4, "1131.0000"},
        {"0.9", 1, "0.9"},
        {"1.25", 1, "1.3"},
        {"1.35", 1, "1.4"},
        {"99.99", 1, "100.0"},
        {"99.95", 1, "100.0"},
        {"-12.25", 1, "-12.3"},
        {"-0.04", 1, "-0.0"},
        {"-0.05", 1, "-0.1"},
        {"-0.00", 1, "0.0"},
        {"-0", 4, "0.0000"},
        {".5", 1, "0.5"},
        {"5.", 1, "5.0"},
        {"+7", 1, "7.0"},
        {"0000.00001", 4, "0.0000"},
        {"9999999.99995", 4, "10000000.0000"},
        {"123456789012345678901234567890.5", 0, "123456789012345678901234567891"},
    };
    for (const FixedCase& c : cases)
        EXPECT_EQ(fixed(c.text, c.decimals), std::optional<std::string>(c.expected)) << c.text;
}

TEST(Decimal, WholeNumbersRoundHalvesToEvenWithinSixteenBits)
{
    const std::pair<std::string_view, std::optional<int>> cases[] = {
        {"08", 8},         {"7.5", 8},       {"8.5", 8},         {"8.50001", 9},
        {"-2.5", -2},      {"-3.5", -4},     {"-0.4", 0},        {"32767", 32767},
        {"32767.4", 32767}, {"32767.5", std::nullopt}, {"-32768", -32768},
        {"-32768.5", -32768}, {"-32769", std::nullopt}, {"40000", std::nullopt},
        {"000000000000012", 12}, {"123456", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(whole(text), expected) << text;
}

TEST(Decimal, RefusesWhatIsNotANumber)
{
    for (std::string_view text : {"", "-", "+", ".", "-.", "1.2.3", " 12", "12 ", "1e3", "0x10",
                                  "00*79", "--1", "1-", "N", "4807,038"})
        EXPECT_FALSE(parseDecimal(text).has_value()) << '"' << text << '"';
}

TEST(Decimal, HandlesVeryLongDigitStrings)
{
    const std::string huge = std::string(200000, '9') + "." + std::string(200000, '9');
    const auto rounded = fixed(huge, 4);
    ASSERT_TRUE(rounded);
    EXPECT_EQ(*rounded, "1" + std::string(200000, '0') + ".0000");
    EXPECT_EQ(whole(huge), std::nullopt);
}

}  // namespace
}  // namespace veltrane
