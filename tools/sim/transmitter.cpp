// SPDX-License-Identifier: BSD-2-Clause
#include "transmitter.h"

#include <algorithm>
#include <string>
#include <thread>

#include "speed_mismatch.h"

namespace veltrane::sim {

namespace {

constexpr std::chrono::milliseconds kTick(10);

}  // namespace

Transmitter::Transmitter(SerialLine line, std::unique_ptr<ByteSource> source, int baud)
    : line_(std::move(line)), source_(std::move(source)), bytesPerSecond_(baud / 10.0)
{
}

void Transmitter::serve(Clock::time_point now, std::time_t utc)
{
    // A capture starts when a program first opens the port, so the time a
    // person takes to start a monitor does not cost its beginning. The first
    // bytes go out a tick later, by when the program has set its speed.
    if (!started_) {
        started_ = line_.held();
        last_ = now;
        return;
    }
    // After a stall the line does not catch up in one burst: a UART never
    // sends faster than its baud rate.
    allowance_ = std::min(allowance_ + std::chrono::duration<double>(now - last_).count() * bytesPerSecond_,
                          bytesPerSecond_ / 5);
    last_ = now;
    const auto count = static_cast<std::size_t>(allowance_);
    allowance_ -= static_cast<double>(count);
    std::string bytes = source_->take(count, utc);
    // What is sent while nobody holds the port is lost, not queued.
    const bool held = line_.held();
    if (!held && wasHeld_) line_.release();
    wasHeld_ = held;
    if (!held) return;
    line_.discardInput();
    if (!line_.speedsMatch()) bytes = garbleForSpeedMismatch(bytes);
    line_.write(bytes);
}

void transmit(std::vector<Transmitter>& lines, const volatile std::sig_atomic_t& stopRequested)
{
    while (!stopRequested) {
        std::this_thread::sleep_for(kTick);
        const Transmitter::Clock::time_point now = Transmitter::Clock::now();
        const std::time_t utc = std::time(nullptr);
        for (Transmitter& line : lines) line.serve(now, utc);
    }
}

}  // namespace veltrane::sim
