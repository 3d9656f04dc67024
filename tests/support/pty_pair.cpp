// SPDX-License-Identifier: BSD-2-Clause
#include "pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <stdexcept>

namespace veltrane::testing {

PtyPair::PtyPair(Slave slave)
{
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    // A program started meanwhile must not inherit the master and keep the line up.
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    path_ = ::ttyname(slave_);
    termios raw{};
    ::tcgetattr(slave_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);
    if (slave == Slave::released) {
        ::close(slave_);
        slave_ = -1;
    }
}

PtyPair::~PtyPair() { unplug(); }

void PtyPair::send(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(master_, bytes.data(), bytes.size());
        if (written <= 0) throw std::runtime_error("writing to the pseudo-terminal failed");
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void PtyPair::sendToTheSlave(std::string_view bytes)
{
    send(bytes);
    for (int wait = 0; wait < 1000 && unread() < static_cast<int>(bytes.size()); ++wait) ::usleep(1000);
}

speed_t PtyPair::speed() const
{
    termios settings{};
    ::tcgetattr(slave_, &settings);
    return ::cfgetospeed(&settings);
}

bool PtyPair::heldOpen() const
{
    pollfd state{master_, POLLOUT, 0};
    return ::poll(&state, 1, 0) >= 0 && (state.revents & POLLHUP) == 0;
}

void PtyPair::unplug()
{
    if (master_ >= 0) ::close(master_);
    master_ = -1;
    // The test's own slave descriptor would keep the line alive otherwise.
    if (slave_ >= 0) ::close(slave_);
    slave_ = -1;
}

bool PtyPair::hangUp() { return ::ioctl(slave_, TIOCVHANGUP) == 0; }

int PtyPair::unread() const
{
    int count = 0;
    ::ioctl(slave_, TIOCINQ, &count);
    return count;
}

}  // namespace veltrane::testing
