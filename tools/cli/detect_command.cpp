#include "detect_command.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "auto_detect.h"
#include "clock.h"
#include "device_text.h"
#include "exit_status.h"
#include "failure.h"
#include "live_monitor.h"
#include "qt_detection_loop.h"
#include "stop_signals.h"

namespace veltrane::cli {

namespace {

// The search's messages become the tool's result instead of dialogs.
class RecordingView final : public DetectionView {
public:
    void setSettingsCaption(const std::string&) override {}
    void setAutoEnabled(bool) override {}
    void showMessage(Icon icon, const std::string& text) override
    {
        failed = icon == Icon::Warning;
        message = text;
    }

    bool failed = false;
    std::string message;
};

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
    std::string rest = ",\"comm\":" + std::to_string(comm) + ",\"baud\":\"";
    appendJsonString(rest, baud);
    return rest + "\"";
}

}  // namespace

int runDetect(const DetectOptions& options, Output& out, Output& err)
{
    SystemClock clock;
    LiveMonitor live(clock);
    RecordingView view;
    QtDetectionLoop loop;
    AutoDetect detect(live.selection(), live.fields(), view, loop);
    const auto say = [&](const std::string& line) {
        out.line(line);
        out.flush();
    };

    // Why an existing port would not open (permission, another program): the
    // search only sees "No" and moves on, but a person needs the reason.
    std::optional<Failure> openingFailure;
    std::vector<std::string> unopened;
    live.onPortFailure = [&](const Failure& failure) {
        if (failure.number() != kPortDoesNotExist && failure.number() != kInvalidSettings) openingFailure = failure;
    };
    detect.onTrying = [&](int comm, const std::string& baud) {
        std::optional<std::string> why;
        if (openingFailure && !live.objComm().PortOpen()) why = openingFailure->detail();
        openingFailure.reset();
        if (why && (unopened.empty() || unopened.back() != *why)) unopened.push_back(*why);
        if (options.json) {
            say(jsonEvent("trying", jsonCombination(comm, baud) + (why ? jsonField("error", *why) : "")));
        } else {
            say("trying Comm " + std::to_string(comm) + " at " + baud + (why ? ": " + escapeDeviceText(*why) : ""));
        }
    };

    int stoppedBy = 0;
    const auto stop = [&] {
        detect.shutdown();
        live.close();
    };
    const StopSignals stopSignals([&](int signal) {
        stoppedBy = signal;
        stop();
    });
    if (!stopSignals.watching()) {
        err.line("veltrane-cli detect: cannot watch for Ctrl+C and other signals");
        return kExitFailure;
    }
    out.onFailure = stop;

    live.selectFirstEntries();
    detect.cmdAuto_Click();
    live.close();

    if (stoppedBy != 0) {
        err.line("veltrane-cli detect: interrupted");
        return exitStatusForSignal(stoppedBy);
    }
    if (out.failed()) return kExitFailure;
    const PortSelection& selection = live.selection();
    if (view.message.empty()) {
        const int comm = selection.cboCommPort.selectedIndex() + 1;
        const std::string baud = selection.cboBaud.selectedText();
        say(options.json ? jsonEvent("detected", jsonCombination(comm, baud))
                         : "detected: Comm " + std::to_string(comm) + " at " + baud);
        return kExitSuccess;
    }
    if (options.json) {
        say(jsonEvent(view.failed ? "failed" : "not_detected",
                      jsonField("message", view.message) + jsonList("unopened", unopened)));
    } else {
        say(view.message);
        if (!unopened.empty()) say("These ports exist but could not be opened:");
        for (const std::string& why : unopened) say("  " + escapeDeviceText(why));
    }
    return view.failed ? kExitFailure : kExitNoReceiver;
}

}  // namespace veltrane::cli
