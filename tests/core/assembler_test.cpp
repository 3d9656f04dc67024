// SPDX-License-Identifier: BSD-2-Clause
#include "sentence_assembler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "chunk_replay.h"
#include "fixed_clock.h"
#include "monitor.h"
#include "monitor_doubles.h"

namespace veltrane {
namespace {

using testing::ChunkInput;
using testing::FieldRecorder;
using testing::FixedClock;
using testing::rowsOldestFirst;
using testing::ScriptedPump;
using Rows = std::vector<std::string>;
using namespace std::string_literals;

// A pass cuts its scan at each yield: these make it scan a character, a few
// characters, or a whole chunk at a time.
constexpr std::size_t kYieldSpacings[] = {1, 3, std::numeric_limits<std::size_t>::max()};

// A monitor with a port whose text the test supplies.
struct Rig {
    void receive(std::string text) { port.store(m.ring, std::move(text)); }

    void tick() { m.assembler.tick(); }

    void feed(const std::vector<std::string>& chunks)
    {
        for (const std::string& chunk : chunks) testing::storeThenPass(m, chunk);
    }

    // Stores numbered chunks without "$" until the write index is `target`.
    void storeUntil(std::int32_t target)
    {
        while (m.ring.writeIndex() != target) {
            std::string numbered(1, '<');
            numbered += std::to_string(++stored);
            numbered += '>';
            receive(std::move(numbered));
        }
    }

    std::string slots(std::int32_t first, std::int32_t last) const
    {
        std::string text;
        for (std::int32_t i = first; i <= last; ++i) text += m.ring.slot(i);
        return text;
    }

    // What one pass appends to the sentence, every chunk lacking "$".
    std::string textOfOnePass()
    {
        const std::size_t before = m.assembler.sentence().size();
        tick();
        return m.assembler.sentence().substr(before);
    }

    Rows rows() const { return rowsOldestFirst(m.log); }

    // Chunks that cut every sentence in two: chunk n ends sentence n and
    // begins sentence n + 1, which therefore reads "GPVTG,n,n*" only when both
    // halves come from consecutive chunks.
    void storeCutSentences(int count)
    {
        for (int i = 0; i < count; ++i, ++cut) receive(std::to_string(cut) + "*\r\n$GPVTG," + std::to_string(cut + 1) + ",");
    }
    static Rows wholeSentences(int first, int last)
    {
        Rows rows;
        for (int n = first; n <= last; ++n) rows.push_back("GPVTG," + std::to_string(n) + "," + std::to_string(n) + "*");
        return rows;
    }

