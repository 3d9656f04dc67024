// SPDX-License-Identifier: BSD-2-Clause
#include "monitor_command.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "clock.h"
#include "device_text.h"
#include "event_printer.h"
#include "exit_status.h"
#include "failure.h"
#include "live_monitor.h"
#include "live_panel.h"
#include "recording.h"
#include "start_up_opening.h"
#include "stop_signals.h"
#include "terminal.h"

namespace veltrane::cli {

namespace {

std::string heading(const MonitorOptions& options, LiveMonitor& live)
{
    return "Veltrane monitor: Comm " + std::to_string(options.comm) + " at " +
           live.selection().cboBaud.entry(options.baudIndex) + " baud";
}

}  // namespace

int runMonitor(const MonitorOptions& options, const CommMap& map, Output& out, Output& err)
{
    // Refused before the port is opened: a field problem must not be watched
    // for an hour with nothing recorded.
    std::optional<Recording> recording;
    if (!options.record.empty()) {
        recording.emplace(options.record);
        if (!recording->open()) {
            err.line("veltrane-cli monitor: cannot record to " + recording->shownName() + ": " + recording->problem());
            return kExitFailure;
        }
    }

    QEventLoop loop;
    SystemClock clock;
    LiveMonitor live(clock, map);
    int status = kExitSuccess;
    bool stopping = false;
    std::string why;  // ready to print: each reason escapes the parts it quotes
    const auto stop = [&](int exitStatus, std::string reason = {}) {
        if (stopping) return;
        stopping = true;
        status = exitStatus;
        why = std::move(reason);
        // Ends a pass paused in the middle of a flood at once, not when it is done.
        live.close();
        loop.quit();
    };

    const StopSignals stopSignals([&](int signal) { stop(exitStatusForSignal(signal)); });
    if (!stopSignals.watching()) {
        err.line("veltrane-cli monitor: cannot watch for Ctrl+C and other signals");
        return kExitFailure;
    }
    const FailureHandler onOutputFailure(out, [&] { stop(kExitFailure); });

    std::unique_ptr<EventPrinter> printer;
    std::unique_ptr<LivePanel> panel;
    auto* file = dynamic_cast<FileOutput*>(&out);
    if (options.json)
        printer = std::make_unique<JsonEventPrinter>(out);
    else if (file && isTerminal(file->file()))
        panel = std::make_unique<LivePanel>(live, heading(options, live), out, file->file());
    else
        printer = std::make_unique<EventLinePrinter>(out);
    if (printer) {
        live.fields().addObserver(printer.get());
        live.log().addObserver(printer.get());
    }
    live.assembler().onChunksLost = [&](std::uint64_t chunks) {
        if (printer) printer->chunksLost(chunks);
    };
    // Lines and the recording go out before the loop sleeps, so a reader sees them at once.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
        if (printer) printer->flush();
        if (recording) recording->flush();
    });
    if (recording) {
        live.onReceived = [&](std::string_view bytes) { recording->write(bytes); };
        recording->onFailure = [&] {
            stop(kExitFailure, "cannot record to " + recording->shownName() + ": " + recording->problem());
        };
    }
    live.onPortFailure = [&](const Failure& failure) {
        if (isStartUpOpeningFailure(failure, live.selection())) return;
        stop(failure.number() == kDeviceDisconnected ? kExitDisconnected : kExitNoReceiver,
             escapeDeviceText(failure.detail()));
    };

    live.selection().cboCommPort.select(options.comm - 1);
    if (!stopping) live.selection().cboBaud.select(options.baudIndex);
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, [&] { stop(kExitSuccess); });
    if (options.seconds > 0) deadline.start(static_cast<int>(options.seconds * 1000));
    if (!stopping) loop.exec();
    live.close();

    if (panel) panel->draw();
    if (printer) {
        live.fields().removeObserver(printer.get());
        live.log().removeObserver(printer.get());
        printer->flush();
    }
    if (recording) recording->flush();
    if (!why.empty()) err.line("veltrane-cli monitor: " + why);
    return status;
}

}  // namespace veltrane::cli
