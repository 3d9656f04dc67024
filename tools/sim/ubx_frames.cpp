// SPDX-License-Identifier: BSD-2-Clause
#include "ubx_frames.h"

#include <cmath>
#include <numbers>

namespace veltrane::sim {

namespace {

// GPS time began on 1980-01-06 and has run 18 leap seconds ahead of UTC since 2017.
constexpr std::time_t kGpsEpoch = 315964800;
constexpr std::time_t kLeapSeconds = 18;
constexpr std::time_t kSecondsPerWeek = 604800;

// UBX is little-endian throughout.
void put(std::string& payload, std::size_t at, std::int64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) payload[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::int64_t timeOfWeekMilliseconds(std::time_t utc)
{
    return (utc - kGpsEpoch + kLeapSeconds) % kSecondsPerWeek * 1000;
}

}  // namespace

std::string ubxFrame(std::uint8_t messageClass, std::uint8_t id, std::string_view payload)
{
    std::string frame = {'\xB5', '\x62', static_cast<char>(messageClass), static_cast<char>(id),
                         static_cast<char>(payload.size() & 0xFF), static_cast<char>(payload.size() >> 8)};
    frame.append(payload);
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (std::size_t i = 2; i < frame.size(); ++i) {
        a = static_cast<std::uint8_t>(a + static_cast<std::uint8_t>(frame[i]));
        b = static_cast<std::uint8_t>(b + a);
    }
    frame.push_back(static_cast<char>(a));
    frame.push_back(static_cast<char>(b));
    return frame;
}

std::string navPvt(const Fix& fix)
{
    std::tm t{};
    gmtime_r(&fix.utc, &t);
    std::string payload(92, '\0');
    put(payload, 0, timeOfWeekMilliseconds(fix.utc), 4);
    put(payload, 4, t.tm_year + 1900, 2);
    put(payload, 6, t.tm_mon + 1, 1);
    put(payload, 7, t.tm_mday, 1);
    put(payload, 8, t.tm_hour, 1);
    put(payload, 9, t.tm_min, 1);
    put(payload, 10, t.tm_sec, 1);
    put(payload, 11, 0x07, 1);   // date and time valid and fully resolved
    put(payload, 12, 25, 4);     // time accuracy, ns
    const bool fixed = fix.satellitesUsed > 0;
    put(payload, 20, fixed ? 3 : 0, 1);     // a 3D fix, or none
    put(payload, 21, fixed ? 0x01 : 0, 1);  // within the limits it was asked for
    put(payload, 23, fix.satellitesUsed, 1);
    put(payload, 24, std::llround(fix.longitude * 1e7), 4);
    put(payload, 28, std::llround(fix.latitude * 1e7), 4);
    put(payload, 32, 59300, 4);  // height above the ellipsoid, mm
    put(payload, 36, 12400, 4);  // above mean sea level, mm
    put(payload, 40, 1500, 4);   // horizontal accuracy, mm
    put(payload, 44, 2500, 4);   // vertical accuracy, mm
    const double course = fix.course * std::numbers::pi / 180;
    put(payload, 48, std::llround(fix.speed * std::cos(course) * 1000), 4);
    put(payload, 52, std::llround(fix.speed * std::sin(course) * 1000), 4);
    put(payload, 60, std::llround(fix.speed * 1000), 4);
    put(payload, 64, std::llround(fix.course * 1e5), 4);
    put(payload, 68, 300, 4);    // speed accuracy, mm/s
    put(payload, 72, 500000, 4); // course accuracy, 1e-5 degrees
    put(payload, 76, 130, 2);    // position DOP 1.30
    return ubxFrame(0x01, 0x07, payload);
}

std::string navSat(std::time_t utc, std::span<const Satellite> satellites, bool used)
{
    std::string payload(8 + 12 * satellites.size(), '\0');
    put(payload, 0, timeOfWeekMilliseconds(utc), 4);
    put(payload, 4, 1, 1);  // the message's version
    put(payload, 5, static_cast<std::int64_t>(satellites.size()), 1);
    for (std::size_t i = 0; i < satellites.size(); ++i) {
        const Satellite& satellite = satellites[i];
        const std::size_t at = 8 + 12 * i;
        // UBX numbers GLONASS satellites by slot, NMEA from 65 on.
        const bool glonass = satellite.talker == "GL";
        put(payload, at, glonass ? 6 : satellite.talker == "GA" ? 2 : 0, 1);
        put(payload, at + 1, glonass ? satellite.prn - 64 : satellite.prn, 1);
        put(payload, at + 2, satellite.cn0, 1);
        put(payload, at + 3, satellite.elevation, 1);
        put(payload, at + 4, satellite.azimuth, 2);
        put(payload, at + 8, used ? 0x0F : 0x07, 4);  // code and carrier locked, used in the fix
    }
    return ubxFrame(0x01, 0x35, payload);
}

}  // namespace veltrane::sim
