// SPDX-License-Identifier: BSD-2-Clause
#include "status_fields.h"

#include <algorithm>

namespace veltrane {

std::string_view fieldName(Field field)
{
    static constexpr std::array<std::string_view, kFieldCount> names = {
        "utc_time", "latitude", "longitude", "altitude", "quality", "satellites",
        "in_view", "hdop", "updated", "comm_ok", "found", "is_gps",
    };
    return names[static_cast<std::size_t>(field)];
}

// As the window shows them, the blank after "HDOP:" included.
std::string_view fieldCaption(Field field)
{
    static constexpr std::array<std::string_view, kFieldCount> captions = {
        "Current UTC Time:",  "Latitude:",           "Longitude:",
        "Altitude:",          "Signal Quality:",     "Satellites in Use:",
        "Satellites in View:", "HDOP: ",             "Date last updated:",
        "Found selected Comm Port:", "Found device on Comm Port:", "Device recognised as GPS:",
    };
    return captions[static_cast<std::size_t>(field)];
}

StatusFields::StatusFields()
{
    texts_[index(Field::CommOk)] = kNo;
    texts_[index(Field::Found)] = kNo;
    texts_[index(Field::IsGps)] = kNo;
}

void StatusFields::set(Field field, std::string_view text)
{
    std::string& stored = texts_[index(field)];
    stored.assign(text);
    for (FieldObserver* observer : observers_) observer->fieldWritten(field, stored);
}

void StatusFields::addObserver(FieldObserver* observer) { observers_.push_back(observer); }

void StatusFields::removeObserver(FieldObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

// g++ 12 gives a known false -Wrestrict warning on the string assignment
// once these constant texts are inlined into it.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
void resetReadout(StatusFields& fields)
{
    fields.set(Field::UtcTime, "Unknown");
    fields.set(Field::Latitude, "Unknown");
    fields.set(Field::Longitude, "Unknown");
    fields.set(Field::Altitude, "Unknown");
    fields.set(Field::Quality, "No GPS device detected");
    fields.set(Field::Satellites, "0");
    fields.set(Field::InView, "0");
    fields.set(Field::Hdop, "Unknown");
    fields.set(Field::Updated, "No data received");
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

}  // namespace veltrane
