// SPDX-License-Identifier: BSD-2-Clause
#pragma once

namespace veltrane {

// Hands control back to the event loop so that pending events run, then returns.
// The window passes one backed by Qt; headless callers and tests pass their own.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void runPending() = 0;
};

class NoEventPump final : public EventPump {
public:
    void runPending() override {}
};

}  // namespace veltrane
