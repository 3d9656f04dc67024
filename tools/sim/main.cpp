// SPDX-License-Identifier: BSD-2-Clause
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <stdexcept>

#include "byte_source.h"
#include "capture_file.h"
#include "error_reason.h"
#include "pseudo_terminal.h"
#include "sim_options.h"
#include "transmitter.h"

namespace {

using namespace veltrane::sim;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

// Writes `text` to standard output and makes sure it got there: a help or a
// path that silently went nowhere would leave the caller without it.
bool print(const std::string& text)
{
    return std::fputs(text.c_str(), stdout) != EOF && std::fflush(stdout) == 0;
}

void run(const SimOptions& options)
{
    std::unique_ptr<ByteSource> source;
    if (options.capture.empty())
        source = std::make_unique<ReceiverSource>(std::time(nullptr), static_cast<std::size_t>(options.baud / 10),
                                                  options.output);
    else
        source = std::make_unique<CaptureSource>(readCapture(options.capture), options.loop);

    SerialLine line = options.device.empty() ? SerialLine::openPseudoTerminal(options.baud)
                                             : SerialLine::openDevice(options.device, options.baud);
    if (options.device.empty() && !print(line.path() + "\n"))
        throw std::runtime_error("cannot write the pseudo-terminal's path to standard output: " + errorReason(errno));
    transmit(line, *source, options.baud, stopRequested);
}

}  // namespace

int main(int argc, char** argv)
{
    const auto parsed = parseSimOptions(argc, argv);
    if (const auto* ended = std::get_if<SimExit>(&parsed)) {
        if (ended->status != 0) {
            std::fputs(ended->text.c_str(), stderr);
            return ended->status;
        }
        if (print(ended->text)) return 0;
        std::fprintf(stderr, "veltrane-sim: cannot write to standard output: %s\n", errorReason(errno).c_str());
        return kExitRuntimeError;
    }

    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (const int stopSignal : {SIGINT, SIGTERM, SIGHUP}) {
        // One ignored when we start (nohup, `trap '' HUP`) stays ignored, as the caller asked.
        struct sigaction before {};
        if (sigaction(stopSignal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
            sigaction(stopSignal, &action, nullptr);
    }

    try {
        run(std::get<SimOptions>(parsed));
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "veltrane-sim: %s\n", failure.what());
        return kExitRuntimeError;
    }
}
