// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "health_figures.h"
#include "stream_reading.h"

namespace veltrane::health {

// What a stretch of a receiver's output shows, kept as counts and the values
// behind each median, so that stretches read apart add up to the figures of
// them all read at once.
class FigureTally final : public ReadingObserver {
public:
    void addBytes(std::uint64_t bytes) { counts_.bytes += bytes; }
    // Adds a stretch that came after this one.
    void append(const FigureTally& later);

    // The counts alone (bytes, sentences, fixes), cheap to look at.
    const HealthFigures& counts() const { return counts_; }
    // Every figure but the two that depend on more than the stretch: the time
    // to the first fix and whether the window recognises the receiver.
    HealthFigures figures() const;
    // When the first fix with an arrival time arrived.
    std::optional<double> firstFix() const { return firstFix_; }

    void noise(std::uint64_t bytes, Arrival) override { counts_.noiseBytes += bytes; }
    void cutSentence(Arrival) override { ++counts_.cutSentences; }
    void malformedSentence(Arrival) override { ++counts_.malformedSentences; }
    void sentence(const Sentence& read, Arrival) override;
    void gga(const GgaReading& read, Arrival at) override;
    void gsv(std::string_view talker, const GsvSentence& read, Arrival) override;
    void ubxFrame(std::string_view classAndId, Arrival) override;
    void rtcm3Frame(std::string_view messageNumber, Arrival) override;

private:
    struct Signal {
        std::vector<double> inView;
        std::vector<double> cn0;
        std::set<std::string, std::less<>> prns;
    };

    HealthFigures counts_;
    std::vector<double> latitudes_;
    std::vector<double> longitudes_;
    std::vector<double> satellites_;
    std::vector<double> hdops_;
    std::vector<double> ggaArrivals_;
    std::optional<double> firstFix_;
    ByText<ByText<Signal>> signals_;
};

}  // namespace veltrane::health
