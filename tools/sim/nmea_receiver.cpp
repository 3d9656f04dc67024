// SPDX-License-Identifier: BSD-2-Clause
#include "nmea_receiver.h"

#include <cmath>
#include <cstdio>
#include <numbers>

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

double NmeaReceiver::latitudeAt(std::time_t utc) const
{
    const double metres = kSpeedMetresPerSecond * static_cast<double>(utc - start_);
    return kStartLatitude + metres * std::cos(kCourseDegrees * std::numbers::pi / 180.0) / kMetresPerDegree;
}

double NmeaReceiver::longitudeAt(std::time_t utc) const
{
    const double metres = kSpeedMetresPerSecond * static_cast<double>(utc - start_);
    const double metresPerDegree = kMetresPerDegree * std::cos(kStartLatitude * std::numbers::pi / 180.0);
    return kStartLongitude + metres * std::sin(kCourseDegrees * std::numbers::pi / 180.0) / metresPerDegree;
}

std::string NmeaReceiver::second(std::time_t utc) const
{
    std::tm t{};
    gmtime_r(&utc, &t);
    const std::string time = format("%02d%02d%02d.00", t.tm_hour, t.tm_min, t.tm_sec);
    const std::string date = format("%02d%02d%02d", t.tm_mday, t.tm_mon + 1, t.tm_year % 100);
    const std::string position =
        angle(latitudeAt(utc), 2, 'N', 'S') + "," + angle(longitudeAt(utc), 3, 'E', 'W');
    const double knots = kSpeedMetresPerSecond * kKnotsPerMetrePerSecond;
    const double kmh = kSpeedMetresPerSecond * 3.6;

    std::string out;
    out += nmeaSentence("GPGGA," + time + "," + position + ",1,08,0.9,12.4,M,46.9,M,,");
    out += nmeaSentence("GPGSA,A,3,04,07,09,16,20,23,27,30,,,,,1.6,0.9,1.3");
    out += nmeaSentence("GPGSV,2,1,08,04,62,045,42,07,35,110,39,09,20,300,35,16,48,180,44");
    out += nmeaSentence("GPGSV,2,2,08,20,15,250,31,23,70,010,45,27,41,075,40,30,09,330,28");
    out += nmeaSentence("GPRMC," + time + ",A," + position + format(",%.1f,%.1f,", knots, kCourseDegrees) + date +
                        ",,,A");
    out += nmeaSentence(format("GPVTG,%.1f,T,,M,%.1f,N,%.1f,K,A", kCourseDegrees, knots, kmh));
    return out;
}

}  // namespace veltrane::sim
