// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "given_ports.h"
#include "live_health.h"
#include "live_watch.h"
#include "receiver_sample.h"
#include "receiver_search.h"

namespace veltrane::cli {

// One receiver of a watch, for as long as the watch runs: found as a check
// finds it, then read into its sliding window. A port whose device went away
// is opened again when the device is back (the same path), and a port where
// no receiver answered is searched again, after pauses that grow to 30 s;
// the other receivers go on meanwhile.
class WatchedReceiver {
public:
    // `metricPort`: the device path its metrics are labelled with. `tell` is
    // given each change of state as the text of a line.
    WatchedReceiver(LiveWatch& watch, const GivenPort& given, const std::vector<int>& bauds, int windowSeconds,
                    std::string metricPort, std::function<void(const std::string&)> tell);
    WatchedReceiver(const WatchedReceiver&) = delete;
    WatchedReceiver& operator=(const WatchedReceiver&) = delete;

    void start();
    // `steadyNow` as LiveWatch::now(), `unixNow` the same instant in Unix time.
    watch::ReceiverSample sample(double steadyNow, double unixNow);

private:
    enum class State { Searching, Absent, Listening, Lost };

    void opened(double at);
    void received(std::string_view bytes, double at);
    void found();
    void notFound(const std::string& reason);
    void lost();
    void retry();
    void retryLater();

    const int window_;
    const std::string metricPort_;
    std::function<void(const std::string&)> tell_;
    State state_ = State::Searching;
    std::optional<health::LiveHealth> health_;
    std::uint64_t reopenings_ = 0;
    std::optional<bool> toldFix_;
    std::string toldReason_;  // of the last "no receiver"
    double lostAt_ = 0;
    int pauseSeconds_ = 0;
    QTimer retryTimer_;
    ReceiverSearch search_;  // last: its handlers use the members above
};

}  // namespace veltrane::cli
