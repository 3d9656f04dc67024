// SPDX-License-Identifier: BSD-2-Clause
#include "receive_ring.h"

#include <gtest/gtest.h>

#include <string>

#include "chunk_replay.h"
#include "monitor_doubles.h"

namespace veltrane {
namespace {

using testing::ChunkInput;
using testing::FieldRecorder;
using namespace std::string_literals;

class ReceiveRingTest : public ::testing::Test {
protected:
    void receive(std::string text) { port.store(ring, std::move(text)); }

    StatusFields fields;
    ReceiveRing ring{fields};
    ChunkInput port;
};

TEST_F(ReceiveRingTest, IndexAdvancesBeforeTheStoreAndWrapsAfterTheTopSlot)
{
    struct Case {
        int stores;
        std::int32_t index;
    };
    constexpr Case kCases[] = {{1, 1}, {2, 2}, {10000, 10000}, {10001, 0}, {10002, 1}, {20002, 0}};
    int done = 0;
    for (const Case& c : kCases) {
        for (; done < c.stores; ++done) receive("chunk " + std::to_string(done + 1));
        EXPECT_EQ(ring.writeIndex(), c.index) << "after " << c.stores << " stores";
        EXPECT_EQ(ring.slot(c.index), "chunk " + std::to_string(c.stores)) << "after " << c.stores << " stores";
        EXPECT_EQ(ring.sequence(c.index), static_cast<std::uint64_t>(c.stores)) << "after " << c.stores << " stores";
    }
}

TEST_F(ReceiveRingTest, SlotZeroStaysEmptyUntilTheFirstWrap)
{
    receive("x");
    EXPECT_EQ(ring.slot(10000), "") << "a slot the writer has not reached yet";
    EXPECT_EQ(ring.sequence(10000), 0u);
    for (int i = 1; i < 10000; ++i) receive("x");
    EXPECT_EQ(ring.slot(0), "");
    EXPECT_EQ(ring.slot(10000), "x");
}

TEST_F(ReceiveRingTest, ALapAheadOverwritesUnreadChunksSilently)
{
    for (int i = 1; i <= 10003; ++i) receive(std::to_string(i));
    EXPECT_EQ(ring.slot(1), "10002");
    EXPECT_EQ(ring.slot(2), "10003");
    EXPECT_EQ(ring.slot(3), "3");
    EXPECT_EQ(fields.read(Field::Quality), "");
}

TEST_F(ReceiveRingTest, ChunksAreStoredByteForByte)
{
    const std::string kChunks[] = {
        "*6A\r\n$GPGGA,1235",
        "$GP\0RMC,\x80\xe9\xff\r\n"s,
        std::string(40000, '$'),
        std::string(1, '\0'),
    };
    for (const std::string& chunk : kChunks) {
        receive(chunk);
        EXPECT_EQ(ring.slot(ring.writeIndex()), chunk);
    }
}

TEST_F(ReceiveRingTest, EventWithNothingWaitingStoresNothingButStillSetsFound)
{
    receive("");
    EXPECT_EQ(ring.writeIndex(), 0);
    EXPECT_EQ(ring.slot(1), "");
    EXPECT_EQ(fields.read(Field::Found), "Yes");
}

TEST_F(ReceiveRingTest, FoundIsWrittenOnlyWhenItReadsExactlyNo)
{
    struct Case {
        std::string before;
        std::string after;
        std::size_t writes;
    };
    const Case kCases[] = {{"No", "Yes", 1}, {"Yes", "Yes", 0}, {"no", "no", 0}, {"NO", "NO", 0}, {"No ", "No ", 0}, {"", "", 0}};
    for (const Case& c : kCases) {
        fields.set(Field::Found, c.before);
        FieldRecorder recorder;
        fields.addObserver(&recorder);
        receive("$GPRMC");
        receive("");
        fields.removeObserver(&recorder);
        EXPECT_EQ(fields.read(Field::Found), c.after) << "before: '" << c.before << "'";
        EXPECT_EQ(recorder.count(Field::Found), c.writes) << "before: '" << c.before << "'";
    }
}

TEST_F(ReceiveRingTest, FailedCountQueryStoresNothingAndShowsTheCause)
{
    receive("first");
    port.failCount = true;
    receive("second");
    EXPECT_EQ(ring.writeIndex(), 1);
    EXPECT_EQ(ring.slot(2), "");
    EXPECT_EQ(fields.read(Field::Found), "Yes") << "set by the first event, untouched by the failed one";
    EXPECT_EQ(fields.read(Field::Quality), "count refused: the port was closed underneath");

    StatusFields fresh;
    ReceiveRing freshRing(fresh);
    freshRing.store(port);
    EXPECT_EQ(fresh.read(Field::Found), "No");
}

TEST_F(ReceiveRingTest, FailedReadKeepsTheAdvanceAndLeavesNoStaleChunkBehind)
{
    for (int i = 0; i < 10001; ++i) receive("old lap");
    port.failInput = true;
    receive("lost");
    EXPECT_EQ(ring.writeIndex(), 1);
    EXPECT_EQ(ring.slot(1), "") << "a chunk from a lap ago would be read a second time";
    EXPECT_EQ(fields.read(Field::Quality), "read refused: the device was unplugged");

    port.failInput = false;
    receive("next");
    EXPECT_EQ(ring.writeIndex(), 2);
    EXPECT_EQ(ring.slot(2), "next");
}

}  // namespace
}  // namespace veltrane
