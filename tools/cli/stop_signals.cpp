#include "stop_signals.h"

#include <csignal>
#include <unistd.h>

namespace veltrane::cli {

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

StopSignals::StopSignals(std::function<void()> onStop) : onStop_(std::move(onStop))
{
    if (::pipe(signalPipe) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t ignored = ::read(signalPipe[0], &byte, 1);
        onStop_();
    });
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

StopSignals::~StopSignals()
{
    if (!notifier_) return;
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    notifier_.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
}

}  // namespace veltrane::cli
