// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include "child_process.h"

#include <chrono>
#include <csignal>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <thread>
#include <vector>

namespace {

using veltrane::testing::Child;

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The monitor's side of the line, opened as a serial port at a given speed.
class Line {
public:
    // Without a speed the port keeps the settings it was found with.
    Line(const std::string& path, std::optional<speed_t> speed)
        : fd_(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK))
    {
        if (fd_ < 0) throw std::runtime_error("cannot open " + path);
        if (!speed) return;
        termios settings{};
        ::tcgetattr(fd_, &settings);
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, *speed);
        ::cfsetospeed(&settings, *speed);
        ::tcsetattr(fd_, TCSANOW, &settings);
    }
    ~Line() { ::close(fd_); }

    std::string readFor(std::chrono::milliseconds duration)
    {
        std::string text;
        const Clock::time_point end = Clock::now() + duration;
        while (Clock::now() < end) {
            pollfd ready{fd_, POLLIN, 0};
            ::poll(&ready, 1, 20);
            char buffer[4096];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }

private:
    int fd_;
};

// Every process that has `path` open, found as a port-in-use check finds it.
std::vector<std::string> holdersOf(const std::string& path)
{
    namespace fs = std::filesystem;
    std::vector<std::string> holders;
    for (const fs::directory_entry& process : fs::directory_iterator("/proc")) {
        // Processes come and go while we look, so every step may fail.
        std::error_code gone;
        for (fs::directory_iterator fd(process.path() / "fd", gone); !gone && fd != fs::directory_iterator();
             fd.increment(gone))
            if (fs::read_symlink(fd->path(), gone) == path) holders.push_back(fd->path().string());
    }
    return holders;
}

TEST(Simulator, LeavesItsPortFreeForAMonitor)
{
    Child sim({VELTRANE_SIM});
    const std::string path = sim.firstLine();
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(holdersOf(path), std::vector<std::string>{}) << "a held port looks busy to every monitor";
}

TEST(Simulator, SendsSentencesAtItsSpeedAndNoDollarAtAnother)
{
    Child sim({VELTRANE_SIM});
    const std::string path = sim.firstLine();
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    {
        Line matching(path, B4800);
        const std::string text = matching.readFor(2500ms);
        EXPECT_NE(text.find("\r\n$GPGGA,"), std::string::npos) << text;
        EXPECT_NE(text.find("\r\n$GPRMC,"), std::string::npos) << text;
        // 480 bytes a second; a fast machine cannot make the line faster.
        EXPECT_LE(text.size(), 480u * 3) << "2.5 s at 4800 baud";
    }
    {
        Line mismatched(path, B9600);
        const std::string text = mismatched.readFor(1500ms);
        EXPECT_GT(text.size(), 100u) << "something arrives";
        EXPECT_EQ(text.find('$'), std::string::npos);
    }
    EXPECT_EQ(sim.stop(), 0) << "SIGTERM ends it cleanly";
}

// `nohup veltrane-sim &` outlives the terminal it was started from.
TEST(Simulator, AnIgnoredHangUpLeavesItRunning)
{
    Child sim({"/bin/sh", "-c", "trap '' HUP; exec \"$0\"", VELTRANE_SIM});
    ASSERT_EQ(sim.firstLine().rfind("/dev/pts/", 0), 0u);
    sim.signal(SIGHUP);
    EXPECT_EQ(sim.wait(500ms), -1) << "still running";
    EXPECT_EQ(sim.stop(), 0);
}

// A bench: receivers on lines of their own, each at its own pace and with
// its own time to the first fix.
TEST(Simulator, PlaysABenchOfReceiversFromOneProcess)
{
    Child sim({VELTRANE_SIM, "--count", "3", "--baud", "4800,115200,9600", "--ttff", "0,0,2"});
    const std::string out = sim.read([](const std::string& s) { return std::count(s.begin(), s.end(), '\n') == 3; }, 5s);
    std::vector<std::string> paths;
    for (std::size_t start = 0, end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
        paths.push_back(out.substr(start, end - start));
    ASSERT_EQ(paths.size(), 3u) << out;
    const struct {
        speed_t speed;
        std::size_t bytesPerSecond;
    } lines[] = {{B4800, 480}, {B115200, 11520}, {B9600, 960}};
    std::vector<std::unique_ptr<Line>> opened;
    for (std::size_t i = 0; i < paths.size(); ++i) opened.push_back(std::make_unique<Line>(paths[i], lines[i].speed));
    std::vector<std::string> heard(paths.size());
    for (const Clock::time_point end = Clock::now() + 4500ms; Clock::now() < end;)
        for (std::size_t i = 0; i < paths.size(); ++i) heard[i] += opened[i]->readFor(50ms);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        EXPECT_NE(heard[i].find("\r\n$GPGGA,"), std::string::npos) << heard[i];
        EXPECT_LE(heard[i].size(), lines[i].bytesPerSecond * 5);
    }
    const std::size_t first = heard[2].find("$GPGGA,");
    const std::size_t fixed = heard[2].find(",1,08,");
    EXPECT_NE(heard[2].substr(first, 40).find(",0,00,"), std::string::npos) << "no fix at first: " << heard[2];
    EXPECT_NE(fixed, std::string::npos) << "a fix after 2 s: " << heard[2];
    EXPECT_EQ(sim.stop(), 0);
}

