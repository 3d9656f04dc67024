#include "event_printer.h"

#include <array>

#include "clock.h"

namespace veltrane::cli {

namespace {

// Output is gathered in one string and handed over in large writes: a replay
// prints several lines per sentence, and a write per line would dominate.
constexpr std::size_t kWriteBytes = std::size_t{1} << 16;

constexpr char kHexDigits[] = "0123456789abcdef";

// C0 controls, DEL and the C1 controls that Latin-1 puts at 0x80..0x9f: a
// terminal may act on any of them, so none is ever passed through raw.
constexpr bool isControl(unsigned char c) { return c < 0x20 || (c >= 0x7f && c <= 0x9f); }

// Bytes that go into a JSON string as they are: printable ASCII but the quote and the backslash.
constexpr std::array<bool, 256> kPlainJson = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x7f; ++c) plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
    return plain;
}();

void appendUtf8(std::string& out, unsigned char latin1)
{
    out.push_back(static_cast<char>(0xc0 | (latin1 >> 6)));
    out.push_back(static_cast<char>(0x80 | (latin1 & 0x3f)));
}

void write(std::FILE* out, std::string& buffer)
{
    std::fwrite(buffer.data(), 1, buffer.size(), out);
    buffer.clear();
}

}  // namespace

void appendJsonString(std::string& out, std::string_view latin1)
{
    std::size_t plainFrom = 0;
    for (std::size_t i = 0; i < latin1.size(); ++i) {
        const auto c = static_cast<unsigned char>(latin1[i]);
        if (kPlainJson[c]) continue;
        out.append(latin1, plainFrom, i - plainFrom);
        plainFrom = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (isControl(c)) {
                out += "\\u00";
                out.push_back(kHexDigits[c >> 4]);
                out.push_back(kHexDigits[c & 0xf]);
            } else {
                appendUtf8(out, c);
            }
        }
    }
    out.append(latin1, plainFrom);
}

std::string escapeForTerminal(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (const char byte : latin1) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (isControl(c)) {
            out += "\\x";
            out.push_back(kHexDigits[c >> 4]);
            out.push_back(kHexDigits[c & 0xf]);
        } else if (c < 0x80) {
            out.push_back(byte);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

JsonEventPrinter::JsonEventPrinter(std::FILE* out) : out_(out) { buffer_.reserve(kWriteBytes + 4096); }

JsonEventPrinter::~JsonEventPrinter() { flush(); }

void JsonEventPrinter::fieldWritten(Field field, const std::string& text)
{
    buffer_ += R"({"event":"field","name":")";
    buffer_ += fieldName(field);
    buffer_ += R"(","text":")";
    appendJsonString(buffer_, text);
    buffer_ += "\"}\n";
    if (buffer_.size() >= kWriteBytes) write(out_, buffer_);
}

void JsonEventPrinter::rowInserted(const LogRow& row)
{
    buffer_ += R"({"event":"row","time":")";
    appendTimestamp(buffer_, row.time);
    buffer_ += R"(","data":")";
    appendJsonString(buffer_, row.data);
    buffer_ += "\"}\n";
    if (buffer_.size() >= kWriteBytes) write(out_, buffer_);
}

void JsonEventPrinter::cleared()
{
    buffer_ += "{\"event\":\"clear\"}\n";
    if (buffer_.size() >= kWriteBytes) write(out_, buffer_);
}

void JsonEventPrinter::flush()
{
    write(out_, buffer_);
    std::fflush(out_);
}

std::string readoutLine(const StatusFields& fields, Field field)
{
    std::string line(fieldCaption(field));
    line.resize(28, ' ');
    return line + escapeForTerminal(fields.read(field));
}

}  // namespace veltrane::cli
