// SPDX-License-Identifier: BSD-2-Clause
#include "checked_receiver.h"

#include "number_text.h"

namespace veltrane::cli {

CheckedReceiver::CheckedReceiver(LiveWatch& watch, const GivenPort& given, const std::vector<int>& bauds,
                                 double seconds, const health::Thresholds& thresholds, std::function<void()> onChange)
    : port_(given.port),
      seconds_(seconds),
      thresholds_(thresholds),
      onChange_(std::move(onChange)),
      deadline_([this] { endListening(State::Finished); }),
      search_(watch, given, bauds,
              {.opened =
                   [this](double at) {
                       mark_ = at;
                       analysis_.emplace(at);
                   },
               .received = [this](std::string_view bytes, double at) { analysis_->add(bytes, at); },
               .found = [this] { listen(); },
               .notFound = [this](const std::string& reason) { noReceiver(reason); },
               .lost = [this](const Failure& failure) { endListening(State::Lost, &failure); }})
{
}

void CheckedReceiver::start()
{
    if (!search_.speedGiven()) changeTo(State::Searching);
    search_.start();
}

std::optional<int> CheckedReceiver::baud() const
{
    if (state_ == State::NoReceiver) return std::nullopt;
    return search_.baud();
}

double CheckedReceiver::heardSeconds() const
{
    return state_ == State::Listening ? LiveWatch::now() - mark_ : heard_;
}

health::Progress CheckedReceiver::progress() const { return analysis_ ? analysis_->progress() : health::Progress{}; }

void CheckedReceiver::listen()
{
    deadline_.start(std::max(0.0, seconds_ - (LiveWatch::now() - mark_)));
    changeTo(State::Listening);
}

void CheckedReceiver::endListening(State state, const Failure* lostTo)
{
    if (state_ != State::Listening) return;
    heard_ = LiveWatch::now() - mark_;
    deadline_.stop();
    search_.stop();
    figures_ = analysis_->finish();
    verdict_ = health::judge(figures_, thresholds_);
    if (lostTo) {
        verdict_.pass = false;
        verdict_.reasons.push_back("the receiver went away after " + health::fixedText(heard_, 1) +
                                   " s: " + lostTo->detail());
    }
    changeTo(state);
}

void CheckedReceiver::noReceiver(std::string reason)
{
    search_.stop();
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