// `veltrane-sim | true`: nobody is left to read the paths, so it ends quietly.
TEST(Simulator, EndsQuietlyWhenItsOutputsReaderIsGone)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{VELTRANE_SIM, "--count", "2"},
                                                 std::vector<std::string>{VELTRANE_SIM, "--help"}}) {
        Child sim(args, {}, Child::Output::readerGone);
        EXPECT_EQ(sim.wait(10s), 141) << args.back();
        EXPECT_EQ(sim.read([](const std::string&) { return false; }, 0ms), "") << "nothing on its error output";
    }
}

TEST(Simulator, PlaysACaptureOnceOrInALoop)
{
    const std::string capturePath = ::testing::TempDir() + "veltrane-sim-capture.log";
    const std::string capture = "$GPRMC,1*00\r\n$GPVTG,2*00\r\n";
    std::ofstream(capturePath, std::ios::binary) << capture;

    Child once({VELTRANE_SIM, "--baud", "9600", "--file", capturePath});
    const std::string oncePath = once.firstLine();
    std::this_thread::sleep_for(500ms);  // the capture waits for its first listener
    Line onceLine(oncePath, B9600);
    EXPECT_EQ(onceLine.readFor(800ms), capture);

    Child looped({VELTRANE_SIM, "--baud", "9600", "--file", capturePath, "--loop"});
    Line loopedLine(looped.firstLine(), B9600);
    const std::string text = loopedLine.readFor(800ms);
    ASSERT_GE(text.size(), 3 * capture.size());
    EXPECT_EQ(text.substr(0, 3 * capture.size()), capture + capture + capture);

    // Standard input can be read once only, yet every receiver plays it.
    Child fromInput({"/bin/sh", "-c", "exec \"$0\" --count 2 --baud 9600 --file - <\"$1\"", VELTRANE_SIM, capturePath});
    const std::string paths =
        fromInput.read([](const std::string& s) { return std::count(s.begin(), s.end(), '\n') == 2; }, 5s);
    ASSERT_EQ(std::count(paths.begin(), paths.end(), '\n'), 2) << paths;
    Line second(paths.substr(paths.find('\n') + 1, paths.size() - paths.find('\n') - 2), B9600);
    EXPECT_EQ(second.readFor(800ms), capture);
}

