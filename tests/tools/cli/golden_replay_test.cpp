// SPDX-License-Identifier: BSD-2-Clause
// Each of the project's captures through `replay --json`, the event stream
// compared whole with the one kept for it in tests/golden/, time stamps
// marked: any change in what the monitor makes of a real stream shows as a
// diff. A mismatch names the first differing line and leaves the whole
// stream in build/golden-actual/. After a deliberate change, rerun with
// VELTRANE_UPDATE_GOLDEN=1 to rewrite the kept streams, and review them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "captures.h"
#include "output.h"
#include "run_command_line.h"
#include "times_marked.h"

namespace veltrane {
namespace {

namespace fs = std::filesystem;
using testing::contentsOf;

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

// The first line that differs, with its number; empty when the texts are equal.
std::string firstDifference(const std::string& expected, const std::string& actual)
{
    if (expected == actual) return {};
    const std::vector<std::string> want = lines(expected);
    const std::vector<std::string> got = lines(actual);
    std::size_t i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
    const auto shown = [i](const std::vector<std::string>& text) { return i < text.size() ? text[i] : "(end of stream)"; };
    return "line " + std::to_string(i + 1) + "\n  kept:   " + shown(want) + "\n  actual: " + shown(got);
}

void write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

bool updating()
{
    const char* update = std::getenv("VELTRANE_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

std::vector<std::string> captureNames()
{
    std::vector<std::string> names;
    for (const fs::path& path : testing::capturesUnder(testing::projectCaptures()))
        names.push_back(path.stem().string());
    return names;
}

class GoldenReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenReplay, TheEventStreamIsTheOneKept)
{
    const std::string& name = GetParam();
    const fs::path capture = testing::projectCaptures() / (name + ".log");
    const fs::path kept = fs::path(VELTRANE_GOLDEN_DIR) / (name + ".jsonl");
    const fs::path actualCopy = fs::path(VELTRANE_GOLDEN_ACTUAL_DIR) / (name + ".jsonl");

    cli::StringOutput out;
    cli::StringOutput err;
    ASSERT_EQ(cli::runCommandLine({"replay", "--json", capture.string()}, out, err), 0) << err.text();
    ASSERT_EQ(err.text(), "");
    const std::string actual = testing::withTimesMarked(out.text());

    if (updating()) {
        write(kept, actual);
        GTEST_SKIP() << "rewrote " << kept << ": review it with git diff before committing";
    }
    ASSERT_TRUE(fs::exists(kept)) << "nothing kept for this capture yet: run with VELTRANE_UPDATE_GOLDEN=1 to write "
                                  << kept;
    const std::string difference = firstDifference(contentsOf(kept), actual);
    if (difference.empty()) {
        fs::remove(actualCopy);
        return;
    }
    write(actualCopy, actual);
    ADD_FAILURE() << "the event stream differs from the kept one at " << difference << "\nthe whole of it: diff "
                  << kept << " " << actualCopy << "\nif the change is meant, rerun with VELTRANE_UPDATE_GOLDEN=1";
}

// A kept stream whose capture is gone would never be checked again.
TEST(GoldenReplayFiles, EveryKeptStreamHasItsCapture)
{
    const std::vector<std::string> names = captureNames();
    ASSERT_GE(names.size(), 12u) << "the project's captures are missing from " << testing::projectCaptures();
    for (const auto& entry : fs::directory_iterator(VELTRANE_GOLDEN_DIR)) {
        if (entry.path().extension() != ".jsonl") continue;
        EXPECT_NE(std::find(names.begin(), names.end(), entry.path().stem().string()), names.end())
            << entry.path() << " belongs to no capture";
    }
}

INSTANTIATE_TEST_SUITE_P(ProjectCaptures, GoldenReplay, ::testing::ValuesIn(captureNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace veltrane
