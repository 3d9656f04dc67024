// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "selection_box.h"
#include "status_fields.h"

namespace veltrane {

// What the search needs of the window besides the two boxes and the indicators.
class DetectionView {
public:
    enum class Icon { Information, Warning };

    virtual ~DetectionView() = default;
    virtual void setSettingsCaption(const std::string& caption) = 0;
    virtual void setAutoEnabled(bool enabled) = 0;
    // Modal, OK only, titled with the product name; returns when it is closed.
    virtual void showMessage(Icon icon, const std::string& text) = 0;
};

// The search's clock and its hold on the event loop.
class DetectionLoop {
public:
    virtual ~DetectionLoop() = default;
    // Seconds since midnight, with fractions. Must keep increasing through a
    // search, also past midnight.
    virtual std::chrono::duration<double> timeOfDay() = 0;
    // Runs the events that are pending, then returns.
    virtual void runPending() = 0;
    // Runs pending events; when none is pending, sleeps in the event loop until
    // the next one arrives or the time of day reaches the deadline.
    virtual void runPendingUntil(std::chrono::duration<double> deadline) = 0;
};

inline constexpr std::string_view kSettingsCaption = "GPS Device Settings";
inline constexpr std::string_view kSearchingCaption = "Autodetecting GPS device...";
inline constexpr std::string_view kNotDetectedMessage =
    "Your GPS could not be detected.  Please check that the GPS is plugged in, has power and "
    "that you have installed any GPS drivers on your system.  If the problem persists, check "
    "your serial port settings in your Windows Device Manager.";
inline constexpr std::string_view kSearchFailedMessage =
    "An error occurred while attempting to detect your GPS device.  Please check your settings "
    "and try again.";

// How long one combination's trial listens, in seconds after its mark: a
// second whatever comes, then on while text arrives that is not recognised,
// up to four. Nothing once the trial is over. Every search follows it, the
// window's and the command line's searches of many ports at once alike.
std::optional<double> trialListensUntil(const StatusFields& fields, double sinceMark);

// "Auto Detect": tries every port at every baud rate by setting the two
// selections (which reopens the port) and reading the indicators back while
// the receive path runs in the waits.
class AutoDetect {
public:
    AutoDetect(PortSelection& selection, const StatusFields& fields, DetectionView& view,
               DetectionLoop& loop);
    ~AutoDetect();
    AutoDetect(const AutoDetect&) = delete;
    AutoDetect& operator=(const AutoDetect&) = delete;

    void run();
    // Ends a running search at its next step without touching anything; no
    // port is opened afterwards. For closing the window.
    void shutdown() { *alive_ = false; }

    // Told of each combination as its trial starts: Comm number and baud text.
    std::function<void(int comm, const std::string& baud)> onTrying;

private:
    enum class Outcome { Finished, Abandoned };

    Outcome search(const std::shared_ptr<bool>& alive);
    Outcome tryCombination(int portIndex, int baudIndex, const std::shared_ptr<bool>& alive);
    bool reads(Field field, std::string_view text) const { return fields_.read(field) == text; }
    void setControlsEnabled(bool enabled);

    PortSelection& selection_;
    const StatusFields& fields_;
    DetectionView& view_;
    DetectionLoop& loop_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace veltrane
