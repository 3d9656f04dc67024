// SPDX-License-Identifier: BSD-2-Clause
#include "monitor_command.h"

#include <memory>
#include <optional>

#include "device_text.h"
#include "event_printer.h"
#include "exit_status.h"
#include "failure.h"
#include "live_panel.h"
#include "live_watch.h"
#include "output_file.h"

namespace veltrane::cli {

int runMonitor(const MonitorOptions& options, const CommMap& map, Output& out, Output& err)
{
    // Refused before the port is opened: a field problem must not be watched
    // for an hour with nothing recorded.
    std::optional<OutputFile> recording;
    if (!options.record.empty()) {
        recording.emplace(options.record);
        if (!recording->open()) {
            err.line("veltrane-cli monitor: cannot record to " + recording->shownName() + ": " + recording->problem());
            return kExitFailure;
        }
    }

    LiveWatch watch("monitor", map, out, err);
    if (!watch.ready()) return kExitFailure;
    int status = kExitSuccess;
    std::string why;  // ready to print: each reason escapes the parts it quotes
    const auto stop = [&](int exitStatus, std::string reason = {}) {
        if (watch.stopping()) return;
        status = exitStatus;
        why = std::move(reason);
        watch.stop();
    };

    LiveMonitor& live = watch.addMonitor({{options.port}, {options.baud}}, [&](const Failure& failure) {
        stop(failure.number() == kDeviceDisconnected ? kExitDisconnected : kExitNoReceiver,
             escapeDeviceText(failure.detail()));
    });
    std::unique_ptr<EventPrinter> printer;
    std::unique_ptr<LivePanel> panel;
    if (options.json) {
        printer = std::make_unique<JsonEventPrinter>(out);
    } else if (std::FILE* terminal = LiveWatch::terminalOf(out)) {
        const std::string heading = "Veltrane monitor: " + escapeDeviceText(options.port.label()) + " at " +
                                    std::to_string(options.baud) + " baud";
        panel = std::make_unique<LivePanel>(live, heading, out, terminal);
    } else {
        printer = std::make_unique<EventLinePrinter>(out);
    }
    if (printer) {
        live.fields().addObserver(printer.get());
        live.log().addObserver(printer.get());
    }
    live.assembler().onChunksLost = [&](std::uint64_t chunks) {
        if (printer) printer->chunksLost(chunks);
    };
    // Lines and the recording go out before the loop sleeps, so a reader sees them at once.
    watch.beforeEachWait([&] {
        if (printer) printer->flush();
        if (recording) recording->flush();
    });
    if (recording) {
        live.onReceived = [&](std::string_view bytes) { recording->write(bytes); };
        recording->onFailure = [&] {
            stop(kExitFailure, "cannot record to " + recording->shownName() + ": " + recording->problem());
        };
    }

    live.selectFirstEntries();
    Deadline deadline([&] { stop(kExitSuccess); });
    if (options.seconds > 0) deadline.start(options.seconds);
    watch.run();
    live.close();

    if (panel) panel->draw();
    if (printer) {
        live.fields().removeObserver(printer.get());
        live.log().removeObserver(printer.get());
        printer->flush();
    }
    if (recording) recording->flush();
    if (!why.empty()) err.line("veltrane-cli monitor: " + why);
    if (watch.signal()) return exitStatusForSignal(*watch.signal());
    return out.failed() ? kExitFailure : status;
}

}  // namespace veltrane::cli
