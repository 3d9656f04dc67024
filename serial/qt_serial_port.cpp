#include "qt_serial_port.h"

#include "device_holders.h"
#include "open_failure.h"
#include "port_failures.h"

namespace veltrane {

namespace {

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

QtSerialPort::QtSerialPort(CommMap map) : map_(std::move(map))
{
    QObject::connect(&port_, &QSerialPort::readyRead, [this] { dataArrived(); });
    QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) { portError(error); });
}

void QtSerialPort::setPortOpen(bool open)
{
    if (open)
        this->open();
    else
        close();
}

void QtSerialPort::setRThreshold(int threshold)
{
    if (threshold < 0) throw thresholdRefused();
    threshold_ = threshold;
}

void QtSerialPort::open()
{
    const std::string device = map_.device(comm_);
    if (port_.isOpen()) throw portAlreadyOpen(comm_, device);
    if (device.empty()) throw unmappedPort(comm_);
    if (std::optional<Failure> refusal = refusalBeforeOpening(comm_, device)) throw *refusal;
    lossCall_.cancel();
    lost_.reset();
    leftOver_.clear();
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
        throw describeOpenFailure(comm_, device, error, systemText, factsAbout(device));
    }
    // Qt neither sees nor stops a terminal program that reads the device
    // without locking it; sharing would split the data between the two.
    // Looked for only now that the device proved to be a terminal: nearly
    // every program holds /dev/null.
    if (const std::vector<DeviceHolder> holders = otherProgramsHolding(device); !holders.empty()) {
        close();
        throw portInUse(comm_, device, holders);
    }
}

void QtSerialPort::close()
{
    lossCall_.cancel();
    lost_.reset();
    leftOver_.clear();
    port_.close();
    port_.clearError();
}

std::int64_t QtSerialPort::InBufferCount()
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

std::string QtSerialPort::Input()
{
    if (!leftOver_.empty()) return std::exchange(leftOver_, {});
    if (!port_.isOpen()) throw portNotOpen();
    const QByteArray bytes = port_.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtSerialPort::dataArrived()
{
    if (threshold_ > 0 && port_.bytesAvailable() >= threshold_) raiseOnComm();
}

void QtSerialPort::portError(QSerialPort::SerialPortError error)
{
    // Qt reports NoError on every successful open; failures while opening
    // are reported by open() itself.
    if (error == QSerialPort::NoError || opening_) return;
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

void QtSerialPort::deviceLost()
{
    const QByteArray unread = port_.readAll();
    leftOver_.assign(unread.constData(), static_cast<std::size_t>(unread.size()));
    port_.close();
    port_.clearError();
    if (!leftOver_.empty()) raiseOnComm();
    if (lost_) raiseOnComm();
}

}  // namespace veltrane
