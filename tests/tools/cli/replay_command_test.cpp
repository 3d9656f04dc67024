// SPDX-License-Identifier: BSD-2-Clause
// Replays small captures and compares the output line for line: in-process
// through the command library, and through the built veltrane-cli where only
// the process shows the behaviour (standard input, a full disk). The clock is
// the system's, so time stamps are checked for their form and then compared
// as "<now>".

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "captures.h"
#include "exit_status.h"
#include "run_command_line.h"
#include "times_marked.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;
using veltrane::testing::contentsOf;
using veltrane::testing::withTimesMarked;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

const std::string kOpening =
    R"({"event":"field","name":"utc_time","text":"Unknown"}
{"event":"field","name":"latitude","text":"Unknown"}
{"event":"field","name":"longitude","text":"Unknown"}
{"event":"field","name":"altitude","text":"Unknown"}
{"event":"field","name":"quality","text":"No GPS device detected"}
{"event":"field","name":"satellites","text":"0"}
{"event":"field","name":"in_view","text":"0"}
{"event":"field","name":"hdop","text":"Unknown"}
{"event":"field","name":"updated","text":"No data received"}
{"event":"field","name":"found","text":"No"}
{"event":"field","name":"is_gps","text":"No"}
{"event":"clear"}
{"event":"field","name":"comm_ok","text":"Yes"}
)";

class Replay : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "veltrane-replay-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }

    void TearDown() override { fs::remove_all(dir_); }

    fs::path capture(const std::string& name, const std::string& bytes)
    {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static Outcome replay(std::vector<std::string> args)
    {
        args.insert(args.begin(), "replay");
        veltrane::cli::StringOutput out;
        veltrane::cli::StringOutput err;
        Outcome result;
        result.status = veltrane::cli::runCommandLine(args, out, err);
        result.out = out.text();
        result.err = err.text();
        return result;
    }

    Outcome run(const std::vector<std::string>& args, const fs::path& input = "/dev/null",
            const fs::path& output = {})
    {
        const fs::path out = output.empty() ? dir_ / "stdout" : output;
        const fs::path err = dir_ / "stderr";
        std::vector<std::string> words = {VELTRANE_CLI};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        Outcome result;
        if (spawned != 0) return result;
        int status = 0;
        waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (output.empty()) result.out = contentsOf(out);
        result.err = contentsOf(err);
        return result;
    }

    fs::path dir_;
};

