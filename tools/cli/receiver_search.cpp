// SPDX-License-Identifier: BSD-2-Clause
#include "receiver_search.h"

#include <cmath>

#include "auto_detect.h"
#include "baud_rates.h"

namespace veltrane::cli {

ReceiverSearch::ReceiverSearch(LiveWatch& watch, const GivenPort& given, const std::vector<int>& bauds,
                               Handlers handlers)
    : live_(watch.addMonitor({{given.port}, given.baud ? std::vector<int>{*given.baud} : bauds},
                             [this](const Failure& failure) { portFailed(failure); })),
      bauds_(live_.choices().bauds),
      speedGiven_(given.baud.has_value()),
      handlers_(std::move(handlers))
{
    live_.fields().addObserver(this);
    live_.onReceived = [this](std::string_view bytes) {
        if (searching_ && !spotter_->spotted()) {
            spotter_->add(bytes);
            // Judged from the loop, not from inside the read.
            if (spotter_->spotted()) trialTimer_.start(0);
        }
        handlers_.received(bytes, LiveWatch::now());
    };
    trialTimer_.setSingleShot(true);
    trialTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&trialTimer_, &QTimer::timeout, [this] { judgeTrial(); });
}

ReceiverSearch::~ReceiverSearch() { live_.fields().removeObserver(this); }

void ReceiverSearch::start()
{
    textArrived_ = false;
    // The start-up: the port first, then a speed, each selection opening it.
    live_.selection().port.select(0);
    if (speedGiven_) {
        open(0);
        listen();
    } else {
        searching_ = true;
        trial(0);
    }
}

std::optional<Failure> ReceiverSearch::reopen()
{
    try {
        live_.port().setOpen(true);
    } catch (const Failure& failure) {
        return failure;
    } catch (const std::exception& failure) {
        return Failure(kRuntimeFailure, failure.what());
    }
    handlers_.opened(LiveWatch::now());
    return std::nullopt;
}

void ReceiverSearch::stop()
{
    searching_ = false;
    trialTimer_.stop();
    live_.onReceived = nullptr;
    live_.close();
}

bool ReceiverSearch::portOpen() { return live_.port().isOpen(); }

// Each opening starts the figures afresh: the time to the first fix counts
// from the opening at the speed that is found, which stays open.
void ReceiverSearch::open(std::size_t index)
{
    baudIndex_ = index;
    failure_.reset();
    spotter_.emplace();
    mark_ = LiveWatch::now();
    handlers_.opened(mark_);
    opening_ = true;
    live_.selection().baud.select(static_cast<int>(index));
    opening_ = false;
}

void ReceiverSearch::trial(std::size_t index)
{
    open(index);
    judgeTrial();
}

// The window's rule for one trial, without blocking the loop the other
// receivers share: it is asked again at each deadline it names, and as soon
// as the output is recognised.
void ReceiverSearch::judgeTrial()
{
    if (!searching_) return;
    // A receiver of talkers the readout does not know is still a receiver.
    if (spotter_->spotted()) {
        listen();
        return;
    }
    const StatusFields& fields = live_.fields();
    // A port that would not open has nothing to listen to at this speed.
    const std::optional<double> until =
        live_.port().isOpen() ? trialListensUntil(fields, LiveWatch::now() - mark_) : std::nullopt;
    if (until) {
        trialTimer_.start(static_cast<int>(std::ceil((mark_ + *until - LiveWatch::now()) * 1000)));
        return;
    }
    textArrived_ = textArrived_ || fields.reads(Field::Found, kYes);
    if (fields.reads(Field::IsGps, kYes))
        listen();
    else if (baudIndex_ + 1 < bauds_.size())
        trial(baudIndex_ + 1);
    else if (failure_ && !textArrived_)
        notFound(failure_->detail());
    else
        notFound(std::string(textArrived_ ? "text arrived, but nothing was recognised as GPS, at "
                                          : "nothing arrived at ") +
                 baudsText(bauds_) + " baud");
}

void ReceiverSearch::fieldWritten(Field field, const std::string& text)
{
    if (searching_ && field == Field::IsGps && text == kYes && !opening_) judgeTrial();
}

void ReceiverSearch::listen()
{
    searching_ = false;
    trialTimer_.stop();
    if (!live_.port().isOpen()) {
        notFound(failure_ ? failure_->detail() : "the port would not open");
        return;
    }
    live_.readBytesOnly();
    found_ = true;
    handlers_.found();
}

void ReceiverSearch::notFound(const std::string& reason)
{
    searching_ = false;
    trialTimer_.stop();
    if (live_.port().isOpen()) live_.port().setOpen(false);
    handlers_.notFound(reason);
}

void ReceiverSearch::portFailed(const Failure& failure)
{
    failure_ = failure;
    if (found_ && !opening_) handlers_.lost(failure);
}

}  // namespace veltrane::cli
