// SPDX-License-Identifier: BSD-2-Clause
#include "command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>
#include <memory>

#include "baud_rates.h"
#include "comm_map.h"
#include "device_text.h"
#include "command_line_style.h"
#include "command_texts.h"
#include "metrics_server.h"
#include "option_checks.h"
#include "thresholds.h"

namespace veltrane::cli {

namespace {

using tools::numberFrom;
using tools::secondsUpTo;
using tools::wholeNumberFrom;

const std::string kProgram = "veltrane-cli";
const std::string kVersion = kProgram + " " + VELTRANE_VERSION;

// A check whose message names what is allowed, built from a parser of the text.
template <class Parse>
CLI::Validator accepting(Parse parse, const std::string& rule)
{
    return CLI::Validator(
        [=](std::string& value) -> std::string { return parse(value) ? "" : rule + ", not " + quotedUserText(value); },
        "");
}

CLI::Validator standardBaudCheck() { return accepting(standardBaud, "must be " + standardBaudsText()); }

CLI::Validator deviceCheck()
{
    return accepting([](const std::string& device) { return !device.empty(); }, "must name a device");
}

CLI::Option* addSecondsOption(CLI::App* command, double& seconds, const std::string& help)
{
    return command->add_option("--seconds", seconds, help)->type_name("S")->check(secondsUpTo(kMaxSeconds));
}

CLI::Option* addBaudsOption(CLI::App* command, std::string& bauds)
{
    std::string window;
    for (const int baud : kWindowBauds) window += (window.empty() ? "" : ",") + std::to_string(baud);
    return command->add_option("--bauds", bauds,
                               "the baud rates to search, in order: a comma-separated list or all (default " +
                                   window + ")")
        ->type_name("LIST")
        ->check(accepting(baudList, baudListRule()));
}

// Repeated port options, each occurrence one value.
CLI::Option* addPortsOption(CLI::App* command, const std::string& name, std::vector<std::string>& values,
                            const std::string& valueName, const std::string& help, CLI::Validator check)
{
    return command->add_option(name, values, help)->type_name(valueName)->allow_extra_args(false)->check(check);
}

// The ports as given, --comm and --port interleaved in the order they came.
template <class Port, class FromComm, class FromDevice>
std::vector<Port> portsInOrder(const CLI::App* command, const std::vector<std::string>& comms,
                               const std::vector<std::string>& devices, FromComm fromComm, FromDevice fromDevice)
{
    std::vector<Port> ports;
    std::size_t nextComm = 0;
    std::size_t nextDevice = 0;
    for (const CLI::Option* option : command->parse_order()) {
        if (option->check_name("--comm")) ports.push_back(fromComm(comms.at(nextComm++)));
        if (option->check_name("--port")) ports.push_back(fromDevice(devices.at(nextDevice++)));
    }
    return ports;
}

// --comm, --port, --all, --baud and --bauds, as check and watch take them:
// the raw values, until the ports are put in the order they were given.
struct PortArgumentOptions {
    // `verb` says what the command does to a port ("check").
    void define(CLI::App* command, PortArguments& asked, const std::string& verb)
    {
        app = command;
        comm = addPortsOption(command, "--comm", comms, "N[@RATE]",
                              "a Comm number to " + verb + ", at RATE if given; repeat for more",
                              accepting(givenComm, givenCommRule()));
        device = addPortsOption(command, "--port", devices, "DEVICE[@RATE]",
                                "a port to " + verb + " by its device, at RATE if given; repeat for more",
                                accepting(givenDevice, givenDeviceRule()));
        all = command->add_flag("--all", asked.all, verb + " every port that `ports` lists")
                  ->excludes(comm)
                  ->excludes(device);
        baud = command
                   ->add_option("--baud", baudValue, "the baud rate of every port given without @RATE, instead of "
                                                     "searching")
                   ->type_name("RATE")
                   ->check(standardBaudCheck());
        bauds = addBaudsOption(command, baudsText)->excludes(baud);
    }

    // Fills in the ports; a usage error's reason when they do not add up.
    std::optional<std::string> fill(PortArguments& asked) const
    {
        asked.ports = portsInOrder<GivenPort>(
            app, comms, devices, [](const std::string& text) { return *givenComm(text); },
            [](const std::string& text) { return *givenDevice(text); });
        if (baud->count() > 0) asked.baud = baudValue;
        if (!baudsText.empty()) asked.bauds = *baudList(baudsText);
        if (asked.baud && asked.ports.empty() && !asked.all) return "--baud needs --comm, --port or --all";
        return std::nullopt;
    }

