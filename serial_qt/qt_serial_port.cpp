// SPDX-License-Identifier: BSD-2-Clause
#include "qt_serial_port.h"

#include <chrono>
#include <utility>

#include "device_holders.h"
#include "open_failure.h"
#include "port_failures.h"

namespace veltrane {

namespace {

// The monitor's tick. Qt fires coarse timers of one interval at the same
// moments, so collecting at this pace wakes the loop no more often than the
// tick already does, and the assembler, which reads only at the tick, shows
// nothing later for it. At 9600 baud an interval brings 96 bytes, far below
// the 4 KB the terminal driver holds; a pseudo-terminal's writer waits while
// that is full, so a flood there is read a driver's buffer per interval.
constexpr std::chrono::milliseconds kCollectInterval{100};

// Qt's notifier for text waiting on the port, created when the port opens. If
// a Qt version keeps it elsewhere, every notification raises the receive
// event at once, as it would without collecting.
QSocketNotifier* readNotifierOf(const QSerialPort& port)
{
    for (QSocketNotifier* notifier : port.findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly))
        if (notifier->type() == QSocketNotifier::Read) return notifier;
    return nullptr;
}

QSerialPort::Parity qtParity(Parity parity)
{
    switch (parity) {
    case Parity::None: return QSerialPort::NoParity;
    case Parity::Even: return QSerialPort::EvenParity;
    case Parity::Odd: return QSerialPort::OddParity;
    case Parity::Mark: return QSerialPort::MarkParity;
    case Parity::Space: return QSerialPort::SpaceParity;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits qtStopBits(StopBits stopBits)
{
    switch (stopBits) {
    case StopBits::One: return QSerialPort::OneStop;
    case StopBits::OneAndHalf: return QSerialPort::OneAndHalfStop;
    case StopBits::Two: return QSerialPort::TwoStop;
    }
    return QSerialPort::OneStop;
}

}  // namespace

QtSerialPort::QtSerialPort(CommMap map, std::vector<PortName> ports) : map_(std::move(map)), ports_(std::move(ports))
{
    QObject::connect(&port_, &QSerialPort::readyRead, [this] { dataArrived(); });
    QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) { portError(error); });
    collectTimer_.setInterval(kCollectInterval);
    QObject::connect(&collectTimer_, &QTimer::timeout, [this] { collectWaiting(); });
}

void QtSerialPort::setOpen(bool open)
{
    if (open)
        this->open();
    else
        close();
}

void QtSerialPort::setReceiveThreshold(int threshold)
{
    if (threshold < 0) throw thresholdRefused();
    threshold_ = threshold;
}

void QtSerialPort::open()
{
    if (entry_ < 1 || static_cast<std::size_t>(entry_) > ports_.size()) throw unmappedPort(entry_);
    const PortName& name = ports_[static_cast<std::size_t>(entry_) - 1];
    const std::string device = name.comm > 0 ? map_.device(name.comm) : name.device;
    if (port_.isOpen()) throw portAlreadyOpen(name.comm, device);
    comm_ = name.comm;
    // A loss of the previous port not yet reported is no news once another
    // opening is tried, whether or not it succeeds.
    lossCall_.cancel();
    lost_.reset();
    leftOver_.clear();
    if (device.empty()) throw unmappedPort(comm_);
    if (std::optional<Failure> refusal = refusalBeforeOpening(comm_, device)) throw *refusal;
    device_ = device;
    port_.setPortName(QString::fromStdString(device));
    port_.setBaudRate(settings_.baud);
    port_.setParity(qtParity(settings_.parity));
    port_.setDataBits(static_cast<QSerialPort::DataBits>(settings_.dataBits));
    port_.setStopBits(qtStopBits(settings_.stopBits));
    port_.setFlowControl(QSerialPort::NoFlowControl);

    opening_ = true;
    const bool opened = port_.open(QIODevice::ReadOnly);
    opening_ = false;
    if (!opened) {
        const QSerialPort::SerialPortError error = port_.error();
        const std::string systemText = port_.errorString().toStdString();
        port_.clearError();
        throw describeOpenFailure(comm_, device, error, systemText, factsAbout(device, error));
    }
    // Qt neither sees nor stops a terminal program that reads the device
    // without locking it; sharing would split the data between the two.
    // Looked for only now that the device proved to be a terminal: nearly
    // every program holds /dev/null.
    if (const std::vector<DeviceHolder> holders = otherProgramsHolding(device); !holders.empty()) {
        close();
        throw portInUse(comm_, device, holders);
    }
    readNotifier_ = readNotifierOf(port_);
    arrived_ = false;
    if (readNotifier_) collectTimer_.start();
}

