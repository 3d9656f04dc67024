// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

namespace veltrane::sim {

// One satellite of the simulated sky, as GSV and UBX NAV-SAT describe it.
struct Satellite {
    std::string_view talker;  // "GP", "GL", "GA"
    int prn;                  // NMEA's numbering: GLONASS from 65 on
    int elevation;            // degrees
    int azimuth;              // degrees
    int cn0;                  // dB-Hz
};

// 0xB5 0x62, class, id, the payload's length (little-endian), the payload,
// then the 8-bit Fletcher sums over class, id, length and payload.
std::string ubxFrame(std::uint8_t messageClass, std::uint8_t id, std::string_view payload);

// What a u-blox receiver says of its fix each second.
struct Fix {
    std::time_t utc;
    double latitude;   // degrees
    double longitude;  // degrees
    double speed;      // m/s
    double course;     // degrees
    int satellitesUsed;  // 0: no fix yet
};

// NAV-PVT (01-07): a 3D fix, position, velocity and time.
std::string navPvt(const Fix& fix);
// NAV-SAT (01-35): each satellite with its C/N0 and place in the sky, and
// whether the fix uses it.
std::string navSat(std::time_t utc, std::span<const Satellite> satellites, bool used);

}  // namespace veltrane::sim
