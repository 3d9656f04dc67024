// SPDX-License-Identifier: BSD-2-Clause
#include "run_command_line.h"

#include <QCoreApplication>

#include <memory>
#include <new>

#include "device_text.h"
#include "qt_system_ports.h"
#include "command_line.h"
#include "exit_status.h"
#include "qt_event_loop.h"
#include "start_up_choices.h"

namespace veltrane::cli {

namespace {

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};

// The live commands run Qt's event loop; a caller that has one already (a
// test) keeps it.
std::unique_ptr<QCoreApplication> eventLoopApplication()
{
    if (QCoreApplication::instance()) return nullptr;
    static int argc = 1;
    static char name[] = "veltrane-cli";
    static char* argv[] = {name, nullptr};
    const StartUpChoices choices{kQtEventDispatcher};
    return std::make_unique<QCoreApplication>(argc, argv);
}

struct Run {
    int status;
    std::string command;
};

// Entries of the Comm map that were refused are told at once; the rest still count.
CommMap portMap(const std::string& command, Output& err)
{
    CommMap map = systemCommMap();
    for (const std::string& problem : map.problems()) err.line("veltrane-cli " + command + ": " + escapeDeviceText(problem));
    return map;
}

// A command that works on ports: it needs the event loop and the Comm map.
template <class Options>
Run live(const std::string& name, int (*command)(const Options&, const CommMap&, Output&, Output&),
         const Options& options, Output& out, Output& err)
{
    const auto application = eventLoopApplication();
    return Run{command(options, portMap(name, err), out, err), name};
}

Run run(const Invocation& invocation, Output& out, Output& err)
{
    return std::visit(
        Overloaded{
            [&](const PrintText& print) {
                out.write(print.text);
                out.flush();
                return Run{kExitSuccess, ""};
            },
            [&](const UsageError& usage) {
                err.line(usage.message);
                return Run{kExitUsage, ""};
            },
            [&](const ReplayOptions& options) { return Run{runReplay(options, out, err), "replay"}; },
            [&](const MonitorOptions& options) { return live("monitor", runMonitor, options, out, err); },
            [&](const PortsOptions& options) { return live("ports", runPorts, options, out, err); },
            [&](const DetectOptions& options) { return live("detect", runDetect, options, out, err); },
            [&](const CheckOptions& options) { return live("check", runCheck, options, out, err); },
            [&](const WatchOptions& options) { return live("watch", runWatch, options, out, err); },
        },
        invocation);
}

}  // namespace

int runCommandLine(const std::vector<std::string>& arguments, Output& out, Output& err)
{
    Run result{kExitFailure, ""};
    try {
        result = run(parseCommandLine(arguments), out, err);
    } catch (const std::bad_alloc&) {
        err.line("veltrane-cli: memory exhausted: the input or an option asks for more memory than there is");
        return kExitFailure;
    } catch (const std::exception& failure) {
        err.line(std::string("veltrane-cli: ") + failure.what());
        return kExitFailure;
    }
    if (!out.failed()) return result.status;
    if (out.readerGone()) return kExitReaderGone;
    const std::string name = result.command.empty() ? "veltrane-cli" : "veltrane-cli " + result.command;
    err.line(name + ": cannot write the output: " + out.failureText());
    return kExitFailure;
}

}  // namespace veltrane::cli
