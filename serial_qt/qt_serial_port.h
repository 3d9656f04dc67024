// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QPointer>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdint>
#include <optional>
#include <string>

#include "comm_map.h"
#include "failure.h"
#include "line_settings.h"
#include "port_name.h"
#include "qt_event_loop.h"
#include "serial_component.h"

namespace veltrane {

// The serial component on Qt SerialPort. setCommPort(N) picks the N-th of `ports`;
// a Comm number among them is looked up in the map at each opening. When the device goes away while open (unplugged, far
// end of a pseudo-terminal closed) Qt reports a read error on every turn of
// the event loop for as long as the port stays open, which would keep a core
// busy; the first such error closes the port, and the receive event then
// hands over what was read and reports the loss once.
//
// Each wake-up of the event loop costs the window more than the few bytes it
// brings, and a line delivers them in small writes (a USB adapter every 16 ms,
// the simulator every 10 ms). So while text flows, Qt's own read notification
// is held off and the port is read once per collection interval, each read
// raising one receive event with everything that waited; a quiet line gets the
// notification back, which also catches a hang-up at once.
class QtSerialPort final : public SerialComponent {
public:
    explicit QtSerialPort(CommMap map, std::vector<PortName> ports = commPorts());

    bool isOpen() const override { return port_.isOpen(); }
    void setOpen(bool open) override;
    void setReceiveThreshold(int threshold) override;
    void setCommPort(int port) override { entry_ = port; }
    void setSettings(const std::string& settings) override { settings_ = parseLineSettings(settings); }
    std::int64_t bytesWaiting() override;
    std::string readAll() override;

    // The loss the next receive event reports, once everything read before it
    // has been handed over; null otherwise. The whole path of a loss is told
    // above portError in the .cpp.
    const Failure* lossWaiting() const { return leftOver_.empty() && lost_ ? &*lost_ : nullptr; }
    // Errors Qt reported on an open port, counted so a flood shows.
    std::uint64_t errorsSeen() const { return errorsSeen_; }

private:
    void open();
    void close();
    void dataArrived();
    void collectWaiting();
    void announceArrivals();
    void portError(QSerialPort::SerialPortError error);
    void deviceLost();

    QSerialPort port_;
    CommMap map_;
    std::vector<PortName> ports_;
    int threshold_ = 0;
    int entry_ = 1;
    int comm_ = 1;        // of the latest opening; 0 when named by its device
    std::string device_;  // of the latest opening
    LineSettings settings_{.baud = 9600};
    bool opening_ = false;
    std::uint64_t errorsSeen_ = 0;
    std::optional<Failure> lost_;
    std::string leftOver_;  // read before the device went away, not yet handed over
    QueuedCall lossCall_{[this] { deviceLost(); }};
    QPointer<QSocketNotifier> readNotifier_;  // Qt's own, of the open port
    QTimer collectTimer_;
    bool arrived_ = false;  // read from the device since the last receive event
};

}  // namespace veltrane
