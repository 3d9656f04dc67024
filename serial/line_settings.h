// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string_view>

namespace veltrane {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct LineSettings {
    int baud = 0;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    bool operator==(const LineSettings&) const = default;
};

// Parses "baud,parity,data,stop", for example "4800,n,8,1": parity one of
// n/e/o/m/s, data bits 5 to 8, stop bits 1, 1.5 or 2. Throws Failure
// (kInvalidSettings) whose detail names the part that is wrong.
LineSettings parseLineSettings(std::string_view text);

}  // namespace veltrane
