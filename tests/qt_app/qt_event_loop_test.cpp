// SPDX-License-Identifier: BSD-2-Clause
#include "qt_event_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <thread>

#include "chunk_replay.h"
#include "event_loop_waits.h"
#include "fixed_clock.h"
#include "monitor.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::runFor;

TEST(QueuedCall, RunsOnceFromTheEventLoopHoweverOftenPosted)
{
    int runs = 0;
    QueuedCall call([&] { ++runs; });
    call.post();
    call.post();
    EXPECT_EQ(runs, 0) << "posting never runs the call on the spot";
    EXPECT_TRUE(call.pending());
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(call.pending());
    call.post();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 2);
}

TEST(QueuedCall, CancelDropsTheCallNotYetRunButNotLaterOnes)
{
    int runs = 0;
    QueuedCall call([&] { ++runs; });
    call.post();
    call.cancel();
    EXPECT_FALSE(call.pending());
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);
    call.post();
    call.cancel();
    call.post();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1) << "the call posted after the cancel runs, the cancelled one does not";
}

// A pump that, at the first character of the first pass, stays in the event
// loop for a while, as a click handled in the yield (a whole automatic
// detection) would.
class LongYieldPump final : public EventPump {
public:
    void runPending() override
    {
        if (yielded_) {
            QCoreApplication::processEvents();
            return;
        }
        yielded_ = true;
        inLongYield = true;
        runFor(400ms);
        inLongYield = false;
    }
    bool inLongYield = false;

private:
    bool yielded_ = false;
};

TEST(TickDriver, TicksKeepArrivingWhileAPassIsPausedInItsYield)
{
    const testing::FixedClock clock;
    LongYieldPump pump;
    Monitor monitor(clock, pump);
    testing::ChunkInput receiver;
    receiver.store(monitor.ring, "$GPRMC,1\r\n$GPRMC,2\r\n$GPVTG,3\r\n$GPGSA,4\r\n$");

    int ticks = 0;
    int ticksDuringYield = 0;
    TickDriver driver(20ms, [&] {
        ++ticks;
        if (pump.inLongYield) ++ticksDuringYield;
        monitor.assembler.tick();
    });
    driver.start();
    ASSERT_TRUE(testing::runUntil([&] { return ticks > 0 && !pump.inLongYield && !monitor.assembler.passInProgress(); }));
    driver.stop();

    EXPECT_GE(ticksDuringYield, 3);
    // The first sentence lacks its dropped "$" and is ignored; the other three
    // were interpreted by ticks that came while the first pass was paused.
    ASSERT_EQ(monitor.log.size(), 3u);
    EXPECT_EQ(monitor.log.row(0).data, "GPGSA,4");
    EXPECT_EQ(monitor.log.row(2).data, "GPRMC,2");
    EXPECT_EQ(monitor.assembler.sentence(), "$");
}

TEST(TickDriver, NoTickRunsAfterStop)
{
    int ticks = 0;
    TickDriver driver(1ms, [&] { ++ticks; });
    driver.start();
    EXPECT_TRUE(driver.active());
    ASSERT_TRUE(testing::runUntil([&] { return ticks >= 2; }));
    // Let the timer fall due, and give it one turn to queue its tick.
    std::this_thread::sleep_for(10ms);
    QCoreApplication::processEvents();
    driver.stop();
    const int ticksAtStop = ticks;
    runFor(50ms);
    EXPECT_EQ(ticks, ticksAtStop);
    EXPECT_FALSE(driver.active());
}

}  // namespace
}  // namespace veltrane
