// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <string>

#include "output.h"
#include "sentence_log.h"
#include "status_fields.h"

namespace veltrane::cli {

// What the monitor reports besides field writes and log rows.
class EventPrinter : public FieldObserver, public LogObserver {
public:
    // Chunks the receive ring overwrote before they were read.
    virtual void chunksLost(std::uint64_t chunks) = 0;
    virtual void flush() = 0;
};

// Every field write, log row, clearing of the log and loss as one JSON object
// per line, in order. Buffered: flush() before waiting for more input.
class JsonEventPrinter final : public EventPrinter {
public:
    explicit JsonEventPrinter(Output& out);
    ~JsonEventPrinter() override;

    void fieldWritten(Field field, const std::string& text) override;
    void rowInserted(const LogRow& row) override;
    void cleared() override;
    void chunksLost(std::uint64_t chunks) override;
    void flush() override;

private:
    // Ends the event's line and writes the buffer once it is large.
    void ended();

    Output& out_;
    std::string buffer_;
    std::string time_;  // kept, so that a row's timestamp costs no allocation
};

// The same events as lines a person reads, each written as it happens, for a
// monitor whose output is a pipe or a file rather than a terminal.
class EventLinePrinter final : public EventPrinter {
public:
    explicit EventLinePrinter(Output& out) : out_(out) {}

    void fieldWritten(Field field, const std::string& text) override;
    void rowInserted(const LogRow& row) override;
    void cleared() override;
    void chunksLost(std::uint64_t chunks) override;
    void flush() override { out_.flush(); }

private:
    void say(const std::string& line);

    Output& out_;
};

// A field's caption padded to one column, then its text made safe for a terminal.
std::string readoutLine(const StatusFields& fields, Field field);
std::string readoutLine(Field field, const std::string& text);
// The readout, the indicators and the number of log rows, as replay and a
// monitor without a terminal end with.
std::string readoutSummary(const StatusFields& fields, std::size_t rows);
// What the panel and the event lines say when the receive side fell behind.
std::string chunksLostText(std::uint64_t chunks);

}  // namespace veltrane::cli
