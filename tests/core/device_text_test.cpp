// SPDX-License-Identifier: BSD-2-Clause
#include "device_text.h"
#include "json_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrane {
namespace {

using namespace std::string_literals;

struct EscapeCase {
    std::string latin1;
    std::string json;
    std::string terminal;
};

const EscapeCase kEscapeCases[] = {
    {"GPRMC,123519,A*6A", "GPRMC,123519,A*6A", "GPRMC,123519,A*6A"},
    {"", "", ""},
    {"say \"hi\" \\ back", "say \\\"hi\\\" \\\\ back", "say \"hi\" \\\\ back"},
    {"\r\n\t", "\\r\\n\\t", "\\r\\n\\t"},
    {"a\0b"s, "a\\u0000b", "a\\x00b"},
    {"\x1b[2J\x07", "\\u001b[2J\\u0007", "\\x1b[2J\\x07"},
    {"\x7f", "\\u007f", "\\x7f"},
    {"\x80\x85\x9b\x9f", "\\u0080\\u0085\\u009b\\u009f", "\\x80\\x85\\x9b\\x9f"},
    {"\xa0\xb0\xe9\xff", "\xc2\xa0\xc2\xb0\xc3\xa9\xc3\xbf", "\xc2\xa0\xc2\xb0\xc3\xa9\xc3\xbf"},
    {"N\xb0\x31", "N\xc2\xb0" "1", "N\xc2\xb0" "1"},
};

TEST(DeviceText, JsonAndTerminalEscaping)
{
    for (const EscapeCase& c : kEscapeCases) {
        std::string json = "prefix:";
        appendJsonString(json, c.latin1);
        EXPECT_EQ(json, "prefix:" + c.json) << "input of " << c.latin1.size() << " bytes";
        EXPECT_EQ(escapeDeviceText(c.latin1), c.terminal) << "input of " << c.latin1.size() << " bytes";
    }
}

TEST(DeviceText, EveryByteMapsToOneUnambiguousJsonCharacter)
{
    for (int byte = 0; byte < 256; ++byte) {
        std::string json;
        appendJsonString(json, std::string(1, static_cast<char>(byte)));
        const bool escaped = json.front() == '\\';
        if (byte < 0x20 || (byte >= 0x7f && byte <= 0x9f)) {
            EXPECT_TRUE(escaped) << byte;
        } else if (byte >= 0xa0) {
            EXPECT_EQ(json.size(), 2u) << byte;
        } else if (byte != '"' && byte != '\\') {
            EXPECT_EQ(json, std::string(1, static_cast<char>(byte)));
        }
    }
}

// A name or an argument is UTF-8: it passes through as it is, and only what
// could act on a terminal or is not UTF-8 at all is escaped, byte by byte.
TEST(UserText, UnicodePassesAndControlsAndBrokenBytesAreEscaped)
{
    struct Case {
        std::string utf8;
        std::string shown;
    };
    const Case kCases[] = {
        {"", "''"},
        {"caf\xc3\xa9.nmea", "'caf\xc3\xa9.nmea'"},
        {"\xe2\x82\xac \xf0\x9f\x9b\xb0 \xef\xbf\xbf \xf4\x8f\xbf\xbf",
         "'\xe2\x82\xac \xf0\x9f\x9b\xb0 \xef\xbf\xbf \xf4\x8f\xbf\xbf'"},
        {"a\\b\r\n\t", "'a\\\\b\\r\\n\\t'"},
        {"\x1b[2J\x7f"s + '\0', "'\\x1b[2J\\x7f\\x00'"},
        {"\xc2\x85\xc2\x9b\xc2\xa0", "'\\xc2\\x85\\xc2\\x9b\xc2\xa0'"},
        {"caf\xe9", "'caf\\xe9'"},
        {"\xc0\xaf \xe0\x80\xaf", "'\\xc0\\xaf \\xe0\\x80\\xaf'"},
        {"\xed\xa0\x80", "'\\xed\\xa0\\x80'"},
        {"\xf4\x90\x80\x80", "'\\xf4\\x90\\x80\\x80'"},
        {"\xe2\x82", "'\\xe2\\x82'"},
        {"\xe2\x82x", "'\\xe2\\x82x'"},
    };
    for (const Case& c : kCases) EXPECT_EQ(quotedUserText(c.utf8), c.shown) << c.shown;
}

// Commas fall between values at every depth, after nested containers too,
// and a device's text cannot break out of a key or a value.
TEST(JsonWriter, PlacesCommasAndEscapesKeysAndValues)
{
    std::string line;
    JsonWriter json(line);
    json.beginObject().member("a\"", std::optional<int>()).key("b").beginArray();
    json.beginObject().endObject().beginArray().value(-1).value(true).endArray().value("\x1b");
    json.endArray().member("c", std::optional<unsigned>(7)).endObject();
    EXPECT_EQ(line, R"({"a\"":null,"b":[{},[-1,true],"\u001b"],"c":7})");
}

}  // namespace
}  // namespace veltrane
