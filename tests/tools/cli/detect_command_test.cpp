// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "pty_pair.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;
using testing::eventually;
using testing::PtyPair;

std::string everything(Child& child) { return child.read([](const std::string&) { return true; }, 0s); }

// The search in real time: a port another program holds as Comm 1, a folder
// as Comm 2, the simulated receiver at 4800 baud as Comm 3. The progress says
// why the first two would not open, and the search stops at the third.
TEST(DetectCommand, SaysWhyPortsWouldNotOpenAndFindsTheReceiverOnCommThree)
{
    PtyPair busy(PtyPair::Slave::released);
    Child holder({"/bin/sh", "-c", "exec cat " + busy.path() + " >/dev/null"});
    ASSERT_TRUE(eventually([&] { return busy.heldOpen(); }));
    Child sim({VELTRANE_SIM, "--baud", "4800"});
    const std::string path = sim.firstLine();
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;

    Child detect({VELTRANE_CLI, "detect", "--json"}, {"VELTRANE_PORTS=1=" + busy.path() + ",2=/tmp,3=" + path});
    ASSERT_EQ(detect.wait(30s), 0) << everything(detect);
    const std::string inUse = "Comm 1 (" + busy.path() + ") is in use by another program: cat (PID ";
    const std::string output = everything(detect);
    std::size_t at = 0;
    for (const std::string& line :
         {R"({"event":"trying","comm":1,"baud":"4800","error":")" + inUse,
          R"({"event":"trying","comm":1,"baud":"9600","error":")" + inUse,
          std::string(R"({"event":"trying","comm":2,"baud":"4800","error":"Comm 2 (/tmp) is not a serial port)"),
          std::string(R"({"event":"trying","comm":2,"baud":"9600","error":"Comm 2 (/tmp) is not a serial port)"),
          std::string("{\"event\":\"trying\",\"comm\":3,\"baud\":\"4800\"}\n"
                      "{\"event\":\"detected\",\"comm\":3,\"baud\":\"4800\"}\n")}) {
        at = output.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << "\nin\n" << output;
    }
}

// Nothing found: the closing message lists the ports that would not
// open, instead of only the generic advice.
TEST(DetectCommand, TheFinalMessageNamesThePortsThatWouldNotOpen)
{
    Child detect({VELTRANE_CLI, "detect"}, {"VELTRANE_PORTS=7=/tmp"});
    EXPECT_EQ(detect.wait(60s), 3);
    const std::string output = everything(detect);
    EXPECT_NE(output.find("Your GPS could not be detected.  Please check"), std::string::npos) << output;
    EXPECT_NE(output.find("These ports could not be opened:\n  Comm 7 (/tmp) is not a serial port"),
              std::string::npos)
        << output;
}

}  // namespace
}  // namespace veltrane
