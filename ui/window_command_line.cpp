// SPDX-License-Identifier: BSD-2-Clause
#include "window_command_line.h"

#include <CLI/CLI.hpp>

#include "command_line_style.h"

namespace veltrane {

namespace {

constexpr const char* kProgram = "veltrane";

constexpr const char* kAbout =
    "Usage: veltrane [--help] [--version]\n"
    "\n"
    "A data and signal monitor for testing GPS receivers on a serial port.\n"
    "VELTRANE_PORTS maps Comm numbers to devices, for example\n"
    "VELTRANE_PORTS=1=/dev/ttyUSB0,3=/dev/pts/4; without it Comm N is the system's\n"
    "N-th serial port. The window needs a display; veltrane-cli works without one.";

}  // namespace

std::optional<CommandLineAnswer> answerWithoutWindow(const std::vector<std::string>& arguments)
{
    CLI::App app("", kProgram);
    tools::presentProgram(app, kAbout, std::string(kProgram) + " " + VELTRANE_VERSION,
                          {
                              "0  the window was closed, or --help or --version printed",
                              "1  a failure ended the program, its number and description shown; or no",
                              "   display to show the window on",
                              "2  usage error: an unknown option or argument",
                          });
    const std::optional<tools::EarlyExit> ended = tools::parseWithoutCommands(app, kProgram, arguments);
    if (!ended) return std::nullopt;
    return CommandLineAnswer{ended->status, ended->text};
}

}  // namespace veltrane
