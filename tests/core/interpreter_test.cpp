// SPDX-License-Identifier: BSD-2-Clause
#include "sentence_interpreter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "monitor_doubles.h"

namespace veltrane {
namespace {

using Writes = std::vector<std::pair<Field, std::string>>;

// Each read is one second later, so the two reads of a call can be told apart.
class SteppingClock final : public Clock {
public:
    LocalTime now() const override { return {2026, 12, 7, 14, 3, second_++}; }

private:
    mutable int second_ = 0;
};

struct Outcome {
    Writes writes;
    std::vector<std::string> rows;  // newest first, "time|data"
};

Outcome interpret(const std::vector<std::string>& sentences)
{
    StatusFields fields;
    SentenceLog log;
    SteppingClock clock;
    SentenceInterpreter interpreter(fields, log, clock);
    testing::FieldRecorder recorder;
    fields.addObserver(&recorder);
    for (std::string sentence : sentences) interpreter.process(sentence);
    Outcome outcome{recorder.writes, {}};
    for (std::size_t i = 0; i < log.size(); ++i)
        outcome.rows.push_back(formatTimestamp(log.row(i).time) + "|" + std::string(log.row(i).data));
    return outcome;
}

const std::string kTime0 = "07/12/2026 14:03:00";
const std::string kTime1 = "07/12/2026 14:03:01";

struct Case {
    const char* name;
    std::string sentence;
    Writes writes;
    bool logged;
};

std::string gga(const std::string& fields) { return "$GPGGA," + fields; }

Writes ggaReadout(std::string time, std::string lat, std::string lon, std::string quality,
                  std::string sats, std::string hdop, std::string alt)
{
    return {{Field::UtcTime, time},      {Field::Latitude, lat}, {Field::Longitude, lon},
            {Field::Quality, quality},   {Field::Satellites, sats}, {Field::Hdop, hdop},
            {Field::Altitude, alt},      {Field::IsGps, "Yes"}, {Field::Updated, kTime1}};
}

Writes plus(Writes writes, const Writes& more)
{
    writes.insert(writes.end(), more.begin(), more.end());
    return writes;
}

const Writes kRecognised = {{Field::IsGps, "Yes"}, {Field::Updated, kTime1}};
const Writes kFailed = {{Field::IsGps, "No"}};
const Writes kUtc = {{Field::UtcTime, "12:35:19."}};
const Writes kLat = {{Field::Latitude, "4807.0380 N"}};
const Writes kLon = {{Field::Longitude, "1131.0000 E"}};
const Writes kFix = {{Field::Quality, "Non-Differential Fix Acquired"}};
const Writes kSats = {{Field::Satellites, "8 satellites"}};
const Writes kHdop = {{Field::Hdop, "0.9 m"}};

const std::string kRmc = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";

TEST(Interpreter, WritesExactlyWhatEachSentenceCallsFor)
{
    const Case cases[] = {
        {"lone dollar", "$", {}, false},
        {"no dollar", kRmc, {}, false},
        {"rmc", "$" + kRmc, kRecognised, true},
        {"lower-case identifier", "$gprmc,1", kRecognised, true},
        {"rmb vtg gsa", "$GPRMB,x", kRecognised, true},
        {"rmc without comma", "$GPRMC", kRecognised, true},
        {"other talker", "$GNRMC,1", {{Field::Updated, kTime0}}, false},
        {"unknown", "$PGRME,1", {{Field::Updated, kTime0}}, false},
        {"gga example", gga("123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47"),
         ggaReadout("12:35:19.", "4807.0380 N", "1131.0000 E", "Non-Differential Fix Acquired",
                    "8 satellites", "0.9 m", "545.4 m"), true},
        {"six letters count as gga", "$GPGGAX,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M",
         ggaReadout("12:35:19.", "4807.0380 N", "1131.0000 E", "Non-Differential Fix Acquired",
                    "8 satellites", "0.9 m", "545.4 m"), true},
        {"rounding", gga("092750.5,4807.03805,S,1.5,W,2,7.5,1.25,-12.25"),
         ggaReadout("09:27:50.5", "4807.0381 S", "1.5000 W", "Differential Fix Acquired",
                    "8 satellites", "1.3 m", "-12.3 m"), true},
        {"half to even, negative zero", gga("092750.000,0,N,0,E,0,8.5,99.99,-0.04"),
         ggaReadout("09:27:50.00", "0.0000 N", "0.0000 E", "No Fix Acquired", "8 satellites",
                    "100.0 m", "-0.0 m"), true},
        {"odd quality and empty time", gga(",1,N,2,E,01,3,4,5"),
         ggaReadout("::.", "1.0000 N", "2.0000 E", "Invalid Response from GPS", "3 satellites",
                    "4.0 m", "5.0 m"), true},
        {"gga no comma", "$GPGGA", kFailed, false},
        {"no fix", "$GPGGA,092750.000,,,,,0,00,,,M,,M,,*71",
         {{Field::UtcTime, "09:27:50.00"}, {Field::IsGps, "No"}}, false},
        {"field 2 missing", gga("123519"), plus(kUtc, kFailed), false},
        {"field 3 missing", gga("123519,4807.038"), plus(kUtc, kFailed), false},
        {"field 4 not a number", gga("123519,4807.038,N,E"), plus(plus(kUtc, kLat), kFailed), false},
        {"field 5 missing", gga("123519,4807.038,N,01131.000"), plus(plus(kUtc, kLat), kFailed), false},
        {"field 6 missing", gga("123519,4807.038,N,01131.000,E"),
         plus(plus(plus(kUtc, kLat), kLon), kFailed), false},
        {"field 7 out of range", gga("123519,4807.038,N,01131.000,E,1,40000"),
         plus(plus(plus(plus(kUtc, kLat), kLon), kFix), kFailed), false},
        {"field 8 empty", gga("123519,4807.038,N,01131.000,E,1,08,"),
         plus(plus(plus(plus(plus(kUtc, kLat), kLon), kFix), kSats), kFailed), false},
        {"field 9 missing", gga("123519,4807.038,N,01131.000,E,1,08,0.9"),
         plus(plus(plus(plus(plus(plus(kUtc, kLat), kLon), kFix), kSats), kHdop), kFailed), false},
        {"gsv", "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75",
         {{Field::InView, "8 satellites"}, {Field::Updated, kTime0}}, false},
        {"gsv checksum on field 3", "$GPGSV,1,1,00*79", kFailed, false},
        {"gsv field 3 missing", "$GPGSV,1,1", kFailed, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = interpret({c.sentence});
        EXPECT_EQ(outcome.writes, c.writes);
        if (c.logged) {
            ASSERT_EQ(outcome.rows.size(), 1u);
            EXPECT_EQ(outcome.rows[0], kTime0 + "|" + c.sentence.substr(1));
        } else {
            EXPECT_TRUE(outcome.rows.empty());
        }
    }
}

TEST(Interpreter, KeepsDeviceBytesAndLineEndsInTheLog)
{
    const std::string raw = std::string("$GPVTG,\0\xe9\xff<b>x</b>\r\n", 18);
    const Outcome outcome = interpret({raw, "$GPRMC,second"});
    ASSERT_EQ(outcome.rows.size(), 2u);
    EXPECT_EQ(outcome.rows[0], "07/12/2026 14:03:02|GPRMC,second");
    EXPECT_EQ(outcome.rows[1], kTime0 + "|" + raw.substr(1));
}

TEST(Interpreter, RemovesTheDollarFromTheCallersText)
{
    StatusFields fields;
    SentenceLog log;
    SteppingClock clock;
    SentenceInterpreter interpreter(fields, log, clock);
    std::string sentence = "$GPRMC,1";
    interpreter.process(sentence);
    EXPECT_EQ(sentence, "GPRMC,1");
    std::string untouched = "GPRMC,1";
    interpreter.process(untouched);
    EXPECT_EQ(untouched, "GPRMC,1");
    EXPECT_EQ(log.size(), 1u);
}

}  // namespace
}  // namespace veltrane
