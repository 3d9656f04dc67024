// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "clock.h"
#include "comm_map.h"
#include "failure.h"
#include "live_monitor.h"
#include "output.h"
#include "stop_signals.h"

namespace veltrane::cli {

// What every command that watches ports live is built on: one event loop and
// its clock, the monitors, Ctrl+C and the other stop signals, and a stop when
// the output can no longer be written. A command adds its monitors and runs
// the loop until it, a signal or a failed write stops the watch.
class LiveWatch {
public:
    // `command` names the command in what it prints ("monitor").
    LiveWatch(std::string command, CommMap map, Output& out, Output& err);
    LiveWatch(const LiveWatch&) = delete;
    LiveWatch& operator=(const LiveWatch&) = delete;

    // False, the reason printed, when the stop signals cannot be watched.
    bool ready();

    // A monitor over these ports and speeds. Its port failures go to
    // `onFailure`, but for the one every start-up opening makes before a speed
    // is chosen, which says nothing about the port.
    LiveMonitor& addMonitor(const PortChoices& choices, std::function<void(const Failure&)> onFailure = {});

    // Runs `work` each time the event loop is about to sleep: lines written
    // then reach a reader at once, and not one by one.
    void beforeEachWait(std::function<void()> work);
    // Runs the event loop until stop(); returns at once when stopped already.
    void run();
    // Runs `onStop`, closes every monitor and ends run(). Only the first call counts.
    void stop();
    bool stopping() const { return stopping_; }
    std::function<void()> onStop;
    // The signal that stopped the watch, if one did.
    std::optional<int> signal() const { return signal_; }

    const Clock& clock() const { return clock_; }
    // Seconds on a steady clock, for how long things take.
    static double now();
    // The terminal this output writes to; null when it is not one, and then
    // the command prints plain lines instead of a view redrawn in place.
    static std::FILE* terminalOf(Output& output);

    Output& out() { return out_; }
    Output& err() { return err_; }
    // One line on the error output, after the command's name.
    void complain(const std::string& text);

private:
    std::string command_;
    CommMap map_;
    Output& out_;
    Output& err_;
    SystemClock clock_;
    QEventLoop loop_;
    std::vector<std::unique_ptr<LiveMonitor>> monitors_;
    std::optional<int> signal_;
    bool stopping_ = false;
    StopSignals stopSignals_;
    FailureHandler onOutputFailure_;
};

// Choosing the port before any baud rate opens it without line settings, and
// that opening always fails: it says nothing about the port.
bool isStartUpOpeningFailure(const Failure& failure, const PortSelection& selection);

// A single-shot timer counted in seconds, for --seconds.
class Deadline {
public:
    explicit Deadline(std::function<void()> onExpiry);
    void start(double seconds);
    void stop() { timer_.stop(); }
    bool running() const { return timer_.isActive(); }
    // Seconds until it expires; 0 when it is not running.
    double secondsLeft() const;

private:
    QTimer timer_;
};

}  // namespace veltrane::cli
