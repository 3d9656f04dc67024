// SPDX-License-Identifier: BSD-2-Clause
#include "nmea_sentence.h"

#include <gtest/gtest.h>

namespace veltrane::health {
namespace {

TEST(NmeaSentence, AddressTalkerAndChecksum)
{
    struct Case {
        std::string_view text;
        std::string_view address;
        std::string_view talker;
        Checksum checksum;
        std::string_view body;
    };
    constexpr Case kCases[] = {
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", "GPGGA", "GP", Checksum::Valid,
         "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"},
        {"$GPRMC,123519,A*07", "GPRMC", "GP", Checksum::Valid, "GPRMC,123519,A"},
        {"$GPRMC,123519,A*7b", "GPRMC", "GP", Checksum::Invalid, "GPRMC,123519,A*7b"},
        {"$GPVTG,1*4f", "GPVTG", "GP", Checksum::Valid, "GPVTG,1"},
        {"$GPVTG,1*4F", "GPVTG", "GP", Checksum::Valid, "GPVTG,1"},
        {"$GPRMC,1", "GPRMC", "GP", Checksum::Absent, "GPRMC,1"},
        {"$GPRMC,1*5", "GPRMC", "GP", Checksum::Invalid, "GPRMC,1*5"},
        {"$GPRMC,1*566", "GPRMC", "GP", Checksum::Invalid, "GPRMC,1*566"},
        {"$GPRMC,1*5G", "GPRMC", "GP", Checksum::Invalid, "GPRMC,1*5G"},
        {"$GPRMC,1*56 ", "GPRMC", "GP", Checksum::Invalid, "GPRMC,1*56 "},
        {"$GPRMC*1,*7C", "GPRMC", "GP", Checksum::Invalid, "GPRMC*1,*7C"},
        {"$GPRMC*", "GPRMC", "GP", Checksum::Invalid, "GPRMC*"},
        {"!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26", "AIVDM", "AI", Checksum::Valid,
         "AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0"},
        {"$PGRME,15.0,M,45.0,M,25.0,M*1C", "PGRME", "", Checksum::Valid, "PGRME,15.0,M,45.0,M,25.0,M"},
        {"$GPGGAX,1", "GPGGAX", "", Checksum::Absent, "GPGGAX,1"},
        {"$GPGG,1", "GPGG", "", Checksum::Absent, "GPGG,1"},
        {"$,1", "", "", Checksum::Absent, ",1"},
        {"$", "", "", Checksum::Absent, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        const Sentence read = readSentence(c.text);
        EXPECT_EQ(read.address, c.address);
        EXPECT_EQ(read.talker, c.talker);
        EXPECT_EQ(read.checksum, c.checksum);
        EXPECT_EQ(read.body, c.body);
    }
}

TEST(NmeaSentence, AddressesAndPlainNumbers)
{
    for (const std::string_view address : {"GPGGA", "A", "PSTMVER", "PSRF1", "012345678901234567890123"})
        EXPECT_TRUE(isAddress(address)) << address;
    for (const std::string_view address : {"", "gpgga", "GP GGA", "GP-GGA", "0123456789012345678901234", "\xb5"})
        EXPECT_FALSE(isAddress(address)) << address;

    struct Case {
        std::string_view text;
        std::optional<double> value;
    };
    const std::string hugeWhole(400, '9');
    const std::string tinyFraction = "0." + std::string(400, '0') + "1";
    const Case kCases[] = {
        {"8", 8}, {"08", 8}, {"0.9", 0.9}, {"4807.038", 4807.038}, {"", std::nullopt}, {"-1", std::nullopt},
        {"+1", std::nullopt}, {".5", std::nullopt}, {"5.", std::nullopt}, {"1e3", std::nullopt},
        {"1.2.3", std::nullopt}, {" 1", std::nullopt}, {"1*47", std::nullopt},
        {hugeWhole, std::numeric_limits<double>::infinity()}, {tinyFraction, 0.0},
    };
    for (const Case& c : kCases) EXPECT_EQ(plainNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace veltrane::health
