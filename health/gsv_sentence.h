// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string_view>
#include <vector>

namespace veltrane::health {

// $GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00*74
// $GAGSV,2,1,08,02,31,293,30,07,37,045,31,08,72,332,35,13,19,095,30,7*7B
// After the address: total messages, message number, satellites in view,
// then a block of four for each satellite (PRN, elevation, azimuth, C/N0).
// NMEA 4.11 adds a last field, the signal ID, so a count of fields after
// the satellites in view that leaves 1 when divided by 4 ends with one.
// Fields are read by position, so a short last block still gives its PRN.
struct GsvSentence {
    std::string_view totalMessages;
    std::string_view messageNumber;
    std::string_view inView;
    std::string_view signalId;  // empty before NMEA 4.11
    std::vector<std::string_view> prns;
    std::vector<std::string_view> cn0s;
};

// `body`: the address and the fields, without the checksum suffix.
GsvSentence readGsv(std::string_view body);

}  // namespace veltrane::health
