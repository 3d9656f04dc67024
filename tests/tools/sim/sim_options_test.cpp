// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_options.h"

namespace veltrane::sim {
namespace {

constexpr int kRuns = -1;
constexpr const char* kUsage = "Usage: veltrane-sim [--baud 4800|9600] [--talkers gp|gn] [--ubx] [--device PATH]";

struct OptionsCase {
    std::vector<const char*> args;
    int status;              // kRuns: accepted, and the simulator runs with `options`
    std::string firstLine;   // of what is printed instead
    SimOptions options = {};
};

std::string firstLineOf(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(SimOptions, EachCommandLineRunsOrEndsWithItsStatusAndFirstLine)
{
    const OptionsCase cases[] = {
        {{}, kRuns, "", {4800, "", false, "", {}}},
        {{"--baud", "9600", "--file", "x.log", "--loop", "--device", "/dev/ttyUSB1"}, kRuns, "",
         {9600, "x.log", true, "/dev/ttyUSB1", {}}},
        {{"--baud=9600", "--file=x.log", "--device=/dev/ttyUSB1"}, kRuns, "",
         {9600, "x.log", false, "/dev/ttyUSB1", {}}},
        {{"--talkers", "gn", "--ubx"}, kRuns, "", {4800, "", false, "", {true, true}}},
        {{"--talkers=gp", "--ubx"}, kRuns, "", {4800, "", false, "", {false, true}}},
        {{"--help"}, 0, kUsage},
        {{"--baud", "1234", "-h"}, 0, kUsage},
        {{"--version"}, 0, "veltrane-sim " VELTRANE_VERSION},
        {{"--baud", "1234"}, 2, "veltrane-sim: --baud: must be 4800 or 9600, not '1234' (see 'veltrane-sim --help')"},
        {{"--baud=-5"}, 2, "veltrane-sim: --baud: must be 4800 or 9600, not '-5' (see 'veltrane-sim --help')"},
        {{"--baud", "fast"}, 2, "veltrane-sim: --baud: must be 4800 or 9600, not 'fast' (see 'veltrane-sim --help')"},
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
    for (const char* status : {"\n  1  runtime error", "\n  2  usage error"})
        EXPECT_NE(help.find(status, table), std::string::npos) << status;
    for (std::size_t start = 0, end; (end = help.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(end - start, 80u) << help.substr(start, end - start);
}

}  // namespace
}  // namespace veltrane::sim
