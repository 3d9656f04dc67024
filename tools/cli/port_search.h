// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "auto_detect.h"
#include "failure.h"
#include "live_monitor.h"
#include "port_name.h"
#include "qt_detection_loop.h"

namespace veltrane::cli {

// "Auto Detect" on a live monitor without a window, over the ports and speeds
// its boxes offer: the search's closing message becomes a result, and the
// reason a port that exists would not open is kept, which the search itself
// never looks at.
class PortSearch final : private DetectionView {
public:
    enum class Outcome { Found, NothingRecognised, Failed, Stopped };

    struct Result {
        Outcome outcome;
        PortName port;  // when found: the port and baud text left selected and open
        std::string baud;
        std::string message;  // the search's own message when nothing was found or it failed
        std::vector<std::string> unopened;  // why ports that exist would not open, each once
    };

    explicit PortSearch(LiveMonitor& live);

    // Told as each combination's trial starts, with why its port would not open.
    std::function<void(const PortName& port, const std::string& baud, const std::optional<std::string>& unopened)>
        onTrying;

    // Selects the first entries (the start-up), then searches.
    Result run();
    // Ends a running search at its next step; run() then returns Stopped.
    void stop();

private:
    void setSettingsCaption(const std::string&) override {}
    void setAutoEnabled(bool) override {}
    void showMessage(Icon icon, const std::string& text) override;

    LiveMonitor& live_;
    QtDetectionLoop loop_;
    AutoDetect detect_;
    std::optional<Failure> openingFailure_;
    std::vector<std::string> unopened_;
    bool stopped_ = false;
    bool failed_ = false;
    std::string message_;
};

}  // namespace veltrane::cli
