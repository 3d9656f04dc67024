// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

// The readout fields in the order the reset writes them, then the three indicators.
enum class Field {
    UtcTime,
    Latitude,
    Longitude,
    Altitude,
    Quality,
    Satellites,
    InView,
    Hdop,
    Updated,
    CommOk,
    Found,
    IsGps,
};
inline constexpr std::size_t kFieldCount = 12;

inline constexpr std::string_view kYes = "Yes";
inline constexpr std::string_view kNo = "No";

// The stable machine name of a field ("utc_time", "comm_ok", ...).
std::string_view fieldName(Field field);
// The caption shown beside a field ("Current UTC Time:", "Found selected Comm Port:", ...).
std::string_view fieldCaption(Field field);

class FieldObserver {
public:
    virtual ~FieldObserver() = default;
    // Called for every write, also when the text does not change.
    virtual void fieldWritten(Field field, const std::string& text) = 0;
};

// The readout and the indicators. The text is the state: a read returns exactly
// the last text written. Texts are bytes read as Latin-1, kept unchanged.
class StatusFields {
public:
    StatusFields();

    void set(Field field, std::string_view text);
    const std::string& read(Field field) const { return texts_[index(field)]; }
    bool reads(Field field, std::string_view text) const { return read(field) == text; }

    void addObserver(FieldObserver* observer);
    void removeObserver(FieldObserver* observer);

private:
    static std::size_t index(Field field) { return static_cast<std::size_t>(field); }

    std::array<std::string, kFieldCount> texts_;
    std::vector<FieldObserver*> observers_;
};

// Puts the nine readout fields back to their no-data texts; the indicators stay.
void resetReadout(StatusFields& fields);

}  // namespace veltrane
