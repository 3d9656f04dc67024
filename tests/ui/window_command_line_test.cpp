// SPDX-License-Identifier: BSD-2-Clause
// The window program as a person starts it from a shell, with no display at
// hand: every answer is one plain line or the help, never Qt's abort.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;

struct StartCase {
    std::vector<std::string> arguments;
    std::string display;  // empty: none set
    int status;
    std::string output;   // all of it, or the first line where it goes on
};

TEST(WindowCommandLine, WithoutADisplayEachStartEndsWithItsStatusAndOneLine)
{
    const StartCase cases[] = {
        {{}, "", 1, "veltrane: no display to show the window on (DISPLAY is not set); veltrane-cli works without one\n"},
        {{}, ":4729", 1,
         "veltrane: no display to show the window on (could not connect to display :4729); veltrane-cli works "
         "without one\n"},
        {{"--bogus"}, "", 2, "veltrane: unknown option '--bogus' (see 'veltrane --help')\n"},
        {{"-platform", "offscreen"}, "", 2, "veltrane: unknown option '-platform' (see 'veltrane --help')\n"},
        {{"capture.log"}, "", 2, "veltrane: unexpected argument 'capture.log' (see 'veltrane --help')\n"},
        {{"--bogus", "--help"}, "", 0, "Usage: veltrane [--help] [--version]"},
    };
    for (const StartCase& c : cases) {
        std::vector<std::string> command = {"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u",
                                            "QT_QPA_PLATFORM"};
        if (!c.display.empty()) command.push_back("DISPLAY=" + c.display);
        command.push_back(VELTRANE_WINDOW);
        command.insert(command.end(), c.arguments.begin(), c.arguments.end());
        testing::Child window(command);
        SCOPED_TRACE(c.output);
        EXPECT_EQ(window.wait(10s), c.status);
        const std::string output = window.read([](const std::string&) { return false; }, 0s);
        if (c.status == 0) {
            EXPECT_EQ(output.substr(0, output.find('\n')), c.output);
            EXPECT_NE(output.find("\n  2  usage error"), std::string::npos) << output;
        } else {
            EXPECT_EQ(output, c.output);
        }
    }
}

}  // namespace
}  // namespace veltrane
