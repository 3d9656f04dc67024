// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <chrono>
#include <csignal>
#include <ctime>
#include <memory>
#include <vector>

#include "byte_source.h"
#include "pseudo_terminal.h"

namespace veltrane::sim {

// One receiver's line, sending the source's bytes at the pace of its own baud
// rate as a receiver on a real line would: nothing kept for a port that
// nobody holds, and garbled bytes for a monitor set to another speed.
class Transmitter {
public:
    using Clock = std::chrono::steady_clock;

    Transmitter(SerialLine line, std::unique_ptr<ByteSource> source, int baud);

    // Sends what the line has carried since the last call.
    void serve(Clock::time_point now, std::time_t utc);

private:
    SerialLine line_;
    std::unique_ptr<ByteSource> source_;
    double bytesPerSecond_;
    bool started_ = false;
    bool wasHeld_ = true;
    double allowance_ = 0;
    Clock::time_point last_;
};

// Serves every line from one loop until `stopRequested` is set.
void transmit(std::vector<Transmitter>& lines, const volatile std::sig_atomic_t& stopRequested);

}  // namespace veltrane::sim
