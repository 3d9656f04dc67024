// veltrane-cli replay: a recorded capture through the monitor, as if a port had
// just been opened on it. Chunking is exact whatever the reads return, so a
// replay at a given chunk size is repeatable byte for byte.

#include <cerrno>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <sys/stat.h>

#include "commands.h"
#include "event_printer.h"
#include "gps_port.h"
#include "monitor.h"
#include "serial_component.h"

namespace veltrane::cli {

namespace {

constexpr const char* kReplayHelp =
    "usage: veltrane-cli replay [--chunk-bytes N] [--json] [FILE]\n"
    "\n"
    "Runs a recorded capture through the monitor as if a port had just been opened\n"
    "on it: the readout is reset, the log emptied, and the file's bytes are handed\n"
    "to the receive handler in chunks, each followed by one assembler pass.\n"
    "\n"
    "  FILE             the capture to read; standard input when FILE is - or absent\n"
    "  --chunk-bytes N  bytes per receive event, 1 or more (default 64); the last\n"
    "                   chunk may be shorter\n"
    "  --json           print one JSON object per line for every status field write,\n"
    "                   every log row and every clearing of the log, in order\n"
    "  --help           print this text\n"
    "\n"
    "Without --json it prints the readout, the three indicators and the number of\n"
    "log rows once the capture has been read.\n"
    "\n"
    "Exit status: 0 on success, 2 on bad usage or an unreadable file, 1 when the\n"
    "output cannot be written.\n";

constexpr std::size_t kReadBytes = std::size_t{1} << 20;

struct ReplayOptions {
    std::size_t chunkBytes = 64;
    bool json = false;
    bool help = false;
    std::string file = "-";
};

// A name as the user typed it, safe for a terminal, in quotes.
std::string quoted(std::string_view name)
{
    std::string text(1, '\'');
    text += escapeForTerminal(name);
    text += '\'';
    return text;
}

int usageError(const std::string& reason)
{
    std::fprintf(stderr, "veltrane-cli replay: %s (see veltrane-cli replay --help)\n", reason.c_str());
    return 2;
}

// Nothing when the arguments are bad; the reason has been printed then.
std::optional<ReplayOptions> parseOptions(int argc, char** argv)
{
    ReplayOptions options;
    bool haveFile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--chunk-bytes") {
            if (i + 1 == argc) {
                usageError("--chunk-bytes needs a number of bytes");
                return std::nullopt;
            }
            const std::string_view value = argv[++i];
            std::size_t bytes = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), bytes);
            if (error != std::errc() || end != value.data() + value.size() || bytes == 0) {
                usageError("--chunk-bytes needs a whole number of bytes, 1 or more, not " + quoted(value));
                return std::nullopt;
            }
            options.chunkBytes = bytes;
        } else if (arg.size() > 1 && arg.front() == '-') {
            usageError("unknown option " + quoted(arg));
            return std::nullopt;
        } else if (haveFile) {
            usageError("one capture at a time: both " + quoted(options.file) + " and " + quoted(arg) + " given");
            return std::nullopt;
        } else {
            options.file = arg;
            haveFile = true;
        }
    }
    return options;
}

// The errno-style cause why `in` cannot be replayed, 0 when it can. A
// directory opens fine and fails only at the first read: refuse it up front,
// before any output.
int unreadableCause(std::FILE* in)
{
    if (in == nullptr) return errno;
    struct stat status {};
    if (fstat(fileno(in), &status) != 0) return errno;
    return S_ISDIR(status.st_mode) ? EISDIR : 0;
}

// A port that always opens and whose buffer holds the chunk being replayed, so
// a capture goes through the same opening and receive handler as a real port.
class CapturePort final : public SerialComponent {
public:
    bool PortOpen() const override { return open_; }
    void setPortOpen(bool open) override { open_ = open; }
    void setRThreshold(int) override {}
    void setCommPort(int) override {}
    void setSettings(const std::string&) override {}
    std::int64_t InBufferCount() override { return static_cast<std::int64_t>(chunk_.size()); }
    std::string Input() override { return std::exchange(chunk_, {}); }

