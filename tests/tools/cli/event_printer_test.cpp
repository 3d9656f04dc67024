// SPDX-License-Identifier: BSD-2-Clause
#include "event_printer.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrane::cli {
namespace {

using namespace std::string_literals;

TEST(JsonEventPrinter, PrintsOneObjectPerEventInOrder)
{
    StringOutput out;
    JsonEventPrinter printer(out);
    printer.fieldWritten(Field::Latitude, "4807.0380 N");
    printer.rowInserted({{2026, 12, 7, 14, 3, 59}, "GPGGA,123519,\"q\"\0"s});
    printer.cleared();
    printer.chunksLost(3);
    printer.fieldWritten(Field::IsGps, "Yes");
    printer.flush();
    EXPECT_EQ(out.text(),
              "{\"event\":\"field\",\"name\":\"latitude\",\"text\":\"4807.0380 N\"}\n"
              "{\"event\":\"row\",\"time\":\"07/12/2026 14:03:59\",\"data\":\"GPGGA,123519,\\\"q\\\"\\u0000\"}\n"
              "{\"event\":\"clear\"}\n"
              "{\"event\":\"lost\",\"chunks\":3}\n"
              "{\"event\":\"field\",\"name\":\"is_gps\",\"text\":\"Yes\"}\n");
}

TEST(JsonEventPrinter, LongOutputArrivesWholeAndInOrder)
{
    StringOutput out;
    std::string expected;
    {
        JsonEventPrinter printer(out);
        for (int i = 0; i < 20000; ++i) {
            const std::string text = std::to_string(i) + " satellites";
            printer.fieldWritten(Field::InView, text);
            expected += "{\"event\":\"field\",\"name\":\"in_view\",\"text\":\"" + text + "\"}\n";
        }
        printer.fieldWritten(Field::Quality, std::string(200000, 'q'));
        expected += "{\"event\":\"field\",\"name\":\"quality\",\"text\":\"" + std::string(200000, 'q') + "\"}\n";
    }
    EXPECT_EQ(out.text(), expected) << "the destructor writes what is left";
}

}  // namespace
}  // namespace veltrane::cli
