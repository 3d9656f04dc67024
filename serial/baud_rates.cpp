// SPDX-License-Identifier: BSD-2-Clause
#include "baud_rates.h"

#include <algorithm>

namespace veltrane {

bool isStandardBaud(int baud) { return std::find(kStandardBauds.begin(), kStandardBauds.end(), baud) != kStandardBauds.end(); }

std::vector<int> searchOrderOfEveryBaud()
{
    std::vector<int> order(kWindowBauds.begin(), kWindowBauds.end());
    order.insert(order.end(), kCommonTodayBauds.begin(), kCommonTodayBauds.end());
    for (const int baud : kStandardBauds)
        if (std::find(order.begin(), order.end(), baud) == order.end()) order.push_back(baud);
    return order;
}

std::string standardBaudsText()
{
    std::string text;
    for (std::size_t i = 0; i < kStandardBauds.size(); ++i)
        text += (i == 0 ? "" : i + 1 == kStandardBauds.size() ? " or " : ", ") + std::to_string(kStandardBauds[i]);
    return text;
}

}  // namespace veltrane
