// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

namespace veltrane::sim {

// The bytes of a capture to play. Throws std::runtime_error naming the file
// and the reason when it cannot be read or holds nothing to play.
std::string readCapture(const std::string& path);

}  // namespace veltrane::sim
