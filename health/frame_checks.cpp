// SPDX-License-Identifier: BSD-2-Clause
#include "frame_checks.h"

#include <array>

namespace veltrane::health {

namespace {

constexpr std::uint32_t kCrc24Q = 0x1864CFB;

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        std::uint32_t crc = byte << 16;
        for (int bit = 0; bit < 8; ++bit) {
            crc <<= 1;
            if (crc & 0x1000000) crc ^= kCrc24Q;
        }
        table[byte] = crc & 0xFFFFFF;
    }
    return table;
}();

// a * b modulo the CRC polynomial, both of degree below 24.
constexpr std::uint32_t multiplied(std::uint32_t a, std::uint32_t b)
{
    std::uint32_t product = 0;
    for (int bit = 23; bit >= 0; --bit) {
        product <<= 1;
        if (product & 0x1000000) product ^= kCrc24Q;
        if ((a >> bit) & 1) product ^= b;
    }
    return product;
}

// x^(8n) modulo the polynomial: what n more bytes make of a CRC so far.
constexpr std::array<std::uint32_t, FrameChecks::kLongestCrcBytes + 1> kByteShifts = [] {
    std::array<std::uint32_t, FrameChecks::kLongestCrcBytes + 1> shifts{};
    shifts[0] = 1;
    for (std::size_t n = 1; n < shifts.size(); ++n) shifts[n] = multiplied(shifts[n - 1], 1u << 8);
    return shifts;
}();

}  // namespace

void FrameChecks::cover(std::string_view bytes, std::uint64_t bytesAt, std::uint64_t from, std::uint64_t to)
{
    if (sums_.empty() || from >= origin_ + sums_.size()) {
        sums_.assign(1, Sums{0, 0, 0});
        origin_ = from;
    }
    // Sums before the first candidate still in question are never asked again.
    for (; origin_ < from; ++origin_) sums_.pop_front();
    for (std::uint64_t offset = origin_ + sums_.size() - 1; offset < to; ++offset) {
        const Sums& last = sums_.back();
        const auto byte = static_cast<std::uint8_t>(bytes[offset - bytesAt]);
        sums_.push_back({((last.crc << 8) & 0xFFFFFF) ^ kCrcTable[((last.crc >> 16) ^ byte) & 0xFF],
                         static_cast<std::uint8_t>(last.plain + byte),
                         static_cast<std::uint8_t>(last.weighted + static_cast<std::uint8_t>(offset) * byte)});
    }
}

// Over [from, to), CK_A is the plain sum and CK_B weighs each byte by how many
// bytes from it on the range holds: (to - offset). The offsets count modulo
// 256 only, as every sum does.
std::pair<std::uint8_t, std::uint8_t> FrameChecks::fletcher(std::uint64_t from, std::uint64_t to) const
{
    const auto plain = static_cast<std::uint8_t>(at(to).plain - at(from).plain);
    const auto weighted = static_cast<std::uint8_t>(at(to).weighted - at(from).weighted);
    return {plain, static_cast<std::uint8_t>(static_cast<std::uint8_t>(to) * plain - weighted)};
}

// The CRC of a stretch that follows a prefix: the prefix's CRC carried past
// the stretch's bytes, taken off the CRC of both.
std::uint32_t FrameChecks::crc24q(std::uint64_t from, std::uint64_t to) const
{
    return at(to).crc ^ multiplied(at(from).crc, kByteShifts[to - from]);
}

}  // namespace veltrane::health
