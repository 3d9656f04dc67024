// SPDX-License-Identifier: BSD-2-Clause
#include "transmitter.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <thread>

#include "speed_mismatch.h"

namespace veltrane::sim {

namespace {

constexpr std::chrono::milliseconds kTick(10);

}  // namespace

void transmit(SerialLine& line, ByteSource& source, int baud, const volatile std::sig_atomic_t& stopRequested)
{
    // A capture starts when a program first opens the port, so the time a
    // person takes to start a monitor does not cost its beginning. The first
    // bytes go out a tick later, by when the program has set its speed.
    while (!stopRequested && !line.held()) std::this_thread::sleep_for(kTick);

    using Clock = std::chrono::steady_clock;
    const double bytesPerSecond = baud / 10.0;
    double allowance = 0;
    Clock::time_point last = Clock::now();
    bool wasHeld = true;
    while (!stopRequested) {
        std::this_thread::sleep_for(kTick);
        const Clock::time_point now = Clock::now();
        // After a stall the line does not catch up in one burst: a UART never
        // sends faster than its baud rate.
        allowance = std::min(allowance + std::chrono::duration<double>(now - last).count() * bytesPerSecond,
                             bytesPerSecond / 5);
        last = now;
        const auto count = static_cast<std::size_t>(allowance);
        allowance -= static_cast<double>(count);
        std::string bytes = source.take(count, std::time(nullptr));
        // What is sent while nobody holds the port is lost, not queued.
        const bool held = line.held();
        if (!held && wasHeld) line.release();
        wasHeld = held;
        if (!held) continue;
        line.discardInput();
        if (!line.speedsMatch()) bytes = garbleForSpeedMismatch(bytes);
        line.write(bytes);
    }
}

}  // namespace veltrane::sim
