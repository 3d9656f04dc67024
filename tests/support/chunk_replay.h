// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "failure.h"
#include "monitor.h"
#include "serial_input.h"

// Headers only: the fuzz targets link a core of their own, built for coverage,
// and a compiled helper would tie them to the plain one.
namespace veltrane::testing {

// A serial component whose buffer holds the chunk the test put there, so text
// reaches the ring through the receive handler a port's text goes through.
// Its count query or read can be made to fail.
class ChunkInput final : public SerialInput {
public:
    std::int64_t bytesWaiting() override
    {
        if (failCount) throw Failure(8005, "count refused: the port was closed underneath");
        return static_cast<std::int64_t>(waiting.size());
    }

    std::string readAll() override
    {
        if (failInput) throw Failure(8020, "read refused: the device was unplugged");
        return std::exchange(waiting, std::string());
    }

    // One receive event with `chunk` waiting.
    void store(ReceiveRing& ring, std::string chunk)
    {
        waiting = std::move(chunk);
        ring.store(*this);
    }

    std::string waiting;
    bool failCount = false;
    bool failInput = false;
};

// One receive event, then one pass: a receiver read as fast as it sends.
inline void storeThenPass(Monitor& monitor, std::string chunk)
{
    ChunkInput port;
    port.store(monitor.ring, std::move(chunk));
    monitor.assembler.runPass();
}

// `text` cut into chunks of `chunkBytes`, the last one shorter.
inline void replayInChunks(Monitor& monitor, std::string_view text, std::size_t chunkBytes)
{
    for (std::size_t at = 0; at < text.size(); at += chunkBytes)
        storeThenPass(monitor, std::string(text.substr(at, chunkBytes)));
}

}  // namespace veltrane::testing
