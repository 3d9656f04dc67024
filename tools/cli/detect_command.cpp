#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <string_view>

#include "auto_detect.h"
#include "clock.h"
#include "commands.h"
#include "event_printer.h"
#include "live_monitor.h"
#include "qt_detection_loop.h"
#include "stop_signals.h"

namespace veltrane::cli {

namespace {

constexpr const char* kDetectUsage =
    "usage: veltrane-cli detect [--json]\n"
    "\n"
    "Tries Comm 1 to Comm 15 at 4800 and at 9600 baud, in that order, and stops\n"
    "at the first combination whose output is recognised as GPS. Each trial takes\n"
    "about one second, four when text arrives that is not recognised.\n"
    "\n"
    "  --json   one JSON object per line: trying, then detected, not_detected or failed\n"
    "  --help   this text\n"
    "\n"
    "Exit status: 0 found, 1 nothing recognised, 2 the search failed or bad usage,\n"
    "130 interrupted.\n";

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

void printLine(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string jsonEvent(std::string_view event, std::string_view rest)
{
    std::string line = "{\"event\":\"";
    line.append(event).append("\"").append(rest).append("}");
    return line;
}

std::string jsonMessage(const std::string& text)
{
    std::string rest = ",\"message\":\"";
    appendJsonString(rest, text);
    return rest + "\"";
}

std::string jsonCombination(int comm, const std::string& baud)
{
    std::string rest = ",\"comm\":" + std::to_string(comm) + ",\"baud\":\"";
    appendJsonString(rest, baud);
    return rest + "\"";
}

}  // namespace

int runDetect(int argc, char** argv)
{
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--json") {
            json = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kDetectUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "veltrane-cli detect: unknown option '%s'\n%s", argv[i], kDetectUsage);
            return 2;
        }
    }

    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);

    SystemClock clock;
    LiveMonitor live(clock);
    RecordingView view;
    QtDetectionLoop loop;
    AutoDetect detect(live.selection(), live.fields(), view, loop);
    detect.onTrying = [json](int comm, const std::string& baud) {
        printLine(json ? jsonEvent("trying", jsonCombination(comm, baud))
                       : "trying Comm " + std::to_string(comm) + " at " + baud);
    };

    bool interrupted = false;
    const StopSignals stop([&] {
        interrupted = true;
        detect.shutdown();
    });
    if (!stop.watching()) {
        std::perror("veltrane-cli detect: cannot watch for signals");
        return 1;
    }

    live.selectFirstEntries();
    detect.cmdAuto_Click();
    live.close();

    if (interrupted) {
        std::fputs("veltrane-cli detect: interrupted\n", stderr);
        return 130;
    }
    const PortSelection& selection = live.selection();
    if (view.message.empty()) {
        const int comm = selection.cboCommPort.selectedIndex() + 1;
        const std::string baud = selection.cboBaud.selectedText();
        printLine(json ? jsonEvent("detected", jsonCombination(comm, baud))
                       : "detected: Comm " + std::to_string(comm) + " at " + baud);
        return 0;
    }
    if (json)
        printLine(jsonEvent(view.failed ? "failed" : "not_detected", jsonMessage(view.message)));
    else
        printLine(view.message);
    return view.failed ? 2 : 1;
}

}  // namespace veltrane::cli
