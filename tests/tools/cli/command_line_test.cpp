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
        {{"monitor"}, {PortName::byComm(1), 4800, false, 0, ""}},
        {{"monitor", "--comm", "15", "--baud", "9600"}, {PortName::byComm(15), 9600, false, 0, ""}},
        {{"monitor", "--comm=3", "--baud=4800", "--json", "--seconds=2.5", "--record=a b"},
         {PortName::byComm(3), 4800, true, 2.5, "a b"}},
        {{"monitor", "--seconds", "1000000", "--record", "-"}, {PortName::byComm(1), 4800, false, 1e6, "-"}},
        {{"monitor", "--port", "ttyACM0", "--baud", "921600"}, {PortName{0, "/dev/ttyACM0"}, 921600, false, 0, ""}},
    };
    for (const Case& c : kMonitor) {
        SCOPED_TRACE(c.arguments.back());
        const Invocation invocation = parseCommandLine(c.arguments);
        ASSERT_TRUE(std::holds_alternative<MonitorOptions>(invocation));
        const auto& options = std::get<MonitorOptions>(invocation);
        EXPECT_EQ(options.port, c.expected.port);
        EXPECT_EQ(options.baud, c.expected.baud);
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
    EXPECT_FALSE(std::get<CheckOptions>(check).thresholds.maxHdop);
}

// Ports keep the order they were given in, whichever option named them, and
// a speed after "@" is the port's own; only the last "@" counts.
TEST(CommandLine, PortsAndSpeedsAsGiven)
{
    const Invocation check = parseCommandLine(
        {"check", "--port", "/dev/a@b@115200", "--comm", "3", "--port=ttyUSB1", "--comm=15@1200", "--baud", "38400"});
    ASSERT_TRUE(std::holds_alternative<CheckOptions>(check));
    const auto& options = std::get<CheckOptions>(check);
    const std::vector<GivenPort> expected = {{PortName{0, "/dev/a@b"}, 115200},
                                            {PortName::byComm(3), std::nullopt},
                                            {PortName{0, "/dev/ttyUSB1"}, std::nullopt},
                                            {PortName::byComm(15), 1200}};
    EXPECT_EQ(options.ports, expected);
    EXPECT_EQ(options.baud, 38400);

    const Invocation all = parseCommandLine({"check", "--all", "--bauds", "all"});
    ASSERT_TRUE(std::holds_alternative<CheckOptions>(all));
    EXPECT_TRUE(std::get<CheckOptions>(all).all);
    EXPECT_EQ(std::get<CheckOptions>(all).bauds,
              (std::vector<int>{4800, 9600, 115200, 38400, 1200, 2400, 19200, 57600, 230400, 460800, 921600}));

    const Invocation watch =
        parseCommandLine({"watch", "--comm", "2@9600", "--port", "ttyS0", "--listen", "0.0.0.0:0", "--window=3600"});
    ASSERT_TRUE(std::holds_alternative<WatchOptions>(watch));
    const auto& watchOptions = std::get<WatchOptions>(watch);
    EXPECT_EQ(watchOptions.ports,
              (std::vector<GivenPort>{{PortName::byComm(2), 9600}, {PortName{0, "/dev/ttyS0"}, std::nullopt}}));
    EXPECT_EQ(watchOptions.listen, "0.0.0.0:0");
    EXPECT_EQ(watchOptions.windowSeconds, 3600);

    const Invocation detect = parseCommandLine({"detect", "--port", "/dev/x", "--comm", "2", "--bauds=115200,9600"});
    ASSERT_TRUE(std::holds_alternative<DetectOptions>(detect));
    EXPECT_EQ(std::get<DetectOptions>(detect).ports, (std::vector<PortName>{{0, "/dev/x"}, PortName::byComm(2)}));
    EXPECT_EQ(std::get<DetectOptions>(detect).bauds, (std::vector<int>{115200, 9600}));
}

TEST(CommandLine, UsageErrorsAreOneLineNamingTheArgumentAndExitTwo)
{
    struct Case {
        Arguments arguments;
        std::string line;
    };
    const Case kCases[] = {
        {{}, "veltrane-cli: a command is needed: replay, monitor, ports, detect, check or watch (see 'veltrane-cli --help')"},
        {{"frob"}, "veltrane-cli: unknown command 'frob': replay, monitor, ports, detect, check or watch (see 'veltrane-cli --help')"},
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
         "veltrane-cli monitor: --baud: must be 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800 or "
         "921600, not '1234' (see 'veltrane-cli monitor --help')"},
        {{"monitor", "--port", "/dev/x", "--comm", "2"},
         "veltrane-cli monitor: --comm excludes --port (see 'veltrane-cli monitor --help')"},
        {{"check", "--comm", "3@4801"}, "veltrane-cli check: --comm: must be N or N@RATE, N from 1 to 15 and RATE 1200, "
                                        "2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800 or 921600, not "
                                        "'3@4801' (see 'veltrane-cli check --help')"},
        {{"check", "--port", "@9600"}, "veltrane-cli check: --port: must be DEVICE or DEVICE@RATE, RATE 1200, 2400, "
                                       "4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800 or 921600, not '@9600' "
                                       "(see 'veltrane-cli check --help')"},
        {{"check", "--bauds", "4800,,9600"}, "veltrane-cli check: --bauds: must be all or a comma-separated list of "
                                             "1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800 or "
                                             "921600, not '4800,,9600' (see 'veltrane-cli check --help')"},
        {{"check", "--baud", "9600"}, "veltrane-cli check: --baud needs --comm, --port or --all (see 'veltrane-cli "
                                      "check --help')"},
        {{"check", "--comm", "1", "--baud", "9600", "--bauds", "all"},
         "veltrane-cli check: --baud excludes --bauds (see 'veltrane-cli check --help')"},
        {{"check", "--all", "--port", "/dev/x"}, "veltrane-cli check: --port excludes --all (see 'veltrane-cli check --help')"},
        {{"check", "--file", "x", "--max-ttff", "3"},
         "veltrane-cli check: --file excludes --max-ttff (see 'veltrane-cli check --help')"},
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
        {{"ports", "--all"}, "veltrane-cli ports: unknown option '--all' (see 'veltrane-cli ports --help')"},
        {{"caf\xc3\xa9"}, "veltrane-cli: unknown command 'caf\xc3\xa9': replay, monitor, ports, detect, check or watch (see 'veltrane-cli --help')"},
        {{"detect", "now"}, "veltrane-cli detect: unexpected argument 'now' (see 'veltrane-cli detect --help')"},
        {{"watch", "--bauds", "all"},
         "veltrane-cli watch: a port is needed: --comm, --port or --all (see 'veltrane-cli watch --help')"},
        {{"watch", "--baud", "9600"}, "veltrane-cli watch: --baud needs --comm, --port or --all (see 'veltrane-cli "
                                      "watch --help')"},
        {{"watch", "--all", "--listen", "localhost:9727"},
         "veltrane-cli watch: --listen: must be ADDR:PORT, ADDR an IPv4 address and PORT from 0 to 65535, not "
         "'localhost:9727' (see 'veltrane-cli watch --help')"},
        {{"watch", "--all", "--window", "3601"}, "veltrane-cli watch: --window: must be a whole number from 1 to "
                                                 "3600, not '3601' (see 'veltrane-cli watch --help')"},
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
    for (const char* command : {"", "replay", "monitor", "ports", "detect", "check", "watch"}) {
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
