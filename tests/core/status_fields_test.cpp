// SPDX-License-Identifier: BSD-2-Clause
#include "status_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "monitor_doubles.h"

namespace veltrane {
namespace {

using testing::FieldRecorder;
using namespace std::string_literals;

const std::vector<std::pair<Field, std::string>> kResetWrites = {
    {Field::UtcTime, "Unknown"},
    {Field::Latitude, "Unknown"},
    {Field::Longitude, "Unknown"},
    {Field::Altitude, "Unknown"},
    {Field::Quality, "No GPS device detected"},
    {Field::Satellites, "0"},
    {Field::InView, "0"},
    {Field::Hdop, "Unknown"},
    {Field::Updated, "No data received"},
};

constexpr Field kIndicators[] = {Field::CommOk, Field::Found, Field::IsGps};

TEST(StatusFields, BeforeAnyWriteReadoutIsEmptyAndIndicatorsReadNo)
{
    const StatusFields fields;
    for (const auto& [field, resetText] : kResetWrites) EXPECT_EQ(fields.read(field), "") << fieldName(field);
    for (Field indicator : kIndicators) EXPECT_EQ(fields.read(indicator), "No") << fieldName(indicator);
}

TEST(StatusFields, ResetWritesTheNineTextsInOrderAndLeavesIndicators)
{
    StatusFields fields;
    for (Field indicator : kIndicators) fields.set(indicator, "Yes");
    fields.set(Field::InView, "12 satellites");
    FieldRecorder recorder;
    fields.addObserver(&recorder);

    for (int round = 1; round <= 2; ++round) {
        recorder.writes.clear();
        resetReadout(fields);
        EXPECT_EQ(recorder.writes, kResetWrites) << "reset " << round;
        for (const auto& [field, text] : kResetWrites) EXPECT_EQ(fields.read(field), text) << fieldName(field);
        for (Field indicator : kIndicators) EXPECT_EQ(fields.read(indicator), "Yes") << fieldName(indicator);
    }
}

TEST(StatusFields, ReadReturnsExactlyTheLastTextWritten)
{
    const std::string deviceBytes = "GP\0GGA\xb0\xff\r\n"s;
    const std::vector<std::string> texts = {"Yes", "", deviceBytes, std::string(100000, 'x'), "No"};
    StatusFields fields;
    for (const std::string& text : texts) {
        fields.set(Field::Quality, text);
        EXPECT_EQ(fields.read(Field::Quality), text);
    }
    // A text taken from the field itself must survive being written back.
    fields.set(Field::Quality, deviceBytes);
    fields.set(Field::Quality, fields.read(Field::Quality));
    EXPECT_EQ(fields.read(Field::Quality), deviceBytes);
}

TEST(StatusFields, ObserversSeeEveryWriteUntilRemoved)
{
    StatusFields fields;
    FieldRecorder first;
    FieldRecorder second;
    fields.addObserver(&first);
    fields.addObserver(&second);
    fields.set(Field::Found, "No");
    fields.set(Field::Found, "No");
    fields.removeObserver(&first);
    fields.set(Field::IsGps, "Yes");

    const std::vector<std::pair<Field, std::string>> both = {{Field::Found, "No"}, {Field::Found, "No"}};
    EXPECT_EQ(first.writes, both);
    auto all = both;
    all.emplace_back(Field::IsGps, "Yes");
    EXPECT_EQ(second.writes, all);
}

}  // namespace
}  // namespace veltrane
