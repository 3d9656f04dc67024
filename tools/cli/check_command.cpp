// SPDX-License-Identifier: BSD-2-Clause
#include "check_command.h"

#include <algorithm>
#include <optional>

#include "capture_file.h"
#include "check_progress.h"
#include "checked_receiver.h"
#include "detect_command.h"
#include "device_text.h"
#include "exit_status.h"
#include "health_analysis.h"
#include "health_report.h"
#include "json_writer.h"
#include "junit_report.h"
#include "live_watch.h"
#include "number_text.h"
#include "output_file.h"
#include "port_search.h"

namespace veltrane::cli {

namespace {

const std::string kSuite = "veltrane-cli check";

JunitCase::Result junitResult(bool pass) { return pass ? JunitCase::Result::Passed : JunitCase::Result::Failed; }

// The JUnit file, opened before any port is and written whatever ends the check.
class JunitFile {
public:
    explicit JunitFile(const std::string& name)
    {
        if (!name.empty()) file_.emplace(name);
    }
    // False, the reason printed, when the file cannot be written.
    bool open(Output& err)
    {
        if (!file_ || file_->open()) return true;
        complain(err);
        return false;
    }
    bool write(const std::vector<JunitCase>& cases, Output& err)
    {
        if (!file_) return true;
        file_->write(junitXml(kSuite, cases));
        file_->flush();
        if (!file_->failed()) return true;
        complain(err);
        return false;
    }

private:
    void complain(Output& err)
    {
        err.line("veltrane-cli check: cannot write the JUnit report " + file_->shownName() + ": " + file_->problem());
    }

