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
        {"thresholds that hold",
         [](HealthFigures&, Thresholds& t) { t = {12.5, 3.5, 0.9, 8}; }, {}},
        {"no GGA", [](HealthFigures& f, Thresholds&) { f.ggaCount = f.fixes = 0; },
         {"no fix: the receiver sent no GGA sentence"}},
        {"no fix", [](HealthFigures& f, Thresholds&) { f.fixes = 0; },
         {"no fix: none of the 50 GGA sentences reports one"}},
        {"exactly 1 % invalid", [](HealthFigures&, Thresholds&) {}, {}},
        {"over 1 % invalid", [](HealthFigures& f, Thresholds&) { f.sentences["GPRMC"].checksumInvalid = 2; },
         {"2 of 100 sentences (2.0 %) have an invalid checksum; at most 1 % may"}},
        {"slow first fix", [](HealthFigures&, Thresholds& t) { t.maxTtffSeconds = 10; },
         {"time to first fix (s) 12.5 is above --max-ttff 10"}},
        {"wide scatter", [](HealthFigures&, Thresholds& t) { t.maxCep95Metres = 2.5; },
         {"CEP95 (m) 3.50 is above --max-cep95 2.5"}},
        {"poor HDOP", [](HealthFigures&, Thresholds& t) { t.maxHdop = 0.85; },
         {"median HDOP 0.9 is above --max-hdop 0.85"}},
        {"too few satellites", [](HealthFigures&, Thresholds& t) { t.minSatellites = 9; },
         {"median satellites used 8 is below --min-satellites 9"}},
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
              R"({"count":50,"checksum_invalid":1,"checksum_absent":0}},"talkers":{"GP":100},"gga":{"count":50,)"
              R"("fixes":48,"quality":{"0":2,"1":48}},"position":{"count":48,"mean_lat":52.0907,"mean_lon":5.1214,)"
              R"("cep50_m":1.25,"cep95_m":3.5},"satellites_used":{"min":6,"median":8,"max":9},"hdop":{"min":0.8,)"
              R"("median":0.9,"max":2.5},"ttff_s":12.5,"gga_interval_s":1,"window_recognises":true,)"
              R"("verdict":"pass","reasons":[]})" "\n");

    const HealthFigures nothing;
    EXPECT_EQ(jsonReport(nothing, judge(nothing, {})),
              R"({"bytes":0,"noise_bytes":0,"sentences":{},"talkers":{},"gga":{"count":0,"fixes":0,"quality":{}},)"
              R"("position":{"count":0,"mean_lat":null,"mean_lon":null,"cep50_m":null,"cep95_m":null},)"
              R"("satellites_used":{"min":null,"median":null,"max":null},"hdop":{"min":null,"median":null,)"
              R"("max":null},"ttff_s":null,"gga_interval_s":null,"window_recognises":false,"verdict":"fail",)"
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

}  // namespace
}  // namespace veltrane::health
