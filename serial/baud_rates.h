// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <array>
#include <string>
#include <vector>

namespace veltrane {

// The speeds receivers are set to, ascending. The window offers the two of
// the NMEA 0183 world; the command line offers every one, since today's
// receivers mostly run at 38400 or 115200.
inline constexpr std::array<int, 11> kStandardBauds = {1200,  2400,   4800,   9600,   19200, 38400,
                                                       57600, 115200, 230400, 460800, 921600};
inline constexpr std::array<int, 2> kWindowBauds = {4800, 9600};

bool isStandardBaud(int baud);

// The speeds today's receivers are most often set to (u-blox, Quectel, drone
// receivers): a search over every speed tries them right after the window's.
inline constexpr std::array<int, 2> kCommonTodayBauds = {115200, 38400};

// Every standard speed in the order a search tries them: the window's two
// first, as the window searches, then today's common ones, then the others
// ascending.
std::vector<int> searchOrderOfEveryBaud();

// "4800, 9600 or 115200", for the messages that list speeds.
std::string baudsText(const std::vector<int>& bauds);
// Every standard speed so, for the messages that list what is allowed.
std::string standardBaudsText();

}  // namespace veltrane
