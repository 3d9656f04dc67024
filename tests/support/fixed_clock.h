// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include "clock.h"

namespace veltrane::testing {

// Always the same moment, so time stamps can be compared as text.
class FixedClock final : public Clock {
public:
    LocalTime now() const override { return {2026, 12, 7, 14, 3, 59}; }
};

}  // namespace veltrane::testing
