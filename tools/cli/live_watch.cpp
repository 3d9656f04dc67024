// SPDX-License-Identifier: BSD-2-Clause
#include "live_watch.h"

#include <QAbstractEventDispatcher>

#include <chrono>

#include "terminal.h"

namespace veltrane::cli {

LiveWatch::LiveWatch(std::string command, CommMap map, Output& out, Output& err)
    : command_(std::move(command)),
      map_(std::move(map)),
      out_(out),
      err_(err),
      stopSignals_([this](int number) {
          if (!stopping_) signal_ = number;
          stop();
      }),
      onOutputFailure_(out, [this] { stop(); })
{
}

bool LiveWatch::ready()
{
    if (stopSignals_.watching()) return true;
    complain("cannot watch for Ctrl+C and other signals");
    return false;
}

LiveMonitor& LiveWatch::addMonitor(const PortChoices& choices, std::function<void(const Failure&)> onFailure)
{
    LiveMonitor& live = *monitors_.emplace_back(std::make_unique<LiveMonitor>(clock_, map_, choices));
    if (onFailure)
        live.onPortFailure = [&live, onFailure = std::move(onFailure)](const Failure& failure) {
            if (!isStartUpOpeningFailure(failure, live.selection())) onFailure(failure);
        };
    return live;
}

void LiveWatch::beforeEachWait(std::function<void()> work)
{
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop_,
                     std::move(work));
}

void LiveWatch::run()
{
    if (!stopping_ && !out_.failed()) loop_.exec();
}

void LiveWatch::stop()
{
    if (stopping_) return;
    stopping_ = true;
    if (onStop) onStop();
    // Ends a pass paused in the middle of a flood at once, not when it is done.
    for (const auto& live : monitors_) live->close();
    loop_.quit();
}

double LiveWatch::now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::FILE* LiveWatch::terminalOf(Output& output)
{
    auto* file = dynamic_cast<FileOutput*>(&output);
    return file && isTerminal(file->file()) ? file->file() : nullptr;
}

void LiveWatch::complain(const std::string& text) { err_.line("veltrane-cli " + command_ + ": " + text); }

bool isStartUpOpeningFailure(const Failure& failure, const PortSelection& selection)
{
    return failure.number() == kInvalidSettings && selection.baud.selectedIndex() < 0;
}

Deadline::Deadline(std::function<void()> onExpiry)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(onExpiry));
}

void Deadline::start(double seconds) { timer_.start(static_cast<int>(seconds * 1000)); }

double Deadline::secondsLeft() const { return timer_.isActive() ? timer_.remainingTime() / 1000.0 : 0; }

}  // namespace veltrane::cli
