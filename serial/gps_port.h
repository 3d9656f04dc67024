// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <functional>

#include "failure.h"
#include "selection_box.h"
#include "sentence_log.h"
#include "serial_component.h"
#include "status_fields.h"

namespace veltrane {

// The only place a port is opened: every click of either box closes the port
// and opens it again with both selections, starting the monitor afresh.
class GpsPort {
public:
    GpsPort(StatusFields& fields, SentenceLog& log, SerialComponent& port, PortSelection& selection);
    GpsPort(const GpsPort&) = delete;
    GpsPort& operator=(const GpsPort&) = delete;
    ~GpsPort();

    void switchPort() { reopen(); }
    void switchBaud() { reopen(); }
    void reopen();

    // Told of each failure the opening traps, 8002 included, after the fields are written.
    std::function<void(const Failure&)> onFailure;

private:
    void failed(const Failure& failure);

    StatusFields& fields_;
    SentenceLog& log_;
    SerialComponent& port_;
    PortSelection& selection_;
};

}  // namespace veltrane
