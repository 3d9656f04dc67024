// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>

#include "event_pump.h"

namespace veltrane {

// A start-up choice: Qt's own event dispatcher over the GLib one, which costs
// more at every wake-up and every yield; the monitor pays those ten times a second.
inline constexpr const char* kQtEventDispatcher = "QT_NO_GLIB";

// A pass's yield: runs every pending Qt event, then returns.
class QtEventPump final : public EventPump {
public:
    void runPending() override;
};

// Runs a function from the event loop soon after it is posted, once however
// often it is posted before it runs. Cancelling drops a call not yet run.
class QueuedCall {
public:
    explicit QueuedCall(std::function<void()> function) : function_(std::move(function)) {}
    QueuedCall(const QueuedCall&) = delete;
    QueuedCall& operator=(const QueuedCall&) = delete;

    void post();
    void cancel();
    bool pending() const { return pending_; }

private:
    std::function<void()> function_;
    QObject context_;  // queued calls die with it
    std::uint64_t generation_ = 0;
    bool pending_ = false;
};

// The periodic tick. A QTimer does not fire again while its own timeout slot
// runs, even inside processEvents; since a tick's work may yield to the event
// loop for a long time (an assembler pass, a whole detection inside it), the
// timer only posts the work as a queued call, so later ticks keep arriving.
class TickDriver {
public:
    TickDriver(std::chrono::milliseconds interval, std::function<void()> tick);

    void start() { timer_.start(); }
    // One tick as soon as the event loop gets to it, besides the periodic ones;
    // none once stopped.
    void runSoon();
    // No tick runs after this, not even one already queued.
    void stop();
    bool active() const { return timer_.isActive(); }

private:
    QTimer timer_;
    QueuedCall tick_;
};

}  // namespace veltrane
