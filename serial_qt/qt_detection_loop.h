// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QTimer>

#include "auto_detect.h"

namespace veltrane {

// The search's waits on the Qt event loop. Instead of spinning, a wait sleeps
// until the next event or its deadline, whichever comes first, so a search over
// thirty silent ports costs next to no processor time.
class QtDetectionLoop final : public DetectionLoop {
public:
    QtDetectionLoop();

    std::chrono::duration<double> timeOfDay() override;
    void runPending() override;
    void runPendingUntil(std::chrono::duration<double> deadline) override;

private:
    QTimer wake_;
    // Keeps the time of day increasing past midnight or a clock set back, so
    // a wait can never stretch to a whole day.
    double offset_ = 0;
    double last_ = 0;
};

}  // namespace veltrane