    CLI::App* app = nullptr;
    std::vector<std::string> comms;
    std::vector<std::string> devices;
    CLI::Option* comm = nullptr;
    CLI::Option* device = nullptr;
    CLI::Option* all = nullptr;
    CLI::Option* baud = nullptr;
    CLI::Option* bauds = nullptr;
    int baudValue = 0;
    std::string baudsText;
};

struct Parser {
    Parser()
    {
        app.formatter(formatter);
        present(app, programText());
        defineReplay();
        defineMonitor();
        definePorts();
        defineDetect();
        defineCheck();
        defineWatch();
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
        commands[name] = command;
        return command;
    }

    void defineReplay()
    {
        CLI::App* c = subcommand("replay");
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
        CLI::App* c = subcommand("monitor");
        CLI::Option* comm = c->add_option("--comm", monitorComm, "the Comm number, 1 to 15 (default 1)")
                                ->type_name("N")
                                ->check(wholeNumberFrom(1, kLastComm));
        c->add_option("--port", monitorDevice, "the port's device or system name, instead of --comm")
            ->type_name("DEVICE")
            ->check(deviceCheck())
            ->excludes(comm);
        c->add_option("--baud", monitor.baud, "the baud rate (default 4800)")->type_name("RATE")->check(standardBaudCheck());
        c->add_flag("--json", monitor.json, "one JSON object per line for every field write and log change");
        addSecondsOption(c, monitor.seconds, "stop after S seconds (at most 1000000)");
        c->add_option("--record", monitor.record,
                      "write every byte read from the port, unchanged, to FILE (created or emptied first); "
                      "replay it with `veltrane-cli replay FILE` or play it with `veltrane-sim --file FILE`")
            ->type_name("FILE");
    }

    void definePorts()
    {
        CLI::App* c = subcommand("ports");
        c->add_flag("--json", ports.json, "one JSON object per port");
    }

    void defineDetect()
    {
        CLI::App* c = subcommand("detect");
        addPortsOption(c, "--comm", detectComms, "N", "a Comm number to search, 1 to 15; repeat for more",
                       wholeNumberFrom(1, kLastComm));
        addPortsOption(c, "--port", detectDevices, "DEVICE", "a port to search by its device; repeat for more",
                       deviceCheck());
        addBaudsOption(c, detectBauds);
        c->add_flag("--json", detect.json, "one JSON object per line: trying, then detected or not_detected");
    }

    void defineCheck()
    {
        CLI::App* c = subcommand("check");
        checkPorts.define(c, check, "check");
        CLI::Option* seconds = addSecondsOption(c, check.seconds, "listen for S seconds (default 60)");
        c->add_flag("--json", check.json, "print each report as one JSON object on a line of its own");
        c->add_option("--junit", check.junit, "also write the results to FILE as JUnit XML")->type_name("FILE");
        CLI::Option* file = c->add_option("--file", check.file, "check a recorded capture instead of ports")
                                ->type_name("CAPTURE")
                                ->excludes(checkPorts.comm)
                                ->excludes(checkPorts.device)
                                ->excludes(checkPorts.all)
                                ->excludes(checkPorts.baud)
                                ->excludes(checkPorts.bauds)
                                ->excludes(seconds);
        for (std::size_t i = 0; i < health::kThresholdRules.size(); ++i) {
            const health::ThresholdRule& rule = health::kThresholdRules[i];
            CLI::Option* option = c->add_option(std::string(rule.option), thresholdValues[i], std::string(rule.help))
                                      ->type_name(std::string(rule.valueName))
                                      ->check(rule.wholeNumber ? wholeNumberFrom(static_cast<long long>(rule.lowest),
                                                                                 static_cast<long long>(rule.highest))
                                                               : numberFrom(rule.lowest, rule.highest));
            if (rule.liveOnly) file->excludes(option);
            thresholdOptions[i] = option;
        }
    }

