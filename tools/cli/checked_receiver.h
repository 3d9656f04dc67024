// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "health_analysis.h"
#include "live_watch.h"
#include "given_ports.h"
#include "receiver_search.h"
#include "verdict.h"

namespace veltrane::cli {

// One receiver of a check: its speed found as the window's search finds it,
// or given, then listened to for the check's seconds on the watch's event
// loop beside the others, and judged alone by the check's definitions.
class CheckedReceiver {
public:
    enum class State { Searching, Listening, NoReceiver, Lost, Finished };

    // `bauds`: what to search when the port comes with no speed. `onChange` is
    // told of each change of state.
    CheckedReceiver(LiveWatch& watch, const GivenPort& given, const std::vector<int>& bauds, double seconds,
                    const health::Thresholds& thresholds, std::function<void()> onChange);
    CheckedReceiver(const CheckedReceiver&) = delete;
    CheckedReceiver& operator=(const CheckedReceiver&) = delete;

    void start();
    // Ends it now, as Ctrl+C does: what was heard is judged, marked interrupted.
    void interrupt();

    State state() const { return state_; }
    bool ended() const { return state_ != State::Searching && state_ != State::Listening; }
    bool interrupted() const { return interrupted_; }
    const PortName& port() const { return port_; }
    // The speed it listens at, or is trying while it searches.
    std::optional<int> baud() const;
    // Why there is no receiver: device text, to be escaped where it is shown.
    const std::string& noReceiverReason() const { return noReceiverReason_; }
    double heardSeconds() const;
    double secondsLeft() const { return deadline_.secondsLeft(); }
    health::Progress progress() const;
    // Once it ended with a receiver (listening ended or lost).
    const health::HealthFigures& figures() const { return figures_; }
    const health::Verdict& verdict() const { return verdict_; }

private:
    void listen();
    // `lostTo`: why, when the receiver went away.
    void endListening(State state, const Failure* lostTo = nullptr);
    void noReceiver(std::string reason);
    void changeTo(State state);

    PortName port_;
    double seconds_;
    const health::Thresholds& thresholds_;
    std::function<void()> onChange_;
    State state_ = State::Searching;
    double mark_ = 0;  // when the trial or the listening began
    Deadline deadline_;
    std::optional<health::HealthAnalysis> analysis_;
    double heard_ = 0;
    bool interrupted_ = false;
    std::string noReceiverReason_;
    health::HealthFigures figures_;
    health::Verdict verdict_{false, {}};
    ReceiverSearch search_;  // last: its handlers use the members above
};

}  // namespace veltrane::cli
