// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gsv_sentence.h"
#include "health_analysis.h"
#include "sentence_text.h"

namespace veltrane::health {
namespace {

using Texts = std::vector<std::string_view>;
using testing::sentence;

TEST(Gsv, FieldsByPositionWithAndWithoutASignalId)
{
    struct Case {
        std::string_view body;
        std::string_view messageNumber, inView, signalId;
        Texts prns, cn0s;
    };
    const Case kCases[] = {
        {"GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00", "1", "11", "", {"03", "04", "06", "13"},
         {"00", "00", "00", "00"}},
        {"GAGSV,2,1,08,02,31,293,30,07,37,045,31,08,72,332,35,13,19,095,30,7", "1", "08", "7",
         {"02", "07", "08", "13"}, {"30", "31", "35", "30"}},
        {"GBGSV,3,3,10,21,41,301,35,22,82,135,17,1", "3", "10", "1", {"21", "22"}, {"35", "17"}},
        {"GBGSV,3,3,10,21,41,301,,22,82,135,,", "3", "10", "", {"21", "22"}, {"", ""}},
        {"GPGSV,3,3,10,22,42,067,42,24,14", "3", "10", "", {"22", "24"}, {"42"}},
        {"GLGSV,3,3,09,88,12", "3", "09", "", {"88"}, {}},
        {"GPGSV,2,2,05,09,20,300,35,1", "2", "05", "1", {"09"}, {"35"}},
        {"GPGSV,1,1,00,8", "1", "00", "8", {}, {}},
        {"GPGSV,1,1,00", "1", "00", "", {}, {}},
        {"GPGSV,1", "", "", "", {}, {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.body);
        const GsvSentence gsv = readGsv(c.body);
        EXPECT_EQ(gsv.messageNumber, c.messageNumber);
        EXPECT_EQ(gsv.inView, c.inView);
        EXPECT_EQ(gsv.signalId, c.signalId);
        EXPECT_EQ(gsv.prns, c.prns);
        EXPECT_EQ(gsv.cn0s, c.cn0s);
    }
}

// Satellites are counted once however many sentences name them, satellites
// in view only from a set's first sentence, and C/N0 wherever it is a number.
TEST(Gsv, FiguresPerTalkerAndSignal)
{
    HealthAnalysis analysis;
    analysis.add(sentence("GPGSV,2,1,07,04,62,045,42,07,35,110,39,09,20,300,,16,48,180,44") +
                 sentence("GPGSV,2,2,07,20,15,250,31,23,70,010,45,27,41,075,40") +
                 sentence("GPGSV,2,1,06,04,62,045,41,07,35,110,38,09,20,300,34,16,48,180,43") +
                 sentence("GPGSV,2,2,06,20,15,250,30,23,70,010,44") +
                 sentence("GAGSV,1,1,02,02,44,095,40,07,23,160,35,7") +
                 sentence("GAGSV,1,1,02,02,44,095,33,07,23,160,29,1") + "$GLGSV,1,1,01,65,52,140,41*00\r\n" +
                 sentence("GLGSV,1,1,01,65,52,140,x1,1"));
    const HealthFigures figures = analysis.finish();

    ASSERT_EQ(figures.gsv.size(), 3u);
    const SignalFigures& gps = figures.gsv.at("GP").at("");
    EXPECT_EQ(gps.satellites, 7u);
    ASSERT_TRUE(gps.inView && gps.cn0);
    EXPECT_EQ(gps.inView->min, 6);
    EXPECT_EQ(gps.inView->max, 7);
    EXPECT_EQ(gps.cn0->min, 30);
    EXPECT_EQ(gps.cn0->median, 40);
    EXPECT_EQ(gps.cn0->max, 45);
    const ByText<SignalFigures>& galileo = figures.gsv.at("GA");
    ASSERT_EQ(galileo.size(), 2u);
    EXPECT_EQ(galileo.at("7").cn0->median, 35);
    EXPECT_EQ(galileo.at("1").cn0->median, 29);
    EXPECT_EQ(galileo.at("1").satellites, 2u);
    const SignalFigures& glonass = figures.gsv.at("GL").at("1");
    EXPECT_EQ(glonass.satellites, 1u) << "the GSV with a bad checksum counts nowhere";
    EXPECT_FALSE(glonass.cn0);
    ASSERT_TRUE(figures.cn0);
    EXPECT_EQ(figures.cn0->min, 29);
    EXPECT_EQ(figures.cn0->median, 39);
    EXPECT_EQ(figures.cn0->max, 45);
}

}  // namespace
}  // namespace veltrane::health
