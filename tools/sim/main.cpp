// SPDX-License-Identifier: BSD-2-Clause
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <vector>

#include "byte_source.h"
#include "error_reason.h"
#include "stop_signal.h"
#include "pseudo_terminal.h"
#include "sim_options.h"
#include "transmitter.h"

namespace {

using namespace veltrane::sim;
using veltrane::errorReason;
using veltrane::kStopSignals;
using veltrane::takeStopSignal;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

// Writes `text` to standard output and makes sure it got there: a help or a
// path that silently went nowhere would leave the caller without it.
// Returns 0 or the error.
int print(const std::string& text)
{
    errno = 0;
    if (std::fputs(text.c_str(), stdout) != EOF && std::fflush(stdout) == 0) return 0;
    return errno != 0 ? errno : EIO;
}

// Every receiver plays the one `capture`, read once: standard input cannot be
// read twice.
std::unique_ptr<ByteSource> sourceFor(const SimOptions& options, const std::string& capture,
                                      const SimReceiver& receiver)
{
    if (!options.capture.empty()) return std::make_unique<CaptureSource>(capture, options.loop);
    return std::make_unique<ReceiverSource>(std::time(nullptr), static_cast<std::size_t>(receiver.baud / 10),
                                            receiver.output, receiver.ttffSeconds);
}

// Nobody is left to read what we would say: end quietly, as a program that
// SIGPIPE ended does.
class ReaderGone : public std::exception {};

void run(const SimOptions& options)
{
    std::vector<Transmitter> lines;
    lines.reserve(options.receivers.size());
    std::string paths;
    const std::string capture = options.capture.empty() ? std::string() : readCapture(options.capture);
    for (const SimReceiver& receiver : options.receivers) {
        std::unique_ptr<ByteSource> source = sourceFor(options, capture, receiver);
        SerialLine line = options.device.empty() ? SerialLine::openPseudoTerminal(receiver.baud)
                                                 : SerialLine::openDevice(options.device, receiver.baud);
        paths += line.path() + "\n";
        lines.emplace_back(std::move(line), std::move(source), receiver.baud);
    }
    if (options.device.empty()) {
        const int error = print(paths);
        if (error == EPIPE) throw ReaderGone();
        if (error != 0)
            throw std::runtime_error("cannot write the pseudo-terminals' paths to standard output: " +
                                     errorReason(error));
    }
    transmit(lines, stopRequested);
}

}  // namespace

int main(int argc, char** argv)
{
    // A closed output shows as a failed write, which we answer, instead of killing us mid-write.
    std::signal(SIGPIPE, SIG_IGN);
    const auto parsed = parseSimOptions(argc, argv);
    if (const auto* ended = std::get_if<SimExit>(&parsed)) {
        if (ended->status != 0) {
            std::fputs(ended->text.c_str(), stderr);
            return ended->status;
        }
        const int error = print(ended->text);
        if (error == 0) return 0;
        if (error == EPIPE) return kExitReaderGone;
        std::fprintf(stderr, "veltrane-sim: cannot write to standard output: %s\n", errorReason(error).c_str());
        return kExitRuntimeError;
    }

    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (const int stopSignal : kStopSignals) {
        struct sigaction before {};
        takeStopSignal(stopSignal, action, before);
    }

    try {
        run(std::get<SimOptions>(parsed));
        return 0;
    } catch (const ReaderGone&) {
        return kExitReaderGone;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "veltrane-sim: %s\n", failure.what());
        return kExitRuntimeError;
    }
}
