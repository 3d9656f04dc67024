// SPDX-License-Identifier: BSD-2-Clause
// What we hand to Prometheus and Grafana, judged by Prometheus's own tool:
// the exposition, the README's scrape configuration and alert rule, and the
// dashboard's queries.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include <unistd.h>

#include "captures.h"
#include "receiver_metrics.h"
#include "samples.h"

namespace veltrane::watch {
namespace {

namespace fs = std::filesystem;

struct Ran {
    int status;
    std::string output;
};

Ran run(const std::string& command)
{
    Ran result{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
    result.status = pclose(pipe);
    return result;
}

bool havePromtool() { return run("command -v promtool").status == 0; }

// A folder of this run's own, gone when the tests end.
const fs::path& scratch()
{
    static const struct Folder {
        Folder() : path(fs::temp_directory_path() / ("veltrane-watch-test-" + std::to_string(getpid()))) { fs::create_directories(path); }
        ~Folder() { fs::remove_all(path); }
        fs::path path;
    } folder;
    return folder.path;
}

fs::path written(const std::string& name, const std::string& text)
{
    const fs::path path = scratch() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string everyMetric()
{
    return exposition(metricFamilies({testing::liveSample("/dev/ttyUSB0"), testing::hostileSample()}));
}

std::set<std::string> namesIn(const std::string& text)
{
    std::set<std::string> names;
    const std::regex name(R"(veltrane_receiver_\w+)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), name); it != std::sregex_iterator(); ++it)
        names.insert(it->str());
    return names;
}

// The README's YAML blocks, each as it stands between its fences.
std::vector<std::string> readmeYaml()
{
    const std::string readme = veltrane::testing::contentsOf(fs::path(VELTRANE_SOURCE_DIR) / "README.md");
    std::vector<std::string> blocks;
    const std::regex block("```yaml\n([\\s\\S]*?)```");
    for (auto it = std::sregex_iterator(readme.begin(), readme.end(), block); it != std::sregex_iterator(); ++it)
        blocks.push_back(it->str(1));
    return blocks;
}

std::string readmeYamlWith(const std::string& key)
{
    for (const std::string& block : readmeYaml())
        if (block.find(key) != std::string::npos) return block;
    return {};
}

TEST(PrometheusFiles, PromtoolAcceptsTheExpositionWithEveryMetric)
{
    if (!havePromtool()) GTEST_SKIP() << "promtool is not installed (Debian package prometheus)";
    const std::string text = everyMetric();
    EXPECT_EQ(namesIn(text).size(), 16u);
    const Ran check = run("promtool check metrics < " + written("metrics.txt", text).string());
    EXPECT_EQ(check.status, 0) << check.output << text;
}

TEST(PrometheusFiles, TheReadmeScrapeConfigurationAndAlertRuleHold)
{
    if (!havePromtool()) GTEST_SKIP() << "promtool is not installed (Debian package prometheus)";
    const std::string config = readmeYamlWith("scrape_configs:");
    const std::string rules = readmeYamlWith("alert:");
    ASSERT_FALSE(config.empty()) << "README has no scrape configuration";
    ASSERT_FALSE(rules.empty()) << "README has no alert rule";
    const Ran configCheck = run("promtool check config " + written("prometheus.yml", config).string());
    EXPECT_EQ(configCheck.status, 0) << configCheck.output;
    const fs::path rulesFile = written("rules.yml", rules);
    const Ran rulesCheck = run("promtool check rules " + rulesFile.string());
    EXPECT_EQ(rulesCheck.status, 0) << rulesCheck.output;

    // Unhealthy from the first minute on: no alert at 5 minutes, one at 6,
    // and none for the healthy receiver beside it.
    const auto alertsAt = [&](const std::string& time, const std::string& expected) {
        return run("promtool test rules " + written("rules-test-" + time + ".yml",
            "rule_files: [" + rulesFile.string() + "]\n"
            "evaluation_interval: 1m\n"
            "tests:\n"
            "  - interval: 1m\n"
            "    input_series:\n"
            "      - {series: 'veltrane_receiver_healthy{port=\"/dev/ttyUSB0\"}', values: '1 0x10'}\n"
            "      - {series: 'veltrane_receiver_healthy{port=\"/dev/ttyUSB1\"}', values: '1x11'}\n"
            "    alert_rule_test:\n"
            "      - {eval_time: " + time + ", alertname: ReceiverUnhealthy, exp_alerts: " + expected + "}\n").string());
    };
    const Ran quiet = alertsAt("5m", "[]");
    EXPECT_EQ(quiet.status, 0) << quiet.output;
    const Ran firing = alertsAt("6m", "[{exp_labels: {port: /dev/ttyUSB0, severity: warning}, exp_annotations: "
                                      "{summary: 'receiver /dev/ttyUSB0 unhealthy for 5 minutes'}}]");
    EXPECT_EQ(firing.status, 0) << firing.output;
}

TEST(PrometheusFiles, TheDashboardQueriesTheMetricsThereAre)
{
    const fs::path folder = fs::path(VELTRANE_SOURCE_DIR) / "docs/grafana";
    const std::set<std::string> served = namesIn(everyMetric());
    int dashboards = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".json") continue;
        ++dashboards;
        SCOPED_TRACE(entry.path().filename().string());
        const nlohmann::json dashboard = nlohmann::json::parse(veltrane::testing::contentsOf(entry.path()));
        std::string queries;
        for (const auto& panel : dashboard.at("panels"))
            if (panel.contains("targets"))
                for (const auto& target : panel.at("targets")) queries += target.at("expr").get<std::string>() + "\n";
        const std::set<std::string> used = namesIn(queries);
        for (const std::string& name : used) EXPECT_TRUE(served.count(name)) << name;
        for (const char* shown : {"veltrane_receiver_up", "veltrane_receiver_healthy", "veltrane_receiver_satellites_used",
                                  "veltrane_receiver_cn0_dbhz"})
            EXPECT_TRUE(used.count(shown)) << shown;
    }
    EXPECT_GT(dashboards, 0);
}

}  // namespace
}  // namespace veltrane::watch
