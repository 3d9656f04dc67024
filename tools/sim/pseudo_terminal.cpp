// SPDX-License-Identifier: BSD-2-Clause
#include "pseudo_terminal.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

#include "device_text.h"
#include "error_reason.h"

namespace veltrane::sim {

namespace {

// The options accept standard rates only.
speed_t speedConstant(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    case 4800:
    default: return B4800;
    }
}

// No receiver's speed, so a program that opens the port without setting its
// own never gets valid text.
constexpr speed_t kIdleSpeed = B300;

std::runtime_error systemError(const std::string& what)
{
    return std::runtime_error(what + ": " + errorReason(errno));
}

termios makeRaw(int fd, speed_t speed, const std::string& what)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) throw std::runtime_error(what + " is not a serial port");
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, speed);
    ::cfsetospeed(&settings, speed);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0) throw systemError("cannot set up " + what);
    return settings;
}

}  // namespace

SerialLine SerialLine::openPseudoTerminal(int baud)
{
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) throw systemError("cannot open a pseudo-terminal");
    const char* name = ::ttyname(slave);
    if (!name) {
        ::close(master);
        ::close(slave);
        throw systemError("cannot name the pseudo-terminal");
    }
    const std::string path = name;
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    // A fresh pseudo-terminal echoes and edits lines; a serial port does neither.
    // The settings outlive this descriptor, and the slave is not kept open:
    // the master shows whether a monitor holds the port only while we do not.
    termios idle{};
    try {
        idle = makeRaw(slave, kIdleSpeed, path);
    } catch (...) {
        ::close(master);
        ::close(slave);
        throw;
    }
    ::close(slave);
    return SerialLine(master, path, baud, idle);
}

SerialLine SerialLine::openDevice(const std::string& path, int baud)
{
    const std::string shown = quotedUserText(path);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0 && errno == EACCES)
        throw std::runtime_error("cannot open " + shown + ": permission denied: add your user to the dialout group");
    if (fd < 0) throw systemError("cannot open " + shown);
    try {
        makeRaw(fd, speedConstant(baud), shown);
    } catch (...) {
        ::close(fd);
        throw;
    }
    return SerialLine(fd, path, baud, std::nullopt);
}

SerialLine::SerialLine(int writeFd, std::string path, int baud, std::optional<termios> idle)
    : writeFd_(writeFd), path_(std::move(path)), baud_(baud), idle_(idle)
{
}

SerialLine::SerialLine(SerialLine&& other) noexcept
    : writeFd_(other.writeFd_), path_(std::move(other.path_)), baud_(other.baud_), idle_(other.idle_)
{
    other.writeFd_ = -1;
}

SerialLine::~SerialLine()
{
    if (writeFd_ >= 0) ::close(writeFd_);
}

bool SerialLine::speedsMatch() const
{
    if (!idle_) return true;
    // On the master, tcgetattr reads the slave's settings: the speed the
    // monitor set when it opened the port.
    termios settings{};
    if (::tcgetattr(writeFd_, &settings) != 0) return true;
    return ::cfgetospeed(&settings) == speedConstant(baud_);
}

bool SerialLine::held() const
{
    if (!idle_) return true;
    // The master reports a hang-up exactly while no program has the slave open.
    pollfd line{writeFd_, POLLOUT, 0};
    return ::poll(&line, 1, 0) >= 0 && !(line.revents & POLLHUP);
}

void SerialLine::release()
{
    if (!idle_) return;
    // Set through the master, these apply to the slave, and TCSAFLUSH empties
    // its input: bytes written to the master while nobody holds the slave
    // would otherwise wait there for the next program that opens it.
    ::tcsetattr(writeFd_, TCSAFLUSH, &*idle_);
}

void SerialLine::write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(writeFd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void SerialLine::discardInput()
{
    char scratch[256];
    while (::read(writeFd_, scratch, sizeof scratch) > 0) {
    }
}

}  // namespace veltrane::sim
