// SPDX-License-Identifier: BSD-2-Clause
// Every capture through the health check: no crash (the sanitizer build runs
// this too), the same figures however the bytes arrive, and figures that
// agree with each other and with a plain count of the file's line ends.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "captures.h"
#include "health_analysis.h"
#include "health_report.h"
#include "verdict.h"

namespace veltrane::health {
namespace {

using testing::capturesUnder;
using testing::contentsOf;

std::string reportOf(const std::string& file, std::size_t chunkBytes)
{
    HealthAnalysis analysis;
    for (std::size_t at = 0; at < file.size(); at += chunkBytes)
        analysis.add(std::string_view(file).substr(at, chunkBytes));
    const HealthFigures figures = analysis.finish();
    return jsonReport(figures, judge(figures, {}));
}

// Each sentence, malformed or not, ends at a CR or LF of its own.
std::uint64_t lineEnds(const std::string& file)
{
    return static_cast<std::uint64_t>(std::count(file.begin(), file.end(), '\r') + std::count(file.begin(), file.end(), '\n'));
}

void checkEach(const std::vector<std::filesystem::path>& paths)
{
    for (const auto& path : paths) {
        SCOPED_TRACE(path.filename().string());
        const std::string file = contentsOf(path);
        HealthAnalysis analysis;
        analysis.add(file);
        const HealthFigures figures = analysis.finish();

        EXPECT_EQ(figures.bytes, file.size());
        EXPECT_LE(figures.noiseBytes, figures.bytes);
        EXPECT_LE(figures.sentenceCount() + figures.malformedSentences, lineEnds(file));
        EXPECT_LE(figures.checksumInvalidCount(), figures.sentenceCount());
        EXPECT_LE(figures.fixes, figures.ggaCount);
        EXPECT_LE(figures.positionCount, figures.fixes);
        std::uint64_t qualities = 0;
        for (const auto& [text, count] : figures.quality) qualities += count;
        EXPECT_EQ(qualities, figures.ggaCount);
        if (figures.scatter) {
            EXPECT_LE(figures.scatter->cep50, figures.scatter->cep95);
        }
        EXPECT_LE(figures.damagedShare().value_or(0), 1.0);
        EXPECT_FALSE(textReport(figures, judge(figures, {}), path.filename().string()).empty());

        const std::string whole = jsonReport(figures, judge(figures, {}));
        for (const std::size_t chunkBytes : {std::size_t{1}, std::size_t{7}, std::size_t{64}, std::size_t{4096}})
            EXPECT_EQ(reportOf(file, chunkBytes), whole) << "in chunks of " << chunkBytes;
    }
}

TEST(HealthCaptures, TheProjectsOwnCapturesGiveOneReportHoweverTheyArrive)
{
    const auto paths = capturesUnder(testing::projectCaptures());
    ASSERT_GE(paths.size(), 12u) << "the project's captures are missing from " << testing::projectCaptures();
    checkEach(paths);
}

// A receiver that sends NMEA and UBX on one port, as a u-blox one does.
TEST(HealthCaptures, SentencesWithUbxFramesBetweenThemPass)
{
    HealthAnalysis analysis;
    analysis.add(contentsOf(testing::projectCaptures() / "sim-gn-ubx-9600.log"));
    const HealthFigures figures = analysis.finish();
    EXPECT_TRUE(judge(figures, {}).pass) << jsonReport(figures, judge(figures, {}));
    EXPECT_EQ(figures.damagedCount(), 0u);
    EXPECT_EQ(figures.noiseBytes, 0u);
    EXPECT_GE(figures.ubxFrames.at("01-07"), 8u);
    EXPECT_GE(figures.ubxFrames.at("01-35"), 8u);
    EXPECT_EQ(figures.gsv.size(), 3u) << "GPS, GLONASS and Galileo";
}

TEST(HealthCaptures, EveryCorpusCaptureGivesOneReportHoweverItArrives)
{
    if (!std::filesystem::is_directory(testing::corpusFolder()))
        GTEST_SKIP() << testing::corpusFolder() << " not found: the corpus of real captures is optional "
                     << "(its place is the CMake cache variable VELTRANE_CORPUS_DIR)";
    const auto paths = capturesUnder(testing::corpusFolder());
    ASSERT_GT(paths.size(), 100u);
    checkEach(paths);
}

}  // namespace
}  // namespace veltrane::health
