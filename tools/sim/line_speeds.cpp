// SPDX-License-Identifier: BSD-2-Clause
#include "line_speeds.h"

namespace veltrane::sim {

namespace {

struct LineSpeed {
    int baud;
    speed_t setting;
};

constexpr LineSpeed kStandardSpeeds[] = {
    {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},
    {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};

}  // namespace

std::vector<std::string> standardBaudNames()
{
    std::vector<std::string> names;
    for (const LineSpeed& speed : kStandardSpeeds) names.push_back(std::to_string(speed.baud));
    return names;
}

std::optional<speed_t> speedSetting(int baud)
{
    for (const LineSpeed& speed : kStandardSpeeds)
        if (speed.baud == baud) return speed.setting;
    return std::nullopt;
}

}  // namespace veltrane::sim
