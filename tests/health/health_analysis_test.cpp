// SPDX-License-Identifier: BSD-2-Clause
#include "health_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "sentence_text.h"

namespace veltrane::health {
namespace {

using testing::sentence;

std::string gga(const std::string& position, const std::string& quality = "1", const std::string& talker = "GP")
{
    return sentence(talker + "GGA,123519," + position + "," + quality + ",08,0.9,545.4,M,46.9,M,,");
}

HealthFigures analyse(const std::string& capture, std::size_t chunk = 4096)
{
    HealthAnalysis analysis;
    for (std::size_t at = 0; at < capture.size(); at += chunk) analysis.add(std::string_view(capture).substr(at, chunk));
    return analysis.finish();
}

TEST(HealthAnalysis, CountsByTheDefinitions)
{
    const std::string fix = gga("4807.038,N,01131.000,E");
    struct Case {
        const char* name;
        std::string capture;
        std::uint64_t noise, sentences, invalid, absent, ggas, fixes, positions;
        bool window;
    };
    const Case kCases[] = {
        {"a GP receiver with a fix", fix + sentence("GPRMC,123519,A"), 0, 2, 0, 0, 1, 1, 1, true},
        {"a GN-only receiver", gga("4807.038,N,01131.000,E", "1", "GN") + sentence("GNRMC,1"), 0, 2, 0, 0, 1, 1, 1,
         false},
        {"noise before, between and instead of sentences", "garbage\r\nxx" + fix + "\r\n\n" + "1$GPRMC*00\r",
         7 + 2 + 1, 2, 1, 0, 1, 1, 1, true},
        // The window reads it all the same: it verifies no checksum.
        {"a GGA with a bad checksum is no GGA", "$GPGGA,1,4807.038,N,01131.000,E,1,08,0.9,1,M*00\r\n", 0, 1, 1, 0, 0,
         0, 0, true},
        {"a GGA without a checksum counts", "$GPGGA,1,4807.038,N,01131.000,E,2,08,0.9,1,M\n", 0, 1, 0, 1, 1, 1, 1,
         true},
        {"quality 0 and empty are no fix", gga("4807.038,N,01131.000,E", "0") + gga(",,,", ""), 0, 2, 0, 0, 2, 0, 0,
         true},
        {"RTK fixed and float are fixes, without a position too", gga("4807.038,N,01131.000,E", "4") + gga(",,,", "5"),
         0, 2, 0, 0, 2, 2, 1, true},
        {"estimated, manual input and simulation are no fixes",
         gga("4807.038,N,01131.000,E", "6") + gga("4807.038,N,01131.000,E", "7") + gga("4807.038,N,01131.000,E", "8"),
         0, 3, 0, 0, 3, 0, 0, true},
        // The window reads no GGA with empty fields, and no GSV at all.
        {"a GP receiver that has no fix yet",
         "$GPGGA,092750.000,,,,,0,00,,,M,,M,,*71\r\n" + sentence("GPGSV,1,1,01,07,79,048,42"), 0, 2, 0, 0, 1, 0, 0,
         false},
        {"a last line without a line end", "$GPRMC,1", 0, 0, 0, 0, 0, 0, 0, false},
        {"CR CR LF", "$GPRMC,1\r\r\n$GPRMC,2\r\r\n", 0, 2, 0, 2, 0, 0, 0, true},
        {"proprietary and AIS sentences", sentence("PGRME,15.0,M") + "!AIVDM,1*00\r\n", 0, 2, 1, 0, 0, 0, 0, false},
        {"malformed and cut sentences are no sentences", "$gpgga,1\r\n$GPGGA,1\x01", 1, 0, 0, 0, 0, 0, 0, false},
        {"nothing at all", "", 0, 0, 0, 0, 0, 0, 0, false},
    };
    for (const Case& c : kCases) {
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
            SCOPED_TRACE(std::string(c.name) + " in chunks of " + std::to_string(chunk));
            const HealthFigures figures = analyse(c.capture, chunk);
            EXPECT_EQ(figures.bytes, c.capture.size());
            EXPECT_EQ(figures.noiseBytes, c.noise);
            EXPECT_EQ(figures.sentenceCount(), c.sentences);
            EXPECT_EQ(figures.checksumInvalidCount(), c.invalid);
            std::uint64_t absent = 0;
            for (const auto& [address, counts] : figures.sentences) absent += counts.checksumAbsent;
            EXPECT_EQ(absent, c.absent);
            EXPECT_EQ(figures.ggaCount, c.ggas);
            EXPECT_EQ(figures.fixes, c.fixes);
            EXPECT_EQ(figures.positionCount, c.positions);
            EXPECT_EQ(figures.windowRecognises, c.window);
            EXPECT_FALSE(figures.ttffSeconds) << "a capture has no times";
        }
    }
    const HealthFigures damaged = analyse("$gpgga,1\r\n$GPGGA,1\x01$,\r\n");
    EXPECT_EQ(damaged.malformedSentences, 2u);
    EXPECT_EQ(damaged.cutSentences, 1u);

