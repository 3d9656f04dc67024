// SPDX-License-Identifier: BSD-2-Clause
#include "sim_options.h"

#include <CLI/CLI.hpp>

#include "command_line_style.h"
#include "option_checks.h"

namespace veltrane::sim {

namespace {

constexpr const char* kProgram = "veltrane-sim";

constexpr const char* kAbout =
    "Usage: veltrane-sim [--baud 4800|9600] [--talkers gp|gn] [--ubx] [--device PATH]\n"
    "       veltrane-sim [--baud 4800|9600] --file CAPTURE [--loop] [--device PATH]\n"
    "\n"
    "Plays a GPS receiver at the pace of its baud rate. Without --device it opens a\n"
    "pseudo-terminal and prints the path of its other side as the first line, for\n"
    "VELTRANE_PORTS (for example VELTRANE_PORTS=1=/dev/pts/4). Like a receiver on a\n"
    "real line, what it sends while no program holds the port is lost, and a\n"
    "program set to another speed receives garbled bytes that never form a\n"
    "sentence. Each second it sends a fix: GPS sentences (GGA, GSA, GSV, RMC, VTG),\n"
    "or with --talkers gn those of a multi-GNSS receiver (GN GGA and RMC, GSV of\n"
    "GPS, GLONASS and Galileo with NMEA 4.11 signal IDs); --ubx adds UBX NAV-PVT\n"
    "and NAV-SAT frames between them, as a u-blox receiver with both protocols on\n"
    "one port sends. With --ubx a second's output is more than 4800 baud carries,\n"
    "so at 4800 every other second is skipped: use --baud 9600.";

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
    std::string talkers = "gp";
    app.add_option("--talkers", talkers, "gp: a GPS receiver (default); gn: a multi-GNSS receiver")
        ->type_name("gp|gn")
        ->check(tools::oneOf({"gp", "gn"}))
        ->excludes(file);
    app.add_flag("--ubx", options.output.ubx, "send UBX frames between the sentences")->excludes(file);
    app.add_option("--device", options.device, "write to this serial device instead of a new pseudo-terminal")
        ->type_name("PATH");

    if (const std::optional<tools::EarlyExit> ended =
            tools::parseWithoutCommands(app, kProgram, std::vector<std::string>(argv + 1, argv + argc)))
        return SimExit{ended->status, ended->text};
    options.baud = baud == "9600" ? 9600 : 4800;
    options.output.multiGnss = talkers == "gn";
    return options;
}

}  // namespace veltrane::sim
