// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "receiver_metrics.h"
#include "samples.h"
#include "sentence_text.h"

namespace veltrane::watch {
namespace {

using health::testing::sentence;

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool has(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(ReceiverMetrics, NamesTypesAndLabels)
{
    ReceiverSample sample;
    sample.port = "/dev/ttyUSB0";
    sample.up = true;
    sample.fixQuality = 2;
    sample.satellitesUsed = 9;
    sample.hdop = 0.8;
    sample.satellitesInView["GP"][""] = 11;
    sample.satellitesInView["GA"]["7"] = 5;
    sample.cn0["GP"][""] = {21, 38, 47};
    sample.counts = {1000, 3, {{"GPGGA", 12}}, 0, 2, 4, 5, 6, 7};
    sample.ttffSeconds = 31.5;
    sample.lastFixUnixSeconds = 1800000000.25;
    sample.reopenings = 1;
    ReceiverSample fresh;
    fresh.port = "/dev/ttyACM0";

    const auto lines = linesOf(exposition(metricFamilies({sample, fresh})));
    const char* kExpected[] = {
        "# TYPE veltrane_receiver_up gauge",
        "veltrane_receiver_up{port=\"/dev/ttyUSB0\"} 1",
        "veltrane_receiver_up{port=\"/dev/ttyACM0\"} 0",
        "# TYPE veltrane_receiver_healthy gauge",
        "veltrane_receiver_healthy{port=\"/dev/ttyUSB0\"} 0",
        "# TYPE veltrane_receiver_fix_quality gauge",
        "veltrane_receiver_fix_quality{port=\"/dev/ttyUSB0\"} 2",
        "veltrane_receiver_fix_quality{port=\"/dev/ttyACM0\"} -1",
        "# TYPE veltrane_receiver_satellites_used gauge",
        "veltrane_receiver_satellites_used{port=\"/dev/ttyUSB0\"} 9",
        "# TYPE veltrane_receiver_hdop gauge",
        "veltrane_receiver_hdop{port=\"/dev/ttyUSB0\"} 0.8",
        "# TYPE veltrane_receiver_satellites_in_view gauge",
        "veltrane_receiver_satellites_in_view{port=\"/dev/ttyUSB0\",talker=\"GA\",signal=\"7\"} 5",
        "veltrane_receiver_satellites_in_view{port=\"/dev/ttyUSB0\",talker=\"GP\",signal=\"\"} 11",
        "# TYPE veltrane_receiver_cn0_dbhz gauge",
        "veltrane_receiver_cn0_dbhz{port=\"/dev/ttyUSB0\",talker=\"GP\",signal=\"\",stat=\"min\"} 21",
        "veltrane_receiver_cn0_dbhz{port=\"/dev/ttyUSB0\",talker=\"GP\",signal=\"\",stat=\"median\"} 38",
        "veltrane_receiver_cn0_dbhz{port=\"/dev/ttyUSB0\",talker=\"GP\",signal=\"\",stat=\"max\"} 47",
        "# TYPE veltrane_receiver_bytes_total counter",
        "veltrane_receiver_bytes_total{port=\"/dev/ttyUSB0\"} 1000",
        "# TYPE veltrane_receiver_noise_bytes_total counter",
        "veltrane_receiver_noise_bytes_total{port=\"/dev/ttyUSB0\"} 3",
        "# TYPE veltrane_receiver_sentences_total counter",
        "veltrane_receiver_sentences_total{port=\"/dev/ttyUSB0\",address=\"GPGGA\"} 12",
        "# TYPE veltrane_receiver_checksum_errors_total counter",
        "veltrane_receiver_checksum_errors_total{port=\"/dev/ttyUSB0\"} 2",
        "# TYPE veltrane_receiver_damaged_sentences_total counter",
        "veltrane_receiver_damaged_sentences_total{port=\"/dev/ttyUSB0\",kind=\"cut\"} 4",
        "veltrane_receiver_damaged_sentences_total{port=\"/dev/ttyUSB0\",kind=\"malformed\"} 5",
        "veltrane_receiver_damaged_sentences_total{port=\"/dev/ttyACM0\",kind=\"cut\"} 0",
        "# TYPE veltrane_receiver_binary_frames_total counter",
        "veltrane_receiver_binary_frames_total{port=\"/dev/ttyUSB0\",protocol=\"ubx\"} 6",
        "veltrane_receiver_binary_frames_total{port=\"/dev/ttyUSB0\",protocol=\"rtcm3\"} 7",
        "# TYPE veltrane_receiver_time_to_first_fix_seconds gauge",
        "veltrane_receiver_time_to_first_fix_seconds{port=\"/dev/ttyUSB0\"} 31.5",
        "# TYPE veltrane_receiver_last_fix_timestamp_seconds gauge",
        "veltrane_receiver_last_fix_timestamp_seconds{port=\"/dev/ttyUSB0\"} 1800000000.25",
        "# TYPE veltrane_receiver_reopenings_total counter",
        "veltrane_receiver_reopenings_total{port=\"/dev/ttyUSB0\"} 1",
    };
    for (const char* line : kExpected) EXPECT_TRUE(has(lines, line)) << line;
    // Absent until there is something to show.
    for (const char* name : {"satellites_used", "hdop", "time_to_first_fix_seconds", "last_fix_timestamp_seconds"})
        EXPECT_FALSE(has(lines, std::string("veltrane_receiver_") + name + "{port=\"/dev/ttyACM0\"}")) << name;
}

TEST(ReceiverMetrics, DeviceTextIsEscapedAndTheLabelSetBounded)
{
    ReceiverSample sample = testing::hostileSample();
    for (int i = 0; i < 70; ++i) sample.satellitesInView["GP"][std::to_string(i)] = 1;
    const std::string text = exposition(metricFamilies({sample}));
    const auto lines = linesOf(text);
    const std::string port = R"(port="/dev/tty\\xff\"\\\\\\n}")";
    EXPECT_TRUE(has(lines, "veltrane_receiver_satellites_in_view{" + port + R"(,talker="GA",signal="a\"b\\\\c},d=\\x7f"} 3)"));
    EXPECT_TRUE(has(lines, "veltrane_receiver_sentences_total{" + port + R"(,address="other"} 7)"));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.starts_with("veltrane_receiver_satellites_in_view{"); }),
              static_cast<long>(kLabelledSignals));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.starts_with("veltrane_receiver_sentences_total{"); }),
              static_cast<long>(health::kCountedAddresses + 1));
    EXPECT_EQ(text.find('\xff'), std::string::npos);
}

// Up is the port's state and the last byte's age; the last fix is dated on the
// wall clock by its age on the steady one.
TEST(ReceiverMetrics, ASampleOfAWatchedReceiver)
{
    health::LiveHealth live(60, 0.0);
    live.add(sentence("GPGGA,120001,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"), 10.0);
    EXPECT_EQ(sampleOf("p", live, {true, 0}, 12.5, 1000).lastFixUnixSeconds, 997.5);
    struct Case {
        bool open;
        double now;
        bool up;
    };
    for (const Case& c : {Case{true, 15.0, true}, Case{true, 15.5, false}, Case{false, 11.0, false}})
        EXPECT_EQ(sampleOf("p", live, {c.open, 0}, c.now, 0).up, c.up) << c.open << " " << c.now;
    EXPECT_TRUE(sampleOf("p", live, {true, 0}, 11.0, 0).healthy);
}

}  // namespace
}  // namespace veltrane::watch
