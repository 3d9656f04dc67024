// SPDX-License-Identifier: BSD-2-Clause
#include "detect_command.h"

#include <string>
#include <string_view>
#include <vector>

#include "device_text.h"
#include "exit_status.h"
#include "live_watch.h"
#include "port_search.h"

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

// A Comm number as a number, as it always was; a device as its text.
std::string jsonCombination(const PortName& port, const std::string& baud)
{
    return (port.comm > 0 ? ",\"comm\":" + std::to_string(port.comm) : jsonField("port", port.device)) +
           jsonField("baud", baud);
}

}  // namespace

std::string tryingLine(const PortName& port, const std::string& baud, const std::optional<std::string>& unopened)
{
    return "trying " + escapeDeviceText(port.label()) + " at " + baud +
           (unopened ? ": " + escapeDeviceText(*unopened) : std::string());
}

std::vector<std::string> unopenedLines(const std::vector<std::string>& unopened)
{
    std::vector<std::string> lines;
    if (!unopened.empty()) lines.emplace_back("These ports could not be opened:");
    for (const std::string& why : unopened) lines.push_back("  " + escapeDeviceText(why));
    return lines;
}

int runDetect(const DetectOptions& options, const CommMap& map, Output& out, Output& err)
{
    LiveWatch watch("detect", map, out, err);
    if (!watch.ready()) return kExitFailure;
    PortSearch search(watch.addMonitor({options.ports.empty() ? commPorts() : options.ports, options.bauds}));
    watch.onStop = [&] { search.stop(); };
    const auto say = [&](const std::string& line) {
        out.line(line);
        out.flush();
    };
    search.onTrying = [&](const PortName& port, const std::string& baud, const std::optional<std::string>& unopened) {
        say(options.json ? jsonEvent("trying", jsonCombination(port, baud) +
                                                   (unopened ? jsonField("error", *unopened) : std::string()))
                         : tryingLine(port, baud, unopened));
    };

    const PortSearch::Result result = search.run();
    watch.stop();

    if (watch.signal()) {
        watch.complain("interrupted");
        return exitStatusForSignal(*watch.signal());
    }
    if (out.failed()) return kExitFailure;
    switch (result.outcome) {
    case PortSearch::Outcome::Found:
        say(options.json ? jsonEvent("detected", jsonCombination(result.port, result.baud))
                         : "detected: " + escapeDeviceText(result.port.label()) + " at " + result.baud);
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
