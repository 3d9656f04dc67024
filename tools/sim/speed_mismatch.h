// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <string_view>

namespace veltrane::sim {

// What a UART set to the wrong speed makes of a sender's bytes: bit patterns
// cut at the wrong places. The result is never a "$", so no sentence can
// start, yet something clearly arrives.
std::string garbleForSpeedMismatch(std::string_view sent);

}  // namespace veltrane::sim