    FixedClock clock;
    ScriptedPump pump;
    Monitor m{clock, pump};
    ChunkInput port;
    int stored = 0;
    int cut = 0;
};

TEST(Assembler, PassesReadTheSlotsTheWrapRuleNames)
{
    struct Case {
        const char* name;
        std::int32_t read;
        std::int32_t write;
        std::int32_t first;  // slots the pass reads; none when first > last
        std::int32_t last;
        std::int32_t readAfter;
    };
    constexpr Case kCases[] = {
        {"first pass after start, nothing stored", 0, 0, 0, 0, 1},
        {"nothing stored since the last pass", 50, 49, 1, 0, 50},
        {"plain stretch", 7, 20, 7, 20, 21},
        {"write index 10000", 9995, 10000, 9995, 10000, 0},
        {"wrapped to slot 3", 9990, 3, 9990, 10000, 0},
        {"eleven below the read index is a wrap", 50, 39, 50, 10000, 0},
        {"ten below the read index reads nothing", 50, 40, 1, 0, 50},
        // Caught up after a pass through the top slot: reading 0..10000 here
        // would replay the whole previous lap on every idle tick.
        {"caught up at the top slot", 0, 10000, 1, 0, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        if (c.read == 0 && c.write == ReceiveRing::kLastSlot) {
            rig.storeUntil(ReceiveRing::kLastSlot - 1);
            rig.tick();
            rig.storeUntil(ReceiveRing::kLastSlot);
            rig.tick();
        } else if (c.read != 0) {
            rig.storeUntil(c.read - 1);
            rig.tick();
            rig.storeUntil(c.write);
        }
        ASSERT_EQ(rig.m.assembler.readIndex(), c.read);
        ASSERT_EQ(rig.m.ring.writeIndex(), c.write);
        const std::string expected = c.first <= c.last ? rig.slots(c.first, c.last) : "";
        EXPECT_EQ(rig.textOfOnePass(), expected);
        EXPECT_EQ(rig.m.assembler.readIndex(), c.readAfter);
        EXPECT_EQ(rig.slots(c.first, c.last), expected) << "reading a slot must not clear it";
    }
}

TEST(Assembler, AfterATopSlotPassTheNextStartsAtSlotZero)
{
    Rig rig;
    rig.storeUntil(9989);
    rig.tick();
    rig.storeUntil(3);
    EXPECT_EQ(rig.textOfOnePass(), rig.slots(9990, 10000));
    EXPECT_EQ(rig.textOfOnePass(), rig.slots(0, 3));
    EXPECT_EQ(rig.m.assembler.readIndex(), 4);
    EXPECT_EQ(rig.textOfOnePass(), "");
}

TEST(Assembler, ASentenceCutByTheWrapComesOutWhole)
{
    for (std::size_t spacing : kYieldSpacings) {
        SCOPED_TRACE(spacing);
        Rig rig;
        rig.m.assembler.setCharactersPerYield(spacing);
        rig.storeUntil(9998);
        rig.tick();
        for (const char* chunk : {"x$GPRMC,", "1\r\n$GPV", "TG,2", "\r\n$GPGSA,3\r\n$"}) rig.receive(chunk);
        ASSERT_EQ(rig.m.ring.writeIndex(), 1);
        rig.tick();
        rig.tick();
        EXPECT_EQ(rig.rows(), (Rows{"GPRMC,1", "GPVTG,2", "GPGSA,3"}));
    }
}

TEST(Assembler, SentencesAreCutAtEveryDollar)
{
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
        Rows rows;
        std::string sentence;
    };
    const Case kCases[] = {
        {"a chunk without $ goes in whole, line ends included",
         {"x$GPRMC,1", "\r\n", "\r\n", "$"}, {"GPRMC,1\r\n\r\n"}, "$"},
        {"line ends are dropped from chunks with $",
         {"x$GPRMC,A", "B*6A\r\n$GPVTG,C"}, {"GPRMC,AB*6A"}, "$GPVTG,C"},
        {"line ends inside a sentence are dropped too",
         {"x$GP\rR\nMC,\n\r1\r\n\r\n$GPVTG,2\r$"}, {"GPRMC,1", "GPVTG,2"}, "$"},
        {"a single $ hands on what was collected", {"x$GPGSA,1", "$"}, {"GPGSA,1"}, "$"},
        {"two $ in a row hand on a bare $, which is ignored", {"x$GPRMC,1$$GPVTG,2$"}, {"GPRMC,1", "GPVTG,2"}, "$"},
        {"text before the first $ is handed on and ignored",
         {"garbage\r\n$GPRMC,1\r\n$GPRMC,2\r\n$"}, {"GPRMC,1", "GPRMC,2"}, "$"},
        {"a stream that begins with $ loses its first sentence",
         {"$GPRMC,1\r\n$GPRMC,2\r\n$GPRMC,3"}, {"GPRMC,2"}, "$GPRMC,3"},
        {"only skipped line ends before the first $ count as nothing",
         {"\r\n$GPRMC,1\r\n$GPRMC,2\r\n$"}, {"GPRMC,2"}, "$"},
        {"a line end in a chunk of its own is collected before the first $",
         {"\r\n", "$GPRMC,1\r\n$GPRMC,2\r\n$"}, {"GPRMC,1", "GPRMC,2"}, "$"},
        {"one character per chunk",
         {"x", "$", "G", "P", "V", "T", "G", "\r", "\n", "$"}, {"GPVTG\r\n"}, "$"},
        {"NUL and bytes above 127 are kept",
         {"x$GPRMC,\0\x80\xe9\xff*00\r\n"s, "$GPGSA,\xb0\0"s, "$"},
         {"GPRMC,\0\x80\xe9\xff*00"s, "GPGSA,\xb0\0"s}, "$"},
    };
    for (const Case& c : kCases) {
        for (std::size_t spacing : kYieldSpacings) {
            SCOPED_TRACE(std::string(c.name) + ", a yield every " + std::to_string(spacing));
            Rig rig;
            rig.m.assembler.setCharactersPerYield(spacing);
            rig.feed(c.chunks);
            EXPECT_EQ(rig.rows(), c.rows);
            EXPECT_EQ(rig.m.assembler.sentence(), c.sentence);
        }
    }
}

TEST(Assembler, YieldsAfterEveryNthScannedCharacterOfAPass)
{
    struct Case {
        std::size_t perYield;
        int afterFirstPass;   // "x$GPRMC,1\r\n": 11 characters scanned
        int afterSecondPass;  // "$GPVTG,2\r\n" in a pass of its own: 10 more
    };
    for (const Case& c : {Case{1, 11, 21}, Case{4, 2, 4}, Case{11, 1, 1}, Case{64, 0, 0}}) {
        SCOPED_TRACE(c.perYield);
        Rig rig;
        rig.m.assembler.setCharactersPerYield(c.perYield);
        rig.feed({"x$GPRMC,1\r\n"});
        EXPECT_EQ(rig.pump.calls, c.afterFirstPass);
        rig.feed({"$GPVTG,2\r\n"});
        EXPECT_EQ(rig.pump.calls, c.afterSecondPass) << "each pass counts afresh";
        rig.feed({std::string(5000, 'a'), "\r\n"});
        EXPECT_EQ(rig.pump.calls, c.afterSecondPass) << "a chunk without $ is appended in one step";
        EXPECT_EQ(rig.rows(), Rows{"GPRMC,1"});
    }
}

// Every sentence closed by one of the first n characters is interpreted before
// the n-th yield, and none closed later; the count runs on across the chunks of a pass.
TEST(Assembler, AYieldFallsRightAfterTheNthCharacter)
{
    struct Case {
        std::size_t perYield;
        std::vector<std::size_t> rowsAtYields;  // "x$GPRMC,1$GPVTG,2$": "$" is character 2, 10 and 18
    };
    const Case kCases[] = {{5, {0, 1, 1}}, {9, {0, 2}}, {10, {1}}, {17, {1}}, {18, {2}}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.perYield);
        Rig rig;
        rig.m.assembler.setCharactersPerYield(c.perYield);
        std::vector<std::size_t> rowsAtYields;
        rig.pump.onYield = [&](int) { rowsAtYields.push_back(rig.m.log.size()); };
        rig.receive("x$GPRM");
        rig.receive("C,1$GPVTG,2$");
        rig.tick();
        EXPECT_EQ(rowsAtYields, c.rowsAtYields);
    }
}

TEST(Assembler, FailedPassShowsTheCauseAndTheNextPassRereadsItsSlots)
{
    Rig rig;
    rig.feed({"x$GPRMC,0"});
    ASSERT_EQ(rig.m.assembler.readIndex(), 2);

    rig.receive("AB$GPVTG,1");
    const int before = rig.pump.calls;
    rig.pump.onYield = [before](int call) {
        if (call == before + 2) throw Failure(7, "out of memory: close other programs");
    };
    rig.tick();
    EXPECT_EQ(rig.m.fields.read(Field::Quality), "out of memory: close other programs");
    EXPECT_EQ(rig.m.assembler.readIndex(), 2);
    EXPECT_EQ(rig.m.assembler.sentence(), "$GPRMC,0AB");
    EXPECT_TRUE(rig.rows().empty());

    rig.tick();
    EXPECT_EQ(rig.rows(), Rows{"GPRMC,0ABAB"}) << "the failed pass's text is appended again";
    EXPECT_EQ(rig.m.assembler.sentence(), "$GPVTG,1");
    EXPECT_EQ(rig.m.assembler.readIndex(), 3);
}

TEST(Assembler, TickDuringAYieldContinuesThePausedPass)
{
    Rig rig;
    rig.feed({"x$GPRMC,0"});
    rig.receive("\r\n$GPRMC,1\r\n$GPRMC,2\r\n$");
    const int before = rig.pump.calls;
    std::size_t rowsWhenNestedTickReturned = 0;
    rig.pump.onYield = [&](int call) {
        if (call != before + 3) return;  // right after the first "$" of the chunk
        rig.tick();
        rowsWhenNestedTickReturned = rig.m.log.size();
    };
    rig.tick();
    EXPECT_EQ(rowsWhenNestedTickReturned, 3u) << "the nested tick finishes the work of the pass";
    EXPECT_EQ(rig.rows(), (Rows{"GPRMC,0", "GPRMC,1", "GPRMC,2"})) << "and nothing is read twice";
    EXPECT_EQ(rig.pump.calls, before + 23);
    EXPECT_EQ(rig.m.assembler.readIndex(), 3);
    EXPECT_FALSE(rig.m.assembler.passInProgress());
}

// An automatic detection handled in a yield waits there for sentences to be
// interpreted while receive events and ticks run.
TEST(Assembler, SentencesAreInterpretedWhileAYieldWaits)
{
    Rig rig;
    rig.feed({"x$GPRMC,0"});
    rig.receive("\r\n$");
    Rows seenWhileWaiting;
    bool waiting = false;
    rig.pump.onYield = [&](int) {
        if (waiting) return;
        waiting = true;
        rig.feed({"GPGSA,1\r\n$GPVTG,2", "\r\n$GPRMC,3", "\r\n$"});
        seenWhileWaiting = rig.rows();
    };
    rig.tick();
    const Rows all = {"GPRMC,0", "GPGSA,1", "GPVTG,2", "GPRMC,3"};
    EXPECT_EQ(seenWhileWaiting, all);
    EXPECT_EQ(rig.rows(), all);
    EXPECT_EQ(rig.m.assembler.sentence(), "$");
    EXPECT_EQ(rig.m.assembler.readIndex(), rig.m.ring.writeIndex() + 1);
}

TEST(Assembler, FailureInANestedTickEndsTheSharedPassOnce)
{
    Rig rig;
    rig.feed({"x$GPRMC,0"});
    rig.receive("12$45");
    const int before = rig.pump.calls;
    rig.pump.onYield = [&](int call) {
        if (call == before + 1) rig.tick();
        if (call == before + 2) throw Failure(9, "the event loop refused: restart the program");
    };
    rig.tick();
    EXPECT_EQ(rig.pump.calls, before + 2) << "the paused frame does not go on after the failure";
    EXPECT_EQ(rig.m.fields.read(Field::Quality), "the event loop refused: restart the program");
    EXPECT_EQ(rig.m.assembler.readIndex(), 2);
    EXPECT_FALSE(rig.m.assembler.passInProgress());
    EXPECT_TRUE(rig.rows().empty());

    rig.pump.onYield = nullptr;
    rig.tick();
    EXPECT_EQ(rig.rows(), Rows{"GPRMC,01212"});
    EXPECT_EQ(rig.m.assembler.sentence(), "$45");
}

TEST(Assembler, ShutdownEndsAPausedPassWithoutTouchingAnything)
{
    Rig rig;
    rig.feed({"x$GPRMC,0"});
    rig.receive("12$GPRMC,1$");
    const int before = rig.pump.calls;
    FieldRecorder recorder;
    rig.m.fields.addObserver(&recorder);
    rig.pump.onYield = [&](int) { rig.m.assembler.shutdown(); };
    rig.tick();
    EXPECT_EQ(rig.pump.calls, before + 1) << "no character after the yield";
    EXPECT_EQ(rig.m.assembler.sentence(), "$GPRMC,01");
    EXPECT_EQ(rig.m.assembler.readIndex(), 2);
    rig.tick();
    EXPECT_EQ(rig.m.assembler.sentence(), "$GPRMC,01") << "no pass runs after shutdown";
    EXPECT_TRUE(recorder.writes.empty());
    EXPECT_TRUE(rig.rows().empty());
}

// Under AddressSanitizer a frame that touches the destroyed monitor is reported.
TEST(Assembler, PassPausedWhenTheMonitorIsDestroyedEndsQuietly)
{
    struct Case {
        const char* name;
        bool nestedTickFirst;
        bool failAfterDestroying;
    };
    constexpr Case kCases[] = {
        {"plain", false, false}, {"inside a nested tick", true, false}, {"then a failure", false, true}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        FixedClock clock;
        ScriptedPump pump;
        auto monitor = std::make_unique<Monitor>(clock, pump);
        ChunkInput port;
        port.store(monitor->ring, "x$GPRMC,1$GPRMC,2$GPRMC,3$");
        pump.onYield = [&](int call) {
            if (c.nestedTickFirst && call == 3) monitor->assembler.tick();
            if (call == 5) {
                monitor.reset();
                if (c.failAfterDestroying) throw Failure(1, "late failure");
            }
        };
        monitor->assembler.tick();
        EXPECT_EQ(monitor, nullptr);
        EXPECT_EQ(pump.calls, 5);
    }
}

// A pass that stops after every character must leave exactly what one long
// pass leaves, whatever the chunks and however ticks nest in its yields.
TEST(Assembler, AZeroTimeBudgetPausesAfterEveryCharacterAndChangesNothing)
{
    std::string stream = "noise\r\n";
    for (int n = 0; n < 40; ++n) {
        stream += n % 3 == 0 ? "$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*76\r\n"
                             : "$GPRMC," + std::to_string(n) + "\r\n$GPVTG," + std::to_string(n) + "*00\r\n";
    }
    Rig oneAtATime;
    oneAtATime.m.assembler.setTimeBudget(std::chrono::steady_clock::duration::zero());
    oneAtATime.receive("x$GPRMC,1\r\n");
    for (int call = 1; call <= 11; ++call) {
        oneAtATime.tick();
        EXPECT_EQ(oneAtATime.pump.calls, call);
        EXPECT_TRUE(oneAtATime.m.assembler.passInProgress());
    }
    oneAtATime.tick();
    EXPECT_FALSE(oneAtATime.m.assembler.passInProgress());

    for (std::size_t size : {1u, 7u, 64u, 5000u}) {
        for (bool nested : {false, true}) {
            for (std::size_t perYield : {1u, 64u}) {
                SCOPED_TRACE(std::to_string(size) + (nested ? " with nested ticks" : "") + ", a yield every " +
                             std::to_string(perYield));
                Rig whole;
                Rig sliced;
                sliced.m.assembler.setTimeBudget(std::chrono::steady_clock::duration::zero());
                for (Rig* rig : {&whole, &sliced}) {
                    rig->m.assembler.setCharactersPerYield(perYield);
                    bool inside = false;
                    rig->pump.onYield = [rig, nested, &inside](int call) {
                        if (!nested || inside || call % 5 != 0) return;
                        inside = true;
                        rig->tick();
                        inside = false;
                    };
                    testing::replayInChunks(rig->m, stream, size);
                    const SentenceAssembler& assembler = rig->m.assembler;
                    while (assembler.passInProgress() || assembler.readIndex() != rig->m.ring.writeIndex() + 1)
                        rig->tick();
                }
                EXPECT_EQ(sliced.rows(), whole.rows());
                EXPECT_EQ(sliced.m.assembler.sentence(), whole.m.assembler.sentence());
                EXPECT_EQ(sliced.m.assembler.readIndex(), whole.m.assembler.readIndex());
                if (perYield == 1) {
                    EXPECT_EQ(sliced.pump.calls, whole.pump.calls) << "one yield per character, as ever";
                }
                EXPECT_EQ(whole.rows().size(), 65u);
            }
        }
    }
}

// Overwritten chunks never complete a sentence begun before them: the
// sentence is dropped up to the next "$", and every chunk never read counts.
TEST(Assembler, ChunksTheWriterOverwroteAreCountedAndNeverStitched)
{
    struct Case {
        const char* name;
        int stores;        // after five chunks read, then a pass
        int moreStores;    // then a pass again, if any
        std::uint64_t lost;
        int firstRow;      // rows "GPVTG,n,n*" for n from firstRow to the last chunk stored
    };
    constexpr int kLap = ReceiveRing::kLastSlot + 1;
    constexpr Case kCases[] = {
        {"nothing lost", 100, 0, 0, 5},
        {"overrun by one lap and three chunks", kLap + 3, 0, kLap, 5 + kLap + 1},
        {"overrun by three laps and five chunks", 3 * kLap + 5, 0, 3 * kLap, 5 + 3 * kLap + 1},
        {"landing just below the read index, then past it", kLap - 3, 10, kLap, 5 + kLap + 1},
    };
    for (const Case& c : kCases) {
        for (std::size_t spacing : kYieldSpacings) {
            SCOPED_TRACE(std::string(c.name) + ", a yield every " + std::to_string(spacing));
            Rig rig;
            rig.m.assembler.setCharactersPerYield(spacing);
            std::vector<std::uint64_t> reported;
            rig.m.assembler.onChunksLost = [&](std::uint64_t chunks) { reported.push_back(chunks); };
            for (int i = 0; i < 5; ++i) {
                rig.storeCutSentences(1);
                rig.tick();
            }
            ASSERT_EQ(rig.rows(), Rig::wholeSentences(1, 4));
            rig.storeCutSentences(c.stores);
            rig.tick();
            if (c.moreStores > 0) {
                EXPECT_EQ(rig.m.assembler.lostChunks(), 0u) << "nothing read yet, nothing lost yet";
                rig.storeCutSentences(c.moreStores);
                rig.tick();
            }
            Rows expected = Rig::wholeSentences(1, 4);
            for (const std::string& row : Rig::wholeSentences(c.firstRow, rig.cut - 1)) expected.push_back(row);
            EXPECT_EQ(rig.rows(), expected);
            EXPECT_EQ(rig.m.assembler.lostChunks(), c.lost);
            EXPECT_EQ(reported, c.lost > 0 ? std::vector<std::uint64_t>{c.lost} : std::vector<std::uint64_t>{});

            rig.storeCutSentences(3);
            rig.tick();
            EXPECT_EQ(rig.rows().back(), Rig::wholeSentences(rig.cut - 1, rig.cut - 1).front()) << "reading goes on";
            EXPECT_EQ(rig.m.assembler.lostChunks(), c.lost);
        }
    }
}

TEST(Assembler, AFailedPassReadAgainCountsItsLossOnce)
{
    Rig rig;
    rig.storeCutSentences(2);
    rig.tick();
    rig.storeCutSentences(ReceiveRing::kLastSlot + 1 + 4);
    rig.pump.onYield = [](int) { throw Failure(7, "out of memory: close other programs"); };
    rig.tick();
    ASSERT_EQ(rig.m.fields.read(Field::Quality), "out of memory: close other programs");
    rig.pump.onYield = nullptr;
    rig.tick();
    EXPECT_EQ(rig.m.assembler.lostChunks(), static_cast<std::uint64_t>(ReceiveRing::kLastSlot + 1));
    Rows expected = Rig::wholeSentences(1, 1);
    for (const std::string& row : Rig::wholeSentences(rig.cut - 3, rig.cut - 1)) expected.push_back(row);
    EXPECT_EQ(rig.rows(), expected);
}

TEST(Assembler, SentenceStopsGrowingAtOneMebibyte)
{
    constexpr std::size_t kLimit = SentenceAssembler::kSentenceLimit;
    ASSERT_EQ(kLimit, std::size_t{1} << 20);
    const std::string half(kLimit / 2, 'a');
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
    };
    const Case kCases[] = {
        {"chunks without $", {"x$GPRMC,", half, half, half + "tail"}},
        {"scanned chunks", {"x$GPRMC," + half + half, "\r\n" + half + "$"}},
    };
    for (const Case& c : kCases) {
        for (std::size_t spacing : kYieldSpacings) {
            SCOPED_TRACE(std::string(c.name) + ", a yield every " + std::to_string(spacing));
            Rig rig;
            rig.m.assembler.setCharactersPerYield(spacing);
            rig.feed(c.chunks);
            rig.feed({"b$GPVTG,next$"});
            ASSERT_EQ(rig.m.log.size(), 2u);
            EXPECT_EQ(rig.m.log.row(1).data.size(), kLimit - 1) << "the long sentence, cut at the bound";
            EXPECT_EQ(rig.m.log.row(1).data.substr(0, 7), "GPRMC,a");
            EXPECT_EQ(rig.m.log.row(1).data.back(), 'a');
            EXPECT_EQ(rig.m.log.row(0).data, "GPVTG,next") << "the bound applies to one sentence only";
        }
    }
}

TEST(Assembler, ChunksOf32767AndMoreCharactersAreReadWhole)
{
    for (std::size_t length : {32766u, 32767u, 32768u, 65535u, 65537u, 200000u}) {
        SCOPED_TRACE(length);
        std::string chunk = "x";
        for (int n = 0; chunk.size() < length; ++n) chunk += "$GPRMC," + std::to_string(n) + "\r\n";
        chunk.resize(length - 1);
        chunk += '$';

        Rows expected;
        for (std::size_t at = chunk.find('$'), next; (next = chunk.find('$', at + 1)) != std::string::npos; at = next) {
            std::string sentence = chunk.substr(at + 1, next - at - 1);
            std::erase_if(sentence, [](char c) { return c == '\r' || c == '\n'; });
            // The cut may leave the last sentence too short to be recognised.
            if (sentence.starts_with("GPRMC")) expected.push_back(sentence);
        }

        Rig rig;
        rig.feed({chunk});
        EXPECT_EQ(rig.rows(), expected);
        EXPECT_EQ(rig.pump.calls, static_cast<int>(length));
    }
}

}  // namespace
}  // namespace veltrane
