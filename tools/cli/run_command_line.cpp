#include "run_command_line.h"

#include <QCoreApplication>

#include <cstdlib>
#include <memory>
#include <optional>
#include <new>

#include "device_text.h"
#include "qt_system_ports.h"
#include "command_line.h"
#include "exit_status.h"

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
    return std::make_unique<QCoreApplication>(argc, argv);
}

struct Run {
    int status;
    std::string command;
};

// The one place the environment is read: VELTRANE_PORTS, the Comm map.
// Entries it refuses are told at once; the rest still count.
CommMap portMap(const std::string& command, Output& err)
{
    const char* value = std::getenv("VELTRANE_PORTS");
    CommMap map = systemCommMap(value ? std::optional<std::string>(value) : std::nullopt);
    for (const std::string& problem : map.problems()) err.line("veltrane-cli " + command + ": " + escapeDeviceText(problem));
    return map;
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
            [&](const MonitorOptions& options) {
                const auto application = eventLoopApplication();
                return Run{runMonitor(options, portMap("monitor", err), out, err), "monitor"};
            },
            [&](const PortsOptions& options) {
                const auto application = eventLoopApplication();
                return Run{runPorts(options, portMap("ports", err), out, err), "ports"};
            },
            [&](const DetectOptions& options) {
                const auto application = eventLoopApplication();
                return Run{runDetect(options, portMap("detect", err), out, err), "detect"};
            },
            [&](const CheckOptions& options) {
                const auto application = eventLoopApplication();
                return Run{runCheck(options, portMap("check", err), out, err), "check"};
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