TEST_F(Replay, JsonFollowsTheMonitorEventForEvent)
{
    const fs::path file = capture("mixed.log",
        "$GPRMC,lost as the first sentence*00\r\n"
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
        "$GPGSV,2,1,08,01,40,083,46*75\r\n"
        "$GPGGA,092750.000,,,,,0,00,,,M,,M,,*71\r\n"
        "$gprmc,x\"\\\0\x7f\x85\xe9\xff*6A\r\n"
        "$GPRMC,still waiting for more*00\r\n"s);
    const Outcome result = replay({"--json", "--chunk-bytes", "4096", file.string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(withTimesMarked(result.out), kOpening + R"({"event":"field","name":"found","text":"Yes"}
{"event":"field","name":"utc_time","text":"12:35:19."}
{"event":"field","name":"latitude","text":"4807.0380 N"}
{"event":"field","name":"longitude","text":"1131.0000 E"}
{"event":"field","name":"quality","text":"Non-Differential Fix Acquired"}
{"event":"field","name":"satellites","text":"8 satellites"}
{"event":"field","name":"hdop","text":"0.9 m"}
{"event":"field","name":"altitude","text":"545.4 m"}
{"event":"field","name":"is_gps","text":"Yes"}
{"event":"row","time":"<now>","data":"GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47"}
{"event":"field","name":"updated","text":"<now>"}
{"event":"field","name":"in_view","text":"8 satellites"}
{"event":"field","name":"updated","text":"<now>"}
{"event":"field","name":"utc_time","text":"09:27:50.00"}
{"event":"field","name":"is_gps","text":"No"}
{"event":"field","name":"is_gps","text":"Yes"}
{"event":"row","time":"<now>","data":"gprmc,x\"\\\u0000\u007f\u0085)" "\xc3\xa9\xc3\xbf" R"(*6A"}
{"event":"field","name":"updated","text":"<now>"}
)");
}

TEST_F(Replay, EachChunkIsOneReceiveEventFollowedByOnePass)
{
    const fs::path file = capture("short.log", "x$GPVTG,1\r\n$GPVTG,2\r\n$"s);
    struct Case {
        const char* chunkBytes;
        const char* rows;
    };
    // Line ends are dropped only from chunks that hold a "$".
    const Case kCases[] = {
        {"1", R"({"event":"field","name":"is_gps","text":"Yes"}
{"event":"row","time":"<now>","data":"GPVTG,1\r\n"}
{"event":"field","name":"updated","text":"<now>"}
{"event":"field","name":"is_gps","text":"Yes"}
{"event":"row","time":"<now>","data":"GPVTG,2\r\n"}
{"event":"field","name":"updated","text":"<now>"}
)"},
        {"64", R"({"event":"field","name":"is_gps","text":"Yes"}
{"event":"row","time":"<now>","data":"GPVTG,1"}
{"event":"field","name":"updated","text":"<now>"}
{"event":"field","name":"is_gps","text":"Yes"}
{"event":"row","time":"<now>","data":"GPVTG,2"}
{"event":"field","name":"updated","text":"<now>"}
)"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.chunkBytes);
        const Outcome result = replay({"--chunk-bytes", c.chunkBytes, "--json", file.string()});
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(withTimesMarked(result.out),
                  kOpening + R"({"event":"field","name":"found","text":"Yes"})" "\n" + c.rows);
    }
}

TEST_F(Replay, StandardInputWhenTheFileIsDashOrAbsent)
{
    const fs::path file = veltrane::testing::projectCaptures() / "sim-receiver-4800.log";
    ASSERT_TRUE(fs::exists(file));
    const Outcome named = run({"replay", "--json", file.string()});
    const Outcome dash = run({"replay", "--json", "-"}, file);
    const Outcome absent = run({"replay", "--json"}, file);
    EXPECT_EQ(named.status, 0);
    EXPECT_EQ(dash.status, 0);
    EXPECT_EQ(absent.status, 0);
    EXPECT_GT(named.out.size(), 10000u);
    EXPECT_EQ(withTimesMarked(dash.out), withTimesMarked(named.out));
    EXPECT_EQ(withTimesMarked(absent.out), withTimesMarked(named.out));
}

TEST_F(Replay, PersonReadsTheReadoutWithDeviceTextMadeSafe)
{
    const fs::path file = capture("hostile.log",
        "x$GPGGA,123519,4807.038,\x1b[2J\x9b,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n$"s);
    const Outcome result = replay({"--chunk-bytes", "4096", file.string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(withTimesMarked(result.out),
              "Current UTC Time:           12:35:19.\n"
              "Latitude:                   4807.0380 \\x1b[2J\\x9b\n"
              "Longitude:                  1131.0000 E\n"
              "Altitude:                   545.4 m\n"
              "Signal Quality:             Non-Differential Fix Acquired\n"
              "Satellites in Use:          8 satellites\n"
              "Satellites in View:         0\n"
              "HDOP:                       0.9 m\n"
              "Date last updated:          <now>\n"
              "Found selected Comm Port:   Yes\n"
              "Found device on Comm Port:  Yes\n"
              "Device recognised as GPS:   Yes\n"
              "Rows in the log:            1\n");
}

TEST_F(Replay, UnreadableCapturesFailWithOneLineWhy)
{
    const std::string missing = (dir_ / "no such caf\xc3\xa9.log").string();
    struct Case {
        std::string file;
        std::string reason;
    };
    const Case kCases[] = {
        {missing, "cannot read '" + missing + "': no such file or directory"},
        {dir_.string(), "cannot read '" + dir_.string() + "': it is a directory"},
        {"/proc/self/mem", "cannot read '/proc/self/mem': input/output error"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.file);
        const Outcome result = replay({"--json", c.file});
        EXPECT_EQ(result.status, veltrane::cli::kExitFailure);
        EXPECT_EQ(result.err, "veltrane-cli replay: " + c.reason + "\n");
    }
}

TEST_F(Replay, OutputThatCannotBeWrittenIsAFailure)
{
    const fs::path file = capture("one.log", "x$GPVTG,1\r\n$"s);
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case kCases[] = {
        {{"replay", "--json", file.string()}, "veltrane-cli replay: cannot write the output: no space left on device\n"},
        {{"replay", file.string()}, "veltrane-cli replay: cannot write the output: no space left on device\n"},
        {{"--help"}, "veltrane-cli: cannot write the output: no space left on device\n"},
        {{"replay", "--help"}, "veltrane-cli: cannot write the output: no space left on device\n"},
        {{"--version"}, "veltrane-cli: cannot write the output: no space left on device\n"},
        {{"ports"}, "veltrane-cli ports: cannot write the output: no space left on device\n"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.args.back());
        const Outcome result = run(c.args, "/dev/null", "/dev/full");
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, c.err);
    }
}

}  // namespace
