// SPDX-License-Identifier: BSD-2-Clause
#include "event_printer.h"

#include "clock.h"
#include "device_text.h"
#include "json_writer.h"

namespace veltrane::cli {

namespace {
// Output is gathered and handed over in large writes: a replay prints
// several lines per sentence, and a write per line would dominate.
constexpr std::size_t kWriteBytes = std::size_t{1} << 16;
constexpr std::size_t kCaptionColumn = 28;
}  // namespace

JsonEventPrinter::JsonEventPrinter(Output& out) : out_(out) { buffer_.reserve(kWriteBytes + 4096); }

JsonEventPrinter::~JsonEventPrinter() { flush(); }

void JsonEventPrinter::fieldWritten(Field field, const std::string& text)
{
    JsonWriter(buffer_).beginObject().member("event", "field").member("name", fieldName(field)).member("text", text).endObject();
    ended();
}

void JsonEventPrinter::rowInserted(const LogRow& row)
{
    time_.clear();
    appendTimestamp(time_, row.time);
    JsonWriter(buffer_).beginObject().member("event", "row").member("time", time_).member("data", row.data).endObject();
    ended();
}

void JsonEventPrinter::cleared()
{
    JsonWriter(buffer_).beginObject().member("event", "clear").endObject();
    ended();
}

void JsonEventPrinter::chunksLost(std::uint64_t chunks)
{
    JsonWriter(buffer_).beginObject().member("event", "lost").member("chunks", chunks).endObject();
    ended();
}

void JsonEventPrinter::ended()
{
    buffer_.push_back('\n');
    if (buffer_.size() < kWriteBytes) return;
    out_.write(buffer_);
    buffer_.clear();
}

void JsonEventPrinter::flush()
{
    out_.write(buffer_);
    buffer_.clear();
    out_.flush();
}

void EventLinePrinter::fieldWritten(Field field, const std::string& text) { say(readoutLine(field, text)); }

void EventLinePrinter::rowInserted(const LogRow& row)
{
    std::string line = "Row  ";
    appendTimestamp(line, row.time);
    line += "  ";
    appendEscapedDeviceText(line, row.data);
    say(line);
}

void EventLinePrinter::cleared() { say("Log cleared"); }

void EventLinePrinter::chunksLost(std::uint64_t chunks)
{
    say(chunksLostText(chunks));
}

void EventLinePrinter::say(const std::string& line)
{
    out_.line(line);
    out_.flush();
}

std::string readoutLine(Field field, const std::string& text)
{
    std::string line(fieldCaption(field));
    line.resize(kCaptionColumn, ' ');
    appendEscapedDeviceText(line, text);
    return line;
}

std::string readoutLine(const StatusFields& fields, Field field) { return readoutLine(field, fields.read(field)); }

std::string chunksLostText(std::uint64_t chunks)
{
    return "Lost " + std::to_string(chunks) + " received chunk(s): text arrived faster than it was read";
}

std::string readoutSummary(const StatusFields& fields, std::size_t rows)
{
    std::string text;
    for (std::size_t i = 0; i < kFieldCount; ++i) text += readoutLine(fields, static_cast<Field>(i)) + "\n";
    std::string label = "Rows in the log:";
    label.resize(kCaptionColumn, ' ');
    return text + label + std::to_string(rows) + "\n";
}

}  // namespace veltrane::cli
