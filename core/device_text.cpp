// SPDX-License-Identifier: BSD-2-Clause
#include "device_text.h"

#include <algorithm>
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

void appendHexEscape(std::string& out, unsigned char c)
{
    out += "\\x";
    out.push_back(kHexDigits[c >> 4]);
    out.push_back(kHexDigits[c & 0xf]);
}

// The length of the well-formed UTF-8 character that starts `text`, or 0: no
// overlong forms, no surrogates, nothing past U+10FFFF.
std::size_t utf8CharacterLength(std::string_view text)
{
    const auto at = [&](std::size_t i) -> unsigned char {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    };
    const unsigned char lead = at(0);
    if (lead < 0x80) return 1;
    std::size_t length = 4;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        low = lead == 0xe0 ? 0xa0 : low;
        high = lead == 0xed ? 0x9f : high;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        low = lead == 0xf0 ? 0x90 : low;
        high = lead == 0xf4 ? 0x8f : high;
    } else {
        return 0;
    }
    if (at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((at(i) & 0xc0) != 0x80) return 0;
    return length;
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
        if (isControl(c))
            appendHexEscape(out, c);
        else if (c < 0x80)
            out.push_back(byte);
        else
            appendUtf8(out, c);
    }
}

std::string escapeDeviceText(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size());
    appendEscapedDeviceText(out, latin1);
    return out;
}

void appendEscapedUserText(std::string& out, std::string_view utf8)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = utf8CharacterLength(utf8.substr(i));
        // U+0080 to U+009F, which some terminals act on, are C2 80 to C2 9F.
        const bool c1 = length == 2 && c == 0xc2 && static_cast<unsigned char>(utf8[i + 1]) <= 0x9f;
        if (length == 1 && appendCommonEscape(out, c)) {
            ++i;
        } else if (length == 0 || c1 || (length == 1 && isControl(c))) {
            const std::size_t shown = std::max<std::size_t>(length, 1);
            for (const char byte : utf8.substr(i, shown)) appendHexEscape(out, static_cast<unsigned char>(byte));
            i += shown;
        } else {
            out.append(utf8, i, length);
            i += length;
        }
    }
}

std::string quotedUserText(std::string_view utf8)
{
    std::string out(1, '\'');
    appendEscapedUserText(out, utf8);
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
