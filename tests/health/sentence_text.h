// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdio>
#include <string>

namespace veltrane::health::testing {

// "$" + body + "*" + checksum + CR LF, as a receiver sends it.
inline std::string sentence(const std::string& body)
{
    unsigned char sum = 0;
    for (const char c : body) sum ^= static_cast<unsigned char>(c);
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "*%02X\r\n", sum);
    return "$" + body + suffix;
}

}  // namespace veltrane::health::testing
