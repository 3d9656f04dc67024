#include "monitor_command.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTimer>

#include <memory>
#include <string>

#include "clock.h"
#include "event_printer.h"
#include "exit_status.h"
#include "live_monitor.h"
#include "live_panel.h"
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

int runMonitor(const MonitorOptions& options, Output& out, Output& err)
{
    QEventLoop loop;
    SystemClock clock;
    LiveMonitor live(clock);
    int status = kExitSuccess;
    const auto stop = [&](int exitStatus) {
        status = exitStatus;
        // Ends a pass paused in the middle of a flood at once, not when it is done.
        live.close();
        loop.quit();
    };

    const StopSignals stopSignals([&](int signal) { stop(exitStatusForSignal(signal)); });
    if (!stopSignals.watching()) {
        err.line("veltrane-cli monitor: cannot watch for Ctrl+C and other signals");
        return kExitFailure;
    }
    out.onFailure = [&] { stop(kExitFailure); };

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
        // Lines go out before the loop sleeps, so a reader sees them at once.
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                         [&printer] { printer->flush(); });
    }

    live.selection().cboCommPort.select(options.comm - 1);
    live.selection().cboBaud.select(options.baudIndex);
    if (!live.objComm().PortOpen()) {
        stop(kExitNoReceiver);
    } else {
        QTimer deadline;
        deadline.setSingleShot(true);
        deadline.setTimerType(Qt::PreciseTimer);
        QObject::connect(&deadline, &QTimer::timeout, [&] { stop(kExitSuccess); });
        if (options.seconds > 0) deadline.start(static_cast<int>(options.seconds * 1000));
        loop.exec();
    }
    live.close();

    if (panel) panel->draw();
    if (printer) {
        live.fields().removeObserver(printer.get());
        live.log().removeObserver(printer.get());
        printer->flush();
    }
    if (status == kExitNoReceiver) {
        const std::string why = live.fields().reads(Field::lblCommOK, kNo)
                                    ? "names no device"
                                    : live.fields().read(Field::lblQuality);
        err.line("veltrane-cli monitor: cannot open Comm " + std::to_string(options.comm) + ": " + why);
    }
    return status;
}

}  // namespace veltrane::cli
