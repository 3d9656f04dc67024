// SPDX-License-Identifier: BSD-2-Clause
// The tools under a flood far above any serial speed: a pseudo-terminal
// written as fast as it takes. Before passes worked in slices, a monitor
// ignored --seconds 5 for 79-91 s and Ctrl+C for up to 24 s, and one trial
// of the search took 57 s instead of at most 4.5. The limits below are
// generous for a loaded machine; the measured figures are printed.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include "child_process.h"
#include "pty_flood.h"
#include "pty_pair.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;
using testing::eventually;
using testing::PtyFlood;
using testing::PtyPair;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A hundred recognised sentences at a time: every one is scanned and logged.
std::string recognisedSentences()
{
    std::string block;
    for (int i = 0; i < 100; ++i) block += "$GPVTG," + std::to_string(i) + ",T,,M,0.1,N,0.2,K,A*00\r\n";
    return block;
}

// The monitor's standard output goes nowhere, so that a reader too slow for
// the flood cannot hold it up; what it says on standard error is read.
Child quietMonitor(const PtyPair& receiver, const std::string& options)
{
    return Child({"/bin/sh", "-c", "exec \"$0\" monitor --json " + options + " >/dev/null", VELTRANE_CLI},
                 {"VELTRANE_PORTS=1=" + receiver.path()});
}

TEST(FloodProcess, TheMonitorKeepsItsDeadlineAndAnswersCtrlCAtOnce)
{
    PtyPair receiver(PtyPair::Slave::released);
    PtyFlood flood(receiver, recognisedSentences);

    const Clock::time_point started = Clock::now();
    Child timed = quietMonitor(receiver, "--seconds 3");
    EXPECT_EQ(timed.wait(60s), 0);
    const double took = secondsSince(started);
    EXPECT_LT(took, 3 + 3.0) << "--seconds 3 took " << took << " s";

    Child interrupted = quietMonitor(receiver, "");
    ASSERT_TRUE(eventually([&] { return receiver.heldOpen(); }));
    std::this_thread::sleep_for(1500ms);
    const Clock::time_point asked = Clock::now();
    EXPECT_EQ(interrupted.stop(SIGINT), 130);
    const double latency = secondsSince(asked);
    EXPECT_LT(latency, 2.0) << "Ctrl+C took " << latency << " s";

    std::printf("flood: %.1f kB/s taken by the line; --seconds 3 ended after %.2f s; Ctrl+C answered in %.3f s\n",
                static_cast<double>(flood.bytesWritten()) / 1e3 / secondsSince(started), took, latency);
}

// Text with "$" that is never recognised: every trial on its port runs its
// second wait to the end, four seconds after the mark at the most.
TEST(FloodProcess, EachTrialOfTheSearchKeepsItsFourSeconds)
{
    PtyPair chatter(PtyPair::Slave::released);
    PtyFlood flood(chatter, [] { return std::string(100, 'x') + "$PXYZ,chatter\r\n"; });
    Child detect({VELTRANE_CLI, "detect"}, {"VELTRANE_PORTS=1=" + chatter.path()});
    ASSERT_EQ(detect.firstLine(), "trying Comm 1 at 4800");
    const Clock::time_point first = Clock::now();
    const std::string progress = detect.read(
        [](const std::string& text) { return text.find("trying Comm 2 at 4800\n") != std::string::npos; }, 60s);
    const double took = secondsSince(first);
    EXPECT_NE(progress.find("trying Comm 1 at 9600\ntrying Comm 2 at 4800\n"), std::string::npos) << progress;
    EXPECT_LT(took, 2 * 4.5 + 3.0) << "two trials took " << took << " s";
    EXPECT_EQ(detect.stop(SIGINT), 130);
    std::printf("flood: two trials of the search on it took %.2f s (at most 9 s by their marks)\n", took);
}

}  // namespace
}  // namespace veltrane
