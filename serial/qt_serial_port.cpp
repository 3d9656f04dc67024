#include "qt_serial_port.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace veltrane {

namespace {

std::string portLabel(int comm, const std::string& device)
{
    return "Comm " + std::to_string(comm) + " (" + device + ")";
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

struct Access {
    bool allowed = true;
    std::string group = "dialout";
};

Access accessTo(const std::string& device)
{
    Access access;
#ifdef Q_OS_UNIX
    access.allowed = ::access(device.c_str(), R_OK | W_OK) == 0;
    struct stat status {};
    if (::stat(device.c_str(), &status) == 0) {
        if (const group* owner = ::getgrgid(status.st_gid); owner && owner->gr_gid != 0) access.group = owner->gr_name;
    }
#else
    (void)device;
#endif
    return access;
}

}  // namespace

Failure describeOpenFailure(int comm, const std::string& device, QSerialPort::SerialPortError error,
                            const std::string& systemText, bool accessible, const std::string& group)
{
    const std::string port = portLabel(comm, device);
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return Failure(kPortDoesNotExist, port + " does not exist");
    case QSerialPort::PermissionError:
        // Qt says "permission" both for a device this user may not open and for
        // one that another program holds locked or exclusive.
        if (!accessible)
            return Failure(kPortRefused, port + ": permission denied: add your user to the " + group +
                                             " group, then log in again");
        return Failure(kPortInUse, port + " is in use by another program (another monitor, or a daemon such as "
                                          "gpsd): close it or stop the daemon");
    case QSerialPort::OpenError:
        return Failure(kPortInUse, port + " is already open");
    case QSerialPort::UnsupportedOperationError:
        return Failure(kPortRefused, port + " refuses these line settings (" + systemText + ")");
    default:
        return Failure(kPortRefused, port + " cannot be opened as a serial port (" + systemText + ")");
    }
}

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
    if (threshold < 0) throw Failure(kInvalidSettings, "the receive threshold must be 0 or more");
    threshold_ = threshold;
}

void QtSerialPort::open()
{
    if (port_.isOpen()) throw Failure(kPortInUse, "Comm " + std::to_string(comm_) + " is already open");
    const std::string device = map_.device(comm_);
    if (device.empty()) {
        throw Failure(kPortDoesNotExist, "Comm " + std::to_string(comm_) +
                                             " names no device: map it with VELTRANE_PORTS, for example " +
                                             std::to_string(comm_) + "=/dev/ttyUSB0");
    }
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
        const Access access = accessTo(device);
        throw describeOpenFailure(comm_, device, error, systemText, access.allowed, access.group);
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
    if (!port_.isOpen()) throw Failure(kPortNotOpen, "the port is not open");
    return port_.bytesAvailable();
}

std::string QtSerialPort::Input()
{
    if (!leftOver_.empty()) return std::exchange(leftOver_, {});
    if (!port_.isOpen()) throw Failure(kPortNotOpen, "the port is not open");
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
    const std::string detail = error == QSerialPort::ReadError || error == QSerialPort::ResourceError
                                   ? std::string()
                                   : " (" + port_.errorString().toStdString() + ")";
    lost_ = Failure(kDeviceDisconnected, portLabel(comm_, device_) + ": device disconnected" + detail +
                                             "; reconnect the receiver and select the port again");
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
