// SPDX-License-Identifier: BSD-2-Clause
#include "qt_detection_loop.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cmath>

#include "clock.h"

namespace veltrane {

namespace {

double wallTimeOfDay()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const LocalTime local = localTimeAt(seconds);
    const std::chrono::duration<double> fraction =
        now - std::chrono::system_clock::from_time_t(seconds);
    return local.hour * 3600.0 + local.minute * 60.0 + local.second + fraction.count();
}

}  // namespace

QtDetectionLoop::QtDetectionLoop()
{
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
}

std::chrono::duration<double> QtDetectionLoop::timeOfDay()
{
    double value = wallTimeOfDay() + offset_;
    if (value < last_) {
        offset_ += last_ - value;
        value = last_;
    }
    last_ = value;
    return std::chrono::duration<double>(value);
}

void QtDetectionLoop::runPending() { QCoreApplication::processEvents(); }

void QtDetectionLoop::runPendingUntil(std::chrono::duration<double> deadline)
{
    const double remaining = (deadline - timeOfDay()).count();
    if (remaining <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    wake_.start(static_cast<int>(std::ceil(remaining * 1000)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    wake_.stop();
}

}  // namespace veltrane
