#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace veltrane::cli {

// Runs `onStop` from the event loop when SIGINT or SIGTERM arrives. A signal
// handler may do next to nothing, so it only writes a byte into a pipe that
// the event loop watches (the self-pipe trick). One instance at a time.
class StopSignals {
public:
    explicit StopSignals(std::function<void()> onStop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // False when the pipe could not be made; signals then end the program as usual.
    bool watching() const { return notifier_ != nullptr; }

private:
    std::function<void()> onStop_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace veltrane::cli
