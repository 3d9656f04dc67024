// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "byte_source.h"
#include "nmea_receiver.h"
#include "pseudo_terminal.h"
#include "speed_mismatch.h"

namespace veltrane::sim {
namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        result.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every sentence ends with CR LF";
    return result;
}

std::vector<std::string> fields(const std::string& sentence)
{
    std::vector<std::string> result;
    const std::string body = sentence.substr(1, sentence.find('*') - 1);
    std::size_t start = 0;
    for (std::size_t comma; (comma = body.find(',', start)) != std::string::npos; start = comma + 1)
        result.push_back(body.substr(start, comma - start));
    result.push_back(body.substr(start));
    return result;
}

// Checked independently of the simulator's own helper: XOR of the bytes
// between "$" and "*", as two hex digits after the "*".
bool checksumHolds(const std::string& sentence)
{
    const std::size_t star = sentence.find('*');
    if (sentence.empty() || sentence[0] != '$' || star == std::string::npos || star + 3 != sentence.size()) return false;
    unsigned value = 0;
    for (std::size_t i = 1; i < star; ++i) value ^= static_cast<unsigned char>(sentence[i]);
    return std::strtoul(sentence.substr(star + 1).c_str(), nullptr, 16) == value;
}

double degrees(const std::string& angle, const std::string& hemisphere)
{
    const double value = std::stod(angle);
    const double whole = std::floor(value / 100);
    const double result = whole + (value - whole * 100) / 60;
    return hemisphere == "S" || hemisphere == "W" ? -result : result;
}

TEST(NmeaReceiver, SendsEachSecondFiveKindsWithCorrectChecksumsAndTheUtcTime)
{
    const std::time_t start = 1'800'000'000;  // 2027-01-15 08:00:00 UTC
    const NmeaReceiver receiver(start);
    const std::vector<std::string> sentences = lines(receiver.second(start + 3723));
    const std::vector<std::string> kinds = {"$GPGGA", "$GPGSA", "$GPGSV", "$GPGSV", "$GPRMC", "$GPVTG"};
    ASSERT_EQ(sentences.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(sentences[i].substr(0, 6), kinds[i]);
        EXPECT_TRUE(checksumHolds(sentences[i])) << sentences[i];
    }
    const std::vector<std::string> gga = fields(sentences[0]);
    EXPECT_EQ(gga[1], "090203.00");
    EXPECT_EQ(gga[6], "1") << "a fix";
    const std::vector<std::string> rmc = fields(sentences[4]);
    EXPECT_EQ(rmc[1], "090203.00");
    EXPECT_EQ(rmc[2], "A");
    EXPECT_EQ(rmc[9], "150127");
    const std::vector<std::string> gsv = fields(sentences[2]);
    EXPECT_EQ(gsv[3], "08") << "satellites in view";
}

// Metres from the start position, north and east.
std::pair<double, double> offset(const NmeaReceiver& receiver, std::time_t utc)
{
    constexpr double kMetresPerDegree = 111320.0;
    return {(receiver.latitudeAt(utc) - NmeaReceiver::kStartLatitude) * kMetresPerDegree,
            (receiver.longitudeAt(utc) - NmeaReceiver::kStartLongitude) * kMetresPerDegree *
                std::cos(NmeaReceiver::kStartLatitude * 3.14159265358979 / 180)};
}

TEST(NmeaReceiver, MovingItDrivesNorthEastAtItsSpeedAndWritesThePositionAsItIs)
{
    const std::time_t start = 1'800'000'000;
    const NmeaReceiver receiver(start, {false, false, true});
    for (const std::time_t elapsed : {0, 1, 600, 86400}) {
        const std::vector<std::string> gga = fields(lines(receiver.second(start + elapsed))[0]);
        EXPECT_NEAR(degrees(gga[2], gga[3]), receiver.latitudeAt(start + elapsed), 1e-6) << elapsed;
        EXPECT_NEAR(degrees(gga[4], gga[5]), receiver.longitudeAt(start + elapsed), 1e-6) << elapsed;
    }
    const auto [north, east] = offset(receiver, start + 100);
    EXPECT_NEAR(std::hypot(north, east), 500.0, 1.0) << "5 m/s for 100 s";
    EXPECT_NEAR(north, east, 1.0) << "heading north-east";
}

// A receiver on a bench: its fix wanders, as a real one's does, but stays
// well within the 5 m that a bench check asks of a healthy receiver.
TEST(NmeaReceiver, StandingStillItsFixWandersWithinTwoMetres)
{
    const std::time_t start = 1'800'000'000;
    const NmeaReceiver receiver(start);
    double farthest = 0;
    for (std::time_t elapsed = 0; elapsed < 3600; ++elapsed) {
        const auto [north, east] = offset(receiver, start + elapsed);
        farthest = std::max(farthest, std::hypot(north, east));
    }
    EXPECT_LT(farthest, 2.0);
    EXPECT_GT(farthest, 0.5) << "not pinned to one point";
    const std::vector<std::string> rmc = fields(lines(receiver.second(start + 5))[4]);
    EXPECT_EQ(rmc[7], "0.0") << "speed over ground";
}

