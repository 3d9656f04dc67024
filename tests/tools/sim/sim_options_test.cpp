// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_options.h"

namespace veltrane::sim {
namespace {

constexpr int kRuns = -1;
constexpr const char* kUsage =
    "Usage: veltrane-sim [--count N] [--baud LIST] [--ttff LIST] [--talkers LIST]";

struct OptionsCase {
    std::vector<const char*> args;
    int status;              // kRuns: accepted, and the simulator runs with `options`
    std::string firstLine;   // of what is printed instead
    SimOptions options = {};
};

SimReceiver at(int baud, int ttff = 0, ReceiverOutput output = {}) { return {baud, ttff, output}; }
SimOptions bench(std::vector<SimReceiver> receivers) { return {receivers, "", false, ""}; }

std::string firstLineOf(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(SimOptions, EachCommandLineRunsOrEndsWithItsStatusAndFirstLine)
{
    const std::string kRates = "1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800 or 921600";
    const OptionsCase cases[] = {
        {{}, kRuns, "", bench({at(4800)})},
        {{"--baud", "9600", "--file", "x.log", "--loop", "--device", "/dev/ttyUSB1"}, kRuns, "",
         {{at(9600)}, "x.log", true, "/dev/ttyUSB1"}},
        {{"--baud=9600", "--file=x.log", "--device=/dev/ttyUSB1"}, kRuns, "", {{at(9600)}, "x.log", false, "/dev/ttyUSB1"}},
        {{"--talkers", "gn", "--ubx"}, kRuns, "", bench({at(4800, 0, {true, true, false})})},
        {{"--talkers=gp", "--ubx", "--moving", "--ttff", "30"}, kRuns, "", bench({at(4800, 30, {false, true, true})})},
        // One value for all, or one for each in order.
        {{"--count", "3", "--baud", "1200,115200,921600", "--ttff", "5", "--talkers", "gp,gn,gn", "--ubx=no,no,yes"},
         kRuns, "", bench({at(1200, 5), at(115200, 5, {true, false, false}), at(921600, 5, {true, true, false})})},
        {{"--count", "2", "--ubx"}, kRuns, "", bench({at(4800, 0, {false, true, false}), at(4800, 0, {false, true, false})})},
        {{"--count", "2", "--file", "x.log"}, kRuns, "", {{at(4800), at(4800)}, "x.log", false, ""}},
        {{"--help"}, 0, kUsage},
        {{"--baud", "1234", "-h"}, 0, kUsage},
        {{"--version"}, 0, "veltrane-sim " VELTRANE_VERSION},
        {{"--baud", "1234"}, 2, "veltrane-sim: --baud: must be " + kRates + ", not '1234' (see 'veltrane-sim --help')"},
        {{"--baud=-5"}, 2, "veltrane-sim: --baud: must be " + kRates + ", not '-5' (see 'veltrane-sim --help')"},
        {{"--count", "2", "--baud", "4800,"}, 2,
         "veltrane-sim: --baud: must be " + kRates + ", not '' (see 'veltrane-sim --help')"},
        {{"--count", "3", "--baud", "4800,9600"}, 2,
         "veltrane-sim: --baud: 2 values for 3 receivers: give one for all or one for each (see 'veltrane-sim --help')"},
        {{"--ttff", "0,1"}, 2,
         "veltrane-sim: --ttff: 2 values for 1 receiver: give one for all or one for each (see 'veltrane-sim --help')"},
        {{"--ubx=yes,maybe", "--count", "2"}, 2,
         "veltrane-sim: --ubx: must be yes or no, not 'maybe' (see 'veltrane-sim --help')"},
        {{"--count", "65"}, 2,
         "veltrane-sim: --count: must be a whole number from 1 to 64, not '65' (see 'veltrane-sim --help')"},
        {{"--count", "2", "--device", "/dev/ttyUSB1"}, 2,
         "veltrane-sim: --device is one line, so it plays one receiver, not 2 (see 'veltrane-sim --help')"},
        {{"--file", "x.log", "--ttff", "5"}, 2, "veltrane-sim: --file excludes --ttff (see 'veltrane-sim --help')"},
        {{"--baud"}, 2, "veltrane-sim: --baud needs a value (see 'veltrane-sim --help')"},
        {{"--file"}, 2, "veltrane-sim: --file needs a value (see 'veltrane-sim --help')"},
        {{"--baud", "4800", "--baud=9600"}, 2, "veltrane-sim: --baud given more than once (see 'veltrane-sim --help')"},
        {{"--loop"}, 2, "veltrane-sim: --loop requires --file (see 'veltrane-sim --help')"},
        {{"--talkers", "gl"}, 2, "veltrane-sim: --talkers: must be gp or gn, not 'gl' (see 'veltrane-sim --help')"},
        {{"--file", "x.log", "--ubx"}, 2, "veltrane-sim: --file excludes --ubx (see 'veltrane-sim --help')"},
        {{"--fast"}, 2, "veltrane-sim: unknown option '--fast' (see 'veltrane-sim --help')"},
        {{"capture.log"}, 2, "veltrane-sim: unexpected argument 'capture.log' (see 'veltrane-sim --help')"},
    };
    for (const OptionsCase& c : cases) {
        std::vector<const char*> argv = {"veltrane-sim"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const auto parsed = parseSimOptions(static_cast<int>(argv.size()), argv.data());
        SCOPED_TRACE(c.firstLine);
        if (c.status == kRuns) {
            ASSERT_TRUE(std::holds_alternative<SimOptions>(parsed)) << std::get<SimExit>(parsed).text;
            EXPECT_TRUE(std::get<SimOptions>(parsed) == c.options);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<SimExit>(parsed));
        const SimExit& ended = std::get<SimExit>(parsed);
        EXPECT_EQ(ended.status, c.status);
        EXPECT_EQ(firstLineOf(ended.text), c.firstLine);
        if (c.status == kExitUsageError) {
            EXPECT_EQ(ended.text.find('\n') + 1, ended.text.size()) << "one line";
        }
    }
}

TEST(SimOptions, TheHelpEndsWithTheExitStatusOfEachOutcome)
{
    const char* argv[] = {"veltrane-sim", "--help"};
    const std::string help = std::get<SimExit>(parseSimOptions(2, argv)).text;
    const std::size_t table = help.find("\nExit status:\n  0  ");
    ASSERT_NE(table, std::string::npos) << help;
    EXPECT_GT(table, help.find("--device PATH")) << "after the options";
    for (const char* status : {"\n  1    runtime error", "\n  2    usage error", "\n  141  standard output's reader"})
        EXPECT_NE(help.find(status, table), std::string::npos) << status;
}

}  // namespace
}  // namespace veltrane::sim
