// SPDX-License-Identifier: BSD-2-Clause
#include "framing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace veltrane::health {
namespace {

using namespace std::string_literals;

// Frames built the plain way, apart from the framing's running sums.
std::string ubx(std::uint8_t messageClass, std::uint8_t id, const std::string& payload, int damage = 0)
{
    std::string frame = "\xB5\x62";
    frame += {static_cast<char>(messageClass), static_cast<char>(id), static_cast<char>(payload.size()), '\0'};
    frame += payload;
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (std::size_t i = 2; i < frame.size(); ++i) b = static_cast<std::uint8_t>(b + (a += frame[i]));
    return frame + static_cast<char>(a) + static_cast<char>(b + damage);
}

std::string rtcm3(const std::string& payload, int damage = 0)
{
    std::string frame = "\xD3";
    frame += {static_cast<char>(payload.size() >> 8), static_cast<char>(payload.size())};
    frame += payload;
    std::uint32_t crc = 0;
    for (const char c : frame) {
        crc ^= static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 16;
        for (int bit = 0; bit < 8; ++bit) crc = (crc << 1) ^ (crc & 0x800000 ? 0x1864CFB : 0);
    }
    crc = (crc + damage) & 0xFFFFFF;
    return frame + static_cast<char>(crc >> 16) + static_cast<char>(crc >> 8) + static_cast<char>(crc);
}

class Findings final : public FrameSink {
public:
    void sentence(std::string_view text, std::uint64_t lineEnd) override
    {
        found.push_back(std::string(text));
        lineEnds.emplace_back(text, lineEnd);
    }
    void cutSentence() override { found.push_back("cut"); }
    void noise(std::uint64_t bytes) override { noiseBytes += bytes; }
    void ubxFrame(std::uint8_t messageClass, std::uint8_t id) override
    {
        char text[16];
        std::snprintf(text, sizeof text, "UBX %02x-%02x", messageClass, id);
        found.push_back(text);
    }
    void rtcm3Frame(unsigned messageNumber) override { found.push_back("RTCM 3 " + std::to_string(messageNumber)); }

    std::vector<std::string> found;
    std::vector<std::pair<std::string, std::uint64_t>> lineEnds;
    std::uint64_t noiseBytes = 0;
};

Findings frame(const std::vector<std::string_view>& chunks)
{
    Findings findings;
    Framing framing(findings);
    for (const std::string_view chunk : chunks) framing.add(chunk);
    framing.finish();
    return findings;
}

TEST(Framing, SentencesFramesAndNoiseWhereverTheChunksEnd)
{
    // Message 1005, a station's position: its number in the first 12 bits.
    const std::string station = rtcm3(std::string("\x3E\xD0", 2) + std::string(17, '\x11'));
    const std::string textInFrame = ubx(0x01, 0x07, "x$GPTXT,1\r\nyzw");
    struct Case {
        const char* name;
        std::string input;
        std::vector<std::string> found;
        std::uint64_t noise;
    };
    const Case kCases[] = {
        {"every line end", "$GPGGA,1*00\r\n$GPRMC,2\n!AIVDM,3\r$GPVTG,4\r\r\n",
         {"$GPGGA,1*00", "$GPRMC,2", "!AIVDM,3", "$GPVTG,4"}, 0},
        {"a sentence cut by a binary byte", "$GPGGA,123\x01\xff$GPRMC,1\r\n", {"cut", "$GPRMC,1"}, 2},
        {"a sentence cut by the next one", "$PSTMVER,1$GPRMC,2\r\n", {"cut", "$GPRMC,2"}, 0},
        {"\"$\" in binary data of another protocol", "\x01$\x8c$GP GGA,x\x03$ab\x04", {}, 1 + 1 + 1 + 9 + 1 + 3 + 1},
        {"bytes that start no sentence", "# comment\r\n\x7f$\r\n$$\r\n", {"$", "$"}, 9 + 1 + 1},
        {"a sentence the end cuts counts nowhere", "$GPGGA,1*00\r\n$GPRMC,12", {"$GPGGA,1*00"}, 0},
        {"a UBX frame holding a sentence's bytes", "$GPGGA,1\r\n" + textInFrame + "$GPRMC,2\r\n",
         {"$GPGGA,1", "UBX 01-07", "$GPRMC,2"}, 0},
        {"a UBX frame with a bad check is read on from its second byte", ubx(0x01, 0x07, "x$GPTXT,1\r\nyzw", 1),
         {"$GPTXT,1"}, 6 + 1 + 3 + 2},
        {"a UBX frame cut by the end", "$GPGGA,1\r\n" + textInFrame.substr(0, textInFrame.size() - 1),
         {"$GPGGA,1", "$GPTXT,1"}, 6 + 1 + 3 + 1},
        {"RTCM 3 frames, the second with a bad CRC", station + "\r\n" + rtcm3(std::string(19, '\x22'), 1),
         {"RTCM 3 1005"}, 3 + 19 + 3},
        {"an RTCM 3 length below 2", "\xD3\x00\x01\x05$GPRMC,1\r\n"s, {"$GPRMC,1"}, 4},
        {"false headers whose frames would hold real ones",
         std::string("\xB5\x62\x01\x02\x10\x00", 6) + ubx(0x02, 0x15, "0123456789") + std::string("\xD3\x00\x07", 3) +
             station,
         {"UBX 02-15", "RTCM 3 1005"}, 6 + 3},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string_view input = c.input;
        const Findings whole = frame({input});
        EXPECT_EQ(whole.found, c.found);
        EXPECT_EQ(whole.noiseBytes, c.noise);
        for (const auto& [line, end] : whole.lineEnds)
            EXPECT_EQ(input.substr(end - line.size(), line.size()), line) << "ends where it is read";
        for (std::size_t cut = 0; cut <= input.size(); ++cut) {
            const Findings split = frame({input.substr(0, cut), input.substr(cut)});
            EXPECT_EQ(split.found, whole.found) << "split at " << cut;
            EXPECT_EQ(split.lineEnds, whole.lineEnds) << "split at " << cut;
            EXPECT_EQ(split.noiseBytes, whole.noiseBytes) << "split at " << cut;
        }
        std::vector<std::string_view> bytes;
        for (std::size_t i = 0; i < input.size(); ++i) bytes.push_back(input.substr(i, 1));
        EXPECT_EQ(frame(bytes).found, whole.found) << "a byte at a time";
    }
}

}  // namespace
}  // namespace veltrane::health
