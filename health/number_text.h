// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

namespace veltrane::health {

// The shortest text that reads back as the same double ("2.5", "3", "0.1"):
// the same figures always print the same, on every platform.
std::string shortestText(double value);
// Fixed decimals, for a person to read.
std::string fixedText(double value, int decimals);

}  // namespace veltrane::health