    // A receiver's zeros before its first fix say nothing of its health.
    const HealthFigures beforeFix = analyse(sentence("GPGGA,1,,,,,0,00,99.9,,M,,M,,") + fix);
    ASSERT_TRUE(beforeFix.satellitesUsed && beforeFix.hdop);
    EXPECT_EQ(beforeFix.satellitesUsed->min, 8);
    EXPECT_EQ(beforeFix.hdop->max, 0.9);
}

TEST(HealthAnalysis, PositionsAsSignedDegreesOnEarthOnly)
{
    struct Case {
        std::string position;
        std::optional<double> latitude;
        std::optional<double> longitude;
    };
    const Case kCases[] = {
        {"4807.038,N,01131.000,E", 48 + 7.038 / 60, 11 + 31.0 / 60},
        {"4807.038,S,01131.000,W", -(48 + 7.038 / 60), -(11 + 31.0 / 60)},
        {"0000.000,N,18000.000,W", 0.0, -180.0},
        {"5959.999,N,00059.9999,E", 59 + 59.999 / 60, 59.9999 / 60},
        {"4807.038,n,01131.000,E", std::nullopt, std::nullopt},
        {"4807.038,,01131.000,E", std::nullopt, std::nullopt},
        {"4807.038,N,01131.000,X", std::nullopt, std::nullopt},
        {"-4807.038,N,01131.000,E", std::nullopt, std::nullopt},
        {"4807.038,N,,E", std::nullopt, std::nullopt},
        {"9000.000,S,18000.000,E", -90.0, 180.0},
        {"9000.001,N,01131.000,E", std::nullopt, std::nullopt},
        {"4807.038,N,18000.001,W", std::nullopt, std::nullopt},
        {"4860.000,N,01131.000,E", std::nullopt, std::nullopt},
        {"4807.038,N,01159.9999,E", 48 + 7.038 / 60, 11 + 59.9999 / 60},
        {"4807.038,N,01160.5,E", std::nullopt, std::nullopt},
        {std::string(308, '9') + ",N,01131.000,E", std::nullopt, std::nullopt},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.position);
        const HealthFigures figures = analyse(gga(c.position));
        ASSERT_EQ(figures.scatter.has_value(), c.latitude.has_value());
        if (!c.latitude) continue;
        EXPECT_DOUBLE_EQ(figures.scatter->meanLatitude, *c.latitude);
        EXPECT_DOUBLE_EQ(figures.scatter->meanLongitude, *c.longitude);
    }
}

// Counting each value instead of keeping it changes no figure, whether the
// values repeat (as a receiver's C/N0 do) or nearly all differ, and on both
// sides of a compaction.
TEST(ValueCounts, GiveTheFiguresOfTheSortedValues)
{
    for (const std::size_t distinct : {1u, 7u, 100u, 100000u}) {
        for (const std::size_t n : {1u, 2u, 1023u, 1024u, 1025u, 5000u}) {
            SCOPED_TRACE(std::to_string(distinct) + " distinct, " + std::to_string(n) + " values");
            ValueCounts counts;
            std::vector<double> values;
            std::uint32_t state = 12345;
            for (std::size_t i = 0; i < n; ++i) {
                state = state * 1664525u + 1013904223u;
                values.push_back(static_cast<double>(state % distinct) / 4);
                counts.add(values.back());
            }
            for (const int percent : {1, 50, 95, 100}) EXPECT_EQ(counts.nearestRank(percent), nearestRank(values, percent));
            const std::optional<Spread> spread = counts.spread();
            ASSERT_TRUE(spread);
            EXPECT_EQ(spread->min, values.front());
            EXPECT_EQ(spread->max, values.back());
        }
    }
    EXPECT_FALSE(ValueCounts().spread());
}

