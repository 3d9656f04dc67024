// SPDX-License-Identifier: BSD-2-Clause
#include "sim_options.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "command_line_style.h"
#include "device_text.h"
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
    const auto formatter = std::make_shared<tools::HelpFormatter>();
    app.formatter(formatter);
    formatter->describe(&app, kAbout);
    app.set_help_flag("-h,--help", "print this help and exit");
    app.set_version_flag("--version", std::string(kProgram) + " " + VELTRANE_VERSION, "print the version and exit");
    app.allow_extras();
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
    app.footer(tools::exitTable({
        "0  ended by SIGINT, SIGTERM or SIGHUP (a capture played once leaves the line",
        "   silent until then), or --help or --version printed",
        "1  runtime error: the capture or the device cannot be read or opened, the",
        "   device is not a serial port, no pseudo-terminal, or standard output",
        "   cannot be written",
        "2  usage error: an unknown option, a missing or bad value",
    }));

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (tools::asksForHelp(arguments)) return SimExit{0, app.help()};
    const auto usageError = [](const std::string& why) {
        return SimExit{kExitUsageError, tools::usageErrorLine(kProgram, why) + "\n"};
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForVersion& version) {
        return SimExit{0, std::string(version.what()) + "\n"};
    } catch (const CLI::ParseError& error) {
        return usageError(tools::describeParseError(error));
    }
    if (!app.remaining().empty()) {
        const std::string first = app.remaining().front();
        return usageError((first.starts_with("-") ? "unknown option " : "unexpected argument ") +
                          quotedUserText(first));
    }
    options.baud = baud == "9600" ? 9600 : 4800;
    options.output.multiGnss = talkers == "gn";
    return options;
}

}  // namespace veltrane::sim
