#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <sys/ioctl.h>
#include <unistd.h>

#include "clock.h"
#include "comm_map.h"
#include "commands.h"
#include "event_printer.h"
#include "live_monitor.h"
#include "stop_signals.h"

namespace veltrane::cli {

namespace {

constexpr const char* kMonitorUsage =
    "usage: veltrane-cli monitor [--comm N] [--baud 4800|9600] [--json] [--seconds S]\n"
    "\n"
    "Opens Comm N (default 1) at the baud rate (default 4800) as the window does at\n"
    "start-up and shows the live readout and the sentence log until Ctrl-C, SIGTERM\n"
    "or S seconds have passed. VELTRANE_PORTS maps Comm numbers to devices, for\n"
    "example VELTRANE_PORTS=1=/dev/ttyUSB0; `veltrane-cli ports` shows the map.\n"
    "\n"
    "  --json       one JSON object per line for every field write and log change,\n"
    "               as replay prints them\n"
    "  --seconds S  stop after S seconds\n";

struct MonitorOptions {
    int comm = 1;
    int baudIndex = 0;
    bool json = false;
    double seconds = 0;  // 0: until a signal
};

constexpr std::size_t kReadoutRows = 9;

// At most `columns` characters of UTF-8 text, so a long sentence does not wrap
// and push the panel out of place.
std::string clip(std::string text, std::size_t columns)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xc0) == 0x80) continue;
        if (characters++ == columns) {
            text.resize(i);
            break;
        }
    }
    return text;
}

// The window's readout, indicators and newest log rows as lines of text.
std::string renderPanel(LiveMonitor& live, const MonitorOptions& options, std::size_t width, std::size_t height)
{
    std::string panel = "Veltrane monitor: Comm " + std::to_string(options.comm) + " at " +
                        live.selection().cboBaud.selectedText() + " baud\n\n";
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (i == kReadoutRows) panel += '\n';
        panel += clip(readoutLine(live.fields(), static_cast<Field>(i)), width) + '\n';
    }
    const SentenceLog& log = live.log();
    panel += "\nTime                 NMEA Data (" + std::to_string(log.size()) + " rows)\n";
    const std::size_t used = kFieldCount + 6;
    const std::size_t rows = height > used + 3 ? height - used : 3;
    for (std::size_t i = 0; i < log.size() && i < rows; ++i) {
        const LogRow row = log.row(i);
        panel += clip(formatTimestamp(row.time) + "  " + escapeForTerminal(row.data), width) + '\n';
    }
    return panel;
}

// Redraws the panel in place, at most five times a second and only after a change.
class LivePanel final : public FieldObserver, public LogObserver {
public:
    LivePanel(LiveMonitor& live, const MonitorOptions& options) : live_(live), options_(options)
    {
        live_.fields().addObserver(this);
        live_.log().addObserver(this);
        QObject::connect(&redraw_, &QTimer::timeout, [this] { draw(); });
        redraw_.start(200);
    }
    ~LivePanel() override
    {
        live_.fields().removeObserver(this);
        live_.log().removeObserver(this);
    }

    void fieldWritten(Field, const std::string&) override { changed_ = true; }
    void rowInserted(const LogRow&) override { changed_ = true; }
    void cleared() override { changed_ = true; }

    void draw()
    {
        if (!changed_) return;
        changed_ = false;
        winsize size{};
        const bool known = ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0;
        const std::string panel = renderPanel(live_, options_, known ? size.ws_col : 80, known ? size.ws_row : 24);
        // Home, then each line cleared to its end and whatever the previous
        // frame left below: a shorter text must not show the old one's tail.
        std::string frame = "\x1b[H";
        for (const char c : panel) frame += c == '\n' ? "\x1b[K\n" : std::string(1, c);
        frame += "\x1b[J";
        std::fputs(frame.c_str(), stdout);
        std::fflush(stdout);
    }

private:
    LiveMonitor& live_;
    const MonitorOptions& options_;
    QTimer redraw_;
    bool changed_ = true;
};

bool parseOptions(int argc, char** argv, MonitorOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--json") {
            options.json = true;
            continue;
        }
        if (arg != "--comm" && arg != "--baud" && arg != "--seconds") {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = std::string(arg) + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        char* end = nullptr;
        if (arg == "--comm") {
            const long comm = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || comm < 1 || comm > kLastComm) {
                error = "--comm must be 1 to " + std::to_string(kLastComm) + ", not '" + value + "'";
                return false;
            }
            options.comm = static_cast<int>(comm);
        } else if (arg == "--baud") {
            if (value != "4800" && value != "9600") {
                error = "--baud must be 4800 or 9600, not '" + value + "'";
                return false;
            }
            options.baudIndex = value == "4800" ? 0 : 1;
        } else {
            options.seconds = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !(options.seconds > 0) || options.seconds > 1e6) {
                error = "--seconds must be a number of seconds above 0, not '" + value + "'";
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int runMonitor(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            std::fputs(kMonitorUsage, stdout);
            return 0;
        }
    }
    MonitorOptions options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "veltrane-cli monitor: %s\n%s", error.c_str(), kMonitorUsage);
        return 2;
    }

    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);
    const StopSignals stop([&app] { app.quit(); });
    if (!stop.watching()) {
        std::perror("veltrane-cli monitor: cannot watch for signals");
        return 1;
    }
    if (options.seconds > 0)
        QTimer::singleShot(static_cast<int>(options.seconds * 1000), Qt::PreciseTimer, &app, &QCoreApplication::quit);

    SystemClock clock;
    LiveMonitor live(clock);
    JsonEventPrinter printer(stdout);
    const bool panelOnTerminal = !options.json && ::isatty(STDOUT_FILENO);
    if (options.json) {
        live.fields().addObserver(&printer);
        live.log().addObserver(&printer);
        // Lines go out before the loop sleeps, so a reader sees them at once.
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                         [&printer] { printer.flush(); });
    }
    std::unique_ptr<LivePanel> panel = panelOnTerminal ? std::make_unique<LivePanel>(live, options) : nullptr;
    if (panelOnTerminal) std::fputs("\x1b[2J", stdout);

    live.selection().cboCommPort.select(options.comm - 1);
    live.selection().cboBaud.select(options.baudIndex);
    app.exec();
    live.close();

    panel.reset();
    if (options.json) {
        live.fields().removeObserver(&printer);
        live.log().removeObserver(&printer);
        printer.flush();
    } else if (!panelOnTerminal) {
        std::fputs(renderPanel(live, options, 200, 40).c_str(), stdout);
    }
    return 0;
}

}  // namespace veltrane::cli
