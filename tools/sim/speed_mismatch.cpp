// SPDX-License-Identifier: BSD-2-Clause
#include "speed_mismatch.h"

namespace veltrane::sim {

std::string garbleForSpeedMismatch(std::string_view sent)
{
    std::string received;
    received.reserve(sent.size());
    for (const char c : sent) {
        const auto byte = static_cast<unsigned char>(c);
        // Sampling at the wrong rate stretches or squeezes the bits; a rotation
        // with some bits flipped stands in for that.
        auto garbled = static_cast<unsigned char>(((byte << 3) | (byte >> 5)) ^ 0x96);
        if (garbled == '$') garbled = 0xA4;
        received.push_back(static_cast<char>(garbled));
    }
    return received;
}

}  // namespace veltrane::sim
