#include <gtest/gtest.h>

#include <string>

#include "child_process.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;

// The one real-time run of the search: a simulated receiver at 4800 baud on a
// pseudo-terminal mapped as Comm 3, nothing behind the other numbers.
TEST(DetectCommand, FindsTheSimulatedReceiverOnCommThreeAtItsFirstBaudRate)
{
    Child sim({VELTRANE_SIM, "--baud", "4800"});
    const std::string path = sim.firstLine();
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;

    Child detect({VELTRANE_CLI, "detect", "--json"}, {"VELTRANE_PORTS=3=" + path});
    ASSERT_EQ(detect.wait(30s), 0) << detect.read([](const std::string&) { return true; }, 0s);
    EXPECT_EQ(detect.read([](const std::string&) { return true; }, 0s),
              "{\"event\":\"trying\",\"comm\":1,\"baud\":\"4800\"}\n"
              "{\"event\":\"trying\",\"comm\":1,\"baud\":\"9600\"}\n"
              "{\"event\":\"trying\",\"comm\":2,\"baud\":\"4800\"}\n"
              "{\"event\":\"trying\",\"comm\":2,\"baud\":\"9600\"}\n"
              "{\"event\":\"trying\",\"comm\":3,\"baud\":\"4800\"}\n"
              "{\"event\":\"detected\",\"comm\":3,\"baud\":\"4800\"}\n");
}

}  // namespace
}  // namespace veltrane
