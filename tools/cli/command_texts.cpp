// SPDX-License-Identifier: BSD-2-Clause
#include "command_texts.h"

#include <algorithm>
#include <array>

namespace veltrane::cli {

namespace {

const std::string kPortsVariable =
    "VELTRANE_PORTS maps Comm numbers to devices, for example\n"
    "VELTRANE_PORTS=1=/dev/ttyUSB0,3=/dev/pts/4; without it Comm N is the system's\n"
    "N-th serial port. `veltrane-cli ports` shows the map.";

constexpr const char* kSignalRow = "129, 130, 143  ended by SIGHUP, SIGINT (Ctrl+C) or SIGTERM";
constexpr const char* kReaderGoneRow = "141  the output's reader went away (| head -1)";

const std::array<CommandText, 5> kCommands = {{
    {"replay", "run a recorded capture through the monitor",
     "Usage: veltrane-cli replay [--chunk-bytes N] [--json] [FILE]\n\n"
     "Runs a recorded capture through the monitor as if a port had just been opened\n"
     "on it: the readout is reset, the log emptied, and the file's bytes are handed\n"
     "to the receive handler in chunks, each followed by one assembler pass. Without\n"
     "--json it prints the readout, the indicators and the number of log rows at\n"
     "the end.",
     {"0    the capture was replayed", "1    the capture or the output could not be used", "2    bad usage",
      kReaderGoneRow}},
    {"monitor", "watch a serial port live",
     "Usage: veltrane-cli monitor [--comm N] [--baud 4800|9600] [--json] [--seconds S]\n"
     "                            [--record FILE]\n\n"
     "Opens Comm N at the baud rate as the window does at start-up and shows the live\n"
     "readout and the sentence log: a live panel on a terminal, otherwise one line per\n"
     "event as it happens. Runs until Ctrl+C, SIGTERM, SIGHUP, S seconds, or the\n"
     "receiver disconnecting.\n" +
         kPortsVariable,
     {"0    ended after --seconds", "1    the output or the recording could not be written", "2    bad usage",
      "3    the port could not be opened; the reason is printed", "4    the receiver disconnected", kReaderGoneRow,
      kSignalRow}},
    {"ports", "list which device each Comm number names",
     "Usage: veltrane-cli ports\n\n"
     "Prints which device each Comm number names now, one line per number that has\n"
     "one.\n" +
         kPortsVariable,
     {"0    every line of the map names a device", "1    the output could not be written",
      "2    bad usage, or VELTRANE_PORTS has entries that were ignored", "3    no Comm number names a device",
      kReaderGoneRow}},
    {"detect", "search every Comm number and baud rate for a GPS receiver",
     "Usage: veltrane-cli detect [--json]\n\n"
     "Tries Comm 1 to Comm 15 at 4800 and at 9600 baud, in that order, and stops at\n"
     "the first combination whose output is recognised as GPS. Each trial takes about\n"
     "one second, four when text arrives that is not recognised.\n" +
         kPortsVariable,
     {"0    a receiver was found", "1    the search failed, or the output could not be written", "2    bad usage",
      "3    no receiver was found", kReaderGoneRow, kSignalRow}},
    {"check", "tell whether a receiver is healthy, with a verdict scripts can trust",
     "Usage: veltrane-cli check [--comm N [--baud RATE]] [--seconds S] [--json]\n"
     "                          [--max-ttff S] [THRESHOLDS]\n"
     "       veltrane-cli check --file CAPTURE [--json] [THRESHOLDS]\n"
     "THRESHOLDS: [--max-cep95 M] [--max-hdop H] [--min-satellites N] [--min-cn0 DB]\n\n"
     "Listens to a receiver for S seconds (default 60) and says whether it is\n"
     "healthy: it passes when it reports at least one fix, at most 1 % of its\n"
     "sentences are damaged (an invalid checksum, cut short, malformed), and each\n"
     "threshold given holds. With --comm it opens that port; with neither --comm\n"
     "nor --file it first searches for the receiver as detect does. With --file it\n"
     "reads a recorded capture (as monitor --record writes it) by the same\n"
     "definitions; the time to first fix and the GGA interval are then unknown.\n"
     "Sentences of every talker are read, UBX and RTCM 3 frames between them are\n"
     "counted, and the report shows the satellites each constellation sees and\n"
     "their C/N0. It says when the window would not recognise the receiver; that\n"
     "alone is no failure.\n" +
         kPortsVariable,
     {"0    the receiver passed", "1    it failed; the reasons are printed (or the output could not be written)",
      "2    bad usage", "3    no receiver was found, or the port could not be opened", kReaderGoneRow, kSignalRow}},
}};

std::string programAbout()
{
    std::string about = "Usage: veltrane-cli COMMAND [OPTIONS]\n\n"
                        "Tests GPS receivers that speak NMEA 0183 on a serial port, without a window.\n\n"
                        "Commands:\n";
    for (const CommandText& command : kCommands) {
        std::string name = command.name;
        name.resize(9, ' ');
        about += "  " + name + command.summary + "\n";
    }
    return about + "\n`veltrane-cli COMMAND --help` describes a command.\n" + kPortsVariable;
}

}  // namespace

const CommandText& programText()
{
    static const CommandText text{"", "", programAbout(),
                                  {"0    success", "1    the command failed; the reason is printed", "2    bad usage",
                                   "3    the port could not be opened, or no receiver was found",
                                   "4    the receiver disconnected", kReaderGoneRow, kSignalRow}};
    return text;
}

const CommandText& commandText(const std::string& name)
{
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [&name](const CommandText& command) { return command.name == name; });
}

}  // namespace veltrane::cli
