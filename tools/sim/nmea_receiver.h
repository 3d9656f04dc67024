// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace veltrane::sim {

// "$" + body + "*" + the checksum (XOR of the body's bytes, two upper-case
// hex digits) + CR LF.
std::string nmeaSentence(std::string_view body);

// What the receiver sends: a GPS receiver's "GP" sentences, or a multi-GNSS
// receiver's (NMEA 4.11: GN fixes, GSV of GPS, GLONASS and Galileo with
// signal IDs); either with UBX NAV-PVT and NAV-SAT frames between them, as a
// u-blox receiver with both protocols on one port sends. It stands still, as
// on a bench, or drives along a track.
struct ReceiverOutput {
    bool multiGnss = false;
    bool ubx = false;
    bool moving = false;

    bool operator==(const ReceiverOutput&) const = default;
};

// A receiver of its own: a fixed set of satellites and a position that
// wanders a metre or so around where it starts, or, moving, heads north-east
// from there at walking-to-cycling pace.
class NmeaReceiver {
public:
    static constexpr double kStartLatitude = 52.0907;   // degrees north
    static constexpr double kStartLongitude = 5.1214;   // degrees east
    static constexpr double kSpeedMetresPerSecond = 5.0;
    static constexpr double kCourseDegrees = 45.0;

    explicit NmeaReceiver(std::time_t start, ReceiverOutput output = {}) : start_(start), output_(output) {}

    // What the receiver sends in the second that begins at `utc`: GPS alone
    // sends GGA, GSA, GSV (two parts), RMC and VTG; multi-GNSS sends GGA,
    // the GSV of each system and RMC. Without a fix it still sees its
    // satellites but reports no position.
    std::string second(std::time_t utc, bool fixed = true) const;

    double latitudeAt(std::time_t utc) const;
    double longitudeAt(std::time_t utc) const;

private:
    // Metres from where it started.
    double northAt(std::time_t utc) const;
    double eastAt(std::time_t utc) const;

    std::time_t start_;
    ReceiverOutput output_;
};

}  // namespace veltrane::sim
