// SPDX-License-Identifier: BSD-2-Clause
#include "command_texts.h"

#include <algorithm>
#include <array>

#include "baud_rates.h"
#include "command_line_style.h"
#include "thresholds.h"

namespace veltrane::cli {

namespace {

const std::string kPortsVariable =
    "VELTRANE_PORTS maps Comm numbers to devices, for example\n"
    "VELTRANE_PORTS=1=/dev/ttyUSB0,3=/dev/pts/4; without it Comm N is the system's\n"
    "N-th serial port. `veltrane-cli ports` shows the map.";

const std::string kDevices = tools::wrapped(
    "DEVICE is a path (/dev/ttyACM0, /dev/serial/by-id/...) or the system's name of a port (ttyUSB0 for "
    "/dev/ttyUSB0, COM17). RATE is one of " + standardBaudsText() + ".");

constexpr const char* kSignalRow = "129, 130, 143  ended by SIGHUP, SIGINT (Ctrl+C) or SIGTERM";
constexpr const char* kReaderGoneRow = "141  the output's reader went away (| head -1)";

// "[--max-cep95 M] [--max-hdop H] ...": the thresholds a capture can be held to, or those only listening can.
std::string thresholdForms(bool liveOnly)
{
    std::string forms;
    for (const health::ThresholdRule& rule : health::kThresholdRules) {
        if (rule.liveOnly != liveOnly) continue;
        if (!forms.empty()) forms += " ";
        forms.append("[").append(rule.option).append(" ").append(rule.valueName).append("]");
    }
    return forms;
}

std::string checkAbout()
{
    using tools::wrapped;
    return "Usage: veltrane-cli check [PORTS] [--bauds LIST|all] [--seconds S] [--json]\n"
           "                          [--junit FILE] " +
           thresholdForms(true) +
           " [THRESHOLDS]\n"
           "       veltrane-cli check --file CAPTURE [--json] [--junit FILE] [THRESHOLDS]\n"
           "PORTS: [--comm N[@RATE]]... [--port DEVICE[@RATE]]... [--baud RATE]\n"
           "       or --all [--baud RATE]\n"
           "THRESHOLDS: " +
           thresholdForms(false) + "\n\n" +
           wrapped("Listens to receivers for S seconds (default 60) and says whether each is healthy: it passes "
                   "when it reports at least one fix, at most 1 % of its sentences are damaged (an invalid "
                   "checksum, cut short, malformed), and each threshold given holds. Sentences of every talker are "
                   "read, UBX and RTCM 3 frames between them are counted, and the report shows the satellites each "
                   "constellation sees and their C/N0. It says when the window would not recognise the receiver; "
                   "that alone is no failure.") +
           "\n\n" +
           wrapped("Every port named by --comm and --port (or, with --all, every port `ports` lists) is listened to "
                   "at once, each judged alone. A port given without @RATE is opened at --baud, or without --baud "
                   "its speed is searched over --bauds as detect does; a port where none is found has no receiver. "
                   "With no port at all it first searches Comm 1 to 15 as detect does and checks the first "
                   "receiver found.") +
           "\n\n" +
           wrapped("On a terminal a table shows each receiver as it goes, otherwise one line per change goes to "
                   "standard error; then comes one report per receiver (one JSON object per line with --json) and, "
                   "for more than one port, the line \"N passed, M failed, K without a receiver\". --junit writes "
                   "the results as a JUnit XML file for CI servers. Ctrl+C ends the listening early: the reports so "
                   "far, marked interrupted, and the JUnit file still come out.") +
           "\n\n" +
           wrapped("With --file it reads a recorded capture (as monitor --record writes it) by the same "
                   "definitions; the time to first fix and the GGA interval are then unknown.") +
           "\n" + kDevices + "\n" + kPortsVariable;
}

std::string watchAbout()
{
    using tools::wrapped;
    return "Usage: veltrane-cli watch PORTS [--bauds LIST|all] [--listen ADDR:PORT]\n"
           "                          [--window S]\n"
           "PORTS: [--comm N[@RATE]]... [--port DEVICE[@RATE]]... [--baud RATE]\n"
           "       or --all [--baud RATE]\n\n" +
           wrapped("Watches receivers until it is stopped (Ctrl+C, SIGTERM, SIGHUP) and serves their health to "
                   "Prometheus at http://ADDR:PORT/metrics, by default 127.0.0.1:9727: this machine only, as "
                   "serving it to the network is a choice to make (--listen 0.0.0.0:9727). Only a GET of /metrics "
                   "is answered.") +
           "\n\n" +
           wrapped("Each port is found as check finds it, at its RATE or --baud, or by searching --bauds, and is "
                   "then read for as long as the watch runs. A receiver that goes away is opened again when its "
                   "device is back at the same path, and a port without a receiver is searched again, after pauses "
                   "that grow to 30 s; the other receivers go on meanwhile. One line on standard output tells each "
                   "change of a receiver's state: found, fix, no fix, lost, back.") +
           "\n\n" +
           wrapped("Counters count since the watch began. Figures over a window cover the last S seconds (default "
                   "60) by the check's definitions: veltrane_receiver_healthy is 1 while the check's verdict over "
                   "the window is pass. The README lists every metric.") +
           "\n" + kDevices + "\n" + kPortsVariable;
}

const std::array<CommandText, 6> kCommands = {{
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
     "Usage: veltrane-cli monitor [--comm N | --port DEVICE] [--baud RATE] [--json]\n"
     "                            [--seconds S] [--record FILE]\n\n"
     "Opens the port (default Comm 1) at the baud rate (default 4800) as the window\n"
     "does at start-up and shows the live readout and the sentence log: a live panel\n"
     "on a terminal, otherwise one line per event as it happens. Runs until Ctrl+C,\n"
     "SIGTERM, SIGHUP, S seconds, or the receiver disconnecting.\n" +
         kDevices + "\n" + kPortsVariable,
     {"0    ended after --seconds", "1    the output or the recording could not be written", "2    bad usage",
      "3    the port could not be opened; the reason is printed", "4    the receiver disconnected", kReaderGoneRow,
      kSignalRow}},
    {"ports", "list the serial ports and which device each Comm number names",
     "Usage: veltrane-cli ports [--json]\n\n"
     "Prints which device each Comm number names now, then the serial ports the\n"
     "system lists that no Comm number names, each with what the system knows of\n"
     "it: description, manufacturer, serial number, USB vendor and product id.\n" +
         kPortsVariable,
     {"0    every line of the map names a device", "1    the output could not be written",
      "2    bad usage, or VELTRANE_PORTS has entries that were ignored", "3    no port was found", kReaderGoneRow}},
    {"detect", "search ports and baud rates for a GPS receiver",
     "Usage: veltrane-cli detect [--comm N]... [--port DEVICE]... [--bauds LIST|all]\n"
     "                           [--json]\n\n"
     "Tries each port at each baud rate, in that order, and stops at the first\n"
     "combination whose output is recognised as GPS. Without --comm and --port it\n"
     "tries Comm 1 to Comm 15, and without --bauds 4800 and 9600, as the window does.\n"
     "Each trial takes about one second, four when text arrives that is not\n"
     "recognised.\n" +
         kDevices + "\n" + kPortsVariable,
     {"0    a receiver was found", "1    the search failed, or the output could not be written", "2    bad usage",
      "3    no receiver was found", kReaderGoneRow, kSignalRow}},
    {"check", "tell whether receivers are healthy, with a verdict scripts can trust", checkAbout(),
     {"0    every receiver found passed",
      "1    one failed or was lost; the reasons are printed (or the output or",
      "     the JUnit file could not be written)", "2    bad usage",
      "3    no receiver was found: no port opened, or none was recognised", kReaderGoneRow, kSignalRow}},
    {"watch", "serve the health of receivers to Prometheus until stopped", watchAbout(),
     {"0    stopped by SIGINT (Ctrl+C), SIGTERM or SIGHUP",
      "1    the metrics could not be served (the address is in use or not this",
      "     machine's), or the output could not be written", "2    bad usage",
      "3    --all found no serial port", kReaderGoneRow}},
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

std::string commandNamesText()
{
    std::string text;
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        text += (i == 0 ? "" : i + 1 == kCommands.size() ? " or " : ", ") + kCommands[i].name;
    return text;
}

}  // namespace veltrane::cli
