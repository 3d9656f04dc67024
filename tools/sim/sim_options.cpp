// SPDX-License-Identifier: BSD-2-Clause
#include "sim_options.h"

#include <CLI/CLI.hpp>

#include "baud_rates.h"
#include "command_line_style.h"
#include "option_checks.h"

namespace veltrane::sim {

namespace {

constexpr const char* kProgram = "veltrane-sim";
constexpr int kMostReceivers = 64;

constexpr const char* kAbout =
    "Usage: veltrane-sim [--count N] [--baud LIST] [--ttff LIST] [--talkers LIST]\n"
    "                    [--ubx[=LIST]] [--moving] [--device PATH]\n"
    "       veltrane-sim [--count N] [--baud LIST] --file CAPTURE [--loop]\n"
    "                    [--device PATH]\n"
    "\n"
    "Plays GPS receivers, each at the pace of its own baud rate. Without --device\n"
    "each gets a pseudo-terminal, and the simulator prints the path of its other\n"
    "side, one line per receiver, for veltrane-cli's --port or VELTRANE_PORTS (for\n"
    "example VELTRANE_PORTS=1=/dev/pts/4). Like a receiver on a real line, what it\n"
    "sends while no program holds the port is lost, and a program set to another\n"
    "speed receives garbled bytes that never form a sentence. Each second it sends\n"
    "a fix: GPS sentences (GGA, GSA, GSV, RMC, VTG), or with --talkers gn those of\n"
    "a multi-GNSS receiver (GN GGA and RMC, GSV of GPS, GLONASS and Galileo with\n"
    "NMEA 4.11 signal IDs); --ubx adds UBX NAV-PVT and NAV-SAT frames between them,\n"
    "as a u-blox receiver with both protocols on one port sends. With --ubx a\n"
    "second's output is more than 4800 baud carries, so at 4800 every other second\n"
    "is skipped: use 9600 or more. A receiver stands still, as on a bench, its fix\n"
    "wandering within two metres; --moving drives it north-east at 5 m/s. With\n"
    "--ttff S it reports no fix until S seconds after its port was first opened.\n"
    "\n"
    "A LIST is one value for every receiver, or one for each in order, separated\n"
    "by commas: --count 3 --baud 4800,9600,115200 --ttff 0,30,0 --ubx=no,no,yes.";

std::vector<std::string> standardBaudNames()
{
    std::vector<std::string> names;
    for (const int baud : kStandardBauds) names.push_back(std::to_string(baud));
    return names;
}

// A LIST option's values: one for every receiver, or one for each.
struct PerReceiver {
    const char* option;
    std::vector<std::string> items;

    const std::string& at(int receiver) const
    {
        return items[items.size() == 1 ? 0 : static_cast<std::size_t>(receiver)];
    }
};

}  // namespace

std::variant<SimOptions, SimExit> parseSimOptions(int argc, const char* const* argv)
{
    SimOptions options;
    CLI::App app("", kProgram);
    tools::presentProgram(app, kAbout, std::string(kProgram) + " " + VELTRANE_VERSION,
                          {
                              "0    ended by SIGINT, SIGTERM or SIGHUP (a capture played once leaves the",
                              "     line silent until then), or --help or --version printed",
                              "1    runtime error: the capture or the device cannot be read or opened, the",
                              "     device is not a serial port, no pseudo-terminal, or standard output",
                              "     cannot be written",
                              "2    usage error: an unknown option, a missing or bad value",
                              "141  standard output's reader went away before the paths were written",
                          });
    int count = 1;
    app.add_option("--count", count, "the number of receivers, 1 to 64 (default 1)")
        ->type_name("N")
        ->check(tools::wholeNumberFrom(1, kMostReceivers));
    std::string bauds = "4800";
    app.add_option("--baud", bauds, "the speed: " + standardBaudsText() + " (default 4800)")
        ->type_name("LIST")
        ->check(tools::eachOf(tools::oneOf(standardBaudNames())));
    CLI::Option* file =
        app.add_option("--file", options.capture, "send the bytes of a recorded capture instead of its own sentences")
            ->type_name("CAPTURE");
    app.add_flag("--loop", options.loop, "send the capture over and over")->needs(file);
    std::string ttffs = "0";
    app.add_option("--ttff", ttffs, "seconds from the port's first opening to the first fix, 0 to 3600 (default 0)")
        ->type_name("LIST")
        ->check(tools::eachOf(tools::wholeNumberFrom(0, 3600)))
        ->excludes(file);
    std::string talkers = "gp";
    app.add_option("--talkers", talkers, "gp: a GPS receiver (default); gn: a multi-GNSS receiver")
        ->type_name("LIST")
        ->check(tools::eachOf(tools::oneOf({"gp", "gn"})))
        ->excludes(file);
    std::string ubx = "no";
    app.add_flag("--ubx{yes}", ubx, "send UBX frames between the sentences; LIST: yes or no for each")
        ->type_name("LIST")
        ->check(tools::eachOf(tools::oneOf({"yes", "no"})))
        ->excludes(file);
    bool moving = false;
    app.add_flag("--moving", moving, "drive north-east at 5 m/s instead of standing still")->excludes(file);
    CLI::Option* device =
        app.add_option("--device", options.device, "write to this serial device instead of a new pseudo-terminal")
            ->type_name("PATH");

    const auto usageError = [](const std::string& why) {
        return SimExit{kExitUsageError, tools::usageErrorLine(kProgram, why) + "\n"};
    };
    if (const std::optional<tools::EarlyExit> ended =
            tools::parseWithoutCommands(app, kProgram, std::vector<std::string>(argv + 1, argv + argc)))
        return SimExit{ended->status, ended->text};
    if (device->count() > 0 && count > 1)
        return usageError("--device is one line, so it plays one receiver, not " + std::to_string(count));

    const PerReceiver baudList{"--baud", tools::listItems(bauds)};
    const PerReceiver ttffList{"--ttff", tools::listItems(ttffs)};
    const PerReceiver talkerList{"--talkers", tools::listItems(talkers)};
    const PerReceiver ubxList{"--ubx", tools::listItems(ubx)};
    for (const PerReceiver* list : {&baudList, &ttffList, &talkerList, &ubxList})
        if (list->items.size() != 1 && list->items.size() != static_cast<std::size_t>(count))
            return usageError(std::string(list->option) + ": " + std::to_string(list->items.size()) +
                              " values for " + std::to_string(count) + (count == 1 ? " receiver" : " receivers") +
                              ": give one for all or one for each");
    options.receivers.clear();
    for (int i = 0; i < count; ++i)
        options.receivers.push_back({std::stoi(baudList.at(i)),
                                     std::stoi(ttffList.at(i)),
                                     {talkerList.at(i) == "gn", ubxList.at(i) == "yes", moving}});
    return options;
}

}  // namespace veltrane::sim
