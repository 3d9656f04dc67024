// SPDX-License-Identifier: BSD-2-Clause
// Every program's help, each command's, and every manual page as man shows
// it fit a terminal of 80 columns.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;

// What the program prints, after it ended with status 0.
std::string outputOf(const std::vector<std::string>& args, std::vector<std::string> environment = {})
{
    Child child(args, std::move(environment));
    const std::string text = child.read([](const std::string&) { return false; }, 20s);
    EXPECT_EQ(child.wait(1s), 0) << text;
    return text;
}

void expectWithin80Columns(const std::string& text)
{
    EXPECT_GT(text.size(), 200u) << "a help or page, not a complaint: " << text;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
}

// The command names the program's own help lists, so a new command is covered too.
std::vector<std::string> commandsOf(const std::string& help)
{
    std::vector<std::string> commands;
    std::istringstream lines(help.substr(help.find("\nCommands:\n") + 11));
    for (std::string line; std::getline(lines, line) && line.starts_with("  ");)
        commands.push_back(line.substr(2, line.find(' ', 2) - 2));
    return commands;
}

TEST(HelpWidth, EveryHelpAndManualPageFitsIn80Columns)
{
    for (const std::string program : {VELTRANE_WINDOW, VELTRANE_CLI, VELTRANE_SIM}) {
        SCOPED_TRACE(program);
        const std::string help = outputOf({program, "--help"}, {"QT_QPA_PLATFORM=offscreen"});
        expectWithin80Columns(help);
        const std::string name = std::filesystem::path(program).filename().string();
        if (name == "veltrane-cli") {
            const std::vector<std::string> commands = commandsOf(help);
            EXPECT_GE(commands.size(), 5u) << help;
            for (const std::string& command : commands) {
                SCOPED_TRACE(command);
                expectWithin80Columns(outputOf({program, command, "--help"}));
            }
        }
        const std::string page = std::string(VELTRANE_MAN_DIR) + "/" + name + ".1.gz";
        ASSERT_TRUE(std::filesystem::exists(page)) << page;
        expectWithin80Columns(outputOf({"/usr/bin/env", "man", "-l", page}, {"MANWIDTH=80"}));
    }
}

}  // namespace
}  // namespace veltrane
