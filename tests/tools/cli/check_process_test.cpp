// SPDX-License-Identifier: BSD-2-Clause
// The health check as a script runs it: a real veltrane-cli listening to the
// simulated receiver on a pseudo-terminal, found by number or by a search.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "child_process.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;

std::string everything(Child& child) { return child.read([](const std::string&) { return false; }, 0s); }

double figure(const std::string& json, const std::string& name)
{
    std::smatch found;
    const std::regex pattern("\"" + name + "\":([0-9.e+-]+)");
    return std::regex_search(json, found, pattern) ? std::stod(found[1]) : -1;
}

// The simulator sends a fix once a second from the moment a program opens its
// port: the check sees fixes, a time to the first fix within about a second,
// and a GGA every second. Played as a multi-GNSS receiver with UBX frames
// between its sentences, it is found by its speed although the readout knows
// none of its talkers, shows each system's satellites and their C/N0, and
// counts the frames instead of taking them for sentences.
TEST(CheckProcess, ALiveCheckOfAMultiGnssSimulatorPassesWithItsTimings)
{
    Child sim({VELTRANE_SIM, "--baud", "9600", "--talkers", "gn", "--ubx"});
    const std::string path = sim.firstLine();
    Child check({VELTRANE_CLI, "check", "--comm", "3", "--seconds", "5", "--json",
                 "--max-ttff", "3", "--min-satellites", "16", "--min-cn0", "35"},
                {"VELTRANE_PORTS=3=" + path});
    const int status = check.wait(20s);
    const std::string json = everything(check);
    // Like a receiver on a real line, the simulator loses what its reader is
    // too busy to take, so on a loaded machine a sentence may arrive cut or
    // fail its checksum; that, and only that, may fail this check.
    if (status == 1) {
        EXPECT_NE(json.find(R"( are damaged; at most 1 % may"])"), std::string::npos) << json;
    } else {
        EXPECT_EQ(status, 0) << json;
        EXPECT_NE(json.find(R"("verdict":"pass","reasons":[])"), std::string::npos) << json;
    }
    for (const char* signal : {R"("GA":{"7":{"in_view":{"min":4,"median":4,"max":4},"cn0":{"min":27,)",
                               R"("GL":{"1":{"in_view":{"min":4,"median":4,"max":4},"cn0":{"min":30,)",
                               R"("GP":{"1":{"in_view":{"min":8,"median":8,"max":8},"cn0":{"min":28,)"})
        EXPECT_NE(json.find(signal), std::string::npos) << signal << "\n" << json;
    EXPECT_NE(json.find(R"("window_recognises":false)"), std::string::npos) << "it sends no GP fix: " << json;
    EXPECT_GE(figure(json, "01-07"), 3) << json;
    EXPECT_GE(figure(json, "01-35"), 3) << json;
    EXPECT_GE(figure(json, "fixes"), 3) << json;
    EXPECT_GE(figure(json, "ttff_s"), 0) << json;
    EXPECT_LE(figure(json, "ttff_s"), 2.5) << json;
    EXPECT_NEAR(figure(json, "gga_interval_s"), 1.0, 0.25) << json;
}

// Without --comm the check first searches as detect does, telling its
// progress on standard error; a port that will not open, or no receiver at
// all, is exit status 3.
TEST(CheckProcess, SearchesFirstAndSaysWhenThereIsNoReceiver)
{
    Child sim({VELTRANE_SIM, "--baud", "9600"});
    const std::string path = sim.firstLine();
    Child found({VELTRANE_CLI, "check", "--seconds", "3"}, {"VELTRANE_PORTS=2=" + path});
    EXPECT_EQ(found.wait(30s), 0);
    const std::string report = everything(found);
    EXPECT_NE(report.find("trying Comm 2 at 9600\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Receiver health check of Comm 2 at 9600 baud for 3 s: PASS\n"), std::string::npos)
        << report;

    Child missing({VELTRANE_CLI, "check", "--comm", "4"}, {"VELTRANE_PORTS=4=/dev/no-such-receiver"});
    EXPECT_EQ(missing.wait(10s), 3);
    EXPECT_NE(everything(missing).find("Receiver health check of Comm 4: NO RECEIVER\n"
                                       "  - Comm 4 (/dev/no-such-receiver) does not exist"),
              std::string::npos);
}

}  // namespace
}  // namespace veltrane
