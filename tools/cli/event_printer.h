#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "sentence_log.h"
#include "status_fields.h"

namespace veltrane::cli {

// Prints every field write, log row and clearing of the log as one JSON object
// per line, in order. Buffered: call flush() before waiting for more input.
class JsonEventPrinter final : public FieldObserver, public LogObserver {
public:
    explicit JsonEventPrinter(std::FILE* out);
    ~JsonEventPrinter() override;

    void fieldWritten(Field field, const std::string& text) override;
    void rowInserted(const LogRow& row) override;
    void cleared() override;
    void flush();

private:
    std::FILE* out_;
    std::string buffer_;
};

// Device bytes (Latin-1) as a JSON string body in UTF-8, control characters escaped.
void appendJsonString(std::string& out, std::string_view latin1);
// Device bytes (Latin-1) made safe for a terminal: UTF-8, control characters escaped.
std::string escapeForTerminal(std::string_view latin1);
// A field's caption padded to one column, then its text made safe for a terminal.
std::string readoutLine(const StatusFields& fields, Field field);

}  // namespace veltrane::cli
