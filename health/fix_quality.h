// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string_view>

namespace veltrane::health {

// GGA's quality field as sent: a fix is a plain number equal to 1 to 5 (GNSS,
// differential, PPS, RTK fixed, RTK float). An estimate by dead reckoning (6),
// a position typed in (7) and a simulation (8) are no fixes.
bool isFix(std::string_view quality);

// What a quality code means ("simulation"); empty for a code that means nothing.
std::string_view qualityName(std::string_view quality);

}  // namespace veltrane::health
