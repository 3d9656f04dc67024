// SPDX-License-Identifier: BSD-2-Clause
#include "qt_event_loop.h"

#include <QCoreApplication>

namespace veltrane {

void QtEventPump::runPending() { QCoreApplication::processEvents(); }

void QueuedCall::post()
{
    if (pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(
        &context_,
        [this, generation = generation_] {
            if (generation != generation_) return;
            pending_ = false;
            function_();
        },
        Qt::QueuedConnection);
}

void QueuedCall::cancel()
{
    if (!pending_) return;
    pending_ = false;
    ++generation_;
}

TickDriver::TickDriver(std::chrono::milliseconds interval, std::function<void()> tick) : tick_(std::move(tick))
{
    timer_.setInterval(interval);
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick_.post(); });
}

void TickDriver::runSoon()
{
    if (timer_.isActive()) tick_.post();
}

void TickDriver::stop()
{
    timer_.stop();
    tick_.cancel();
}

}  // namespace veltrane
