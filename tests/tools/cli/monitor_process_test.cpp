// The monitor and the search as a script runs them: a real veltrane-cli
// watching the simulator on a pseudo-terminal, ended by a reader going away
// or by a signal.

#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "child_process.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;

std::size_t lines(const std::string& text)
{
    std::size_t count = 0;
    for (const char c : text) count += c == '\n' ? 1 : 0;
    return count;
}

// `monitor | head -1`: without a terminal one line goes out per event as it
// happens, and a reader that has gone away ends the monitor quietly.
TEST(MonitorProcess, PrintsEachEventAsItHappensAndEndsWhenTheReaderGoes)
{
    Child sim({VELTRANE_SIM, "--baud", "4800"});
    const std::string path = sim.firstLine();
    Child monitor({VELTRANE_CLI, "monitor", "--baud", "4800"}, {"VELTRANE_PORTS=1=" + path});
    EXPECT_EQ(monitor.firstLine(), "Current UTC Time:           Unknown");
    monitor.closeOutput();
    EXPECT_EQ(monitor.wait(10s), 1) << "ends at its next write, without waiting for a signal";
}

// SIGHUP (a closed terminal) ends the monitor and the search as cleanly as
// SIGTERM and SIGINT: every line whole, the exit status the shell's 128 + N.
TEST(MonitorProcess, SignalsEndTheToolsCleanlyWithTheShellsStatus)
{
    Child sim({VELTRANE_SIM, "--baud", "4800"});
    const std::string path = sim.firstLine();
    for (const int signal : {SIGHUP, SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        Child monitor({VELTRANE_CLI, "monitor", "--json"}, {"VELTRANE_PORTS=1=" + path});
        const std::string rows = monitor.read([](const std::string& s) { return s.find("\"row\"") != s.npos; }, 10s);
        ASSERT_NE(rows.find("\"row\""), std::string::npos) << rows;
        EXPECT_EQ(monitor.stop(signal), 128 + signal);
        const std::string all = monitor.read([](const std::string&) { return false; }, 1s);
        EXPECT_EQ(all.back(), '\n') << "the last line is whole";
        EXPECT_GT(lines(all), 13u);

        Child detect({VELTRANE_CLI, "detect"}, {"VELTRANE_PORTS=5=" + path});
        EXPECT_EQ(detect.firstLine(), "trying Comm 1 at 4800");
        EXPECT_EQ(detect.stop(signal), 128 + signal);
    }
}

}  // namespace
}  // namespace veltrane
