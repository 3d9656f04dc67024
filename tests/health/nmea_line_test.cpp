// SPDX-License-Identifier: BSD-2-Clause
#include "nmea_line.h"

#include <gtest/gtest.h>

namespace veltrane::health {
namespace {

TEST(NmeaLine, SentenceAddressTalkerChecksumAndNoise)
{
    struct Case {
        std::string_view line;
        std::string_view noise;
        std::string_view address;
        std::string_view talker;
        Checksum checksum;
    };
    constexpr Case kCases[] = {
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", "", "GPGGA", "GP", Checksum::Valid},
        {"$GPRMC,123519,A*07", "", "GPRMC", "GP", Checksum::Valid},
        {"$GPRMC,123519,A*7b", "", "GPRMC", "GP", Checksum::Invalid},
        {"$GPRMC,1*56", "", "GPRMC", "GP", Checksum::Valid},
        {"$GPRMC,1*57", "", "GPRMC", "GP", Checksum::Invalid},
        {"$GPVTG,1*4f", "", "GPVTG", "GP", Checksum::Valid},
        {"$GPVTG,1*4F", "", "GPVTG", "GP", Checksum::Valid},
        {"$GPRMC,1", "", "GPRMC", "GP", Checksum::Absent},
        {"$GPRMC,1*5", "", "GPRMC", "GP", Checksum::Invalid},
        {"$GPRMC,1*566", "", "GPRMC", "GP", Checksum::Invalid},
        {"$GPRMC,1*5G", "", "GPRMC", "GP", Checksum::Invalid},
        {"$GPRMC,1*56 ", "", "GPRMC", "GP", Checksum::Invalid},
        {"$GPRMC*1,*7C", "", "GPRMC", "GP", Checksum::Invalid},
        {"$GPRMC*", "", "GPRMC", "GP", Checksum::Invalid},
        {"xx\x01$GNGSA,A*", "xx\x01", "GNGSA", "GN", Checksum::Invalid},
        {"!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26", "", "AIVDM", "AI", Checksum::Valid},
        {"$PGRME,15.0,M,45.0,M,25.0,M*1C", "", "PGRME", "", Checksum::Valid},
        {"$GPGGAX,1", "", "GPGGAX", "", Checksum::Absent},
        {"$GPGG,1", "", "GPGG", "", Checksum::Absent},
        {"$,1", "", "", "", Checksum::Absent},
        {"$", "", "", "", Checksum::Absent},
        {"no sentence at all", "no sentence at all", "", "", Checksum::Absent},
        {"a$b!c", "a", "b!c", "", Checksum::Absent},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const NmeaLine read = readNmeaLine(c.line);
        EXPECT_EQ(read.noise, c.noise);
        EXPECT_EQ(read.address, c.address);
        EXPECT_EQ(read.talker, c.talker);
        EXPECT_EQ(read.checksum, c.checksum);
        EXPECT_EQ(read.sentence.size() + read.noise.size(), c.line.size());
    }
}

TEST(NmeaLine, PlainNumbersOnly)
{
    struct Case {
        std::string_view text;
        std::optional<double> value;
    };
    const Case kCases[] = {
        {"8", 8}, {"08", 8}, {"0.9", 0.9}, {"4807.038", 4807.038}, {"", std::nullopt}, {"-1", std::nullopt},
        {"+1", std::nullopt}, {".5", std::nullopt}, {"5.", std::nullopt}, {"1e3", std::nullopt},
        {"1.2.3", std::nullopt}, {" 1", std::nullopt}, {"1*47", std::nullopt},
    };
    for (const Case& c : kCases) EXPECT_EQ(plainNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace veltrane::health
