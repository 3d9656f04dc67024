// SPDX-License-Identifier: BSD-2-Clause
#include "command_line.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "comm_map.h"
#include "device_text.h"
#include "command_line_style.h"
#include "command_texts.h"
#include "option_checks.h"

namespace veltrane::cli {

namespace {

using tools::numberFrom;
using tools::oneOf;
using tools::secondsUpTo;
using tools::wholeNumberFrom;

const std::string kProgram = "veltrane-cli";
const std::string kVersion = kProgram + " " + VELTRANE_VERSION;

CLI::Option* addCommOption(CLI::App* command, int& comm, const std::string& help)
{
    return command->add_option("--comm", comm, help)->type_name("N")->check(wholeNumberFrom(1, kLastComm));
}

CLI::Option* addBaudOption(CLI::App* command, std::string& baud)
{
    return command->add_option("--baud", baud, "the baud rate, 4800 or 9600 (default 4800)")
        ->type_name("RATE")
        ->check(oneOf({"4800", "9600"}));
}

CLI::Option* addSecondsOption(CLI::App* command, double& seconds, const std::string& help)
{
    return command->add_option("--seconds", seconds, help)->type_name("S")->check(secondsUpTo(kMaxSeconds));
}

struct Parser {
    Parser()
    {
        app.formatter(formatter);
        present(app, programText());
        defineReplay();
        defineMonitor();
        portsCommand = subcommand("ports");
        defineDetect();
        defineCheck();
    }

    // The help, the version and what is left over, the same on every command.
    void present(CLI::App& command, const CommandText& text)
    {
        formatter->describe(&command, text.about);
        command.footer(tools::exitTable(text.exitRows));
        command.set_help_flag("-h,--help", "print this help and exit");
        command.set_version_flag("--version", kVersion, "print the version and exit");
        command.allow_extras();
    }

    CLI::App* subcommand(const std::string& name)
    {
        const CommandText& text = commandText(name);
        CLI::App* command = app.add_subcommand(name, text.summary);
        present(*command, text);
        commands.push_back(command);
        return command;
    }

    void defineReplay()
    {
        CLI::App* c = replayCommand = subcommand("replay");
        c->add_option("FILE", replay.file, "the capture; standard input when FILE is - or absent")->type_name("");
        c->add_option("--chunk-bytes", replay.chunkBytes,
                      "bytes per receive event, 1 to 1048576 (default 64); the last chunk may be shorter")
            ->type_name("N")
            ->check(wholeNumberFrom(1, static_cast<long long>(kMaxChunkBytes)));
        c->add_flag("--json", replay.json,
                    "one JSON object per line for every field write, log row, clearing of the log and loss");
    }

    void defineMonitor()
    {
        CLI::App* c = monitorCommand = subcommand("monitor");
        addCommOption(c, monitor.comm, "the Comm number, 1 to 15 (default 1)");
        addBaudOption(c, monitorBaud);
        c->add_flag("--json", monitor.json, "one JSON object per line for every field write and log change");
        addSecondsOption(c, monitor.seconds, "stop after S seconds (at most 1000000)");
        c->add_option("--record", monitor.record,
                      "write every byte read from the port, unchanged, to FILE (created or emptied first); "
                      "replay it with `veltrane-cli replay FILE` or play it with `veltrane-sim --file FILE`")
            ->type_name("FILE");
    }

    void defineDetect()
    {
        CLI::App* c = detectCommand = subcommand("detect");
        c->add_flag("--json", detect.json, "one JSON object per line: trying, then detected or not_detected");
    }

    void defineCheck()
    {
        CLI::App* c = checkCommand = subcommand("check");
        CLI::Option* comm = addCommOption(c, check.comm, "the Comm number, 1 to 15");
        CLI::Option* baud = addBaudOption(c, checkBaud)->needs(comm);
        CLI::Option* seconds = addSecondsOption(c, check.seconds, "listen for S seconds (default 60)");
        maxTtff = c->add_option("--max-ttff", ttff, "fail when the first fix takes more than S seconds")
                      ->type_name("S")
                      ->check(numberFrom(0, kMaxSeconds));
        c->add_option("--file", check.file, "check a recorded capture instead of a port")
            ->type_name("CAPTURE")
            ->excludes(comm)
            ->excludes(baud)
            ->excludes(seconds)
            ->excludes(maxTtff);
        c->add_flag("--json", check.json, "print the report as one JSON object");
        maxCep95 = c->add_option("--max-cep95", cep95, "fail when 95 % of the fixes are not within M metres")
                       ->type_name("M")
                       ->check(numberFrom(0, 20000000));
        maxHdop = c->add_option("--max-hdop", hdop, "fail when the median HDOP is above H")
                      ->type_name("H")
                      ->check(numberFrom(0, 100));
        minSatellites = c->add_option("--min-satellites", satellites,
                                      "fail when the median of satellites used is below N")
                            ->type_name("N")
                            ->check(wholeNumberFrom(0, 99));
        minCn0 = c->add_option("--min-cn0", cn0, "fail when the median C/N0 of every GSV is below DB dB-Hz")
                     ->type_name("DB")
                     ->check(numberFrom(0, 99));
    }

