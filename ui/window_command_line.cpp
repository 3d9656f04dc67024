// SPDX-License-Identifier: BSD-2-Clause
#include "window_command_line.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "command_line_style.h"
#include "device_text.h"

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
    const auto formatter = std::make_shared<tools::HelpFormatter>();
    app.formatter(formatter);
    formatter->describe(&app, kAbout);
    app.set_help_flag("-h,--help", "print this help and exit");
    app.set_version_flag("--version", std::string(kProgram) + " " + VELTRANE_VERSION, "print the version and exit");
    app.allow_extras();
    app.footer(tools::exitTable({
        "0  the window was closed, or --help or --version printed",
        "1  a failure ended the program, its number and description shown; or no",
        "   display to show the window on",
        "2  usage error: an unknown option or argument",
    }));

    if (tools::asksForHelp(arguments)) return CommandLineAnswer{0, app.help()};
    const auto usageError = [](const std::string& why) {
        return CommandLineAnswer{2, tools::usageErrorLine(kProgram, why) + "\n"};
    };
    try {
        // CLI11 takes the arguments last first.
        app.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));
    } catch (const CLI::CallForVersion& version) {
        return CommandLineAnswer{0, std::string(version.what()) + "\n"};
    } catch (const CLI::ParseError& error) {
        return usageError(tools::describeParseError(error));
    }
    if (!app.remaining().empty()) {
        const std::string first = app.remaining().front();
        return usageError((first.starts_with("-") ? "unknown option " : "unexpected argument ") +
                          quotedUserText(first));
    }
    return std::nullopt;
}

}  // namespace veltrane
