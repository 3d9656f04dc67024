// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <string>

namespace veltrane {

// What the receive handler needs of the serial component. Both operations may
// throw Failure. Text is bytes, one character each, read as Latin-1.
class SerialInput {
public:
    virtual ~SerialInput() = default;
    // Number of received characters waiting; above 0 when text waits.
    virtual std::int64_t bytesWaiting() = 0;
    // All waiting text, removed from the component by the read.
    virtual std::string readAll() = 0;
};

}  // namespace veltrane
