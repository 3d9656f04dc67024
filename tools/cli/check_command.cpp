// SPDX-License-Identifier: BSD-2-Clause
#include "check_command.h"

#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstring>
#include <optional>

#include "capture_file.h"
#include "clock.h"
#include "detect_command.h"
#include "device_text.h"
#include "exit_status.h"
#include "health_analysis.h"
#include "health_report.h"
#include "live_monitor.h"
#include "number_text.h"
#include "port_search.h"
#include "start_up_opening.h"
#include "stop_signals.h"
#include "terminal.h"

namespace veltrane::cli {

namespace {

double steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int report(const health::HealthFigures& figures, health::Verdict verdict, const CheckOptions& options,
           const std::string& source, Output& out)
{
    out.write(options.json ? health::jsonReport(figures, verdict) : health::textReport(figures, verdict, source));
    out.flush();
    return verdict.pass ? kExitSuccess : kExitFailure;
}

int checkCapture(const CheckOptions& options, Output& out, Output& err)
{
    const CaptureFile capture(options.file);
    if (!capture.readable()) {
        err.line("veltrane-cli check: cannot read " + capture.shownName() + ": " + capture.problem());
        return kExitFailure;
    }
    health::HealthAnalysis analysis;
    const int readError = capture.readBlocks([&](std::string_view block) {
        analysis.add(block);
        return true;
    });
    if (readError != 0) {
        err.line("veltrane-cli check: cannot read " + capture.shownName() + ": " + std::strerror(readError));
        return kExitFailure;
    }
    const health::HealthFigures figures = analysis.finish();
    return report(figures, health::judge(figures, options.thresholds), options, "capture " + capture.shownName(),
                  out);
}

// A line on a terminal that says how far the listening has come, redrawn in place.
class ListeningProgress {
public:
    ListeningProgress(const health::HealthAnalysis& analysis, const std::string& port, double seconds, Output& err)
        : analysis_(analysis), port_(port), seconds_(seconds), err_(err), started_(steadySeconds())
    {
        QObject::connect(&tick_, &QTimer::timeout, [this] { draw(); });
        tick_.start(1000);
        draw();
    }
    ~ListeningProgress()
    {
        err_.write("\r\x1b[K");
        err_.flush();
    }

private:
    void draw()
    {
        const health::HealthFigures& soFar = analysis_.soFar();
        err_.write("\rlistening to " + port_ + ": " + health::fixedText(steadySeconds() - started_, 0) + " of " +
                   health::shortestText(seconds_) + " s, " + std::to_string(soFar.sentenceCount()) + " sentences, " +
                   std::to_string(soFar.fixes) + " fixes\x1b[K");
        err_.flush();
    }

    const health::HealthAnalysis& analysis_;
    std::string port_;
    double seconds_;
    Output& err_;
    double started_;
    QTimer tick_;
};

int checkPort(const CheckOptions& options, const CommMap& map, Output& out, Output& err)
{
    QEventLoop loop;
    SystemClock clock;
    LiveMonitor live(clock, map);
    int comm = options.comm;
    int baudIndex = options.baudIndex;
    std::optional<int> stoppedBy;
    std::optional<Failure> portFailure;
    std::optional<PortSearch> search;
    const auto stop = [&] {
        if (search) search->stop();
        live.close();
        loop.quit();
    };
    const StopSignals stopSignals([&](int signal) {
        stoppedBy = signal;
        stop();
    });
    if (!stopSignals.watching()) {
        err.line("veltrane-cli check: cannot watch for Ctrl+C and other signals");
        return kExitFailure;
    }
    const FailureHandler onOutputFailure(out, stop);

    if (comm == 0) {
        search.emplace(live);
        search->onTrying = [&](int number, const std::string& baud, const std::optional<std::string>& unopened) {
            err.line(tryingLine(number, baud, unopened));
            err.flush();
        };
        const PortSearch::Result result = search->run();
        if (stoppedBy) return exitStatusForSignal(*stoppedBy);
        if (result.outcome != PortSearch::Outcome::Found) {
            err.line("veltrane-cli check: " + result.message);
            for (const std::string& line : unopenedLines(result.unopened)) err.line(line);
            return result.outcome == PortSearch::Outcome::Failed ? kExitFailure : kExitNoReceiver;
        }
        comm = result.comm;
        baudIndex = live.selection().cboBaud.selectedIndex();
        search.reset();
    }

    live.onPortFailure = [&](const Failure& failure) {
        if (isStartUpOpeningFailure(failure, live.selection())) return;
        portFailure = failure;
        stop();
    };
    health::HealthAnalysis analysis(steadySeconds());
    live.onReceived = [&](std::string_view bytes) { analysis.add(bytes, steadySeconds()); };
    // The time to the first fix counts from this opening, also after a search
    // that left the port open.
    live.selection().cboCommPort.select(comm - 1);
    live.selection().cboBaud.select(baudIndex);
    const std::string port = "Comm " + std::to_string(comm) + " at " + live.selection().cboBaud.entry(baudIndex) + " baud";
    if (portFailure) {
        err.line("veltrane-cli check: " + escapeDeviceText(portFailure->detail()));
        return kExitNoReceiver;
    }

    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, [&] { stop(); });
    deadline.start(static_cast<int>(options.seconds * 1000));
    const double started = steadySeconds();
    {
        auto* file = dynamic_cast<FileOutput*>(&err);
        std::optional<ListeningProgress> progress;
        if (file && isTerminal(file->file())) progress.emplace(analysis, port, options.seconds, err);
        if (!stoppedBy && !out.failed()) loop.exec();
    }
    live.onReceived = nullptr;
    live.close();
    if (stoppedBy) return exitStatusForSignal(*stoppedBy);

    const health::HealthFigures figures = analysis.finish();
    health::Verdict verdict = health::judge(figures, options.thresholds);
    if (portFailure) {
        verdict.pass = false;
        verdict.reasons.push_back("the receiver went away after " + health::fixedText(steadySeconds() - started, 1) +
                                  " s: " + portFailure->detail());
    }
    return report(figures, verdict, options, port + " for " + health::shortestText(options.seconds) + " s", out);
}

}  // namespace

int runCheck(const CheckOptions& options, const CommMap& map, Output& out, Output& err)
{
    return options.file.empty() ? checkPort(options, map, out, err) : checkCapture(options, out, err);
}

}  // namespace veltrane::cli
