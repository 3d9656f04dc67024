// SPDX-License-Identifier: BSD-2-Clause
// The monitor and the search as a script runs them: a real veltrane-cli
// watching the simulator on a pseudo-terminal, ended by a reader going away
// or by a signal.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include "captures.h"
#include "child_process.h"
#include "pty_pair.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;
using testing::contentsOf;
using testing::eventually;
using testing::PtyPair;

// Every byte value, sentences among them, so the recording is checked byte for byte.
std::string receiverBytes()
{
    std::string bytes = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
    for (int i = 0; i < 4; ++i)
        for (int byte = 0; byte < 256; ++byte) bytes.push_back(static_cast<char>(byte));
    return bytes + "$GPRMC,123519,A*07\r\n";
}

std::size_t lines(const std::string& text)
{
    std::size_t count = 0;
    for (const char c : text) count += c == '\n' ? 1 : 0;
    return count;
}

// `monitor | head -1`: without a terminal one line goes out per event as it
// happens, and a reader that has gone away ends the monitor quietly.
TEST(MonitorProcess, PrintsEachEventAsItHappensAndEndsWhenTheReaderGoes)
{
    Child sim({VELTRANE_SIM, "--baud", "4800"});
    const std::string path = sim.firstLine();
    Child monitor({VELTRANE_CLI, "monitor", "--baud", "4800"}, {"VELTRANE_PORTS=1=" + path});
    EXPECT_EQ(monitor.firstLine(), "Current UTC Time:           Unknown");
    monitor.closeOutput();
    EXPECT_EQ(monitor.wait(10s), 141) << "ends at its next write, without waiting for a signal";
}

