#include "stop_signals.h"

#include <csignal>

#ifdef _WIN32
#include <windows.h>
#else
#include <QSocketNotifier>
#include <unistd.h>
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
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
int signalPipe[2] = {-1, -1};

void onSignal(int signal)
{
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}
}  // namespace

struct StopSignals::Watch {
    std::unique_ptr<QSocketNotifier> notifier;
};

StopSignals::StopSignals(std::function<void(int)> onStop) : onStop_(std::move(onStop)), watch_(std::make_unique<Watch>())
{
    if (::pipe(signalPipe) != 0) return;
    watch_->notifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(watch_->notifier.get(), &QSocketNotifier::activated, [this] {
        unsigned char byte = 0;
        if (::read(signalPipe[0], &byte, 1) == 1) onStop_(byte);
    });
    for (const int signal : kSignals) std::signal(signal, onSignal);
    watching_ = true;
}

StopSignals::~StopSignals()
{
    if (!watching_) return;
    for (const int signal : kSignals) std::signal(signal, SIG_DFL);
    watch_->notifier.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
}

#endif

}  // namespace veltrane::cli