// Twenty fixes around 52 N 5 E: eight 1 m away, eight 2 m away and four 10 m
// away, each ring symmetric, so the mean is the centre and the nearest-rank
// percentiles fall on rank 10 (2 m) and rank 19 (10 m).
TEST(HealthAnalysis, CepOfAKnownScatter)
{
    constexpr double kRadius = 6371008.8;
    constexpr double kLatitude = 52.0;
    constexpr double kLongitude = 5.0;
    const auto angle = [](double degrees, int width, char positive, char negative) {
        const double magnitude = std::fabs(degrees);
        const double whole = std::floor(magnitude);
        char text[64];
        std::snprintf(text, sizeof text, "%0*.0f%012.9f,%c", width, whole, (magnitude - whole) * 60,
                      degrees < 0 ? negative : positive);
        return std::string(text);
    };
    std::string capture;
    const auto fixAt = [&](double metres, double bearingDegrees) {
        const double bearing = bearingDegrees * std::numbers::pi / 180;
        const double north = metres * std::cos(bearing);
        const double east = metres * std::sin(bearing);
        const double latitude = kLatitude + north / kRadius * 180 / std::numbers::pi;
        const double longitude =
            kLongitude + east / (kRadius * std::cos(kLatitude * std::numbers::pi / 180)) * 180 / std::numbers::pi;
        capture += gga(angle(latitude, 2, 'N', 'S') + "," + angle(longitude, 3, 'E', 'W'));
    };
    for (int i = 0; i < 8; ++i) fixAt(1, 45.0 * i);
    for (int i = 0; i < 8; ++i) fixAt(2, 45.0 * i + 10);
    for (int i = 0; i < 4; ++i) fixAt(10, 90.0 * i);

    const HealthFigures figures = analyse(capture);
    ASSERT_TRUE(figures.scatter);
    EXPECT_EQ(figures.positionCount, 20u);
    EXPECT_NEAR(figures.scatter->meanLatitude, kLatitude, 1e-9);
    EXPECT_NEAR(figures.scatter->meanLongitude, kLongitude, 1e-9);
    EXPECT_NEAR(figures.scatter->cep50, 2.0, 1e-3);
    EXPECT_NEAR(figures.scatter->cep95, 10.0, 1e-3);
}

TEST(HealthAnalysis, LiveFiguresFromArrivalTimes)
{
    HealthAnalysis analysis(100.0);
    analysis.add(gga(",,,", "0"), 100.4);  // no fix yet
    // The first fix, held back while what may be a 264-byte UBX frame arrives.
    analysis.add("\xB5\x62\x01\x07\x00\x01" + gga("4807.038,N,01131.000,E"), 101.4);
    analysis.add(std::string(300, 'x'), 101.9);
    analysis.add(sentence("GPRMC,1") + gga("4807.038,N,01131.000,E").substr(0, 20), 102.3);
    analysis.add(gga("4807.038,N,01131.000,E").substr(20), 102.5);  // its line ends now
    analysis.add(gga("4807.038,N,01131.000,E"), 103.6);
    const HealthFigures figures = analysis.finish();
    ASSERT_TRUE(figures.ttffSeconds);
    EXPECT_NEAR(*figures.ttffSeconds, 1.4, 1e-9);
    ASSERT_TRUE(figures.ggaIntervalSeconds);
    EXPECT_NEAR(*figures.ggaIntervalSeconds, 1.1, 1e-9) << "intervals 1.0, 1.1, 1.1: median 1.1";
    ASSERT_TRUE(figures.satellitesUsed);
    EXPECT_EQ(figures.satellitesUsed->median, 8);
}

// Listening stops wherever the receiver happens to be in a line; what it sent
// up to then was not wrong, so the cut line counts as nothing but bytes.
TEST(HealthAnalysis, ALiveCheckReadsNoLineCutOffByTheStop)
{
    const std::string line = gga("4807.038,N,01131.000,E");
    std::string tenLines;
    for (int i = 0; i < 10; ++i) tenLines += line;
    struct Case {
        const char* name;
        std::size_t kept;  // of the eleventh line
        std::uint64_t sentences;
    };
    const Case kCases[] = {
        {"just before its CR", line.size() - 2, 10},
        {"just after the \"*\"", line.find('*') + 1, 10},
        {"after the first hex digit", line.find('*') + 2, 10},
        {"inside the satellites field", line.find(",08,") + 2, 10},
        {"with its LF: nothing is cut", line.size(), 11},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        HealthAnalysis analysis(0.0);
        analysis.add(tenLines, 10.0);
        analysis.add(line.substr(0, c.kept), 11.0);
        const HealthFigures figures = analysis.finish();
        EXPECT_EQ(figures.bytes, tenLines.size() + c.kept);
        EXPECT_EQ(figures.noiseBytes, 0u);
        EXPECT_EQ(figures.sentenceCount(), c.sentences);
        EXPECT_EQ(figures.checksumInvalidCount(), 0u);
        EXPECT_EQ(figures.ggaCount, c.sentences);
        EXPECT_EQ(figures.quality, (ByText<std::uint64_t>{{"1", c.sentences}}));
        ASSERT_TRUE(figures.satellitesUsed);
        EXPECT_EQ(figures.satellitesUsed->min, 8);
    }
}

}  // namespace
}  // namespace veltrane::health
