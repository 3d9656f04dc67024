// SPDX-License-Identifier: BSD-2-Clause
#include "sentence_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor_doubles.h"

namespace veltrane {
namespace {

using testing::rowsOldestFirst;
using namespace std::string_literals;

class LogRecorder final : public LogObserver {
public:
    void rowInserted(const LogRow& row) override { events.push_back(formatTimestamp(row.time) + "|" + std::string(row.data)); }
    void cleared() override { events.emplace_back("clear"); }
    std::vector<std::string> events;
};

constexpr LocalTime kNoon{2026, 12, 7, 12, 0, 0};

TEST(SentenceLog, NewestRowComesFirst)
{
    SentenceLog log;
    log.insertFirst({2026, 12, 7, 14, 3, 58}, "GPRMC,A");
    log.insertFirst({2026, 12, 7, 14, 3, 59}, "GPGGA,B");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log.row(0).data, "GPGGA,B");
    EXPECT_EQ(formatTimestamp(log.row(0).time), "07/12/2026 14:03:59");
    EXPECT_EQ(log.row(1).data, "GPRMC,A");
    EXPECT_EQ(formatTimestamp(log.row(1).time), "07/12/2026 14:03:58");
}

TEST(SentenceLog, TimesSurviveStorage)
{
    const LocalTime kTimes[] = {
        {2026, 12, 31, 23, 59, 59}, {2000, 1, 1, 0, 0, 0}, {1999, 2, 28, 12, 30, 1}, {9999, 9, 9, 9, 9, 9},
    };
    SentenceLog log;
    for (const LocalTime& time : kTimes) {
        log.insertFirst(time, "GPVTG");
        EXPECT_EQ(formatTimestamp(log.row(0).time), formatTimestamp(time));
    }
}

// Short rows share blocks, long ones get their own; mixing them must keep
// every row's bytes, also rows stored long before.
TEST(SentenceLog, RowsOfAnyLengthKeepTheirBytes)
{
    std::vector<std::string> texts = {
        "",
        "GPRMC,\0\x80\xe9\xff*6A\r\n"s,
        std::string(300 * 1024, 'L'),
        "GPGSA,short",
        std::string(2 * 1024 * 1024, 'M'),
        "GPVTG,after",
    };
    for (int i = 0; i < 20000; ++i) texts.push_back("GPRMC," + std::to_string(i) + std::string(static_cast<std::size_t>(i % 97), 'p'));
    texts.push_back(std::string(256 * 1024 + 1, 'N'));
    texts.push_back("GPGGA,last");

    SentenceLog log;
    const std::string_view firstView = [&] {
        log.insertFirst(kNoon, texts[1]);
        return log.row(0).data;
    }();
    for (std::size_t i = 2; i < texts.size(); ++i) log.insertFirst(kNoon, texts[i]);
    texts.erase(texts.begin());
    EXPECT_EQ(firstView, texts[0]) << "a row's view stays valid while rows are added";
    EXPECT_EQ(rowsOldestFirst(log), texts);

    SentenceLog emptyRow;
    emptyRow.insertFirst(kNoon, "");
    EXPECT_EQ(emptyRow.row(0).data, "");

    const std::string wide(200 * 1024, 'W');  // shared, yet more than a first block holds
    SentenceLog wideFirst;
    wideFirst.insertFirst(kNoon, wide);
    wideFirst.insertFirst(kNoon, "GPGSA,next");
    EXPECT_EQ(rowsOldestFirst(wideFirst), (std::vector<std::string>{wide, "GPGSA,next"}));
}

TEST(SentenceLog, ClearEmptiesAndTheLogFillsAgain)
{
    SentenceLog log;
    for (int i = 0; i < 5000; ++i) log.insertFirst(kNoon, "GPRMC," + std::to_string(i));
    log.clear();
    EXPECT_TRUE(log.empty());
    log.clear();
    EXPECT_TRUE(log.empty());
    log.insertFirst(kNoon, "GPGSA,again");
    EXPECT_EQ(rowsOldestFirst(log), std::vector<std::string>{"GPGSA,again"});
}

TEST(SentenceLog, ObserversSeeInsertsAndClearsInOrder)
{
    SentenceLog log;
    LogRecorder kept;
    LogRecorder removed;
    log.addObserver(&kept);
    log.addObserver(&removed);
    log.insertFirst(kNoon, "GPRMC,1");
    log.removeObserver(&removed);
    log.clear();
    log.insertFirst({2026, 1, 2, 3, 4, 5}, "GPVTG,\0\xff"s);

    EXPECT_EQ(removed.events, std::vector<std::string>{"07/12/2026 12:00:00|GPRMC,1"});
    EXPECT_EQ(kept.events, (std::vector<std::string>{"07/12/2026 12:00:00|GPRMC,1", "clear",
                                                     "02/01/2026 03:04:05|GPVTG,\0\xff"s}));

    // A log nobody reads back still tells its observers, and holds nothing.
    log.keepNoRows();
    log.insertFirst(kNoon, "GPGGA,2");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(kept.events.back(), "07/12/2026 12:00:00|GPGGA,2");
}

}  // namespace
}  // namespace veltrane
