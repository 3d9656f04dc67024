// SPDX-License-Identifier: BSD-2-Clause
#include "comm_map.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

struct MapCase {
    const char* value;
    std::map<int, std::string> devices;
    std::vector<const char*> problems;  // part of each reported problem, in order
};

TEST(PortMap, ParsesPairsAndReportsEachRefusedEntry)
{
    const MapCase cases[] = {
        {"1=/dev/ttyUSB0,3=/dev/pts/4", {{1, "/dev/ttyUSB0"}, {3, "/dev/pts/4"}}, {}},
        {" 2 = /dev/ttyS1 , ,15=/dev/x,", {{2, "/dev/ttyS1"}, {15, "/dev/x"}}, {}},
        {"", {}, {}},
        {"/dev/ttyUSB0", {}, {"\"/dev/ttyUSB0\" ignored: expected N=PATH"}},
        {"0=/dev/a,16=/dev/b,x=/dev/c,=/dev/d", {},
         {"\"0=/dev/a\" ignored: the Comm number must be 1 to 15", "\"16=/dev/b\"", "\"x=/dev/c\"", "\"=/dev/d\""}},
        {"1=,2=/dev/b", {{2, "/dev/b"}}, {"\"1=\" ignored: the device path is missing"}},
        {"1=/dev/a,1=/dev/b", {{1, "/dev/a"}}, {"\"1=/dev/b\" ignored: Comm 1 is already mapped to /dev/a"}},
    };
    for (const MapCase& c : cases) {
        const PortMapEntries parsed = parsePortMap(c.value);
        EXPECT_EQ(parsed.devices, c.devices) << c.value;
        ASSERT_EQ(parsed.problems.size(), c.problems.size()) << c.value;
        for (std::size_t i = 0; i < c.problems.size(); ++i) {
            EXPECT_NE(parsed.problems[i].find(c.problems[i]), std::string::npos) << parsed.problems[i];
            EXPECT_NE(parsed.problems[i].find("VELTRANE_PORTS"), std::string::npos) << parsed.problems[i];
        }
    }
}

TEST(PortMap, NaturalOrderCountsDigitsAsNumbers)
{
    const std::pair<const char*, const char*> ascending[] = {
        {"ttyS2", "ttyS10"}, {"ttyS9", "ttyUSB0"}, {"ttyACM0", "ttyS0"}, {"ttyUSB1", "ttyUSB2"},
        {"ttyS", "ttyS0"},   {"cu.usbserial-9", "cu.usbserial-10"},
    };
    for (const auto& [lower, higher] : ascending) {
        EXPECT_TRUE(naturalLess(lower, higher)) << lower << " < " << higher;
        EXPECT_FALSE(naturalLess(higher, lower)) << higher << " !< " << lower;
    }
    EXPECT_FALSE(naturalLess("ttyS3", "ttyS3"));
    // Equal as numbers yet different names: still a strict order, or sorting breaks.
    EXPECT_NE(naturalLess("ttyS1", "ttyS01"), naturalLess("ttyS01", "ttyS1"));
}

TEST(CommMap, WithTheVariableOnlyTheNumbersItNamesHaveADevice)
{
    const CommMap map(std::string("1=/dev/ttyUSB0,3=/dev/pts/4,99=/dev/x"));
    EXPECT_EQ(map.device(1), "/dev/ttyUSB0");
    EXPECT_EQ(map.device(3), "/dev/pts/4");
    for (const int unnamed : {0, 2, 15, 16, 99}) EXPECT_EQ(map.device(unnamed), "") << unnamed;
    const std::vector<std::pair<int, std::string>> expected = {{1, "/dev/ttyUSB0"}, {3, "/dev/pts/4"}};
    EXPECT_EQ(map.devices(), expected);
    ASSERT_EQ(map.problems().size(), 1u);
}

// Without the variable the system's listing decides, asked afresh each time,
// by the platform's rule: the N-th port by name, or COMN on Windows.
TEST(CommMap, WithoutTheVariableThePlatformsRuleNamesTheSystemsPorts)
{
    std::vector<SystemPort> listed = {
        {"ttyUSB0", "/dev/ttyUSB0"}, {"ttyS10", "/dev/ttyS10"}, {"ttyS2", "/dev/ttyS2"}, {"COM3", "COM3"},
        {"COM12", "COM12"},          {"COM16", "COM16"},        {"COMX", "COMX"},
    };
    const SystemPortLister lister = [&listed] { return listed; };

    const CommMap natural(std::nullopt, lister, PortNaming::NaturalOrder);
    const std::vector<std::pair<int, std::string>> inOrder = {
        {1, "COM3"}, {2, "COM12"}, {3, "COM16"}, {4, "COMX"}, {5, "/dev/ttyS2"}, {6, "/dev/ttyS10"}, {7, "/dev/ttyUSB0"}};
    EXPECT_EQ(natural.devices(), inOrder);
    for (const auto& [comm, device] : inOrder) EXPECT_EQ(natural.device(comm), device) << comm;
    EXPECT_EQ(natural.device(8), "");

    const CommMap windows(std::nullopt, lister, PortNaming::ComNumbers);
    const std::vector<std::pair<int, std::string>> comNumbers = {{3, "COM3"}, {12, "COM12"}};
    EXPECT_EQ(windows.devices(), comNumbers);
    EXPECT_EQ(windows.device(3), "COM3");
    EXPECT_EQ(windows.device(5), "COM5") << "a port plugged in later is opened by its name";
    EXPECT_EQ(windows.device(kLastComm + 1), "");

    listed.erase(listed.begin());  // the USB receiver unplugged
    EXPECT_EQ(natural.device(7), "");
    EXPECT_TRUE(natural.problems().empty());
#ifdef _WIN32
    EXPECT_EQ(platformPortNaming(), PortNaming::ComNumbers);
#else
    EXPECT_EQ(platformPortNaming(), PortNaming::NaturalOrder);
#endif
}

}  // namespace
}  // namespace veltrane