// Before its first fix a receiver sees its satellites but reports no position.
TEST(NmeaReceiver, WithoutAFixItReportsNoPosition)
{
    const std::time_t start = 1'800'000'000;
    for (const ReceiverOutput output : {ReceiverOutput{}, ReceiverOutput{true, false, false}}) {
        const std::vector<std::string> sentences = lines(NmeaReceiver(start, output).second(start, false));
        const std::vector<std::string> gga = fields(sentences.front());
        const std::vector<std::string> rmc = fields(sentences[sentences.size() - (output.multiGnss ? 1 : 2)]);
        for (const std::string& sentence : sentences) EXPECT_TRUE(checksumHolds(sentence)) << sentence;
        EXPECT_EQ(gga.size(), 15u) << sentences.front();
        EXPECT_EQ(gga[2] + gga[4] + gga[6] + gga[7], "000") << sentences.front();
        EXPECT_EQ(rmc[0].substr(2), "RMC");
        EXPECT_EQ(rmc[2] + rmc[3] + rmc[5], "V") << "void, no position";
        EXPECT_EQ(rmc[9], "150127");
    }
}

// A u-blox receiver with both protocols on one port: UBX frames whose
// Fletcher sums hold between NMEA 4.11 sentences of three systems.
TEST(NmeaReceiver, AMultiGnssReceiverSendsUbxFramesBetweenItsSentences)
{
    const std::time_t start = 1'800'000'000;
    const NmeaReceiver receiver(start, {true, true});
    const std::string out = receiver.second(start + 60);
    std::vector<std::string> kinds;
    std::vector<std::string> payloads;
    for (std::size_t at = 0; at < out.size();) {
        if (out.compare(at, 2, "\xB5\x62") == 0) {
            ASSERT_LE(at + 6, out.size());
            const std::size_t length = static_cast<std::uint8_t>(out[at + 4]) | static_cast<std::uint8_t>(out[at + 5]) << 8;
            ASSERT_LE(at + 8 + length, out.size());
            std::uint8_t a = 0;
            std::uint8_t b = 0;
            for (std::size_t i = at + 2; i < at + 6 + length; ++i) b = static_cast<std::uint8_t>(b + (a += out[i]));
            EXPECT_EQ(static_cast<std::uint8_t>(out[at + 6 + length]), a);
            EXPECT_EQ(static_cast<std::uint8_t>(out[at + 7 + length]), b);
            kinds.push_back("UBX " + std::to_string(out[at + 2]) + "-" + std::to_string(out[at + 3]));
            payloads.push_back(out.substr(at + 6, length));
            at += 8 + length;
            continue;
        }
        const std::size_t end = out.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string sentence = out.substr(at, end - at);
        EXPECT_TRUE(checksumHolds(sentence)) << sentence;
        kinds.push_back(sentence.substr(1, 5));
        if (kinds.back().ends_with("GSV")) {
            const std::vector<std::string> gsv = fields(sentence);
            EXPECT_EQ(gsv.size() % 4, 1u) << "a signal ID last: " << sentence;
            EXPECT_EQ(gsv.back(), kinds.back() == "GAGSV" ? "7" : "1") << sentence;
            for (std::size_t i = 7; i + 1 < gsv.size(); i += 4) {
                EXPECT_GE(std::stoi(gsv[i]), 20) << sentence;
                EXPECT_LE(std::stoi(gsv[i]), 50) << sentence;
            }
        }
        at = end + 2;
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"GNGGA", "UBX 1-7", "GPGSV", "GPGSV", "GLGSV", "GAGSV", "UBX 1-53",
                                               "GNRMC"}));
    ASSERT_EQ(payloads.size(), 2u);
    const auto number = [](const std::string& payload, std::size_t at) {
        std::int32_t value = 0;
        for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(payload[at + i]);
        return value;
    };
    ASSERT_EQ(payloads[0].size(), 92u);
    EXPECT_EQ(payloads[0][20], 3) << "a 3D fix";
    EXPECT_EQ(payloads[0][23], 16) << "satellites used";
    EXPECT_NEAR(number(payloads[0], 28) * 1e-7, receiver.latitudeAt(start + 60), 1e-7);
    EXPECT_NEAR(number(payloads[0], 24) * 1e-7, receiver.longitudeAt(start + 60), 1e-7);
    EXPECT_EQ(payloads[1].size(), 8u + 12 * 16) << "NAV-SAT: 16 satellites";
    EXPECT_EQ(fields(lines(out.substr(0, out.find('\n') + 1))[0])[7], "16") << "GGA's satellites used";
}

