#pragma once

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace veltrane::testing {

// A receiver on a serial port, played through a pseudo-terminal: the test
// writes to the master as the receiver would, the port under test opens the
// slave, and closing the master is the receiver being unplugged.
class PtyPair {
public:
    PtyPair()
    {
        if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
        path_ = ::ttyname(slave_);
        termios raw{};
        ::tcgetattr(slave_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
    }
    ~PtyPair()
    {
        unplug();
        if (slave_ >= 0) ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& path() const { return path_; }
    int master() const { return master_; }

    void send(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t written = ::write(master_, bytes.data(), bytes.size());
            if (written <= 0) throw std::runtime_error("writing to the pseudo-terminal failed");
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    // The slave side's speed as the port under test configured it.
    speed_t speed() const
    {
        termios settings{};
        ::tcgetattr(slave_, &settings);
        return ::cfgetospeed(&settings);
    }

    void unplug()
    {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
        // The test's own slave descriptor would keep the line alive otherwise.
        if (slave_ >= 0) ::close(slave_);
        slave_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// A receiver far faster than any serial line: a thread of its own writes the
// texts that `next` makes into the master as fast as the pseudo-terminal takes
// them, until stopped.
class PtyFlood {
public:
    PtyFlood(PtyPair& pty, std::function<std::string()> next) : master_(pty.master()), next_(std::move(next))
    {
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        writer_ = std::thread([this] { run(); });
    }
    ~PtyFlood() { stop(); }
    PtyFlood(const PtyFlood&) = delete;
    PtyFlood& operator=(const PtyFlood&) = delete;

    void stop()
    {
        stopping_ = true;
        if (writer_.joinable()) writer_.join();
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) & ~O_NONBLOCK);
    }
    std::uint64_t bytesWritten() const { return written_; }

private:
    void run()
    {
        std::string pending;
        std::size_t at = 0;
        while (!stopping_) {
            if (at == pending.size()) {
                pending = next_();
                at = 0;
            }
            const ssize_t n = ::write(master_, pending.data() + at, pending.size() - at);
            if (n > 0) {
                at += static_cast<std::size_t>(n);
                written_ += static_cast<std::uint64_t>(n);
                continue;
            }
            pollfd ready{master_, POLLOUT, 0};
            ::poll(&ready, 1, 20);
        }
    }

    int master_;
    std::function<std::string()> next_;
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> written_{0};
    std::thread writer_;
};

// Runs the event loop until `done` holds or `limit` passes; returns `done()`.
inline bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    QTimer wake;
    wake.start(5);
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limit.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return done();
}

inline void runFor(std::chrono::milliseconds duration)
{
    QElapsedTimer clock;
    clock.start();
    runUntil([&] { return clock.elapsed() >= duration.count(); }, duration + std::chrono::seconds(1));
}

// How often the event loop woke up during `duration`: a port that keeps
// reporting errors wakes it thousands of times, an idle one a handful.
inline int wakeUpsDuring(std::chrono::milliseconds duration)
{
    int wakeUps = 0;
    const QMetaObject::Connection counter =
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] { ++wakeUps; });
    QElapsedTimer clock;
    clock.start();
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(static_cast<int>(duration.count()));
    while (deadline.isActive()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    QObject::disconnect(counter);
    return wakeUps;
}

}  // namespace veltrane::testing
