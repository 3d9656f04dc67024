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

std::string baudsText(const std::vector<int>& bauds)
{
    std::string text;
    for (std::size_t i = 0; i < bauds.size(); ++i)
        text += (i == 0 ? "" : i + 1 == bauds.size() ? " or " : ", ") + std::to_string(bauds[i]);
    return text;
}

std::string standardBaudsText() { return baudsText({kStandardBauds.begin(), kStandardBauds.end()}); }

}  // namespace veltrane
