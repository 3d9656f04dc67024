// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <regex>
#include <string>

namespace veltrane::testing {

// Output stamped by the system clock, made comparable: every "dd/mm/yyyy hh:nn:ss" reads "<now>".
inline std::string withTimesMarked(const std::string& text)
{
    static const std::regex kTimestamp(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)");
    return std::regex_replace(text, kTimestamp, "<now>");
}

}  // namespace veltrane::testing
