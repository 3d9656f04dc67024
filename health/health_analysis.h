// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "health_figures.h"

namespace veltrane::health {

// Reads a receiver's output as it arrives, in chunks of any size, and works
// out its health figures. The input is split into lines at LF (a CR before
// the LF is dropped); each line holds at most one sentence, from its first
// "$" or "!" on. Times are seconds on any steady clock; a recorded capture
// has none, and its live-only figures stay empty.
class HealthAnalysis {
public:
    // `opened`: when the port was opened, for the time to the first fix.
    explicit HealthAnalysis(std::optional<double> opened = std::nullopt);
    ~HealthAnalysis();
    HealthAnalysis(const HealthAnalysis&) = delete;
    HealthAnalysis& operator=(const HealthAnalysis&) = delete;

    // `arrival`: when these bytes were read.
    void add(std::string_view bytes, std::optional<double> arrival = std::nullopt);
    // The counts so far (bytes, sentences, fixes), for showing progress.
    const HealthFigures& soFar() const { return figures_; }
    // Reads a last line that has no LF as a line, as a capture's last line
    // is, then works out every figure. Call once, after the last add().
    HealthFigures finish();
    // finish() for a live check that stopped listening: the bytes after the
    // last LF are not read as a line.
    HealthFigures finishListening();

private:
    struct WindowCheck;

    void line(std::string_view text, std::optional<double> arrival);
    void gga(std::string_view body, std::optional<double> arrival);

    std::optional<double> opened_;
    std::optional<double> lastArrival_;
    std::string partial_;
    HealthFigures figures_;
    std::vector<double> latitudes_;
    std::vector<double> longitudes_;
    std::vector<double> satellites_;
    std::vector<double> hdops_;
    std::vector<double> ggaIntervals_;
    std::optional<double> lastGga_;
    std::unique_ptr<WindowCheck> window_;
};

}  // namespace veltrane::health
