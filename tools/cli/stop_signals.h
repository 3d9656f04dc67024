// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace veltrane::cli {

// Runs `onStop` from the event loop when the user or the system asks the
// program to end: SIGINT, SIGTERM or SIGHUP on Unix, Ctrl+C, Ctrl+Break or the
// console closing on Windows. A signal handler may do next to nothing, so it
// only hands the signal's number to the event loop. One instance at a time.
class StopSignals {
public:
    explicit StopSignals(std::function<void(int signal)> onStop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // False when the signals could not be watched; they then end the program as usual.
    bool watching() const { return watching_; }

private:
    struct Watch;

    std::function<void(int)> onStop_;
    std::unique_ptr<Watch> watch_;
    bool watching_ = false;
};

}  // namespace veltrane::cli
