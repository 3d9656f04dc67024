// SPDX-License-Identifier: BSD-2-Clause
#include "event_loop_waits.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace veltrane::testing {

bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    QTimer wake;
    wake.start(5);
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limit.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return done();
}

void runFor(std::chrono::milliseconds duration)
{
    QElapsedTimer clock;
    clock.start();
    runUntil([&] { return clock.elapsed() >= duration.count(); }, duration + std::chrono::seconds(1));
}

int wakeUpsDuring(std::chrono::milliseconds duration)
{
    int wakeUps = 0;
    const QMetaObject::Connection counter =
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] { ++wakeUps; });
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(static_cast<int>(duration.count()));
    while (deadline.isActive()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    QObject::disconnect(counter);
    return wakeUps;
}

}  // namespace veltrane::testing
