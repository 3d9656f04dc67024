#include "event_printer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace veltrane::cli {
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
        EXPECT_EQ(escapeForTerminal(c.latin1), c.terminal) << "input of " << c.latin1.size() << " bytes";
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

std::string contentsOf(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    char block[4096];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) text.append(block, got);
    return text;
}

TEST(JsonEventPrinter, PrintsOneObjectPerEventInOrder)
{
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    {
        JsonEventPrinter printer(out);
        printer.fieldWritten(Field::lblLatitude, "4807.0380 N");
        printer.rowInserted({{2026, 12, 7, 14, 3, 59}, "GPGGA,123519,\"q\"\0"s});
        printer.cleared();
        printer.fieldWritten(Field::lblIsGPS, "Yes");
        printer.flush();
        EXPECT_EQ(contentsOf(out),
                  "{\"event\":\"field\",\"name\":\"latitude\",\"text\":\"4807.0380 N\"}\n"
                  "{\"event\":\"row\",\"time\":\"07/12/2026 14:03:59\",\"data\":\"GPGGA,123519,\\\"q\\\"\\u0000\"}\n"
                  "{\"event\":\"clear\"}\n"
                  "{\"event\":\"field\",\"name\":\"is_gps\",\"text\":\"Yes\"}\n");
    }
    std::fclose(out);
}

TEST(JsonEventPrinter, LongOutputArrivesWholeAndInOrder)
{
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    std::string expected;
    {
        JsonEventPrinter printer(out);
        for (int i = 0; i < 20000; ++i) {
            const std::string text = std::to_string(i) + " satellites";
            printer.fieldWritten(Field::lblInView, text);
            expected += "{\"event\":\"field\",\"name\":\"in_view\",\"text\":\"" + text + "\"}\n";
        }
        printer.fieldWritten(Field::lblQuality, std::string(200000, 'q'));
        expected += "{\"event\":\"field\",\"name\":\"quality\",\"text\":\"" + std::string(200000, 'q') + "\"}\n";
    }
    EXPECT_EQ(contentsOf(out), expected) << "the destructor writes what is left";
    std::fclose(out);
}

}  // namespace
}  // namespace veltrane::cli
