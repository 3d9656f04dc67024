// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "serial_input.h"
#include "status_fields.h"

namespace veltrane {

// Decouples the receive event from parsing: each event moves everything waiting
// into the next slot and parses nothing, so it stays constant-time however fast
// text arrives. The assembler drains the ring on the tick.
//
// A writer a lap ahead overwrites unread slots; each slot therefore carries the
// number of the store that filled it, so the reader can tell a chunk it missed
// from one it has read already.
class ReceiveRing {
public:
    static constexpr std::int32_t kLastSlot = 10000;  // 10001 slots, 0..10000

    explicit ReceiveRing(StatusFields& fields);

    // The handler of the serial component's receive event.
    void store(SerialInput& port);

    const std::string& slot(std::int32_t index) const
    {
        const auto at = static_cast<std::size_t>(index);
        return at < slots_.size() ? slots_[at] : neverWritten_;
    }
    // The store that filled the slot, counting from 1; 0 for a slot never written.
    std::uint64_t sequence(std::int32_t index) const
    {
        const auto at = static_cast<std::size_t>(index);
        return at < sequences_.size() ? sequences_[at] : 0;
    }
    std::int32_t writeIndex() const { return writeIndex_; }

private:
    void addSlot();

    StatusFields& fields_;
    // Grown slot by slot during the first lap: slots the writer has not reached
    // yet read as never written.
    std::vector<std::string> slots_;
    std::vector<std::uint64_t> sequences_;
    std::int32_t writeIndex_ = 0;  // the slot written most recently
    std::uint64_t stores_ = 0;
    const std::string neverWritten_;
};

}  // namespace veltrane
