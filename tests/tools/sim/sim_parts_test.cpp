// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "byte_source.h"
#include "capture_file.h"
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

TEST(NmeaReceiver, ThePositionMovesAtItsSpeedAndIsWrittenAsItIs)
{
    const std::time_t start = 1'800'000'000;
    const NmeaReceiver receiver(start);
    for (const std::time_t elapsed : {0, 1, 600, 86400}) {
        const std::vector<std::string> gga = fields(lines(receiver.second(start + elapsed))[0]);
        EXPECT_NEAR(degrees(gga[2], gga[3]), receiver.latitudeAt(start + elapsed), 1e-6) << elapsed;
        EXPECT_NEAR(degrees(gga[4], gga[5]), receiver.longitudeAt(start + elapsed), 1e-6) << elapsed;
    }
    const double north = (receiver.latitudeAt(start + 100) - receiver.latitudeAt(start)) * 111320.0;
    const double east = (receiver.longitudeAt(start + 100) - receiver.longitudeAt(start)) * 111320.0 *
                        std::cos(NmeaReceiver::kStartLatitude * 3.14159265358979 / 180);
    EXPECT_NEAR(std::hypot(north, east), 500.0, 1.0) << "5 m/s for 100 s";
    EXPECT_NEAR(north, east, 1.0) << "heading north-east";
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
        {[&] { readCapture(directory); }, "cannot read the capture " + quoted(directory) + ": it is a directory"},
        {[&] { readCapture(missing); }, "cannot read the capture " + quoted(missing) + ": no such file or directory"},
        {[&] { readCapture(hostile); }, "cannot read the capture " + hostileShown + ": no such file or directory"},
        {[&] { readCapture(empty); },
         "cannot read the capture " + quoted(empty) + ": it is empty, so there is nothing to play"},
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
