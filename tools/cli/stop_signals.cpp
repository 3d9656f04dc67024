// SPDX-License-Identifier: BSD-2-Clause
#include "stop_signals.h"

#include <csignal>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <QSocketNotifier>
#include <unistd.h>

#include "stop_signal.h"
#endif

namespace veltrane::cli {

#ifdef _WIN32

namespace {
QObject* stopContext = nullptr;
std::function<void(int)>* stopHandler = nullptr;

// Runs on a thread of its own: the stop is posted to the event loop's thread.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    const int signal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
    QMetaObject::invokeMethod(stopContext, [signal] { (*stopHandler)(signal); }, Qt::QueuedConnection);
    return TRUE;
}
}  // namespace

struct StopSignals::Watch {
    QObject context;
};

StopSignals::StopSignals(std::function<void(int)> onStop) : onStop_(std::move(onStop)), watch_(std::make_unique<Watch>())
{
    stopContext = &watch_->context;
    stopHandler = &onStop_;
    watching_ = SetConsoleCtrlHandler(onConsoleEvent, TRUE) != 0;
}

StopSignals::~StopSignals()
{
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    stopContext = nullptr;
    stopHandler = nullptr;
}

#else

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int signal)
{
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}
}  // namespace

struct StopSignals::Watch {
    std::unique_ptr<QSocketNotifier> notifier;
    // What each signal did before, put back at the end.
    struct sigaction before[std::size(kStopSignals)] = {};
    bool taken[std::size(kStopSignals)] = {};
};

StopSignals::StopSignals(std::function<void(int)> onStop) : onStop_(std::move(onStop)), watch_(std::make_unique<Watch>())
{
    if (::pipe(signalPipe) != 0) return;
    watch_->notifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(watch_->notifier.get(), &QSocketNotifier::activated, [this] {
        unsigned char byte = 0;
        if (::read(signalPipe[0], &byte, 1) == 1) onStop_(byte);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    // As signal() would: a write under way when the signal comes is not cut short.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        watch_->taken[i] = takeStopSignal(kStopSignals[i], action, watch_->before[i]);
    watching_ = true;
}

StopSignals::~StopSignals()
{
    if (!watching_) return;
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        if (watch_->taken[i]) ::sigaction(kStopSignals[i], &watch_->before[i], nullptr);
    watch_->notifier.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
}

#endif

}  // namespace veltrane::cli
