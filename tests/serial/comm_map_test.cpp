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

TEST(CommMap, WithoutTheVariableTheListingAndTheLookupAgree)
{
    const CommMap map(std::nullopt);
    EXPECT_TRUE(map.problems().empty());
    for (const auto& [comm, device] : map.devices()) EXPECT_EQ(map.device(comm), device) << comm;
    EXPECT_EQ(map.device(kLastComm + 1), "");
}

}  // namespace
}  // namespace veltrane
