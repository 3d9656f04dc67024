// SPDX-License-Identifier: BSD-2-Clause
#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exit_status.h"
#include "run_command_line.h"

namespace veltrane::cli {
namespace {

using Arguments = std::vector<std::string>;

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(CommandLine, GoodArgumentsInEitherSpelling)
{
    struct Case {
        Arguments arguments;
        MonitorOptions expected;
    };
    const Case kMonitor[] = {
        {{"monitor"}, {1, 0, false, 0, ""}},
        {{"monitor", "--comm", "15", "--baud", "9600"}, {15, 1, false, 0, ""}},
        {{"monitor", "--comm=3", "--baud=4800", "--json", "--seconds=2.5", "--record=a b"}, {3, 0, true, 2.5, "a b"}},
        {{"monitor", "--seconds", "1000000", "--record", "-"}, {1, 0, false, 1e6, "-"}},
    };
    for (const Case& c : kMonitor) {
        SCOPED_TRACE(c.arguments.back());
        const Invocation invocation = parseCommandLine(c.arguments);
        ASSERT_TRUE(std::holds_alternative<MonitorOptions>(invocation));
        const auto& options = std::get<MonitorOptions>(invocation);
        EXPECT_EQ(options.comm, c.expected.comm);
        EXPECT_EQ(options.baudIndex, c.expected.baudIndex);
        EXPECT_EQ(options.json, c.expected.json);
        EXPECT_EQ(options.seconds, c.expected.seconds);
        EXPECT_EQ(options.record, c.expected.record);
    }

    const Invocation replay = parseCommandLine({"replay", "--chunk-bytes=1048576", "--json", "-"});
    ASSERT_TRUE(std::holds_alternative<ReplayOptions>(replay));
    EXPECT_EQ(std::get<ReplayOptions>(replay).chunkBytes, 1048576u);
    EXPECT_EQ(std::get<ReplayOptions>(replay).file, "-");
    EXPECT_TRUE(std::get<ReplayOptions>(replay).json);
    EXPECT_TRUE(std::holds_alternative<DetectOptions>(parseCommandLine({"detect", "--json"})));
    EXPECT_TRUE(std::holds_alternative<PortsOptions>(parseCommandLine({"ports"})));
    const Invocation check = parseCommandLine({"check", "--file", "x.log", "--min-cn0=30.5", "--min-satellites", "6"});
    ASSERT_TRUE(std::holds_alternative<CheckOptions>(check));
    EXPECT_EQ(std::get<CheckOptions>(check).thresholds.minCn0, 30.5);
    EXPECT_EQ(std::get<CheckOptions>(check).thresholds.minSatellites, 6);
}

TEST(CommandLine, UsageErrorsAreOneLineNamingTheArgumentAndExitTwo)
{
    struct Case {
        Arguments arguments;
        std::string line;
    };
    const Case kCases[] = {
        {{}, "veltrane-cli: a command is needed: replay, monitor, ports, detect or check (see 'veltrane-cli --help')"},
        {{"frob"}, "veltrane-cli: unknown command 'frob': replay, monitor, ports, detect or check (see 'veltrane-cli --help')"},
        {{"--frob"}, "veltrane-cli: unknown option '--frob' (see 'veltrane-cli --help')"},
        {{"monitor", "--comm", "16"},
         "veltrane-cli monitor: --comm: must be a whole number from 1 to 15, not '16' (see 'veltrane-cli monitor --help')"},
        {{"monitor", "--comm=0"}, "veltrane-cli monitor: --comm: must be a whole number from 1 to 15, not '0' (see "
                                  "'veltrane-cli monitor --help')"},
        {{"monitor", "--comm", "1x"},
         "veltrane-cli monitor: --comm: must be a whole number from 1 to 15, not '1x' (see 'veltrane-cli monitor --help')"},
        {{"monitor", "--comm", "\xc3\xa9"},
         "veltrane-cli monitor: --comm: must be a whole number from 1 to 15, not '\xc3\xa9' (see 'veltrane-cli monitor --help')"},
        {{"monitor", "--baud", "1234"},
         "veltrane-cli monitor: --baud: must be 4800 or 9600, not '1234' (see 'veltrane-cli monitor --help')"},
        {{"monitor", "--seconds", "-5"}, "veltrane-cli monitor: --seconds: must be a number of seconds above 0, at "
                                         "most 1000000, not '-5' (see 'veltrane-cli monitor --help')"},
        {{"monitor", "--seconds", "1e3"}, "veltrane-cli monitor: --seconds: must be a number of seconds above 0, at "
                                          "most 1000000, not '1e3' (see 'veltrane-cli monitor --help')"},
        {{"monitor", "--seconds", "nan"}, "veltrane-cli monitor: --seconds: must be a number of seconds above 0, at "
                                          "most 1000000, not 'nan' (see 'veltrane-cli monitor --help')"},
        {{"monitor", "--comm"}, "veltrane-cli monitor: --comm needs a value (see 'veltrane-cli monitor --help')"},
        {{"monitor", "--comm", "1", "--comm", "2"},
         "veltrane-cli monitor: --comm given more than once (see 'veltrane-cli monitor --help')"},
        {{"monitor", "--frob=3"}, "veltrane-cli monitor: unknown option '--frob=3' (see 'veltrane-cli monitor --help')"},
        {{"monitor", "\x1b[2J"}, "veltrane-cli monitor: unexpected argument '\\x1b[2J' (see 'veltrane-cli monitor --help')"},
        {{"replay", "--chunk-bytes", "0"}, "veltrane-cli replay: --chunk-bytes: must be a whole number from 1 to "
                                           "1048576, not '0' (see 'veltrane-cli replay --help')"},
        {{"replay", "--chunk-bytes", "1099511627776", "/dev/zero"},
         "veltrane-cli replay: --chunk-bytes: must be a whole number from 1 to 1048576, not '1099511627776' (see "
         "'veltrane-cli replay --help')"},
        {{"replay", "a.log", "b.log"}, "veltrane-cli replay: unexpected argument 'b.log' (see 'veltrane-cli replay --help')"},
        {{"ports", "--json"}, "veltrane-cli ports: unknown option '--json' (see 'veltrane-cli ports --help')"},
        {{"caf\xc3\xa9"}, "veltrane-cli: unknown command 'caf\xc3\xa9': replay, monitor, ports, detect or check (see 'veltrane-cli --help')"},
        {{"detect", "now"}, "veltrane-cli detect: unexpected argument 'now' (see 'veltrane-cli detect --help')"},
        {{"check", "--min-cn0", "100"}, "veltrane-cli check: --min-cn0: must be a number from 0 to 99, not '100' (see "
                                        "'veltrane-cli check --help')"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        StringOutput out;
        StringOutput err;
        EXPECT_EQ(runCommandLine(c.arguments, out, err), kExitUsage);
        EXPECT_EQ(out.text(), "");
        EXPECT_EQ(err.text(), c.line + "\n");
    }
}

TEST(CommandLine, HelpAndVersionWorkEverywhereAndHelpEndsWithTheExitTable)
{
    for (const char* command : {"", "replay", "monitor", "ports", "detect", "check"}) {
        for (const char* flag : {"-h", "--help"}) {
            SCOPED_TRACE(std::string(command) + " " + flag);
            Arguments arguments = {flag, "--comm", "99"};
            if (*command) arguments.insert(arguments.begin(), command);
            StringOutput out;
            StringOutput err;
            EXPECT_EQ(runCommandLine(arguments, out, err), kExitSuccess);
            EXPECT_EQ(err.text(), "");
            const std::string usage = std::string("Usage: veltrane-cli ") + (*command ? command : "COMMAND");
            EXPECT_EQ(firstLine(out.text()).rfind(usage, 0), 0u) << out.text();
            const std::size_t table = out.text().rfind("\nExit status:\n");
            ASSERT_NE(table, std::string::npos);
            EXPECT_NE(out.text().find("\n  2 ", table), std::string::npos) << "the usage error's code";
            EXPECT_EQ(out.text().find("\n\n", table + 2), std::string::npos) << "the table ends the text";
        }
        Arguments arguments = {"--version"};
        if (*command) arguments.insert(arguments.begin(), command);
        StringOutput out;
        StringOutput err;
        EXPECT_EQ(runCommandLine(arguments, out, err), kExitSuccess);
        EXPECT_EQ(out.text(), std::string("veltrane-cli ") + VELTRANE_VERSION + "\n");
    }

    // A command's name given as a value does not choose whose help is shown.
    for (const Arguments& arguments : {Arguments{"monitor", "--record", "replay", "--help"},
                                       Arguments{"check", "--file", "monitor", "-h"}}) {
        StringOutput out;
        StringOutput err;
        EXPECT_EQ(runCommandLine(arguments, out, err), kExitSuccess);
        EXPECT_EQ(firstLine(out.text()).rfind("Usage: veltrane-cli " + arguments.front(), 0), 0u) << out.text();
    }
}

}  // namespace
}  // namespace veltrane::cli
