#include "run_command_line.h"

#include <QCoreApplication>

#include <memory>
#include <new>

#include "comm_map.h"
#include "command_line.h"
#include "exit_status.h"
#include "qt_event_loop.h"

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
    useQtEventDispatcher();
    return std::make_unique<QCoreApplication>(argc, argv);
}

struct Run {
    int status;
    std::string command;
};

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
            [&](const MonitorOptions& options) {
                const auto application = eventLoopApplication();
                return Run{runMonitor(options, out, err), "monitor"};
            },
            [&](const PortsOptions& options) {
                const auto application = eventLoopApplication();
                return Run{runPorts(options, CommMap::fromEnvironment(), out, err), "ports"};
            },
            [&](const DetectOptions& options) {
                const auto application = eventLoopApplication();
                return Run{runDetect(options, out, err), "detect"};
            },
            [&](const CheckOptions& options) {
                const auto application = eventLoopApplication();
                return Run{runCheck(options, out, err), "check"};
            },
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
    if (!out.readerGone()) {
        const std::string name = result.command.empty() ? "veltrane-cli" : "veltrane-cli " + result.command;
        err.line(name + ": cannot write the output: " + out.failureText());
    }
    return kExitFailure;
}

}  // namespace veltrane::cli
