// SPDX-License-Identifier: BSD-2-Clause
// Every command as a pipeline runs it when the reader of its output goes
// away: it ends at its next write, quietly, with the status a shell shows
// for a program that SIGPIPE ended.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "captures.h"
#include "child_process.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;

constexpr int kReaderGone = 141;

std::string everything(Child& child) { return child.read([](const std::string&) { return false; }, 0s); }

TEST(ReaderGoneProcess, EveryCommandEndsQuietlyWith141)
{
    Child sim({VELTRANE_SIM, "--baud", "4800"});
    const std::string ports = "VELTRANE_PORTS=1=" + sim.firstLine();
    const std::string capture = (testing::projectCaptures() / "sim-receiver-4800.log").string();
    const std::vector<std::string> commands[] = {
        {"--help"},
        {"replay", capture},
        {"replay", "--json", capture},
        {"monitor", "--json"},
        {"ports"},
        {"detect", "--json"},
        {"check", "--file", capture},
        {"check", "--comm", "1", "--seconds", "1", "--json"},
    };
    for (std::vector<std::string> args : commands) {
        SCOPED_TRACE(args.front() + " " + args.back());
        args.insert(args.begin(), VELTRANE_CLI);
        Child cli(args, {ports}, Child::Output::readerGone);
        EXPECT_EQ(cli.wait(20s), kReaderGone);
        // A live check tells how each receiver goes on its error output, and nothing more.
        std::string said = everything(cli);
        while (said.starts_with("Comm 1: ")) said.erase(0, said.find('\n') + 1);
        EXPECT_EQ(said, "") << "nothing else on its error output";
    }
}

// `replay --json FILE | head -3`: a reader that goes away mid-stream.
TEST(ReaderGoneProcess, AReplayWhoseReaderLeavesAfterThreeLinesEndsWith141)
{
    const std::string capture = ::testing::TempDir() + "veltrane-reader-gone.log";
    const std::string sentences = testing::contentsOf(testing::projectCaptures() / "sim-receiver-4800.log");
    std::ofstream file(capture, std::ios::binary);
    // Far more output than a pipe holds, so the replay is still writing when the reader goes.
    for (int i = 0; i < 200; ++i) file << sentences;
    file.close();

    Child replay({VELTRANE_CLI, "replay", "--json", capture});
    const std::string head =
        replay.read([](const std::string& s) { return std::count(s.begin(), s.end(), '\n') >= 3; }, 10s);
    ASSERT_GE(std::count(head.begin(), head.end(), '\n'), 3) << head;
    replay.closeOutput();
    EXPECT_EQ(replay.wait(20s), kReaderGone);
}

}  // namespace
}  // namespace veltrane