    void defineWatch()
    {
        CLI::App* c = subcommand("watch");
        watchPorts.define(c, watch, "watch");
        c->add_option("--listen", watch.listen,
                      "serve the metrics at http://ADDR:PORT/metrics (default 127.0.0.1:9727; port 0: any "
                      "free one)")
            ->type_name("ADDR:PORT")
            ->check(accepting(watch::isListenAddress, watch::kListenAddressRule));
        c->add_option("--window", watch.windowSeconds,
                      "the figures' sliding window, 1 to " + std::to_string(kMaxWindowSeconds) +
                          " seconds (default 60)")
            ->type_name("S")
            ->check(wholeNumberFrom(1, kMaxWindowSeconds));
    }

    MonitorOptions monitorOptions() const
    {
        MonitorOptions options = monitor;
        options.port = monitorDevice.empty() ? PortName::byComm(monitorComm) : PortName::byDevice(monitorDevice);
        return options;
    }

    DetectOptions detectOptions() const
    {
        DetectOptions options = detect;
        options.ports = portsInOrder<PortName>(
            commands.at("detect"), detectComms, detectDevices,
            [](const std::string& comm) { return PortName::byComm(std::stoi(comm)); }, PortName::byDevice);
        if (!detectBauds.empty()) options.bauds = *baudList(detectBauds);
        return options;
    }

    // The check, or why its ports do not add up.
    std::variant<CheckOptions, std::string> checkOptions() const
    {
        CheckOptions options = check;
        if (const std::optional<std::string> problem = checkPorts.fill(options)) return *problem;
        for (std::size_t i = 0; i < health::kThresholdRules.size(); ++i)
            if (thresholdOptions[i]->count() > 0) options.thresholds.*health::kThresholdRules[i].limit = thresholdValues[i];
        return options;
    }

    std::variant<WatchOptions, std::string> watchOptions() const
    {
        WatchOptions options = watch;
        if (const std::optional<std::string> problem = watchPorts.fill(options)) return *problem;
        if (options.ports.empty() && !options.all) return "a port is needed: --comm, --port or --all";
        return options;
    }

    CLI::App* chosen() const
    {
        for (const auto& [name, command] : commands)
            if (command->parsed()) return command;
        return nullptr;
    }

    std::shared_ptr<tools::HelpFormatter> formatter = std::make_shared<tools::HelpFormatter>();
    CLI::App app{"", kProgram};
    std::map<std::string, CLI::App*> commands;
    ReplayOptions replay;
    MonitorOptions monitor;
    int monitorComm = 1;
    std::string monitorDevice;
    PortsOptions ports;
    DetectOptions detect;
    std::vector<std::string> detectComms;
    std::vector<std::string> detectDevices;
    std::string detectBauds;
    CheckOptions check;
    PortArgumentOptions checkPorts;
    WatchOptions watch;
    PortArgumentOptions watchPorts;
    std::array<double, health::kThresholdRules.size()> thresholdValues{};
    std::array<CLI::Option*, health::kThresholdRules.size()> thresholdOptions{};
};

UsageError usageError(const CLI::App* command, const std::string& why)
{
    return {tools::usageErrorLine(command ? kProgram + " " + command->get_name() : kProgram, why)};
}

template <class Options>
Invocation orUsageError(const CLI::App* command, const std::variant<Options, std::string>& options)
{
    if (const auto* problem = std::get_if<std::string>(&options)) return usageError(command, *problem);
    return std::get<Options>(options);
}

}  // namespace

Invocation parseCommandLine(const std::vector<std::string>& arguments)
{
    Parser parser;
    if (tools::asksForHelp(arguments)) {
        // The command is the first word that names one; a later one is an option's value.
        for (const std::string& argument : arguments)
            if (const auto command = parser.commands.find(argument); command != parser.commands.end())
                return PrintText{command->second->help()};
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
        return usageError(nullptr, "unknown command " + quotedUserText(first) + ": " + commandNamesText());
    }
    if (!command) return usageError(nullptr, "a command is needed: " + commandNamesText());
    if (!command->remaining().empty()) {
        const std::string first = command->remaining().front();
        return usageError(command, (first.starts_with("-") ? "unknown option " : "unexpected argument ") +
                                       quotedUserText(first));
    }

    const std::string& name = command->get_name();
    if (name == "replay") return parser.replay;
    if (name == "monitor") return parser.monitorOptions();
    if (name == "ports") return parser.ports;
    if (name == "detect") return parser.detectOptions();
    if (name == "check") return orUsageError(command, parser.checkOptions());
    return orUsageError(command, parser.watchOptions());
}

}  // namespace veltrane::cli