TEST(Simulator, EndsAtOnceWithItsStatusAndTheReason)
{
    const struct {
        std::vector<std::string> args;
        int status;
        std::string output;
    } cases[] = {
        {{"--version"}, 0, "veltrane-sim " VELTRANE_VERSION "\n"},
        {{"--file", "/nonexistent/capture.log"}, 1,
         "veltrane-sim: cannot read '/nonexistent/capture.log': no such file or directory\n"},
        {{"--count", "0"}, 2,
         "veltrane-sim: --count: must be a whole number from 1 to 64, not '0' (see 'veltrane-sim --help')\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), VELTRANE_SIM);
        Child sim(args);
        EXPECT_EQ(sim.wait(10s), c.status) << c.output;
        EXPECT_EQ(sim.read([](const std::string&) { return true; }, 0ms), c.output);
    }
}

// Standard output on a full disk: what could not be written is an error.
TEST(Simulator, OutputThatCannotBeWrittenIsAnError)
{
    const std::string errors = ::testing::TempDir() + "veltrane-sim-errors.txt";
    for (const std::string args : {"--help", "--version", ""}) {
        // A simulator that missed the failure would run on: timeout ends it.
        const int status = std::system(("timeout 20 " VELTRANE_SIM " " + args + " >/dev/full 2>" + errors).c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << args << ": " << status;
        std::ifstream in(errors);
        std::string message;
        std::getline(in, message);
        EXPECT_EQ(message.rfind("veltrane-sim: cannot write ", 0), 0u) << message;
        EXPECT_NE(message.find("to standard output: no space left on device"), std::string::npos) << message;
    }
}

TEST(Simulator, APortLetGoKeepsNothingForTheNextProgram)
{
    Child sim({VELTRANE_SIM});
    const std::string path = sim.firstLine();
    {
        Line leavesItUnread(path, B4800);
        std::this_thread::sleep_for(1500ms);
    }
    std::this_thread::sleep_for(100ms);
    Line setsNoSpeed(path, std::nullopt);
    const std::string text = setsNoSpeed.readFor(1500ms);
    EXPECT_GT(text.size(), 100u) << "something arrives";
    EXPECT_EQ(text.find('$'), std::string::npos) << "an unread sentence, or one at a speed that nobody set: " << text;
}

// What a program that opens the port later must get from a simulator left
// running: the line as it is now, never what was sent while nobody listened.
struct LateListener {
    Child sim;
    std::string path;
    std::time_t opened;

    LateListener(const char* baud, std::chrono::seconds unheard)
        : sim({VELTRANE_SIM, "--baud", baud}), path(sim.firstLine())
    {
        std::this_thread::sleep_for(unheard);
        opened = std::time(nullptr);
    }
    // veltrane-cli run with Comm 3 mapped to the simulator; its whole output.
    std::string run(std::vector<std::string> args)
    {
        args.insert(args.begin(), VELTRANE_CLI);
        Child cli(args, {"VELTRANE_PORTS=3=" + path});
        EXPECT_EQ(cli.wait(60s), 0);
        return cli.read([](const std::string&) { return true; }, 0ms);
    }
};

std::size_t count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
    return n;
}

TEST(Simulator, LeftRunningBeforeASearchIsDetectedAtItsOwnSpeed)
{
    LateListener late("9600", 3s);
    const std::string events = late.run({"detect", "--json"});
    EXPECT_EQ(count(events, R"({"event":"detected","comm":3,"baud":"9600"})"), 1u) << events;
}

TEST(Simulator, AMonitorAtTheWrongSpeedFindsTheDeviceButRecognisesNothing)
{
    LateListener late("4800", 2s);
    const std::string events = late.run({"monitor", "--comm", "3", "--baud", "9600", "--json", "--seconds", "3"});
    EXPECT_EQ(count(events, R"({"event":"field","name":"found","text":"Yes"})"), 1u) << events;
    EXPECT_EQ(count(events, R"({"event":"field","name":"is_gps","text":"Yes"})"), 0u) << events;
    EXPECT_EQ(count(events, R"({"event":"row")"), 0u) << events;
}

// Seconds from an NMEA time field "hhmmss" to `then` (a time_t), across midnight too.
int secondsBefore(std::time_t then, const std::string& field)
{
    const int fieldSecond =
        std::stoi(field.substr(0, 2)) * 3600 + std::stoi(field.substr(2, 2)) * 60 + std::stoi(field.substr(4, 2));
    int age = static_cast<int>(then % 86400) - fieldSecond;
    if (age > 43200) age -= 86400;
    if (age < -43200) age += 86400;
    return age;
}

TEST(Simulator, NothingSentBeforeThePortWasOpenedIsDelivered)
{
    LateListener late("4800", 6s);
    const std::string events = late.run({"monitor", "--comm", "3", "--baud", "4800", "--json", "--seconds", "3"});
    std::size_t timed = 0;
    for (const char* kind : {R"("data":"GPGGA,)", R"("data":"GPRMC,)"}) {
        for (std::size_t at = 0; (at = events.find(kind, at)) != std::string::npos; ++at) {
            const std::string time = events.substr(at + std::string(kind).size(), 6);
            // The burst of the second in which the port opened may still be on
            // its way, and a loaded machine may hold the simulator back a second.
            const int age = secondsBefore(late.opened, time);
            EXPECT_LE(age, 2) << "sent " << age << " s before the port was opened: " << time;
            ++timed;
        }
    }
    EXPECT_GE(timed, 2u) << events;
}

// The whole road with no hardware: the simulator on a pseudo-terminal, a Comm
// number mapped to it, and the headless monitor printing what the window shows.
TEST(Simulator, TheMonitorShowsTheSimulatedReceiver)
{
    Child sim({VELTRANE_SIM, "--baud", "9600"});
    const std::string path = sim.firstLine();
    Child monitor({VELTRANE_CLI, "monitor", "--comm", "3", "--baud", "9600", "--json", "--seconds", "3"},
                  {"VELTRANE_PORTS=3=" + path});
    const std::string events = monitor.read([](const std::string&) { return false; }, 10s);
    EXPECT_NE(events.find(R"({"event":"field","name":"comm_ok","text":"Yes"})"), std::string::npos) << events;
    EXPECT_NE(events.find(R"({"event":"field","name":"is_gps","text":"Yes"})"), std::string::npos) << events;
    EXPECT_NE(events.find(R"({"event":"field","name":"latitude","text":"5205.)"), std::string::npos) << events;
    EXPECT_NE(events.find(R"(","data":"GPGGA,)"), std::string::npos) << events;

    // Ending the simulator is an unplug: reported once, and the monitor ends with its own status.
    Child watching({VELTRANE_CLI, "monitor", "--comm", "3", "--baud", "9600", "--json", "--seconds", "5"},
                   {"VELTRANE_PORTS=3=" + path});
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(watching.wait(10s), 4);
    const std::string afterUnplug = watching.read([](const std::string&) { return false; }, 0s);
    std::size_t reports = 0;
    for (std::size_t at = 0; (at = afterUnplug.find("Device disconnected", at)) != std::string::npos; ++at) ++reports;
    EXPECT_EQ(reports, 1u) << afterUnplug;
}

}  // namespace
