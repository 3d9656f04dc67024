#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "byte_source.h"
#include "pseudo_terminal.h"
#include "sim_options.h"
#include "transmitter.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

std::string readCapture(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read the capture " + path + ": " + std::strerror(errno));
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace veltrane::sim;
    const auto parsed = parseSimOptions(argc, argv);
    if (std::holds_alternative<HelpRequested>(parsed)) {
        std::fputs(kSimUsage, stdout);
        return 0;
    }
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "veltrane-sim: %s\n%s", error->message.c_str(), kSimUsage);
        return 2;
    }
    const SimOptions& options = std::get<SimOptions>(parsed);

    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    try {
        std::unique_ptr<ByteSource> source;
        if (options.capture.empty())
            source = std::make_unique<ReceiverSource>(std::time(nullptr), static_cast<std::size_t>(options.baud / 10));
        else
            source = std::make_unique<CaptureSource>(readCapture(options.capture), options.loop);

        SerialLine line = options.device.empty() ? SerialLine::openPseudoTerminal(options.baud)
                                                 : SerialLine::openDevice(options.device, options.baud);
        if (options.device.empty()) {
            std::printf("%s\n", line.path().c_str());
            std::fflush(stdout);
        }
        transmit(line, *source, options.baud, stopRequested);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "veltrane-sim: %s\n", failure.what());
        return 1;
    }
    return 0;
}
