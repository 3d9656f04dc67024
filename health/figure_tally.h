// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "health_figures.h"
#include "statistics.h"
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
    // Readies a stretch that is complete to be appended many times.
    void settle();

    // The counts alone (bytes, sentences, fixes), cheap to look at.
    const HealthFigures& counts() const { return counts_; }
    // Every figure but the two that depend on more than the stretch: the time
    // to the first fix and whether the window recognises the receiver.
    HealthFigures figures() const;
    // When the first fix with an arrival time arrived.
    std::optional<double> firstFix() const { return firstFix_; }
    // Whether the latest GGA reports a fix; none before any.
    std::optional<bool> lastGgaFix() const { return lastGgaFix_; }
    const ValueCounts& satellitesUsed() const { return satellites_; }
    // Every C/N0 of every GSV.
    const ValueCounts& cn0() const { return cn0_; }

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
        ValueCounts inView;
        ValueCounts cn0;
        std::set<std::string, std::less<>> prns;
    };

    HealthFigures counts_;
    std::vector<double> latitudes_;
    std::vector<double> longitudes_;
    ValueCounts satellites_;
    ValueCounts hdops_;
    std::vector<double> ggaArrivals_;
    std::optional<double> firstFix_;
    std::optional<bool> lastGgaFix_;
    ByText<ByText<Signal>> signals_;
    ValueCounts cn0_;
};

}  // namespace veltrane::health
