// SPDX-License-Identifier: BSD-2-Clause
// Pseudo-terminal pairs that another program made, as people test serial
// software without hardware: the maker is the line's far end, never a reason
// to refuse the port, while any other reader of it still is.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "device_holders.h"
#include "event_loop_waits.h"
#include "fixed_clock.h"
#include "live_monitor.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;
using testing::eventually;
using testing::runUntil;

const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

// The port the monitor opens, the program that made it, and where the test
// writes what a receiver would send (nowhere when the maker sends it itself).
struct FarEnd {
    std::unique_ptr<Child> maker;
    std::string makerName;
    std::string port;
    int input = -1;
    std::filesystem::path folder;  // of the links, if any

    ~FarEnd()
    {
        if (input >= 0) ::close(input);
        maker.reset();
        if (!folder.empty()) std::filesystem::remove_all(folder);
    }
    void sendSentences() const
    {
        const std::string burst = kGga + kGga + kGga;
        if (input < 0) return;
        ASSERT_EQ(::write(input, burst.data(), burst.size()), static_cast<ssize_t>(burst.size()));
    }
};

// `socat pty,link=... pty,link=...`: socat holds both masters and both slaves.
std::unique_ptr<FarEnd> socatPair()
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("veltrane-socat-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string port = (folder / "gps").string();
    const std::string other = (folder / "receiver").string();
    auto end = std::make_unique<FarEnd>();
    end->folder = folder;
    if (!std::filesystem::exists("/usr/bin/socat")) throw std::runtime_error("socat is missing: run scripts/install-deps.sh");
    end->maker = std::make_unique<Child>(std::vector<std::string>{
        "/usr/bin/socat", "pty,raw,echo=0,link=" + port, "pty,raw,echo=0,link=" + other});
    if (!eventually([&] { return std::filesystem::exists(port) && std::filesystem::exists(other); }))
        throw std::runtime_error("socat made no pair");
    end->makerName = "socat";
    end->port = port;
    end->input = ::open(other.c_str(), O_WRONLY | O_NOCTTY);
    return end;
}

// A tool of its own that keeps both ends of an openpty() pair and sends by itself.
std::unique_ptr<FarEnd> openptyPair()
{
    auto end = std::make_unique<FarEnd>();
    end->maker = std::make_unique<Child>(std::vector<std::string>{PTY_MAKER, kGga});
    end->makerName = "pty_maker";
    end->port = end->maker->firstLine();
    return end;
}

struct Maker {
    const char* name;
    std::unique_ptr<FarEnd> (*make)();
};

void PrintTo(const Maker& maker, std::ostream* out) { *out << maker.name; }

class MadePair : public ::testing::TestWithParam<Maker> {};

TEST_P(MadePair, IsMonitoredLikeAReceiverWhileASecondReaderIsStillRefusedByName)
{
    const std::unique_ptr<FarEnd> far = GetParam().make();
    testing::FixedClock clock;
    {
        LiveMonitor monitor(clock, CommMap("1=" + far->port));
        monitor.selectFirstEntries();
        ASSERT_EQ(monitor.fields().read(Field::CommOk), kYes);
        ASSERT_TRUE(monitor.port().isOpen()) << monitor.fields().read(Field::Quality);
        far->sendSentences();
        EXPECT_TRUE(runUntil([&] { return monitor.log().size() >= 1; }, 10s));
        EXPECT_EQ(monitor.fields().read(Field::IsGps), kYes);
        monitor.close();
    }

    // Opening the port sets the line to answer a read at once, which cat takes
    // for the end of its input: the shell keeps reading, and holding the port.
    Child reader({"/bin/sh", "-c", "exec <\"$0\" && stty raw -echo && while :; do cat >/dev/null; sleep 0.1; done",
                  far->port});
    ASSERT_TRUE(eventually([&] { return !otherProgramsHolding(far->port).empty(); }));
    LiveMonitor second(clock, CommMap("1=" + far->port));
    std::vector<Failure> failures;
    second.onPortFailure = [&](const Failure& failure) { failures.push_back(failure); };
    second.selectFirstEntries();
    EXPECT_FALSE(second.port().isOpen());
    ASSERT_FALSE(failures.empty());
    EXPECT_EQ(failures.back().number(), kPortInUse);
    const std::string shell = "is in use by another program: sh (PID " + std::to_string(reader.pid()) + ")";
    EXPECT_NE(failures.back().detail().find(shell), std::string::npos) << failures.back().detail();
    EXPECT_EQ(failures.back().detail().find(far->makerName + " (PID"), std::string::npos) << failures.back().detail();
}

INSTANTIATE_TEST_SUITE_P(By, MadePair, ::testing::Values(Maker{"socat", socatPair}, Maker{"openpty", openptyPair}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltrane
