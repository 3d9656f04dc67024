// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>

#include "nmea_receiver.h"

namespace veltrane::sim {

// What the simulated receiver has to send, handed out as the line's pace allows.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `count` bytes due by the wall-clock second `now`; first asked
    // once a program has first opened the port.
    virtual std::string take(std::size_t count, std::time_t now) = 0;
};

// The bytes of a capture to play. Throws std::runtime_error naming the file
// and the reason when it cannot be read or holds nothing to play.
std::string readCapture(const std::string& path);

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

// The simulator's own receiver: one burst of sentences at the start of each
// second, with a fix from the first second that begins `ttffSeconds` or more
// after the port was first opened.
class ReceiverSource final : public ByteSource {
public:
    ReceiverSource(std::time_t start, std::size_t bytesPerSecond, ReceiverOutput output = {}, int ttffSeconds = 0)
        : receiver_(start, output), bytesPerSecond_(bytesPerSecond), ttffSeconds_(ttffSeconds)
    {
    }
    std::string take(std::size_t count, std::time_t now) override;

private:
    NmeaReceiver receiver_;
    std::size_t bytesPerSecond_;
    int ttffSeconds_;
    std::optional<std::time_t> firstFix_;
    std::time_t lastSecond_ = 0;
    std::string queued_;
};

}  // namespace veltrane::sim
