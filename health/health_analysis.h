// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "framing.h"
#include "health_figures.h"

namespace veltrane::health {

// The figures a live view shows while listening, a few times a second.
struct Progress {
    std::optional<bool> fix;               // whether the latest GGA reports one; none before any
    std::optional<double> satellitesUsed;  // the median over the fixes so far
    std::optional<double> cn0;             // the median of every C/N0 so far
    std::optional<double> ttffSeconds;
    std::optional<double> damagedShare;
};

// Reads one receiver's output as it arrives, in chunks of any size, from any
// source, and works out its health figures. Times are seconds on any steady
// clock; a recorded capture has none, and its live-only figures stay empty.
class HealthAnalysis final : private FrameSink {
public:
    // `opened`: when the port was opened, for the time to the first fix.
    explicit HealthAnalysis(std::optional<double> opened = std::nullopt);
    ~HealthAnalysis() override;
    HealthAnalysis(const HealthAnalysis&) = delete;
    HealthAnalysis& operator=(const HealthAnalysis&) = delete;

    // `arrival`: when these bytes were read.
    void add(std::string_view bytes, std::optional<double> arrival = std::nullopt);
    // The counts so far (bytes, sentences, fixes), for showing progress.
    const HealthFigures& soFar() const { return figures_; }
    Progress progress() const;
    // Reads what the end of the input leaves undecided, then works out every
    // figure. A capture's end and the end of listening are read alike. Call
    // once, after the last add().
    HealthFigures finish();

private:
    struct WindowCheck;
    struct Signal {
        ValueCounts inView;
        ValueCounts cn0;
        std::set<std::string, std::less<>> prns;
    };
    struct Chunk {
        std::uint64_t end;  // stream offset after its last byte
        double arrival;
    };

    void sentence(std::string_view text, std::uint64_t lineEnd) override;
    void cutSentence() override { ++figures_.cutSentences; }
    void noise(std::uint64_t bytes) override { figures_.noiseBytes += bytes; }
    void ubxFrame(std::uint8_t messageClass, std::uint8_t id) override;
    void rtcm3Frame(unsigned messageNumber) override;

    std::optional<double> arrivalOf(std::uint64_t offset);
    void gga(std::string_view body, std::optional<double> arrival);
    void gsv(std::string_view talker, std::string_view body);

    std::optional<double> opened_;
    Framing framing_{*this};
    std::deque<Chunk> chunks_;  // the arrivals of bytes the framing may still hold
    HealthFigures figures_;
    std::vector<double> latitudes_;
    std::vector<double> longitudes_;
    ValueCounts satellites_;
    ValueCounts hdops_;
    std::vector<double> ggaIntervals_;
    std::optional<double> lastGga_;
    std::optional<bool> lastGgaFix_;
    ByText<ByText<Signal>> signals_;
    ValueCounts cn0_;
    std::unique_ptr<WindowCheck> window_;
};

}  // namespace veltrane::health
