// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstddef>
#include <ctime>
#include <string>

#include "nmea_receiver.h"

namespace veltrane::sim {

// What the simulated receiver has to send, handed out as the line's pace allows.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `count` bytes due by the wall-clock second `now`.
    virtual std::string take(std::size_t count, std::time_t now) = 0;
};

// The bytes of a recorded capture, once or over and over.
class CaptureSource final : public ByteSource {
public:
    CaptureSource(std::string capture, bool loop) : capture_(std::move(capture)), loop_(loop) {}
    std::string take(std::size_t count, std::time_t now) override;

private:
    std::string capture_;
    bool loop_;
    std::size_t position_ = 0;
};

// The simulator's own receiver: one burst of sentences at the start of each second.
class ReceiverSource final : public ByteSource {
public:
    ReceiverSource(std::time_t start, std::size_t bytesPerSecond, ReceiverOutput output = {})
        : receiver_(start, output), bytesPerSecond_(bytesPerSecond)
    {
    }
    std::string take(std::size_t count, std::time_t now) override;

private:
    NmeaReceiver receiver_;
    std::size_t bytesPerSecond_;
    std::time_t lastSecond_ = 0;
    std::string queued_;
};

}  // namespace veltrane::sim
