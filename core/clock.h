// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace veltrane {

struct LocalTime {
    int year = 0;
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;
    int second = 0;
};

// The local date and time, injected so that tests can fix it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    LocalTime now() const override;

private:
    // The conversion to local time is costly and sentences come many to the
    // second, so it is made once a second. Not for sharing between threads.
    mutable std::optional<std::time_t> convertedSecond_;
    mutable LocalTime converted_;
};

// A moment in the local time zone. std::localtime shares one result among
// threads; the safe form is named differently on Windows and on Unix.
LocalTime localTimeAt(std::time_t seconds);

// "dd/mm/yyyy hh:nn:ss", the form of every time stamp the monitor shows.
std::string formatTimestamp(const LocalTime& time);
void appendTimestamp(std::string& out, const LocalTime& time);

}  // namespace veltrane
