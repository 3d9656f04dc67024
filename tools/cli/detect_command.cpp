// SPDX-License-Identifier: BSD-2-Clause
#include "detect_command.h"

#include <string>
#include <string_view>
#include <vector>

#include "device_text.h"
#include "exit_status.h"
#include "json_writer.h"
#include "live_watch.h"
#include "port_search.h"

namespace veltrane::cli {

namespace {

// {"event":…, then the members `write` adds}
template <class Write>
std::string jsonEvent(std::string_view event, Write write)
{
    std::string line;
    JsonWriter json(line);
    json.beginObject().member("event", event);
    write(json);
    json.endObject();
    return line;
}

// A Comm number as a number; a device as its text.
void writeCombination(JsonWriter& json, const PortName& port, const std::string& baud)
{
    if (port.comm > 0)
        json.member("comm", port.comm);
    else
        json.member("port", port.device);
    json.member("baud", baud);
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
        say(options.json ? jsonEvent("trying",
                                     [&](JsonWriter& json) {
                                         writeCombination(json, port, baud);
                                         if (unopened) json.member("error", *unopened);
                                     })
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
        say(options.json ? jsonEvent("detected", [&](JsonWriter& json) { writeCombination(json, result.port, result.baud); })
                         : "detected: " + escapeDeviceText(result.port.label()) + " at " + result.baud);
        return kExitSuccess;
    case PortSearch::Outcome::NothingRecognised:
    case PortSearch::Outcome::Failed:
    case PortSearch::Outcome::Stopped:
        break;
    }
    const bool failed = result.outcome == PortSearch::Outcome::Failed;
    if (options.json) {
        say(jsonEvent(failed ? "failed" : "not_detected", [&](JsonWriter& json) {
            json.member("message", result.message).key("unopened").beginArray();
            for (const std::string& why : result.unopened) json.value(why);
            json.endArray();
        }));
    } else {
        say(result.message);
        for (const std::string& line : unopenedLines(result.unopened)) say(line);
    }
    return failed ? kExitFailure : kExitNoReceiver;
}

}  // namespace veltrane::cli
