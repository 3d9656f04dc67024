// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <deque>
#include <string_view>
#include <utility>

namespace veltrane::health {

// The checks of binary frames, in constant time each, so that candidates that
// overlap cost no rescans: a stream of false UBX headers, each claiming 64 kB,
// would otherwise sum the same bytes thousands of times. Running sums are kept
// over the stretch of the stream that candidates still cover, from the first
// one on; positions are offsets in the stream and must not go back.
class FrameChecks {
public:
    // Makes the sums reach over [from, to). `bytes` holds the stream from
    // offset `bytesAt` to at least `to`.
    void cover(std::string_view bytes, std::uint64_t bytesAt, std::uint64_t from, std::uint64_t to);

    // UBX's 8-bit Fletcher sums (CK_A, CK_B) over [from, to).
    std::pair<std::uint8_t, std::uint8_t> fletcher(std::uint64_t from, std::uint64_t to) const;
    // RTCM 3's CRC-24Q (polynomial 0x1864CFB, initial value 0) over [from, to).
    std::uint32_t crc24q(std::uint64_t from, std::uint64_t to) const;

    // RTCM 3 frames run to 1029 bytes; a CRC is only asked over that much.
    static constexpr std::size_t kLongestCrcBytes = 1026;

private:
    // The sums over the stream from origin_ up to one position.
    struct Sums {
        std::uint32_t crc;
        std::uint8_t plain;     // of the bytes
        std::uint8_t weighted;  // of each byte times its offset
    };
    const Sums& at(std::uint64_t offset) const { return sums_[offset - origin_]; }

    std::uint64_t origin_ = 0;
    std::deque<Sums> sums_;  // sums_[i]: over [origin_, origin_ + i)
};

}  // namespace veltrane::health
