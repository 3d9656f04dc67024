// SPDX-License-Identifier: BSD-2-Clause
// A bench of receivers checked at once, as a production line's script runs
// it: real simulators on pseudo-terminals, one unplugged along the way.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;

std::string everything(Child& child) { return child.read([](const std::string&) { return false; }, 0s); }

std::vector<std::string> jsonLines(const std::string& output)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < output.size();) {
        const std::size_t end = output.find('\n', at);
        const std::string line = output.substr(at, end - at);
        if (line.starts_with("{")) lines.push_back(line);
        at = end == std::string::npos ? output.size() : end + 1;
    }
    return lines;
}

// What a CI server would read of the JUnit file: Python's own XML parser
// counts the test cases, failures and skips, or fails on a malformed file.
std::string junitCounts(const std::filesystem::path& file)
{
    Child python({"/usr/bin/python3", "-c",
                  "import sys, xml.etree.ElementTree as x\n"
                  "s = x.parse(sys.argv[1]).getroot()\n"
                  "print(len(s.findall('testcase')), len(s.findall('testcase/failure')), "
                  "len(s.findall('testcase/skipped')), [c.get('name') for c in s.findall('testcase')])",
                  file.string()});
    EXPECT_EQ(python.wait(20s), 0);
    return everything(python);
}

std::filesystem::path junitFile(const std::string& name)
{
    return std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()) + ".xml");
}

// Three receivers on one event loop: one whose speed is searched, one at the
// speed given, one by its Comm number that is unplugged halfway. The lost one
// fails, the other two are judged as if alone, and the JUnit file says so.
TEST(BenchProcess, ThreeReceiversAtOnceOneUnplugged)
{
    Child searched({VELTRANE_SIM, "--baud", "9600"});
    Child given({VELTRANE_SIM, "--baud", "9600"});
    auto unplugged = std::make_unique<Child>(std::vector<std::string>{VELTRANE_SIM, "--baud", "4800"});
    const std::string a = searched.firstLine();
    const std::string b = given.firstLine();
    const std::string c = unplugged->firstLine();
    const std::filesystem::path junit = junitFile("bench");
    Child check({VELTRANE_CLI, "check", "--port", a, "--port", b + "@9600", "--comm", "3@4800", "--seconds", "8",
                 "--json", "--junit", junit.string()},
                {"VELTRANE_PORTS=3=" + c});
    check.read([](const std::string& s) { return s.find("Comm 3: listening") != std::string::npos; }, 10s);
    std::this_thread::sleep_for(1s);
    unplugged.reset();
    EXPECT_EQ(check.wait(30s), 1);
    const std::string output = everything(check);
    EXPECT_NE(output.find("2 passed, 1 failed, 0 without a receiver\n"), std::string::npos) << output;

    const std::vector<std::string> reports = jsonLines(output);
    ASSERT_EQ(reports.size(), 3u) << output;
    EXPECT_TRUE(reports[0].starts_with(R"({"port":")" + a + R"(","baud":9600,"listened_s":)")) << reports[0];
    EXPECT_TRUE(reports[1].starts_with(R"({"port":")" + b + R"(","baud":9600,"listened_s":)")) << reports[1];
    EXPECT_TRUE(reports[2].starts_with(R"({"port":"Comm 3","baud":4800,"listened_s":)")) << reports[2];
    for (const std::string& report : {reports[0], reports[1]}) {
        EXPECT_NE(report.find(R"("interrupted":false)"), std::string::npos) << report;
        EXPECT_NE(report.find(R"("verdict":"pass","reasons":[])"), std::string::npos) << report;
    }
    EXPECT_NE(reports[2].find(R"("verdict":"fail","reasons":["the receiver went away after )"), std::string::npos)
        << reports[2];
    EXPECT_EQ(junitCounts(junit), "3 1 0 ['" + a + "', '" + b + "', 'Comm 3']\n");
    std::filesystem::remove(junit);
}

// Today's receivers run far faster than the window's two speeds: a search
// over every speed finds one at 115200 baud, and the check then passes it.
TEST(BenchProcess, AReceiverAt115200IsFoundAmongEverySpeedAndPasses)
{
    Child sim({VELTRANE_SIM, "--baud", "115200"});
    const std::string path = sim.firstLine();
    Child detect({VELTRANE_CLI, "detect", "--port", path, "--bauds", "all"});
    EXPECT_EQ(detect.wait(40s), 0);
    EXPECT_NE(everything(detect).find("detected: " + path + " at 115200\n"), std::string::npos) << everything(detect);

    Child check({VELTRANE_CLI, "check", "--port", path, "--bauds", "all", "--seconds", "4", "--max-cep95", "5"});
    EXPECT_EQ(check.wait(40s), 0) << everything(check);
    EXPECT_NE(everything(check).find("Receiver health check of " + path + " at 115200 baud for 4 s: PASS\n"),
              std::string::npos)
        << everything(check);
}

// Ctrl+C ends the listening, yet every report so far and the JUnit file come
// out, marked interrupted, before the shell's status for SIGINT. Ports without
// a receiver, and a check that finds none at all, have their own status.
TEST(BenchProcess, InterruptedOrEmptyBenchesStillReport)
{
    Child sim({VELTRANE_SIM, "--baud", "4800"});
    const std::string path = sim.firstLine();
    const std::filesystem::path junit = junitFile("interrupted");
    Child check({VELTRANE_CLI, "check", "--port", path, "--port", "/dev/no-such-receiver", "--seconds", "60",
                 "--junit", junit.string()});
    check.read([](const std::string& s) { return s.find(": listening") != std::string::npos; }, 10s);
    std::this_thread::sleep_for(2s);
    check.signal(SIGINT);
    EXPECT_EQ(check.wait(10s), 130);
    const std::string output = everything(check);
    for (const std::string& part :
         {"Receiver health check of " + path + " at 4800 baud, interrupted after ",
          std::string("Receiver health check of /dev/no-such-receiver: NO RECEIVER\n"
                      "  - /dev/no-such-receiver does not exist: plug the receiver in, or name its device"),
          std::string("1 passed, 0 failed, 1 without a receiver\n")})
        EXPECT_NE(output.find(part), std::string::npos) << part << "\nin\n" << output;
    EXPECT_EQ(junitCounts(junit), "2 0 1 ['" + path + "', '/dev/no-such-receiver']\n");
    std::filesystem::remove(junit);

    Child none({VELTRANE_CLI, "check", "--port", "/dev/no-such-receiver", "--comm", "9"}, {"VELTRANE_PORTS="});
    EXPECT_EQ(none.wait(10s), 3) << everything(none);
}

}  // namespace
}  // namespace veltrane
