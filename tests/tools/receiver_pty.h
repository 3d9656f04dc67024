#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

namespace veltrane::testing {

// A receiver the test plays itself: the master of a pseudo-terminal whose
// slave only the program under test opens.
class Receiver {
public:
    Receiver()
    {
        int slave = -1;
        if (::openpty(&master_, &slave, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
        // A program started meanwhile must not inherit the master and keep the line up.
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);
        path_ = ::ttyname(slave);
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
        ::close(slave);
    }
    ~Receiver() { unplug(); }

    const std::string& path() const { return path_; }
    // The master reports a hang-up for as long as nobody holds the slave.
    bool heldOpen() const
    {
        pollfd state{master_, POLLOUT, 0};
        return ::poll(&state, 1, 0) >= 0 && (state.revents & POLLHUP) == 0;
    }
    void send(const std::string& bytes)
    {
        if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("writing to the pseudo-terminal failed");
    }
    void unplug()
    {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string path_;
};

// Waits up to ten seconds for `done`.
inline bool eventually(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

}  // namespace veltrane::testing