void QtSerialPort::close()
{
    collectTimer_.stop();
    lossCall_.cancel();
    lost_.reset();
    leftOver_.clear();
    port_.close();
    port_.clearError();
}

std::int64_t QtSerialPort::bytesWaiting()
{
    if (!leftOver_.empty()) return static_cast<std::int64_t>(leftOver_.size());
    if (lost_) {
        const Failure failure = *lost_;
        lost_.reset();
        throw failure;
    }
    if (!port_.isOpen()) throw portNotOpen();
    return port_.bytesAvailable();
}

std::string QtSerialPort::readAll()
{
    if (!leftOver_.empty()) return std::exchange(leftOver_, {});
    if (!port_.isOpen()) throw portNotOpen();
    const QByteArray bytes = port_.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtSerialPort::dataArrived()
{
    if (!collectTimer_.isActive()) {
        announceArrivals();
        return;
    }
    arrived_ = true;
    if (readNotifier_) readNotifier_->setEnabled(false);
}

void QtSerialPort::collectWaiting()
{
    // Reading here reports arrivals through dataArrived; a notification still
    // on means nothing came since the last collection.
    if (readNotifier_ && !readNotifier_->isEnabled() && !port_.waitForReadyRead(0) &&
        port_.error() == QSerialPort::TimeoutError)
        port_.clearError();
    if (!std::exchange(arrived_, false)) {
        if (readNotifier_) readNotifier_->setEnabled(true);
        return;
    }
    announceArrivals();
    // The handler's read turned the notification back on.
    if (readNotifier_) readNotifier_->setEnabled(false);
}

void QtSerialPort::announceArrivals()
{
    // Once the device is gone, what was read waits in Qt's buffer until the
    // loss is handled, which hands it over ahead of the loss; announced now,
    // the receive event would find the loss first.
    if (lost_) return;
    if (threshold_ > 0 && port_.bytesAvailable() >= threshold_) raiseReceive();
}

// A lost device (unplugged, the far end of a pseudo-terminal closed) is
// reported here first and shown last, after everything read before it:
//  1. portError: the first read or resource error on an open port keeps the
//     loss in lost_ and posts deviceLost; Qt repeats the error on every turn
//     of the event loop, and the repeats are only counted.
//  2. deviceLost, on the next turn: takes what Qt had buffered into
//     leftOver_, closes the port and raises receive events, one for the
//     leftovers and one for the loss.
//  3. LiveMonitor's receive stores the leftovers in the ring like any read;
//     once lossWaiting() shows nothing is left, it notes how many assembler
//     passes must finish first (one more when a pass is running, as that pass
//     may have begun before the last bytes were stored).
//  4. LiveMonitor's tick, after those passes: the ring's store asks for more
//     bytes, bytesWaiting() throws the loss, and the ring writes its text
//     into the quality field; then onPortFailure tells the window or the tool.
//     A monitor that only passes bytes through sees the throw on its next read.
// So no fix from a receiver that is gone can overwrite the report.
void QtSerialPort::portError(QSerialPort::SerialPortError error)
{
    // Qt reports NoError on every successful open, and a timeout when a
    // collection finds nothing waiting; failures while opening are reported
    // by open() itself.
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || opening_) return;
    ++errorsSeen_;
    if (lost_ || lossCall_.pending()) return;
    // After a hang-up Qt's error text is whatever errno last held; it helps
    // only for the rarer errors.
    const std::string systemText = error == QSerialPort::ReadError || error == QSerialPort::ResourceError
                                       ? std::string()
                                       : port_.errorString().toStdString();
    lost_ = deviceDisconnected(comm_, device_, systemText);
    // Closing from inside Qt's own read notification is not safe; the event
    // loop runs the close next, and errors until then are only counted.
    lossCall_.post();
}

// Step 2 of the path above portError.
void QtSerialPort::deviceLost()
{
    collectTimer_.stop();
    const QByteArray unread = port_.readAll();
    leftOver_.assign(unread.constData(), static_cast<std::size_t>(unread.size()));
    port_.close();
    port_.clearError();
    if (!leftOver_.empty()) raiseReceive();
    if (lost_) raiseReceive();
}

}  // namespace veltrane
