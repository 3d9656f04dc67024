// SPDX-License-Identifier: BSD-2-Clause
#include "nmea_receiver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <span>

#include "ubx_frames.h"

namespace veltrane::sim {

namespace {

constexpr double kMetresPerDegree = 111320.0;
constexpr double kKnotsPerMetrePerSecond = 1.943844;

std::string format(const char* pattern, auto... values)
{
    char text[128];
    const int length = std::snprintf(text, sizeof text, pattern, values...);
    return std::string(text, static_cast<std::size_t>(length));
}

// ddmm.mmmm,N or dddmm.mmmm,E as NMEA writes angles.
std::string angle(double degrees, int degreeDigits, char positive, char negative)
{
    const char hemisphere = degrees < 0 ? negative : positive;
    const double magnitude = std::fabs(degrees);
    // Round once, in ten-thousandths of a minute, so 59.99995 carries into the degree.
    const long long units = std::llround(magnitude * 60.0 * 10000.0);
    const long long whole = units / (60 * 10000);
    const long long minuteUnits = units % (60 * 10000);
    return format("%0*lld%02lld.%04lld,%c", degreeDigits, whole, minuteUnits / 10000, minuteUnits % 10000, hemisphere);
}

// GPS, then GLONASS, then Galileo.
constexpr Satellite kSky[] = {
    {"GP", 4, 62, 45, 42},   {"GP", 7, 35, 110, 39}, {"GP", 9, 20, 300, 35}, {"GP", 16, 48, 180, 44},
    {"GP", 20, 15, 250, 31}, {"GP", 23, 70, 10, 45}, {"GP", 27, 41, 75, 40}, {"GP", 30, 9, 330, 28},
    {"GL", 65, 52, 140, 41}, {"GL", 66, 28, 210, 36}, {"GL", 72, 17, 40, 30}, {"GL", 81, 66, 300, 43},
    {"GA", 2, 44, 95, 40},   {"GA", 7, 23, 160, 35}, {"GA", 8, 71, 260, 44}, {"GA", 13, 12, 20, 27},
};
constexpr std::span<const Satellite> kGps(kSky, 8);
constexpr std::span<const Satellite> kGlonass(kSky + 8, 4);
constexpr std::span<const Satellite> kGalileo(kSky + 12, 4);

// The GSV sentences of one system, four satellites a sentence; `signalId`
// closes each from NMEA 4.11 on.
std::string gsvSentences(std::span<const Satellite> satellites, const std::string& signalId)
{
    const std::size_t messages = (satellites.size() + 3) / 4;
    std::string out;
    for (std::size_t message = 0; message < messages; ++message) {
        std::string body = std::string(satellites.front().talker) + "GSV" +
                           format(",%zu,%zu,%02zu", messages, message + 1, satellites.size());
        for (std::size_t i = 4 * message; i < std::min(satellites.size(), 4 * message + 4); ++i)
            body += format(",%02d,%02d,%03d,%02d", satellites[i].prn, satellites[i].elevation, satellites[i].azimuth,
                           satellites[i].cn0);
        out += nmeaSentence(body + signalId);
    }
    return out;
}

}  // namespace

std::string nmeaSentence(std::string_view body)
{
    unsigned char checksum = 0;
    for (const char c : body) checksum ^= static_cast<unsigned char>(c);
    // Appended, not prepended: g++ 12 at -O3 misreads prepending to a
    // temporary string as an overlapping copy (-Wrestrict).
    std::string sentence(1, '$');
    sentence.append(body);
    sentence += format("*%02X\r\n", checksum);
    return sentence;
}

// A receiver that stands still still wanders: multipath and the changing sky
// move its fix slowly within a metre or two, as a real one's on a bench.
double NmeaReceiver::northAt(std::time_t utc) const
{
    const double t = static_cast<double>(utc - start_);
    if (output_.moving) return kSpeedMetresPerSecond * t * std::cos(kCourseDegrees * std::numbers::pi / 180.0);
    return 0.9 * std::sin(2 * std::numbers::pi * t / 97) + 0.4 * std::sin(2 * std::numbers::pi * t / 23);
}

double NmeaReceiver::eastAt(std::time_t utc) const
{
    const double t = static_cast<double>(utc - start_);
    if (output_.moving) return kSpeedMetresPerSecond * t * std::sin(kCourseDegrees * std::numbers::pi / 180.0);
    return 0.9 * std::cos(2 * std::numbers::pi * t / 131) + 0.4 * std::sin(2 * std::numbers::pi * t / 17);
}

double NmeaReceiver::latitudeAt(std::time_t utc) const { return kStartLatitude + northAt(utc) / kMetresPerDegree; }

double NmeaReceiver::longitudeAt(std::time_t utc) const
{
    const double metresPerDegree = kMetresPerDegree * std::cos(kStartLatitude * std::numbers::pi / 180.0);
    return kStartLongitude + eastAt(utc) / metresPerDegree;
}

std::string NmeaReceiver::second(std::time_t utc, bool fixed) const
{
    std::tm t{};
    gmtime_r(&utc, &t);
    const std::string time = format("%02d%02d%02d.00", t.tm_hour, t.tm_min, t.tm_sec);
    const std::string date = format("%02d%02d%02d", t.tm_mday, t.tm_mon + 1, t.tm_year % 100);
    const std::string position =
        fixed ? angle(latitudeAt(utc), 2, 'N', 'S') + "," + angle(longitudeAt(utc), 3, 'E', 'W') : ",,,";
    const double speed = output_.moving ? kSpeedMetresPerSecond : 0.0;
    const double knots = speed * kKnotsPerMetrePerSecond;

    const std::span<const Satellite> used = output_.multiGnss ? std::span<const Satellite>(kSky) : kGps;
    const std::string talker = output_.multiGnss ? "GN" : "GP";

    std::string out;
    const std::string hdop = output_.multiGnss ? "0.7" : "0.9";
    out += nmeaSentence(talker + "GGA," + time + "," + position +
                        (fixed ? format(",1,%02zu,", used.size()) + hdop + ",12.4,M,46.9,M,," : ",0,00,99.99,,,,,,"));
    if (output_.ubx)
        out += navPvt({utc, latitudeAt(utc), longitudeAt(utc), speed, kCourseDegrees,
                       fixed ? static_cast<int>(used.size()) : 0});
    if (output_.multiGnss) {
        // Signal 1 is L1 C/A for GPS and L1 OF for GLONASS; 7 is Galileo's E1.
        out += gsvSentences(kGps, ",1") + gsvSentences(kGlonass, ",1") + gsvSentences(kGalileo, ",7");
    } else {
        out += nmeaSentence(fixed ? "GPGSA,A,3,04,07,09,16,20,23,27,30,,,,,1.6,0.9,1.3"
                                  : "GPGSA,A,1," + std::string(12, ',') + "99.99,99.99,99.99");
        out += gsvSentences(kGps, "");
    }
    if (output_.ubx) out += navSat(utc, used, fixed);
    const std::string rmc = talker + "RMC," + time + (fixed ? ",A," : ",V,") + position +
                            (fixed ? format(",%.1f,%.1f,", knots, kCourseDegrees) : ",,,") + date +
                            (fixed ? ",,,A" : ",,,N");
    out += nmeaSentence(output_.multiGnss ? rmc + ",V" : rmc);
    if (!output_.multiGnss)
        out += nmeaSentence(fixed ? format("GPVTG,%.1f,T,,M,%.1f,N,%.1f,K,A", kCourseDegrees, knots, speed * 3.6)
                                  : "GPVTG,,T,,M,,N,,K,N");
    return out;
}

}  // namespace veltrane::sim
