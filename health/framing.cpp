// SPDX-License-Identifier: BSD-2-Clause
#include "framing.h"

#include <array>
#include <utility>

#include "nmea_sentence.h"

namespace veltrane::health {

namespace {

enum Kind : std::uint8_t { kOther, kLineEnd, kSentenceStart, kUbxSync, kRtcm3Sync };

constexpr std::array<std::uint8_t, 256> kKinds = [] {
    std::array<std::uint8_t, 256> kinds{};
    kinds['\r'] = kinds['\n'] = kLineEnd;
    kinds['$'] = kinds['!'] = kSentenceStart;
    kinds[0xB5] = kUbxSync;
    kinds[0xD3] = kRtcm3Sync;
    return kinds;
}();

// The bytes a sentence's text is made of.
constexpr std::array<bool, 256> kTextBytes = [] {
    std::array<bool, 256> text{};
    for (int c = 0x20; c <= 0x7E; ++c) text[c] = c != '$' && c != '!';
    return text;
}();

// An address and a ",": what a sentence that something broke off starts with,
// and what a "$" that happens to stand in binary data rarely has after it.
bool startsLikeSentence(std::string_view run)
{
    const std::size_t comma = run.substr(0, 25).find(',');
    return comma != std::string_view::npos && isAddress(run.substr(0, comma));
}

}  // namespace

void Framing::add(std::string_view bytes)
{
    if (heldFrom_ == held_.size()) {
        // Nothing held back: read the chunk where it lies and keep only its undecided end.
        const std::size_t taken = read(bytes, false);
        offset_ += taken;
        held_.assign(bytes.substr(taken));
        heldFrom_ = 0;
        return;
    }
    held_.append(bytes);
    const std::size_t taken = read(std::string_view(held_).substr(heldFrom_), false);
    offset_ += taken;
    heldFrom_ += taken;
    if (heldFrom_ > held_.size() / 2) {
        held_.erase(0, heldFrom_);
        heldFrom_ = 0;
    }
}

void Framing::finish()
{
    offset_ += read(std::string_view(held_).substr(heldFrom_), true);
    held_.clear();
    heldFrom_ = 0;
}

std::size_t Framing::read(std::string_view bytes, bool ended)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t size = bytes.size();
    std::uint64_t noise = 0;
    const auto stop = [&](std::size_t at) {
        if (noise > 0) sink_.noise(noise);
        return at;
    };
    std::size_t at = 0;
    while (at < size) {
        switch (kKinds[data[at]]) {
        case kOther:
        case kLineEnd: {
            std::size_t lineEnds = 0;
            const std::size_t from = at;
            for (std::uint8_t kind; at < size && (kind = kKinds[data[at]]) <= kLineEnd; ++at) lineEnds += kind;
            noise += at - from - lineEnds;
            break;
        }
        case kUbxSync:
        case kRtcm3Sync: {
            std::size_t length = 0;
            const Frame frame =
                data[at] == 0xB5 ? ubxAt(bytes, at, ended, length) : rtcm3At(bytes, at, ended, length);
            if (frame == Frame::Undecided) return stop(at);
            if (frame == Frame::Found) {
                at += length;
            } else {
                ++noise;
                ++at;
            }
            break;
        }
        case kSentenceStart: {
            std::size_t end = at + 1 + runScanned_;
            while (end < size && kTextBytes[data[end]]) ++end;
            if (end == size && !ended) {
                runScanned_ = end - at - 1;
                return stop(at);
            }
            runScanned_ = 0;
            if (end == size) return stop(size);
            if (kKinds[data[end]] == kLineEnd)
                sink_.sentence(bytes.substr(at, end - at), offset_ + end);
            else if (startsLikeSentence(bytes.substr(at + 1, end - at - 1)))
                sink_.cutSentence();
            else
                noise += end - at;
            at = end;
            break;
        }
        }
    }
    return stop(size);
}

Framing::Frame Framing::ubxAt(std::string_view bytes, std::size_t at, bool ended, std::size_t& length)
{
    const std::size_t available = bytes.size() - at;
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[at + i]); };
    if (available >= 2 && byte(1) != 0x62) return Frame::No;
    if (available < 6) return ended ? Frame::No : Frame::Undecided;
    const std::size_t payload = byte(4) | std::size_t{byte(5)} << 8;
    length = payload + 8;
    if (available < length) return ended ? Frame::No : Frame::Undecided;
    const std::uint64_t start = offset_ + at;
    checks_.cover(bytes, offset_, start, start + 6 + payload);
    if (checks_.fletcher(start + 2, start + 6 + payload) != std::pair(byte(6 + payload), byte(7 + payload)))
        return Frame::No;
    sink_.ubxFrame(byte(2), byte(3));
    return Frame::Found;
}

Framing::Frame Framing::rtcm3At(std::string_view bytes, std::size_t at, bool ended, std::size_t& length)
{
    const std::size_t available = bytes.size() - at;
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[at + i]); };
    if (available >= 2 && (byte(1) & 0xFC) != 0) return Frame::No;
    if (available < 3) return ended ? Frame::No : Frame::Undecided;
    const std::size_t payload = std::size_t{byte(1) & 3u} << 8 | byte(2);
    if (payload < 2) return Frame::No;
    length = payload + 6;
    if (available < length) return ended ? Frame::No : Frame::Undecided;
    const std::uint64_t start = offset_ + at;
    checks_.cover(bytes, offset_, start, start + 3 + payload);
    const std::uint32_t sent = std::uint32_t{byte(3 + payload)} << 16 | std::uint32_t{byte(4 + payload)} << 8 |
                               byte(5 + payload);
    if (checks_.crc24q(start, start + 3 + payload) != sent) return Frame::No;
    sink_.rtcm3Frame(unsigned{byte(3)} << 4 | byte(4) >> 4);
    return Frame::Found;
}

}  // namespace veltrane::health
