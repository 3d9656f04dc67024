// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captures.h"
#include "health_analysis.h"
#include "health_report.h"
#include "live_health.h"
#include "sentence_text.h"
#include "verdict.h"

namespace veltrane::health {
namespace {

using testing::sentence;

// Longer than any UBX frame: whatever a capture leaves undecided at its end
// is decided by the time these have been read, live or not.
const std::string kSettle(65544, '\0');

struct Timed {
    std::string bytes;
    double from, to;  // arrival of its first and last 64-byte chunk
};

void feed(const Timed& part, HealthAnalysis& check, LiveHealth& live)
{
    const std::string bytes = part.bytes + kSettle;
    const std::size_t chunks = (bytes.size() + 63) / 64;
    for (std::size_t i = 0; i < chunks; ++i) {
        const double at = part.from + (part.to - part.from) * static_cast<double>(i) / static_cast<double>(chunks);
        const std::string_view chunk = std::string_view(bytes).substr(i * 64, 64);
        check.add(chunk, at);
        live.add(chunk, at);
    }
}

std::string reportOf(HealthFigures figures) { return jsonReport(figures, judge(figures, {})); }

TEST(LiveHealth, AWindowHoldingEverythingGivesTheWholeCheck)
{
    for (const auto& path : veltrane::testing::capturesUnder(veltrane::testing::projectCaptures())) {
        SCOPED_TRACE(path.filename().string());
        HealthAnalysis check(1000.0);
        LiveHealth live(60, 1000.0);
        feed({veltrane::testing::contentsOf(path), 1000.5, 1058.9}, check, live);
        EXPECT_EQ(reportOf(live.windowFigures(1059.0)), reportOf(check.finish()));
    }
}

TEST(LiveHealth, WhatLeftTheWindowLeavesNoTrace)
{
    const std::string damaged = veltrane::testing::contentsOf(veltrane::testing::projectCaptures() / "bad-and-missing-checksums.log");
    const std::string receiver = veltrane::testing::contentsOf(veltrane::testing::projectCaptures() / "sim-receiver-9600.log");
    HealthAnalysis unused;
    HealthAnalysis laterAlone(1000.0);
    LiveHealth live(60, 1000.0);
    feed({damaged, 1000.0, 1020.0}, unused, live);
    HealthAnalysis discard;
    LiveHealth discardLive(60, 0.0);
    feed({receiver, 1081.0, 1110.0}, laterAlone, discardLive);
    feed({receiver, 1081.0, 1110.0}, discard, live);

    HealthFigures window = live.windowFigures(1140.5);
    HealthFigures alone = laterAlone.finish();
    // Not windowed: the window recognised the receiver in the earlier bytes.
    window.windowRecognises = alone.windowRecognises = false;
    EXPECT_EQ(reportOf(window), reportOf(alone));
    EXPECT_GT(live.counts().checksumErrors, 0u) << "counts since the start keep what left the window";
    EXPECT_EQ(live.windowFigures(1200.0).bytes, 0u);
}

TEST(LiveHealth, CountsSinceTheStartWithABoundedSetOfAddresses)
{
    LiveHealth live(10, 0.0);
    std::string bytes;
    for (int i = 0; i < 70; ++i) bytes += sentence("PX" + std::to_string(i) + ",1");
    bytes += "$GPGGA,1*00\r\n$GPRMC,1,2\x01$G P,1\r\n";
    bytes += std::string("\xB5\x62\x01\x07\x00\x00\x08\x19", 8) + "\x80\x80";
    live.add(bytes, 1.0);
    live.add(sentence("PX3,1") + sentence("PX69,1"), 100.0);

    const RunningCounts& counts = live.counts();
    EXPECT_EQ(counts.bytes, bytes.size() + sentence("PX3,1").size() + sentence("PX69,1").size());
    EXPECT_EQ(counts.sentences.size(), kCountedAddresses);
    EXPECT_EQ(counts.sentences.at("PX3"), 2u);
    EXPECT_EQ(counts.sentences.count("PX69"), 0u);
    EXPECT_EQ(counts.otherSentences, 70 - kCountedAddresses + 1 + 1) << "PX64..PX69, GPGGA, PX69 again";
    EXPECT_EQ(counts.checksumErrors, 1u);
    EXPECT_EQ(counts.cutSentences, 1u);
    EXPECT_EQ(counts.malformedSentences, 1u);
    EXPECT_EQ(counts.ubxFrames, 1u);
    EXPECT_EQ(counts.noiseBytes, 3u) << "the byte that cut GPRMC, and two after the frame";
}

TEST(LiveHealth, LastReadingsAndTheTimeToFirstFixSinceTheLastOpening)
{
    const std::string noFix = sentence("GPGGA,120000,,,,,0,00,,,M,,M,,");
    const std::string fix = sentence("GPGGA,120001,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    const std::string otherFix = sentence("GPGGA,120002,4807.038,N,01131.000,E,2,11,1.3,545.4,M,46.9,M,,");
    LiveHealth live(60, 10.0);
    EXPECT_FALSE(live.fixQuality());
    live.add(noFix, 11.0);
    EXPECT_EQ(live.fixQuality(), 0);
    EXPECT_FALSE(live.satellitesUsed());
    live.add(fix, 12.5);
    live.add(otherFix, 13.5);
    live.add(sentence("GPGGA,120003,,,,,x,00,,,M,,M,,"), 14.0);
    EXPECT_FALSE(live.fixQuality()) << "a quality that is no number";
    EXPECT_EQ(live.satellitesUsed(), 11);
    EXPECT_EQ(live.hdop(), 1.3);
    EXPECT_EQ(live.lastFix(), 13.5);
    EXPECT_EQ(live.ttffSeconds(), 2.5);

    // Half a sentence before the port went away and the rest after it make no sentence.
    live.add(fix.substr(0, 20), 15.0);
    live.reopen(20.0);
    EXPECT_FALSE(live.ttffSeconds());
    live.add(fix.substr(20), 20.5);
    live.add(noFix + fix, 23.0);
    EXPECT_EQ(live.ttffSeconds(), 3.0);
    EXPECT_EQ(live.counts().cutSentences, 0u);
    EXPECT_EQ(live.windowFigures(23.0).ggaCount, 6u);
    EXPECT_EQ(live.lastArrival(), 23.0);

    // A frame the loss cut short is no frame, as at the end of a check.
    live.add(std::string("\xB5\x62\x01\x07\x5C\x00", 6), 24.0);
    const std::uint64_t noise = live.counts().noiseBytes;
    live.portClosed();
    EXPECT_EQ(live.counts().noiseBytes, noise + 6);
}

TEST(LiveHealth, SatellitesInViewOfTheLastCompleteSet)
{
    const auto gsv = [](const std::string& talker, int total, int number, int inView, const std::string& signal) {
        std::string body = talker + "GSV," + std::to_string(total) + "," + std::to_string(number) + "," +
                           std::to_string(inView) + ",01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45";
        return sentence(signal.empty() ? body : body + "," + signal);
    };
    struct Case {
        const char* name;
        std::string bytes;
        ByText<ByText<double>> inView;
    };
    const Case kCases[] = {
        {"a whole set", gsv("GP", 3, 1, 11, "") + gsv("GP", 3, 2, 11, "") + gsv("GP", 3, 3, 11, ""), {{"GP", {{"", 11}}}}},
        {"a set under way shows the one before",
         gsv("GP", 2, 1, 7, "") + gsv("GP", 2, 2, 7, "") + gsv("GP", 2, 1, 9, ""), {{"GP", {{"", 7}}}}},
        {"a lost message", gsv("GP", 3, 1, 11, "") + gsv("GP", 3, 3, 11, ""), {}},
        {"a message twice", gsv("GP", 2, 1, 5, "") + gsv("GP", 2, 1, 5, "") + gsv("GP", 2, 2, 5, ""),
         {{"GP", {{"", 5}}}}},
        {"the total changes", gsv("GP", 2, 1, 5, "") + gsv("GP", 3, 2, 5, "") + gsv("GP", 3, 3, 5, ""), {}},
        {"by talker and signal",
         gsv("GA", 1, 1, 4, "7") + gsv("GA", 1, 1, 6, "1") + gsv("GL", 1, 1, 3, "") + gsv("GA", 2, 1, 8, "7"),
         {{"GA", {{"1", 6}, {"7", 4}}}, {"GL", {{"", 3}}}}},
        {"not numbers", sentence("GPGSV,1,1,x") + sentence("GPGSV,x,1,4") + sentence("GPGSV,1,0,4"), {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        LiveHealth live(60, 0.0);
        live.add(c.bytes, 1.0);
        EXPECT_EQ(live.satellitesInView(2.0), c.inView);
        EXPECT_TRUE(live.satellitesInView(61.0).empty()) << "a signal not heard in the window is gone";
    }
}

}  // namespace
}  // namespace veltrane::health
