// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string_view>

#include "framing.h"

namespace veltrane::health {

// Tells whether a stream carries NMEA of any talker: a sentence whose
// checksum holds. Bytes read at the wrong speed never make one, so a search
// for a receiver's speed can trust it where the readout knows GPS alone.
class SentenceSpotter final : private FrameSink {
public:
    SentenceSpotter() : framing_(*this) {}

    void add(std::string_view bytes);
    bool spotted() const { return spotted_; }

private:
    void sentence(std::string_view text, std::uint64_t lineEnd) override;
    void cutSentence() override {}
    void noise(std::uint64_t) override {}
    void ubxFrame(std::uint8_t, std::uint8_t) override {}
    void rtcm3Frame(unsigned) override {}

    Framing framing_;
    bool spotted_ = false;
};

}  // namespace veltrane::health
