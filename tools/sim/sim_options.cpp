// SPDX-License-Identifier: BSD-2-Clause
#include "sim_options.h"

#include <CLI/CLI.hpp>

#include "command_line_style.h"
#include "option_checks.h"

namespace veltrane::sim {

namespace {

constexpr const char* kProgram = "veltrane-sim";

constexpr const char* kAbout =
    "Usage: veltrane-sim [--baud 4800|9600] [--file CAPTURE [--loop]] [--device PATH]\n"
    "\n"
    "Plays a GPS receiver at the pace of its baud rate. Without --device it opens a\n"
    "pseudo-terminal and prints the path of its other side as the first line, for\n"
    "VELTRANE_PORTS (for example VELTRANE_PORTS=1=/dev/pts/4). Like a receiver on a\n"
    "real line, what it sends while no program holds the port is lost, and a program\n"
    "set to another speed receives garbled bytes that never form a sentence.";

}  // namespace

std::variant<SimOptions, SimExit> parseSimOptions(int argc, const char* const* argv)
{
    SimOptions options;
    std::string baud = "4800";
    CLI::App app("", kProgram);
    tools::presentProgram(app, kAbout, std::string(kProgram) + " " + VELTRANE_VERSION,
                          {
                              "0  ended by SIGINT, SIGTERM or SIGHUP (a capture played once leaves the line",
                              "   silent until then), or --help or --version printed",
                              "1  runtime error: the capture or the device cannot be read or opened, the",
                              "   device is not a serial port, no pseudo-terminal, or standard output",
                              "   cannot be written",
                              "2  usage error: an unknown option, a missing or bad value",
                          });
    app.add_option("--baud", baud, "the receiver's speed, 4800 or 9600 (default 4800)")
        ->type_name("RATE")
        ->check(tools::oneOf({"4800", "9600"}));
    CLI::Option* file =
        app.add_option("--file", options.capture, "send the bytes of a recorded capture instead of its own sentences")
            ->type_name("CAPTURE");
    app.add_flag("--loop", options.loop, "send the capture over and over")->needs(file);
    app.add_option("--device", options.device, "write to this serial device instead of a new pseudo-terminal")
        ->type_name("PATH");

    if (const std::optional<tools::EarlyExit> ended =
            tools::parseWithoutCommands(app, kProgram, std::vector<std::string>(argv + 1, argv + argc)))
        return SimExit{ended->status, ended->text};
    options.baud = baud == "9600" ? 9600 : 4800;
    return options;
}

}  // namespace veltrane::sim
