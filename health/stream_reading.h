// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "framing.h"
#include "gsv_sentence.h"
#include "nmea_sentence.h"

namespace veltrane::health {

// What a GGA says, read by the health check's definitions.
struct GgaReading {
    std::string_view quality;  // as sent
    bool fix = false;
    // The rest from a fix only: before the first fix a receiver reports no
    // satellites and no HDOP worth judging.
    std::optional<double> latitude;   // signed degrees; with the longitude or not at all
    std::optional<double> longitude;
    std::optional<double> satellitesUsed;
    std::optional<double> hdop;
};

// What the reading finds, each with when the byte that completed it arrived
// (none for a recorded capture).
class ReadingObserver {
public:
    using Arrival = std::optional<double>;
    virtual ~ReadingObserver() = default;
    virtual void noise(std::uint64_t bytes, Arrival at) = 0;
    virtual void cutSentence(Arrival at) = 0;
    virtual void malformedSentence(Arrival at) = 0;
    // A sentence with an address; its GGA or GSV reading, if any, follows.
    virtual void sentence(const Sentence& read, Arrival at) = 0;
    virtual void gga(const GgaReading& read, Arrival at) = 0;
    virtual void gsv(std::string_view talker, const GsvSentence& read, Arrival at) = 0;
    virtual void ubxFrame(std::string_view classAndId, Arrival at) = 0;
    virtual void rtcm3Frame(std::string_view messageNumber, Arrival at) = 0;
};

// Reads one receiver's output as it arrives, in chunks of any size: frames
// it, reads each sentence by the health check's definitions and tells the
// observer what it found and when.
class StreamReading final : private FrameSink {
public:
    explicit StreamReading(ReadingObserver& observer);
    ~StreamReading() override;
    StreamReading(const StreamReading&) = delete;
    StreamReading& operator=(const StreamReading&) = delete;

    // `arrival`: when these bytes were read.
    void add(std::string_view bytes, std::optional<double> arrival = std::nullopt);
    // Reads what the end of the input leaves undecided.
    void finish();
    // Whether the window's indicator would have read "Yes" on what came so far.
    bool windowRecognises() const;

private:
    struct WindowCheck;
    struct Chunk {
        std::uint64_t end;  // stream offset after its last byte
        double arrival;
    };

    void sentence(std::string_view text, std::uint64_t lineEnd) override;
    void cutSentence() override { observer_.cutSentence(latest_); }
    void noise(std::uint64_t bytes) override { observer_.noise(bytes, latest_); }
    void ubxFrame(std::uint8_t messageClass, std::uint8_t id) override;
    void rtcm3Frame(unsigned messageNumber) override;

    std::optional<double> arrivalOf(std::uint64_t offset);
    void gga(std::string_view body, std::optional<double> arrival);

    ReadingObserver& observer_;
    Framing framing_{*this};
    std::uint64_t bytes_ = 0;
    std::deque<Chunk> chunks_;  // the arrivals of bytes the framing may still hold
    std::optional<double> latest_;
    std::unique_ptr<WindowCheck> window_;
};

}  // namespace veltrane::health