    std::optional<OutputFile> file_;
};

int checkCapture(const CheckOptions& options, Output& out, Output& err)
{
    JunitFile junit(options.junit);
    const CaptureFile capture(options.file);
    if (!capture.readable()) {
        err.line("veltrane-cli check: " + capture.failure());
        return kExitFailure;
    }
    if (!junit.open(err)) return kExitFailure;
    health::HealthAnalysis analysis;
    const int readError = capture.readBlocks([&](std::string_view block) {
        analysis.add(block);
        return true;
    });
    if (readError != 0) {
        err.line("veltrane-cli check: " + capture.failure(readError));
        return kExitFailure;
    }
    const health::HealthFigures figures = analysis.finish();
    const health::Verdict verdict = health::judge(figures, options.thresholds);
    out.write(options.json ? health::jsonReport(figures, verdict)
                           : health::textReport(figures, verdict, "capture " + capture.shownName()));
    out.flush();
    if (!junit.write({{options.file, 0, junitResult(verdict.pass), verdict.reasons, health::headlineFigures(figures)}},
                     err))
        return kExitFailure;
    return verdict.pass ? kExitSuccess : kExitFailure;
}

bool hasReceiver(const CheckedReceiver& receiver) { return receiver.state() != CheckedReceiver::State::NoReceiver; }

std::string textReport(const CheckedReceiver& receiver, double seconds)
{
    const std::string port = escapeDeviceText(receiver.port().label());
    if (!hasReceiver(receiver))
        return "Receiver health check of " + port + ": NO RECEIVER\n  - " +
               escapeDeviceText(receiver.noReceiverReason()) + "\n";
    const std::string heard = receiver.interrupted()
                                  ? ", interrupted after " + health::fixedText(receiver.heardSeconds(), 1) + " s of " +
                                        health::shortestText(seconds) + " s"
                                  : " for " + health::shortestText(seconds) + " s";
    return health::textReport(receiver.figures(), receiver.verdict(),
                              port + " at " + std::to_string(*receiver.baud()) + " baud" + heard);
}

std::string jsonReport(const CheckedReceiver& receiver)
{
    std::string line;
    JsonWriter json(line);
    json.beginObject().member("port", receiver.port().label());
    if (!hasReceiver(receiver)) {
        json.key("baud").null().member("verdict", "no_receiver").key("reasons").beginArray();
        json.value(receiver.noReceiverReason()).endArray();
    } else {
        json.member("baud", *receiver.baud()).key("listened_s").raw(health::shortestText(receiver.heardSeconds()));
        json.member("interrupted", receiver.interrupted());
        health::writeJsonReport(json, receiver.figures(), receiver.verdict());
    }
    json.endObject();
    return line + "\n";
}

JunitCase junitCase(const CheckedReceiver& receiver)
{
    if (!hasReceiver(receiver))
        return {receiver.port().label(), 0, JunitCase::Result::Skipped, {receiver.noReceiverReason()}, {}};
    JunitCase c{receiver.port().label(), receiver.heardSeconds(), junitResult(receiver.verdict().pass),
                receiver.verdict().reasons, health::headlineFigures(receiver.figures())};
    c.properties.insert(c.properties.begin(), {"baud", std::to_string(*receiver.baud())});
    if (receiver.interrupted()) c.properties.emplace_back("interrupted", "true");
    return c;
}

// The ports to check: those given, every port with --all, or the first
// receiver a search like detect's finds. Empty when there is none; the
// reason is printed and `status` says how the check ends.
std::vector<GivenPort> portsToCheck(const CheckOptions& options, const CommMap& map, LiveWatch& watch, int& status)
{
    std::vector<GivenPort> ports = givenPorts(options, map);
    status = kExitNoReceiver;
    if (options.all && ports.empty()) {
        watch.complain(kNoPortFound);
        return ports;
    }
    if (!ports.empty() || options.all) return ports;

    LiveMonitor& live = watch.addMonitor({commPorts(), options.bauds});
    PortSearch search(live);
    watch.onStop = [&] { search.stop(); };
    search.onTrying = [&](const PortName& port, const std::string& baud, const std::optional<std::string>& unopened) {
        watch.err().line(tryingLine(port, baud, unopened));
        watch.err().flush();
    };
    const PortSearch::Result result = search.run();
    watch.onStop = nullptr;
    live.close();
    if (watch.stopping()) return {};
    if (result.outcome != PortSearch::Outcome::Found) {
        watch.complain(result.message);
        for (const std::string& line : unopenedLines(result.unopened)) watch.err().line(line);
        if (result.outcome == PortSearch::Outcome::Failed) status = kExitFailure;
        return {};
    }
    return {{result.port, std::stoi(result.baud)}};
}

int checkPorts(const CheckOptions& options, const CommMap& map, Output& out, Output& err)
{
    JunitFile junit(options.junit);
    if (!junit.open(err)) return kExitFailure;
    LiveWatch watch("check", map, out, err);
    if (!watch.ready()) return kExitFailure;

    int status = kExitSuccess;
    const std::vector<GivenPort> ports = portsToCheck(options, map, watch, status);
    Receivers receivers;
    CheckProgress progress(receivers, options.seconds, err);
    bool allStarted = false;
    const auto allEnded = [&] {
        return std::all_of(receivers.begin(), receivers.end(), [](const auto& r) { return r->ended(); });
    };
    const auto changed = [&](const CheckedReceiver& receiver) {
        progress.changed(receiver);
        if (allStarted && allEnded()) watch.stop();
    };
    for (const GivenPort& given : ports) {
        const std::size_t index = receivers.size();
        receivers.push_back(std::make_unique<CheckedReceiver>(watch, given, options.bauds, options.seconds,
                                                              options.thresholds,
                                                              [&changed, &receivers, index] { changed(*receivers[index]); }));
    }
    watch.onStop = [&] {
        for (const auto& receiver : receivers) receiver->interrupt();
    };
    for (const auto& receiver : receivers) receiver->start();
    allStarted = true;
    if (allEnded()) watch.stop();
    watch.run();
    progress.finish();

    std::size_t passed = 0;
    std::size_t failed = 0;
    std::vector<JunitCase> cases;
    for (const auto& receiver : receivers) {
        if (hasReceiver(*receiver)) ++(receiver->verdict().pass ? passed : failed);
        if (options.json) {
            out.write(jsonReport(*receiver));
        } else {
            if (&receiver != &receivers.front()) out.write("\n");
            out.write(textReport(*receiver, options.seconds));
        }
        cases.push_back(junitCase(*receiver));
    }
    const std::size_t without = receivers.size() - passed - failed;
    if (receivers.size() > 1 || options.all) {
        const std::string summary = std::to_string(passed) + " passed, " + std::to_string(failed) + " failed, " +
                                    std::to_string(without) + " without a receiver";
        (options.json ? err : out).line(summary);
    }
    out.flush();
    const bool written = junit.write(cases, err);

    if (watch.signal()) return exitStatusForSignal(*watch.signal());
    if (out.failed() || !written) return kExitFailure;
    if (receivers.empty()) return status;
    if (failed > 0) return kExitFailure;
    return passed > 0 ? kExitSuccess : kExitNoReceiver;
}

}  // namespace

int runCheck(const CheckOptions& options, const CommMap& map, Output& out, Output& err)
{
    return options.file.empty() ? checkPorts(options, map, out, err) : checkCapture(options, out, err);
}

}  // namespace veltrane::cli