// SIGHUP (a closed terminal) ends the monitor and the search as cleanly as
// SIGTERM and SIGINT: every line whole, the exit status the shell's 128 + N.
TEST(MonitorProcess, SignalsEndTheToolsCleanlyWithTheShellsStatus)
{
    Child sim({VELTRANE_SIM, "--baud", "4800"});
    const std::string path = sim.firstLine();
    for (const int signal : {SIGHUP, SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        Child monitor({VELTRANE_CLI, "monitor", "--json"}, {"VELTRANE_PORTS=1=" + path});
        const std::string rows = monitor.read([](const std::string& s) { return s.find("\"row\"") != s.npos; }, 10s);
        ASSERT_NE(rows.find("\"row\""), std::string::npos) << rows;
        EXPECT_EQ(monitor.stop(signal), 128 + signal);
        const std::string all = monitor.read([](const std::string&) { return false; }, 1s);
        EXPECT_EQ(all.back(), '\n') << "the last line is whole";
        EXPECT_GT(lines(all), 13u);

        Child detect({VELTRANE_CLI, "detect"}, {"VELTRANE_PORTS=5=" + path});
        EXPECT_EQ(detect.firstLine(), "trying Comm 1 at 4800");
        EXPECT_EQ(detect.stop(signal), 128 + signal);
    }
}

// `nohup veltrane-cli monitor &`: a hang-up the caller chose to ignore stays
// ignored, and the other signals still end the monitor as before.
TEST(MonitorProcess, AnIgnoredHangUpLeavesTheMonitorRunning)
{
    Child sim({VELTRANE_SIM, "--baud", "4800"});
    const std::string path = sim.firstLine();
    Child monitor({"/bin/sh", "-c", "trap '' HUP; exec \"$0\" \"$@\"", VELTRANE_CLI, "monitor", "--json"},
                  {"VELTRANE_PORTS=1=" + path});
    const std::string rows = monitor.read([](const std::string& s) { return s.find("\"row\"") != s.npos; }, 10s);
    ASSERT_NE(rows.find("\"row\""), std::string::npos) << rows;
    monitor.signal(SIGHUP);
    EXPECT_EQ(monitor.wait(500ms), -1) << "still running";
    EXPECT_EQ(monitor.stop(SIGTERM), 128 + SIGTERM);
}

// A port that cannot be opened, and a receiver that goes away, end the
// monitor at once with their own codes and the whole reason.
TEST(MonitorProcess, APortThatWillNotOpenAndADisconnectEndTheMonitorWithTheirCodes)
{
    Child missing({VELTRANE_CLI, "monitor", "--comm", "2"}, {"VELTRANE_PORTS=2=/dev/no-such-receiver"});
    EXPECT_EQ(missing.wait(10s), 3);
    EXPECT_NE(missing.read([](const std::string&) { return false; }, 0s).find(
                  "veltrane-cli monitor: Comm 2 (/dev/no-such-receiver) does not exist"),
              std::string::npos);

    PtyPair receiver(PtyPair::Slave::released);
    Child holder({"/bin/sh", "-c", "exec cat " + receiver.path() + " >/dev/null"});
    ASSERT_TRUE(eventually([&] { return receiver.heldOpen(); }));
    Child busy({VELTRANE_CLI, "monitor"}, {"VELTRANE_PORTS=1=" + receiver.path()});
    EXPECT_EQ(busy.wait(10s), 3);
    EXPECT_NE(busy.read([](const std::string&) { return false; }, 0s).find("Port in use by another program"),
              std::string::npos);
    holder.stop();

    Child unplugged({VELTRANE_CLI, "monitor", "--json"}, {"VELTRANE_PORTS=1=" + receiver.path()});
    ASSERT_TRUE(eventually([&] { return receiver.heldOpen(); }));
    receiver.unplug();
    EXPECT_EQ(unplugged.wait(10s), 4);
    const std::string output = unplugged.read([](const std::string&) { return false; }, 0s);
    EXPECT_NE(output.find(R"({"event":"field","name":"quality","text":"Device disconnected"})"), std::string::npos)
        << output;
    EXPECT_NE(output.find("veltrane-cli monitor: Comm 1 (" + receiver.path() + "): device disconnected"),
              std::string::npos)
        << output;
}

// What the receiver sends reaches the recording whole and in order, however
// the monitor ends: Ctrl+C, or the receiver going away.
TEST(MonitorProcess, TheRecordingHoldsEveryByteReadAcrossCtrlCAndAnUnplug)
{
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "veltrane-monitor-record.log";
    const std::string sent = receiverBytes();
    for (const bool unplug : {false, true}) {
        SCOPED_TRACE(unplug ? "unplugged" : "Ctrl+C");
        std::ofstream(file) << "an older recording that must not survive";
        PtyPair receiver(PtyPair::Slave::released);
        Child monitor({VELTRANE_CLI, "monitor", "--json", "--record", file.string()},
                      {"VELTRANE_PORTS=1=" + receiver.path()});
        ASSERT_TRUE(eventually([&] { return receiver.heldOpen(); }));
        receiver.send(sent);
        ASSERT_TRUE(eventually([&] { return std::filesystem::file_size(file) == sent.size(); }))
            << std::filesystem::file_size(file) << " of " << sent.size() << " bytes recorded";
        if (unplug) {
            receiver.unplug();
            EXPECT_EQ(monitor.wait(10s), 4);
        } else {
            EXPECT_EQ(monitor.stop(SIGINT), 130);
        }
        EXPECT_EQ(contentsOf(file), sent);
    }
    std::filesystem::remove(file);

    // A full disk under a name that needs escaping: the name is escaped once.
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    const std::filesystem::path full = temp / "veltrane-caf\xc3\xa9\\full.log";
    std::filesystem::remove(full);
    std::filesystem::create_symlink("/dev/full", full);
    const std::string fullShown = (temp / "veltrane-caf\xc3\xa9\\\\full.log").string();
    struct Case {
        std::string file;
        bool opens;
        std::string message;
    };
    const Case kUnwritable[] = {
        {"/no-such-folder/x.log", false,
         "veltrane-cli monitor: cannot record to '/no-such-folder/x.log': no such file or directory\n"},
        {"/dev/full", true, "veltrane-cli monitor: cannot record to '/dev/full': no space left on device\n"},
        {full.string(), true,
         "veltrane-cli monitor: cannot record to '" + fullShown + "': no space left on device\n"},
    };
    for (const Case& c : kUnwritable) {
        SCOPED_TRACE(c.file);
        PtyPair receiver(PtyPair::Slave::released);
        Child monitor({VELTRANE_CLI, "monitor", "--record", c.file}, {"VELTRANE_PORTS=1=" + receiver.path()});
        if (c.opens) {
            ASSERT_TRUE(eventually([&] { return receiver.heldOpen(); }));
            receiver.send(sent);
        }
        EXPECT_EQ(monitor.wait(10s), 1);
        const std::string output = monitor.read([](const std::string&) { return false; }, 0s);
        EXPECT_EQ(output.substr(output.find("veltrane-cli monitor:")), c.message) << output;
    }
    std::filesystem::remove(full);
}

}  // namespace
}  // namespace veltrane
