// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "pty_pair.h"

namespace veltrane::testing {

// A receiver far faster than any serial line: a thread of its own writes the
// texts that `next` makes into the master as fast as the pseudo-terminal takes
// them, until stopped.
class PtyFlood {
public:
    PtyFlood(PtyPair& pty, std::function<std::string()> next);
    ~PtyFlood() { stop(); }
    PtyFlood(const PtyFlood&) = delete;
    PtyFlood& operator=(const PtyFlood&) = delete;

    void stop();
    std::uint64_t bytesWritten() const { return written_; }

private:
    void run();

    int master_;
    std::function<std::string()> next_;
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> written_{0};
    std::thread writer_;
};

}  // namespace veltrane::testing
