// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string_view>

#include "figure_tally.h"
#include "gsv_sets.h"
#include "health_figures.h"
#include "stream_reading.h"

namespace veltrane::health {

// At most this many addresses get a count of their own: a stream that frames
// as sentences of ever new addresses must not grow a count for each.
inline constexpr std::size_t kCountedAddresses = 64;

// Counts since the watching began, across reopenings.
struct RunningCounts {
    std::uint64_t bytes = 0;
    std::uint64_t noiseBytes = 0;
    ByText<std::uint64_t> sentences;   // by address: the first kCountedAddresses heard
    std::uint64_t otherSentences = 0;  // of every address after those
    std::uint64_t checksumErrors = 0;
    std::uint64_t cutSentences = 0;
    std::uint64_t malformedSentences = 0;
    std::uint64_t ubxFrames = 0;
    std::uint64_t rtcm3Frames = 0;
};

// One receiver watched for as long as it runs: the health check's figures
// over a window of the last seconds, running counts, and its last readings.
// The window is kept as one tally per second of arrival, so a second that
// leaves the window is dropped whole and nothing is read twice; the medians
// and the scatter are worked out only when asked, at most once a second.
// Times are seconds on a steady clock.
class LiveHealth final : private ReadingObserver {
public:
    LiveHealth(int windowSeconds, double opened);
    ~LiveHealth() override;
    LiveHealth(const LiveHealth&) = delete;
    LiveHealth& operator=(const LiveHealth&) = delete;

    // The port went away: what the reading left undecided is read as the end
    // of the input, as a check reads the end of its listening (a sentence
    // cut by it counts nowhere, a frame cut by it is no frame).
    void portClosed();
    // The port was opened again, and the time to the first fix counts from `at`.
    void reopen(double at);
    void add(std::string_view bytes, double arrival);

    // The check's figures over the seconds since `now` - window (counted in
    // whole seconds, the current one included), with the time to the first
    // fix since the last opening. Data that arrives within the second of
    // the last call shows from the next second on.
    const HealthFigures& windowFigures(double now);
    // Talker to signal ID to the satellites in view of the last complete GSV
    // set, for the signals heard in the window.
    ByText<ByText<double>> satellitesInView(double now);

    const RunningCounts& counts() const { return counts_; }
    std::optional<double> lastArrival() const { return lastArrival_; }
    // The last GGA's quality as a whole number; none before any GGA or when
    // it sent none.
    std::optional<int> fixQuality() const { return fixQuality_; }
    // Whether the last GGA since the last opening reports a fix; none before one.
    std::optional<bool> fix() const { return fix_; }
    // From the last GGA with a fix.
    std::optional<double> satellitesUsed() const { return satellitesUsed_; }
    std::optional<double> hdop() const { return hdop_; }
    std::optional<double> lastFix() const { return lastFix_; }
    std::optional<double> ttffSeconds() const { return ttff_; }

private:
    struct Second {
        long long second;
        FigureTally tally;
    };

    FigureTally& tallyAt(Arrival at);
    // Drops what arrived before the window that ends in second `now`.
    void evict(long long now);

    void noise(std::uint64_t bytes, Arrival at) override;
    void cutSentence(Arrival at) override;
    void malformedSentence(Arrival at) override;
    void sentence(const Sentence& read, Arrival at) override;
    void gga(const GgaReading& read, Arrival at) override;
    void gsv(std::string_view talker, const GsvSentence& read, Arrival at) override;
    void ubxFrame(std::string_view classAndId, Arrival at) override;
    void rtcm3Frame(std::string_view messageNumber, Arrival at) override;

    const int window_;
    double opened_;
    std::unique_ptr<StreamReading> reading_;
    bool readingEnded_ = false;
    bool recognised_ = false;  // by the readings of earlier openings
    std::deque<Second> seconds_;
    GsvSets gsvSets_;
    std::optional<long long> figuresSecond_;
    HealthFigures figures_;
    RunningCounts counts_;
    std::optional<double> lastArrival_;
    std::optional<int> fixQuality_;
    std::optional<bool> fix_;
    std::optional<double> satellitesUsed_;
    std::optional<double> hdop_;
    std::optional<double> lastFix_;
    std::optional<double> ttff_;
};

}  // namespace veltrane::health
