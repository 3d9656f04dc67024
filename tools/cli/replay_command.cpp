// SPDX-License-Identifier: BSD-2-Clause
// A recorded capture through the monitor, as if a port had just been opened on
// it. Chunking is exact whatever the reads return, so a replay at a given
// chunk size is repeatable byte for byte.

#include "replay_command.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "capture_file.h"
#include "event_printer.h"
#include "exit_status.h"
#include "gps_port.h"
#include "monitor.h"
#include "serial_component.h"

namespace veltrane::cli {

namespace {

// A port that always opens and whose buffer holds the chunk being replayed, so
// a capture goes through the same opening and receive handler as a real port.
class CapturePort final : public SerialComponent {
public:
    bool isOpen() const override { return open_; }
    void setOpen(bool open) override { open_ = open; }
    void setReceiveThreshold(int) override {}
    void setCommPort(int) override {}
    void setSettings(const std::string&) override {}
    std::int64_t bytesWaiting() override { return static_cast<std::int64_t>(chunk_.size()); }
    std::string readAll() override { return std::exchange(chunk_, {}); }

    void receive(std::string&& chunk) { chunk_ = std::move(chunk); }

private:
    bool open_ = false;
    std::string chunk_;
};

void deliver(Monitor& monitor, CapturePort& port, std::string&& chunk)
{
    port.receive(std::move(chunk));
    monitor.ring.store(port);
    monitor.assembler.runPass();
}

// Cuts the capture into chunks of exactly `chunkBytes`, the last one shorter.
// Returns the errno of a failed read, 0 when the capture ended normally.
int replayCapture(const CaptureFile& capture, std::size_t chunkBytes, Monitor& monitor, CapturePort& port,
                  const Output& out)
{
    std::string chunk;
    chunk.reserve(chunkBytes);
    const int readError = capture.readBlocks([&](std::string_view block) {
        while (!block.empty()) {
            const std::size_t take = std::min(chunkBytes - chunk.size(), block.size());
            chunk.append(block.substr(0, take));
            block.remove_prefix(take);
            if (chunk.size() == chunkBytes) {
                deliver(monitor, port, std::move(chunk));
                chunk.clear();
                chunk.reserve(chunkBytes);
            }
        }
        // Nobody is reading any more: the rest of a long capture would be wasted work.
        return !out.failed();
    });
    if (!chunk.empty()) deliver(monitor, port, std::move(chunk));
    return readError;
}

}  // namespace

int runReplay(const ReplayOptions& options, Output& out, Output& err)
{
    const CaptureFile capture(options.file);
    if (!capture.readable()) {
        err.line("veltrane-cli replay: " + capture.failure());
        return kExitFailure;
    }

    std::optional<JsonEventPrinter> printer;
    SystemClock clock;
    NoEventPump pump;
    Monitor monitor(clock, pump);
    // Nothing waits for the event loop here, so a pass need not stop to let it run.
    monitor.assembler.setCharactersPerYield(std::numeric_limits<std::size_t>::max());
    if (options.json) {
        printer.emplace(out);
        monitor.fields.addObserver(&*printer);
        monitor.log.addObserver(&*printer);
    }

    // Comm 1 at 4800, chosen before the opening is bound to the boxes: one opening, not two.
    PortSelection selection;
    selection.port.select(0);
    selection.baud.select(0);
    CapturePort port;
    GpsPort opening(monitor.fields, monitor.log, port, selection);
    opening.reopen();
    const int readError = replayCapture(capture, options.chunkBytes, monitor, port, out);

    if (printer) printer->flush();
    if (readError != 0) {
        err.line("veltrane-cli replay: " + capture.failure(readError));
        return kExitFailure;
    }
    if (!printer) out.write(readoutSummary(monitor.fields, monitor.log.size()));
    out.flush();
    return kExitSuccess;
}

}  // namespace veltrane::cli