    void receive(std::string&& chunk) { chunk_ = std::move(chunk); }

private:
    bool open_ = false;
    std::string chunk_;
};

void deliver(Monitor& monitor, CapturePort& port, std::string&& chunk)
{
    port.receive(std::move(chunk));
    monitor.ring.objComm_OnComm(port);
    monitor.assembler.ProcessReceivedData();
}

// Cuts the stream into chunks of exactly `chunkBytes`, the last one shorter.
// Returns the errno of a failed read, 0 when the stream ended normally.
int replayStream(std::FILE* in, std::size_t chunkBytes, Monitor& monitor, CapturePort& port)
{
    const auto block = std::make_unique<char[]>(kReadBytes);
    const std::size_t chunkCapacity = std::min(chunkBytes, kReadBytes);
    std::string chunk;
    chunk.reserve(chunkCapacity);
    for (;;) {
        const std::size_t got = std::fread(block.get(), 1, kReadBytes, in);
        for (std::size_t used = 0; used < got;) {
            const std::size_t take = std::min(chunkBytes - chunk.size(), got - used);
            chunk.append(block.get() + used, take);
            used += take;
            if (chunk.size() == chunkBytes) {
                deliver(monitor, port, std::move(chunk));
                chunk.clear();
                chunk.reserve(chunkCapacity);
            }
        }
        if (got < kReadBytes) break;
    }
    const int readError = std::ferror(in) ? errno : 0;
    if (!chunk.empty()) deliver(monitor, port, std::move(chunk));
    return readError;
}

void printReadout(const StatusFields& fields, std::size_t rows)
{
    for (std::size_t i = 0; i < kFieldCount; ++i)
        std::printf("%s\n", readoutLine(fields, static_cast<Field>(i)).c_str());
    std::printf("%-27s %zu\n", "Rows in the log:", rows);
}

}  // namespace

int runReplay(int argc, char** argv)
{
    const std::optional<ReplayOptions> options = parseOptions(argc, argv);
    if (!options) return 2;
    if (options->help) {
        std::fputs(kReplayHelp, stdout);
        return 0;
    }

    const bool fromStdin = options->file == "-";
    std::FILE* in = fromStdin ? stdin : std::fopen(options->file.c_str(), "rb");
    const std::string shownName = fromStdin ? std::string("standard input") : quoted(options->file);
    const int openError = unreadableCause(in);
    if (openError != 0) {
        if (in != nullptr && !fromStdin) std::fclose(in);
        std::fprintf(stderr, "veltrane-cli replay: cannot read %s: %s\n", shownName.c_str(), std::strerror(openError));
        return 2;
    }

    std::optional<JsonEventPrinter> printer;
    SystemClock clock;
    NoEventPump pump;
    Monitor monitor(clock, pump);
    if (options->json) {
        printer.emplace(stdout);
        monitor.fields.addObserver(&*printer);
        monitor.log.addObserver(&*printer);
    }

    // Comm 1 at 4800, chosen before the opening is bound to the boxes: one opening, not two.
    PortSelection selection;
    selection.cboCommPort.select(0);
    selection.cboBaud.select(0);
    CapturePort port;
    GpsPort opening(monitor.fields, monitor.log, port, selection);
    opening.OpenGpsPort();
    const int readError = replayStream(in, options->chunkBytes, monitor, port);
    if (!fromStdin) std::fclose(in);

    if (printer) printer->flush();
    if (readError != 0) {
        std::fprintf(stderr, "veltrane-cli replay: cannot read %s: %s\n", shownName.c_str(), std::strerror(readError));
        return 2;
    }
    if (!printer) printReadout(monitor.fields, monitor.log.size());
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "veltrane-cli replay: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

}  // namespace veltrane::cli