    CheckOptions checkOptions() const
    {
        CheckOptions options = check;
        options.baudIndex = checkBaud == "4800" ? 0 : 1;
        const auto given = [](const CLI::Option* option, double value) {
            return option->count() > 0 ? std::optional(value) : std::nullopt;
        };
        options.thresholds = {given(maxTtff, ttff), given(maxCep95, cep95), given(maxHdop, hdop),
                              given(minSatellites, satellites), given(minCn0, cn0)};
        return options;
    }

    CLI::App* chosen() const
    {
        for (CLI::App* command : commands)
            if (command->parsed()) return command;
        return nullptr;
    }

    std::shared_ptr<tools::HelpFormatter> formatter = std::make_shared<tools::HelpFormatter>();
    CLI::App app{"", kProgram};
    std::vector<CLI::App*> commands;
    CLI::App* replayCommand = nullptr;
    CLI::App* monitorCommand = nullptr;
    CLI::App* portsCommand = nullptr;
    CLI::App* detectCommand = nullptr;
    ReplayOptions replay;
    MonitorOptions monitor;
    std::string monitorBaud = "4800";
    PortsOptions ports;
    DetectOptions detect;
    CLI::App* checkCommand = nullptr;
    CheckOptions check;
    std::string checkBaud = "4800";
    CLI::Option* maxTtff = nullptr;
    CLI::Option* maxCep95 = nullptr;
    CLI::Option* maxHdop = nullptr;
    CLI::Option* minSatellites = nullptr;
    CLI::Option* minCn0 = nullptr;
    double ttff = 0;
    double cep95 = 0;
    double hdop = 0;
    double satellites = 0;
    double cn0 = 0;
};

UsageError usageError(const CLI::App* command, const std::string& why)
{
    return {tools::usageErrorLine(command ? kProgram + " " + command->get_name() : kProgram, why)};
}

}  // namespace

Invocation parseCommandLine(const std::vector<std::string>& arguments)
{
    Parser parser;
    if (tools::asksForHelp(arguments)) {
        // The command is the first word that names one; a later one is an option's value.
        for (const std::string& argument : arguments)
            for (CLI::App* command : parser.commands)
                if (argument == command->get_name()) return PrintText{command->help()};
        return PrintText{parser.app.help()};
    }

    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        parser.app.parse(reversed);
    } catch (const CLI::CallForVersion& version) {
        return PrintText{std::string(version.what()) + "\n"};
    } catch (const CLI::ParseError& error) {
        return usageError(parser.chosen(), tools::describeParseError(error));
    }

    CLI::App* command = parser.chosen();
    if (!parser.app.remaining().empty()) {
        const std::string first = parser.app.remaining().front();
        if (first.starts_with("-")) return usageError(nullptr, "unknown option " + quotedUserText(first));
        return usageError(nullptr, "unknown command " + quotedUserText(first) + ": replay, monitor, ports, detect or check");
    }
    if (!command) return usageError(nullptr, "a command is needed: replay, monitor, ports, detect or check");
    if (!command->remaining().empty()) {
        const std::string first = command->remaining().front();
        return usageError(command, (first.starts_with("-") ? "unknown option " : "unexpected argument ") +
                                       quotedUserText(first));
    }

    if (command == parser.replayCommand) return parser.replay;
    if (command == parser.monitorCommand) {
        parser.monitor.baudIndex = parser.monitorBaud == "4800" ? 0 : 1;
        return parser.monitor;
    }
    if (command == parser.portsCommand) return parser.ports;
    if (command == parser.checkCommand) return parser.checkOptions();
    return parser.detect;
}

}  // namespace veltrane::cli
