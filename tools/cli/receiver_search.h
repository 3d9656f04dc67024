// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QTimer>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "failure.h"
#include "given_ports.h"
#include "live_watch.h"
#include "sentence_spotter.h"
#include "status_fields.h"

namespace veltrane::cli {

// Finds the receiver on one of many ports listened to at once: at the speed
// given, or by the window's search over a list of speeds (a speed where a
// sentence of any talker arrives whole is also the receiver's), without blocking
// the others on the watch's event loop. Once found it is read as raw bytes
// only, skipping the readout and its receive ring, whose lap holds ten
// thousand reads: memory stays flat however long it is heard.
class ReceiverSearch final : private FieldObserver {
public:
    struct Handlers {
        // Each opening at a speed: what arrives from then on is the
        // receiver's, and its time to the first fix counts from `at`.
        std::function<void(double at)> opened;
        std::function<void(std::string_view bytes, double at)> received;
        std::function<void()> found;
        // No receiver answered: why, as device text.
        std::function<void(const std::string& reason)> notFound;
        // The port failed once found: the device went away.
        std::function<void(const Failure& failure)> lost;
    };

    // `bauds`: what to search when the port comes with no speed. Times are
    // LiveWatch::now().
    ReceiverSearch(LiveWatch& watch, const GivenPort& given, const std::vector<int>& bauds, Handlers handlers);
    ~ReceiverSearch() override;
    ReceiverSearch(const ReceiverSearch&) = delete;
    ReceiverSearch& operator=(const ReceiverSearch&) = delete;

    // Searches, or opens at the speed given; after notFound, afresh.
    void start();
    // Opens the port again at the speed found, once it was lost; the failure
    // when it will not open.
    std::optional<Failure> reopen();
    // Ends the search or the reading for good, without a word.
    void stop();

    bool speedGiven() const { return speedGiven_; }
    bool found() const { return found_; }
    bool portOpen();
    // The speed it reads at, or is trying while it searches.
    int baud() const { return bauds_.at(baudIndex_); }

private:
    void fieldWritten(Field field, const std::string& text) override;
    void open(std::size_t index);
    void trial(std::size_t index);
    void judgeTrial();
    void listen();
    void notFound(const std::string& reason);
    void portFailed(const Failure& failure);

    LiveMonitor& live_;
    std::vector<int> bauds_;
    bool speedGiven_;
    Handlers handlers_;
    bool searching_ = false;
    bool found_ = false;
    std::size_t baudIndex_ = 0;
    double mark_ = 0;  // when the trial began
    bool opening_ = false;
    bool textArrived_ = false;        // at any speed tried
    std::optional<Failure> failure_;  // the latest opening's
    std::optional<health::SentenceSpotter> spotter_;  // the latest opening's
    QTimer trialTimer_;
};

}  // namespace veltrane::cli