TEST(ReceiverSource, TheFirstFixComesTheTtffAfterThePortFirstOpened)
{
    const std::time_t opened = 1'800'000'000;
    for (const int ttff : {0, 3}) {
        ReceiverSource source(opened - 100, 9600, {}, ttff);
        for (std::time_t second = opened; second <= opened + 5; ++second) {
            const std::string gga = fields(lines(source.take(100000, second))[0])[6];
            // Whenever in its first second the port opened, TTFF seconds have passed by then.
            EXPECT_EQ(gga, ttff == 0 || second > opened + ttff ? "1" : "0") << ttff << " s, second " << second - opened;
        }
    }
}

TEST(SpeedMismatch, NoByteEverBecomesADollarYetEveryByteArrives)
{
    std::string everyByte;
    for (int c = 0; c < 256; ++c) everyByte.push_back(static_cast<char>(c));
    const std::string received = garbleForSpeedMismatch(everyByte + "$GPGGA,1*00\r\n");
    EXPECT_EQ(received.size(), everyByte.size() + 13);
    EXPECT_EQ(received.find('$'), std::string::npos);
}

TEST(CaptureSource, HandsOutTheCaptureOnceOrOverAndOver)
{
    CaptureSource once("abcde", false);
    EXPECT_EQ(once.take(3, 0), "abc");
    EXPECT_EQ(once.take(3, 0), "de");
    EXPECT_EQ(once.take(3, 0), "");

    CaptureSource looped("abc", true);
    EXPECT_EQ(looped.take(7, 0), "abcabca");
    EXPECT_EQ(looped.take(2, 0), "bc");

    CaptureSource empty("", true);
    EXPECT_EQ(empty.take(5, 0), "");
}

TEST(ReceiverSource, OneBurstPerSecondAndNoBacklogOnASlowLine)
{
    const std::time_t start = 1'800'000'000;
    const std::string burst = NmeaReceiver(start).second(start);
    ReceiverSource source(start, 480);
    EXPECT_EQ(source.take(10, start), burst.substr(0, 10));
    EXPECT_EQ(source.take(1000, start), burst.substr(10)) << "nothing new within the same second";
    EXPECT_EQ(source.take(1000, start), "");

    ReceiverSource slow(start, 100);  // a line too slow for a whole burst
    EXPECT_EQ(slow.take(50, start), burst.substr(0, 50));
    const std::string later = slow.take(100000, start + 1);
    EXPECT_EQ(later, burst.substr(50)) << "the next second is skipped while one second's worth waits";
}

// Each failure names the file and a reason a person can act on.
TEST(SimInputs, ACaptureOrDeviceThatCannotBeUsedSaysWhy)
{
    const std::string directory = ::testing::TempDir() + "veltrane-sim-inputs";
    std::filesystem::create_directories(directory);
    const std::string empty = directory + "/empty.log";
    std::ofstream{empty};
    const std::string missing = directory + "/missing.log";
    // A name is shown as text, whatever it holds.
    const std::string hostile = directory + "/\x1b[2Jgone\n.log";
    const std::string hostileShown = "'" + directory + "/\\x1b[2Jgone\\n.log'";
    const auto quoted = [](const std::string& name) { return "'" + name + "'"; };

    const struct {
        std::function<void()> use;
        std::string message;
    } cases[] = {
        {[&] { readCapture(directory); }, "cannot read " + quoted(directory) + ": it is a directory"},
        {[&] { readCapture(missing); }, "cannot read " + quoted(missing) + ": no such file or directory"},
        {[&] { readCapture(hostile); }, "cannot read " + hostileShown + ": no such file or directory"},
        {[&] { readCapture(empty); },
         "cannot read " + quoted(empty) + ": it is empty, so there is nothing to play"},
        {[&] { SerialLine::openDevice(directory, 4800); }, "cannot open " + quoted(directory) + ": it is a directory"},
        {[&] { SerialLine::openDevice(missing, 4800); }, "cannot open " + quoted(missing) + ": no such file or directory"},
        {[&] { SerialLine::openDevice(hostile, 4800); }, "cannot open " + hostileShown + ": no such file or directory"},
        {[&] { SerialLine::openDevice(empty, 4800); }, quoted(empty) + " is not a serial port"},
        {[&] { SerialLine::openDevice("/dev/null", 4800); }, "'/dev/null' is not a serial port"},
    };
    for (const auto& c : cases) {
        try {
            c.use();
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const std::runtime_error& failure) {
            EXPECT_EQ(failure.what(), c.message);
        }
    }
}

}  // namespace
}  // namespace veltrane::sim
