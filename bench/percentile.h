// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <algorithm>
#include <vector>

namespace veltrane::bench {

// The value below which `p` percent of the values lie; 0 for none.
inline double percentile(std::vector<double> values, double p)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p / 100 * static_cast<double>(values.size())))];
}

}  // namespace veltrane::bench
