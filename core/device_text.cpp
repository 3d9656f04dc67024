#include "device_text.h"

#include <array>

namespace veltrane {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

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

// The escape both forms share for the backslash and the three common controls;
// false for other bytes.
bool appendCommonEscape(std::string& out, unsigned char c)
{
    switch (c) {
    case '\\': out += "\\\\"; return true;
    case '\n': out += "\\n"; return true;
    case '\r': out += "\\r"; return true;
    case '\t': out += "\\t"; return true;
    default: return false;
    }
}

void appendJsonCharacter(std::string& out, unsigned char c)
{
    if (!isControl(c)) {
        appendUtf8(out, c);
        return;
    }
    out += "\\u00";
    out.push_back(kHexDigits[c >> 4]);
    out.push_back(kHexDigits[c & 0xf]);
}

}  // namespace

void appendEscapedDeviceText(std::string& out, std::string_view latin1)
{
    for (const char byte : latin1) {
        const auto c = static_cast<unsigned char>(byte);
        if (appendCommonEscape(out, c)) continue;
        if (isControl(c)) {
            out += "\\x";
            out.push_back(kHexDigits[c >> 4]);
            out.push_back(kHexDigits[c & 0xf]);
        } else if (c < 0x80) {
            out.push_back(byte);
        } else {
            appendUtf8(out, c);
        }
    }
}

std::string escapeDeviceText(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size());
    appendEscapedDeviceText(out, latin1);
    return out;
}

std::string quotedDeviceText(std::string_view latin1)
{
    std::string out(1, '\'');
    appendEscapedDeviceText(out, latin1);
    out.push_back('\'');
    return out;
}

void appendJsonString(std::string& out, std::string_view latin1)
{
    std::size_t plainFrom = 0;
    for (std::size_t i = 0; i < latin1.size(); ++i) {
        const auto c = static_cast<unsigned char>(latin1[i]);
        if (kPlainJson[c]) continue;
        out.append(latin1, plainFrom, i - plainFrom);
        plainFrom = i + 1;
        if (c == '"')
            out += "\\\"";
        else if (!appendCommonEscape(out, c))
            appendJsonCharacter(out, c);
    }
    out.append(latin1, plainFrom);
}

}  // namespace veltrane
