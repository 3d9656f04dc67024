// SPDX-License-Identifier: BSD-2-Clause
#include "byte_source.h"

#include <algorithm>
#include <stdexcept>

#include "capture_file.h"

namespace veltrane::sim {

std::string readCapture(const std::string& path)
{
    const CaptureFile capture(path);
    if (!capture.readable()) throw std::runtime_error(capture.failure());
    std::string bytes;
    const int error = capture.readBlocks([&](std::string_view block) {
        bytes.append(block);
        return true;
    });
    if (error != 0) throw std::runtime_error(capture.failure(error));
    if (bytes.empty())
        throw std::runtime_error("cannot read " + capture.shownName() + ": it is empty, so there is nothing to play");
    return bytes;
}

std::string CaptureSource::take(std::size_t count, std::time_t)
{
    std::string out;
    while (out.size() < count && !capture_.empty()) {
        if (position_ == capture_.size()) {
            if (!loop_) break;
            position_ = 0;
        }
        const std::size_t n = std::min(count - out.size(), capture_.size() - position_);
        out.append(capture_, position_, n);
        position_ += n;
    }
    return out;
}

std::string ReceiverSource::take(std::size_t count, std::time_t now)
{
    // The first call comes a tick after the port opened, so the fix comes
    // S seconds after the opening or up to a second more, as a real receiver
    // reports the fix it found at its next whole second.
    if (!firstFix_) firstFix_ = ttffSeconds_ == 0 ? now : now + ttffSeconds_ + 1;
    // A second's sentences that have not gone out in time are skipped, as a
    // receiver whose line is too slow would: the output stays current.
    if (now != lastSecond_ && queued_.size() < bytesPerSecond_) {
        lastSecond_ = now;
        queued_ += receiver_.second(now, now >= *firstFix_);
    }
    const std::size_t n = std::min(count, queued_.size());
    std::string out = queued_.substr(0, n);
    queued_.erase(0, n);
    return out;
}

}  // namespace veltrane::sim
