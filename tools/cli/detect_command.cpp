// SPDX-License-Identifier: BSD-2-Clause
#include "detect_command.h"

#include <string>
#include <string_view>
#include <vector>

#include "clock.h"
#include "device_text.h"
#include "exit_status.h"
#include "live_monitor.h"
#include "port_search.h"
#include "stop_signals.h"

namespace veltrane::cli {

namespace {

std::string jsonEvent(std::string_view event, std::string_view rest)
{
    std::string line = "{\"event\":\"";
    line.append(event).append("\"").append(rest).append("}");
    return line;
}

std::string jsonField(std::string_view name, const std::string& text)
{
    std::string rest = ",\"";
    rest.append(name).append("\":\"");
    appendJsonString(rest, text);
    return rest + "\"";
}

std::string jsonList(std::string_view name, const std::vector<std::string>& texts)
{
    std::string rest = ",\"";
    rest.append(name).append("\":[");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        rest += i == 0 ? "\"" : ",\"";
        appendJsonString(rest, texts[i]);
        rest += "\"";
    }
    return rest + "]";
}

std::string jsonCombination(int comm, const std::string& baud)
{
    return ",\"comm\":" + std::to_string(comm) + jsonField("baud", baud);
}

}  // namespace

std::string tryingLine(int comm, const std::string& baud, const std::optional<std::string>& unopened)
{
    return "trying Comm " + std::to_string(comm) + " at " + baud +
           (unopened ? ": " + escapeDeviceText(*unopened) : std::string());
}

std::vector<std::string> unopenedLines(const std::vector<std::string>& unopened)
{
    std::vector<std::string> lines;
    if (!unopened.empty()) lines.emplace_back("These ports exist but could not be opened:");
    for (const std::string& why : unopened) lines.push_back("  " + escapeDeviceText(why));
    return lines;
}

int runDetect(const DetectOptions& options, const CommMap& map, Output& out, Output& err)
{
    SystemClock clock;
    LiveMonitor live(clock, map);
    PortSearch search(live);
    const auto say = [&](const std::string& line) {
        out.line(line);
        out.flush();
    };
    search.onTrying = [&](int comm, const std::string& baud, const std::optional<std::string>& unopened) {
        say(options.json ? jsonEvent("trying", jsonCombination(comm, baud) +
                                                   (unopened ? jsonField("error", *unopened) : std::string()))
                         : tryingLine(comm, baud, unopened));
    };

    int stoppedBy = 0;
    const StopSignals stopSignals([&](int signal) {
        stoppedBy = signal;
        search.stop();
    });
    if (!stopSignals.watching()) {
        err.line("veltrane-cli detect: cannot watch for Ctrl+C and other signals");
        return kExitFailure;
    }
    const FailureHandler onOutputFailure(out, [&] { search.stop(); });

    const PortSearch::Result result = search.run();
    live.close();

    if (stoppedBy != 0) {
        err.line("veltrane-cli detect: interrupted");
        return exitStatusForSignal(stoppedBy);
    }
    if (out.failed()) return kExitFailure;
    switch (result.outcome) {
    case PortSearch::Outcome::Found:
        say(options.json ? jsonEvent("detected", jsonCombination(result.comm, result.baud))
                         : "detected: Comm " + std::to_string(result.comm) + " at " + result.baud);
        return kExitSuccess;
    case PortSearch::Outcome::NothingRecognised:
    case PortSearch::Outcome::Failed:
    case PortSearch::Outcome::Stopped:
        break;
    }
    const bool failed = result.outcome == PortSearch::Outcome::Failed;
    if (options.json) {
        say(jsonEvent(failed ? "failed" : "not_detected",
                      jsonField("message", result.message) + jsonList("unopened", result.unopened)));
    } else {
        say(result.message);
        for (const std::string& line : unopenedLines(result.unopened)) say(line);
    }
    return failed ? kExitFailure : kExitNoReceiver;
}

}  // namespace veltrane::cli
