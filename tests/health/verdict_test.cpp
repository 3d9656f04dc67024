// SPDX-License-Identifier: BSD-2-Clause
#include "verdict.h"

#include <gtest/gtest.h>

#include <limits>

#include "health_report.h"

namespace veltrane::health {
namespace {

HealthFigures healthy()
{
    HealthFigures figures;
    figures.bytes = 4200;
    figures.sentences = {{"GPGGA", {50, 0, 0}}, {"GPRMC", {50, 1, 0}}};
    figures.talkers = {{"GP", 100}};
    figures.ggaCount = 50;
    figures.fixes = 48;
    figures.quality = {{"0", 2}, {"1", 48}};
    figures.positionCount = 48;
    figures.scatter = Scatter{52.0907, 5.1214, 1.25, 3.5};
    figures.satellitesUsed = Spread{6, 8, 9};
    figures.hdop = Spread{0.8, 0.9, 2.5};
    figures.ubxFrames = {{"01-07", 3}};
    figures.rtcm3Frames = {{"1005", 2}};
    figures.gsv = {{"GP", {{"", {Spread{8, 8, 9}, Spread{20, 38, 47}, 9}}}}};
    figures.cn0 = Spread{20, 38, 47};
    figures.ttffSeconds = 12.5;
    figures.ggaIntervalSeconds = 1.0;
    figures.windowRecognises = true;
    return figures;
}

TEST(Verdict, FixedRulesAndThresholds)
{
    struct Case {
        const char* name;
        void (*change)(HealthFigures&, Thresholds&);
        std::vector<std::string> reasons;
    };
    const Case kCases[] = {
        {"healthy", [](HealthFigures&, Thresholds&) {}, {}},
        {"thresholds that hold", [](HealthFigures&, Thresholds& t) { t = {12.5, 3.5, 0.9, 8, 38}; }, {}},
        {"no GGA",
         [](HealthFigures& f, Thresholds&) {
             f.sentences = {{"GPRMC", {50, 0, 0}}};
             f.ggaCount = f.fixes = 0;
         },
         {"no fix: the receiver sent no GGA sentence"}},
        {"GGA sentences all with an invalid checksum",
         [](HealthFigures& f, Thresholds&) {
             f.sentences = {{"GPGGA", {1, 1, 0}}, {"GPRMC", {199, 0, 0}}};
             f.ggaCount = f.fixes = 0;
         },
         {"no fix: 1 GGA sentence, with an invalid checksum"}},
        {"no fix",
         [](HealthFigures& f, Thresholds&) {
             f.fixes = 0;
             f.quality = {{"0", 2}, {"8", 48}};
         },
         {"no fix: none of the 50 GGA sentences reports one (quality 0 no fix: 2, 8 simulation: 48)"}},
        {"bytes but no sentence",
         [](HealthFigures& f, Thresholds&) {
             f = HealthFigures{};
             f.bytes = 1480;
         },
         {"no sentence in 1480 bytes: the line speed may be wrong"}},
        {"binary frames but no sentence",
         [](HealthFigures& f, Thresholds&) {
             f = HealthFigures{};
             f.bytes = 1480;
             f.ubxFrames = {{"01-07", 5}};
         },
         {"no sentence in 1480 bytes, only binary frames: the receiver's NMEA output may be off"}},
        {"damaged sentences only",
         [](HealthFigures& f, Thresholds&) {
             f = HealthFigures{};
             f.bytes = 500;
             f.malformedSentences = 2;
         },
         {"no fix: the receiver sent no GGA sentence",
          "2 of 2 sentences (100.0 %: 2 malformed) are damaged; at most 1 % may"}},
        {"exactly 1 % damaged", [](HealthFigures&, Thresholds&) {}, {}},
        {"just over 1 % damaged", [](HealthFigures& f, Thresholds&) { f.sentences["GPGSV"] = {9900, 100, 0}; },
         {"101 of 10000 sentences (1.01 %: 101 with an invalid checksum) are damaged; at most 1 % may"}},
        {"cut short and malformed are damaged",
         [](HealthFigures& f, Thresholds&) {
             f.cutSentences = 1;
             f.malformedSentences = 1;
         },
         {"3 of 102 sentences (2.9 %: 1 with an invalid checksum, 1 cut short, 1 malformed) are damaged; at most 1 % "
          "may"}},
        {"slow first fix", [](HealthFigures&, Thresholds& t) { t.maxTtffSeconds = 10; },
         {"time to first fix (s) 12.5 is above --max-ttff 10"}},
        {"wide scatter", [](HealthFigures&, Thresholds& t) { t.maxCep95Metres = 2.5; },
         {"CEP95 (m) 3.50 is above --max-cep95 2.5"}},
        {"poor HDOP", [](HealthFigures&, Thresholds& t) { t.maxHdop = 0.85; },
         {"median HDOP 0.9 is above --max-hdop 0.85"}},
        {"too few satellites", [](HealthFigures&, Thresholds& t) { t.minSatellites = 9; },
         {"median satellites used 8 is below --min-satellites 9"}},
        {"weak signals", [](HealthFigures&, Thresholds& t) { t.minCn0 = 40; },
         {"median C/N0 (dB-Hz) 38 is below --min-cn0 40"}},
        {"no C/N0 reported",
         [](HealthFigures& f, Thresholds& t) {
             f.cn0.reset();
             t.minCn0 = 30;
         },
         {"no C/N0 in any GSV sentence to compare with --min-cn0 30"}},
        {"a threshold with nothing to compare",
         [](HealthFigures& f, Thresholds& t) {
             f.ttffSeconds.reset();
             t.maxTtffSeconds = 30;
         },
         {"no time to first fix (s) to compare with --max-ttff 30"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        HealthFigures figures = healthy();
        Thresholds thresholds;
        c.change(figures, thresholds);
        const Verdict verdict = judge(figures, thresholds);
        EXPECT_EQ(verdict.reasons, c.reasons);
        EXPECT_EQ(verdict.pass, c.reasons.empty());
    }
}

TEST(HealthReport, JsonNamesEveryFigureAndNullsWhatIsUnknown)
{
    HealthFigures figures = healthy();
    figures.sentences["GP\"GGA\x01"] = {1, 0, 1};
    EXPECT_EQ(jsonReport(figures, judge(figures, {})),
              R"({"bytes":4200,"noise_bytes":0,"sentences":{"GP\"GGA\u0001":{"count":1,"checksum_invalid":0,)"
              R"("checksum_absent":1},"GPGGA":{"count":50,"checksum_invalid":0,"checksum_absent":0},"GPRMC":)"
              R"({"count":50,"checksum_invalid":1,"checksum_absent":0}},"damaged":{"cut":0,"malformed":0},)"
              R"("damaged_share":0.009900990099009901,"binary":{"ubx":{"01-07":3},"rtcm3":{"1005":2}},)"
              R"("talkers":{"GP":100},"gga":{"count":50,)"
              R"("fixes":48,"quality":{"0":2,"1":48}},"position":{"count":48,"mean_lat":52.0907,"mean_lon":5.1214,)"
              R"("cep50_m":1.25,"cep95_m":3.5},"satellites_used":{"min":6,"median":8,"max":9},"hdop":{"min":0.8,)"
              R"("median":0.9,"max":2.5},"gsv":{"GP":{"":{"in_view":{"min":8,"median":8,"max":9},"cn0":{"min":20,)"
              R"("median":38,"max":47},"satellites":9}}},"cn0":{"min":20,"median":38,"max":47},"ttff_s":12.5,)"
              R"("gga_interval_s":1,"window_recognises":true,"verdict":"pass","reasons":[]})" "\n");

    const HealthFigures nothing;
    EXPECT_EQ(jsonReport(nothing, judge(nothing, {})),
              R"({"bytes":0,"noise_bytes":0,"sentences":{},"damaged":{"cut":0,"malformed":0},"damaged_share":null,)"
              R"("binary":{"ubx":{},"rtcm3":{}},"talkers":{},"gga":{"count":0,"fixes":0,"quality":{}},)"
              R"("position":{"count":0,"mean_lat":null,"mean_lon":null,"cep50_m":null,"cep95_m":null},)"
              R"("satellites_used":{"min":null,"median":null,"max":null},"hdop":{"min":null,"median":null,)"
              R"("max":null},"gsv":{},"cn0":{"min":null,"median":null,"max":null},"ttff_s":null,)"
              R"("gga_interval_s":null,"window_recognises":false,"verdict":"fail",)"
              R"("reasons":["no fix: the receiver sent no GGA sentence"]})" "\n");
}

TEST(HealthReport, JsonWritesNullForWhatNoJsonNumberHolds)
{
    HealthFigures figures = healthy();
    figures.scatter = Scatter{52.0907, 5.1214, std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN()};
    figures.hdop = Spread{0.8, 0.9, std::numeric_limits<double>::infinity()};
    const std::string json = jsonReport(figures, judge(figures, {}));
    EXPECT_NE(json.find(R"("mean_lat":52.0907,"mean_lon":5.1214,"cep50_m":null,"cep95_m":null})"), std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("hdop":{"min":0.8,"median":0.9,"max":null})"), std::string::npos) << json;
}

TEST(HealthReport, APersonIsToldWhenTheWindowWouldNotRecogniseTheReceiver)
{
    HealthFigures figures = healthy();
    figures.windowRecognises = false;
    const std::string text = textReport(figures, judge(figures, {}), "capture 'gn.log'");
    EXPECT_EQ(text.substr(0, text.find('\n')), "Receiver health check of capture 'gn.log': PASS");
    // A GP receiver without a fix is not recognised either, so the cause is
    // told without naming a talker.
    EXPECT_NE(text.find("  Window:             would not recognise it as GPS: no sentence it sent turned the "
                        "window's indicator to \"Yes\" (this alone is not a failure)\n"),
              std::string::npos)
        << text;
}

// Constellations and qualities by name, binary frames and damage in one line each.
TEST(HealthReport, APersonReadsWhatTheFiguresMean)
{
    HealthFigures figures = healthy();
    figures.gsv["GA"] = {{"1", {std::nullopt, Spread{30, 35, 40}, 4}}, {"7", {std::nullopt, std::nullopt, 1}}};
    figures.gsv["QZ"] = {{"", {std::nullopt, std::nullopt, 2}}};
    figures.cutSentences = 1;
    figures.quality = {{"1", 48}, {"8", 2}};
    const std::string text = textReport(figures, judge(figures, {}), "capture 'x.log'");
    for (const char* line : {
             "  Damaged:            2 of 101 sentences (2.0 %: 1 with an invalid checksum, 1 cut short)\n",
             "  Binary frames:      UBX 01-07 3, RTCM 3 1005 2\n",
             "  GGA:                50 sentences, 48 with a fix; quality 1 GNSS: 48, 8 simulation: 2\n",
             "  Galileo (GA):       signal 1: 4 satellites, C/N0 30 / 35 / 40 dB-Hz; signal 7: 1 satellite, no C/N0\n",
             "  GPS (GP):           9 satellites, C/N0 20 / 38 / 47 dB-Hz\n",
             "  QZ:                 2 satellites, no C/N0\n",
             "  C/N0:               20 / 38 / 47 dB-Hz (min / median / max of every signal)\n",
         })
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
}

}  // namespace
}  // namespace veltrane::health
