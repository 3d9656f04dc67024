// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame_checks.h"

namespace veltrane::health {

// What the framing finds, in the order of the stream.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    // "$" or "!" and the text up to a CR or LF; `lineEnd` is the stream
    // offset of that CR or LF, the byte that completed it.
    virtual void sentence(std::string_view text, std::uint64_t lineEnd) = 0;
    // A sentence that a byte other than a line end broke off.
    virtual void cutSentence() = 0;
    virtual void noise(std::uint64_t bytes) = 0;
    virtual void ubxFrame(std::uint8_t messageClass, std::uint8_t id) = 0;
    virtual void rtcm3Frame(unsigned messageNumber) = 0;
};

// Splits a receiver's byte stream into NMEA sentences and the binary frames
// that receivers mix in (UBX, RTCM 3), whatever chunks the bytes arrive in:
// reads may end inside a frame or a sentence, and what stands between them
// may be any protocol at all. At each position the first reading that fits
// is taken:
// 1. a UBX frame whose Fletcher sums hold;
// 2. an RTCM 3 frame whose CRC-24Q holds;
// 3. "$" or "!" and the longest run after it of printable ASCII other than
//    "$" and "!": a sentence when a CR or LF follows, a sentence cut short
//    when any other byte follows a run that starts like one (an address and
//    a ","), else noise ("$" inside binary data of another protocol);
// 4. a CR or LF, a line end; any other byte, noise.
// A frame that fails its check is no frame: its first byte is read by rule 4.
// Only what may still become a frame or a sentence is held back.
class Framing {
public:
    explicit Framing(FrameSink& sink) : sink_(sink) {}

    void add(std::string_view bytes);
    // The end of the input: a frame it cuts is no frame, and a sentence it
    // cuts counts nowhere.
    void finish();
    // The stream offset of the first byte not yet read for good.
    std::uint64_t undecidedFrom() const { return offset_; }

private:
    enum class Frame { Found, No, Undecided };

    // Reads `bytes`, which start at the first undecided byte, as far as they
    // decide; returns how many were taken.
    std::size_t read(std::string_view bytes, bool ended);
    Frame ubxAt(std::string_view bytes, std::size_t at, bool ended, std::size_t& length);
    Frame rtcm3At(std::string_view bytes, std::size_t at, bool ended, std::size_t& length);

    FrameSink& sink_;
    FrameChecks checks_;
    std::string held_;           // from held_[heldFrom_] on: undecided
    std::size_t heldFrom_ = 0;
    std::uint64_t offset_ = 0;   // of the first undecided byte in the stream
    std::size_t runScanned_ = 0; // how far the run after an undecided "$" is known to go
};

}  // namespace veltrane::health
