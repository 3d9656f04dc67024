// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "baud_rates.h"
#include "clock.h"
#include "comm_map.h"
#include "failure.h"
#include "gps_port.h"
#include "monitor.h"
#include "port_name.h"
#include "selection_box.h"
#include "serial_component.h"

namespace veltrane {

// What a monitor's two boxes offer: the window's ports and speeds, or those
// a command line names.
struct PortChoices {
    std::vector<PortName> ports = commPorts();
    std::vector<int> bauds{kWindowBauds.begin(), kWindowBauds.end()};
};

// The monitor bound to a real serial port and driven by the Qt event loop, as
// the window and the headless tool both run it: the receive event feeds the
// ring, a 100-millisecond tick runs the assembler, and the two selections open
// the port. Needs a QCoreApplication (or QApplication) to exist.
//
// Its assembler passes work in slices of a few tens of milliseconds, each
// continued at once, so that a deadline, a signal or a search waiting in the
// event loop gets control back promptly however fast text arrives.
class LiveMonitor {
public:
    // Told of every port failure as it is shown: each failed opening, and a
    // lost device once everything received before the loss is interpreted.
    std::function<void(const Failure&)> onPortFailure;
    // Told of every byte read from the port, unchanged and in order, as the
    // receive event stores it: what a recording or a health check needs.
    std::function<void(std::string_view bytes)> onReceived;

    LiveMonitor(const Clock& clock, CommMap map, const PortChoices& choices = {});
    ~LiveMonitor();
    LiveMonitor(const LiveMonitor&) = delete;
    LiveMonitor& operator=(const LiveMonitor&) = delete;

    StatusFields& fields();
    SentenceLog& log();
    PortSelection& selection();
    SerialComponent& port();
    SentenceAssembler& assembler();
    // The ports and speeds its boxes offer, in their order.
    const PortChoices& choices() const;

    // Start-up: port entry 0, then baud entry 0, each selection opening the port.
    void selectFirstEntries();
    // From now on the port's bytes go to onReceived alone, and its failures
    // straight to onPortFailure: no readout, no log, and no ring, whose lap
    // holds ten thousand reads. For a command that judges the bytes itself.
    void readBytesOnly();
    // Closing: stop the tick, close the port if it is open, end any paused
    // pass at its next step.
    void close();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace veltrane
