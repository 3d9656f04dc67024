// SPDX-License-Identifier: BSD-2-Clause
#include "checked_receiver.h"

#include <cmath>

#include "auto_detect.h"
#include "baud_rates.h"
#include "number_text.h"

namespace veltrane::cli {

CheckedReceiver::CheckedReceiver(LiveWatch& watch, const GivenPort& given, const std::vector<int>& bauds,
                                 double seconds, const health::Thresholds& thresholds, std::function<void()> onChange)
    : live_(watch.addMonitor({{given.port}, given.baud ? std::vector<int>{*given.baud} : bauds},
                             [this](const Failure& failure) { portFailed(failure); })),
      port_(given.port),
      bauds_(live_.choices().bauds),
      speedGiven_(given.baud.has_value()),
      seconds_(seconds),
      thresholds_(thresholds),
      onChange_(std::move(onChange)),
      deadline_([this] { endListening(State::Finished); })
{
    live_.fields().addObserver(this);
    live_.onReceived = [this](std::string_view bytes) { analysis_->add(bytes, LiveWatch::now()); };
    trialTimer_.setSingleShot(true);
    trialTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&trialTimer_, &QTimer::timeout, [this] { judgeTrial(); });
}

CheckedReceiver::~CheckedReceiver() { live_.fields().removeObserver(this); }

void CheckedReceiver::start()
{
    // The start-up: the port first, then a speed, each selection opening it.
    live_.selection().cboCommPort.select(0);
    if (speedGiven_) {
        open(0);
        listen();
    } else {
        changeTo(State::Searching);
        trial(0);
    }
}

std::optional<int> CheckedReceiver::baud() const
{
    if (state_ == State::NoReceiver) return std::nullopt;
    return bauds_.at(baudIndex_);
}

double CheckedReceiver::heardSeconds() const
{
    return state_ == State::Listening ? LiveWatch::now() - mark_ : heard_;
}

health::Progress CheckedReceiver::progress() const { return analysis_ ? analysis_->progress() : health::Progress{}; }

// Each opening starts the figures afresh: the time to the first fix counts
// from the opening at the speed that is found, which stays open.
void CheckedReceiver::open(std::size_t index)
{
    baudIndex_ = index;
    failure_.reset();
    mark_ = LiveWatch::now();
    analysis_.emplace(mark_);
    opening_ = true;
    live_.selection().cboBaud.select(static_cast<int>(index));
    opening_ = false;
}

void CheckedReceiver::trial(std::size_t index)
{
    open(index);
    judgeTrial();
}

// The window's rule for one trial, without blocking the loop the other
// receivers share: it is asked again at each deadline it names, and as soon
// as the output is recognised.
void CheckedReceiver::judgeTrial()
{
    if (state_ != State::Searching) return;
    const StatusFields& fields = live_.fields();
    // A port that would not open has nothing to listen to at this speed.
    const std::optional<double> until =
        live_.objComm().PortOpen() ? trialListensUntil(fields, LiveWatch::now() - mark_) : std::nullopt;
    if (until) {
        trialTimer_.start(static_cast<int>(std::ceil((mark_ + *until - LiveWatch::now()) * 1000)));
        return;
    }
    textArrived_ = textArrived_ || fields.reads(Field::lblFound, kYes);
    if (fields.reads(Field::lblIsGPS, kYes))
        listen();
    else if (baudIndex_ + 1 < bauds_.size())
        trial(baudIndex_ + 1);
    else if (failure_ && !textArrived_)
        noReceiver(failure_->detail());
    else
        noReceiver(std::string(textArrived_ ? "text arrived, but nothing was recognised as GPS, at "
                                            : "nothing arrived at ") +
                   baudsText(bauds_) + " baud");
}

void CheckedReceiver::fieldWritten(Field field, const std::string& text)
{
    if (state_ == State::Searching && field == Field::lblIsGPS && text == kYes && !opening_) judgeTrial();
}

void CheckedReceiver::listen()
{
    trialTimer_.stop();
    if (!live_.objComm().PortOpen()) {
        noReceiver(failure_ ? failure_->detail() : "the port would not open");
        return;
    }
    // The check judges the bytes itself: the readout has done its part.
    live_.readBytesOnly();
    deadline_.start(std::max(0.0, seconds_ - (LiveWatch::now() - mark_)));
    changeTo(State::Listening);
}

void CheckedReceiver::portFailed(const Failure& failure)
{
    failure_ = failure;
    if (state_ != State::Listening || opening_) return;
    endListening(State::Lost);
}

void CheckedReceiver::endListening(State state)
{
    if (state_ != State::Listening) return;
    heard_ = LiveWatch::now() - mark_;
    deadline_.stop();
    live_.onReceived = nullptr;
    live_.close();
    figures_ = analysis_->finish();
    verdict_ = health::judge(figures_, thresholds_);
    if (state == State::Lost) {
        verdict_.pass = false;
        verdict_.reasons.push_back("the receiver went away after " + health::fixedText(heard_, 1) +
                                   " s: " + failure_->detail());
    }
    changeTo(state);
}

void CheckedReceiver::noReceiver(std::string reason)
{
    trialTimer_.stop();
    live_.onReceived = nullptr;
    live_.close();
    analysis_.reset();
    noReceiverReason_ = std::move(reason);
    changeTo(State::NoReceiver);
}

void CheckedReceiver::interrupt()
{
    if (ended()) return;
    interrupted_ = true;
    if (state_ == State::Listening)
        endListening(State::Finished);
    else
        noReceiver("interrupted while searching");
}

void CheckedReceiver::changeTo(State state)
{
    state_ = state;
    if (onChange_) onChange_();
}

}  // namespace veltrane::cli
