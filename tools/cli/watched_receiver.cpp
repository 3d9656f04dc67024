// SPDX-License-Identifier: BSD-2-Clause
#include "watched_receiver.h"

#include <algorithm>

#include "device_text.h"
#include "fix_quality.h"
#include "number_text.h"

namespace veltrane::cli {

namespace {

// A device that is plugged in again often shows before its permissions are
// set; a port that stays away costs one try every half minute.
constexpr int kFirstPauseSeconds = 1;
constexpr int kLongestPauseSeconds = 30;

std::string fixText(bool fix, std::optional<int> quality)
{
    std::string text = fix ? "fix" : "no fix";
    if (!quality) return text;
    const std::string code = std::to_string(*quality);
    const std::string_view name = health::qualityName(code);
    text += ": quality " + code;
    if (!name.empty() && name != "no fix") text.append(", ").append(name);
    return text;
}

}  // namespace

WatchedReceiver::WatchedReceiver(LiveWatch& watch, const GivenPort& given, const std::vector<int>& bauds,
                                 int windowSeconds, std::string metricPort, std::function<void(const std::string&)> tell)
    : window_(windowSeconds),
      metricPort_(std::move(metricPort)),
      tell_(std::move(tell)),
      search_(watch, given, bauds,
              {.opened = [this](double at) { opened(at); },
               .received = [this](std::string_view bytes, double at) { received(bytes, at); },
               .found = [this] { found(); },
               .notFound = [this](const std::string& reason) { notFound(reason); },
               .lost = [this](const Failure&) { lost(); }})
{
    retryTimer_.setSingleShot(true);
    QObject::connect(&retryTimer_, &QTimer::timeout, [this] { retry(); });
}

void WatchedReceiver::start() { search_.start(); }

watch::ReceiverSample WatchedReceiver::sample(double steadyNow, double unixNow)
{
    // What arrived while its speed was being searched is not the receiver's.
    if (!search_.found()) {
        watch::ReceiverSample sample;
        sample.port = metricPort_;
        return sample;
    }
    return watch::sampleOf(metricPort_, *health_, {search_.portOpen(), reopenings_}, steadyNow, unixNow);
}

// The counts run on across reopenings; a search's trials start afresh.
void WatchedReceiver::opened(double at)
{
    if (search_.found())
        health_->reopen(at);
    else
        health_.emplace(window_, at);
}

void WatchedReceiver::received(std::string_view bytes, double at)
{
    health_->add(bytes, at);
    if (state_ != State::Listening) return;
    const std::optional<bool> fix = health_->fix();
    if (!fix || fix == toldFix_) return;
    // A receiver that has had no fix yet says so by staying silent.
    if (*fix || toldFix_) tell_(fixText(*fix, health_->fixQuality()));
    toldFix_ = fix;
}

void WatchedReceiver::found()
{
    state_ = State::Listening;
    pauseSeconds_ = 0;
    toldReason_.clear();
    toldFix_.reset();
    tell_("found at " + std::to_string(search_.baud()) + " baud");
}

void WatchedReceiver::notFound(const std::string& reason)
{
    state_ = State::Absent;
    // Said again only when it changes: a device that appears, but may not
    // be opened, is news.
    if (reason != toldReason_) tell_("no receiver: " + escapeDeviceText(reason) + "; looking again until one answers");
    toldReason_ = reason;
    retryLater();
}

void WatchedReceiver::lost()
{
    state_ = State::Lost;
    lostAt_ = LiveWatch::now();
    health_->portClosed();
    pauseSeconds_ = 0;
    tell_("lost; reopening when it comes back");
    retryLater();
}

void WatchedReceiver::retry()
{
    if (state_ == State::Absent) {
        state_ = State::Searching;
        search_.start();
        return;
    }
    if (search_.reopen()) {
        retryLater();
        return;
    }
    ++reopenings_;
    state_ = State::Listening;
    pauseSeconds_ = 0;
    toldFix_.reset();
    tell_("back at " + std::to_string(search_.baud()) + " baud after " +
          health::fixedText(LiveWatch::now() - lostAt_, 0) + " s");
}

void WatchedReceiver::retryLater()
{
    pauseSeconds_ = pauseSeconds_ == 0 ? kFirstPauseSeconds : std::min(2 * pauseSeconds_, kLongestPauseSeconds);
    retryTimer_.start(pauseSeconds_ * 1000);
}

}  // namespace veltrane::cli
