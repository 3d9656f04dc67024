// SPDX-License-Identifier: BSD-2-Clause
// `watch` as an operator runs it: real simulators on pseudo-terminals, a real
// Prometheus scraping it, a receiver unplugged and plugged in again.

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "child_process.h"
#include "http_client.h"
#include "prometheus_server.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::Child;
using testing::eventually;
using testing::HttpClient;
using testing::PrometheusServer;
using Values = std::map<std::string, double>;

// All it printed, once it has ended.
std::string everything(Child& child) { return child.read([](const std::string&) { return false; }, 5s); }

// Whether the watch printed `text`, waiting for it to.
bool shows(Child& watch, const std::string& text)
{
    return watch.read([&](const std::string& s) { return s.find(text) != std::string::npos; }, 20s).find(text) !=
           std::string::npos;
}

// "127.0.0.1:PORT", from the line the watch starts with.
std::string servedAt(Child& watch)
{
    std::smatch match;
    shows(watch, "/metrics\n");
    const std::string output = watch.read([](const std::string&) { return true; }, 0s);
    return std::regex_search(output, match, std::regex("serving the metrics at http://([0-9.:]+)/metrics\n"))
               ? match[1].str()
               : "";
}

// One series' value in an exposition, or -1.
double seriesValue(const std::string& body, const std::string& series)
{
    const std::size_t at = body.find("\n" + series + " ");
    return at == std::string::npos ? -1 : std::stod(body.substr(at + series.size() + 2));
}

// What a scrape shows that a request could change: every counter of the
// receivers, and how many scrapes the server served.
std::string counters(const std::string& body)
{
    std::string lines;
    for (std::size_t at = body.find('\n'); at != std::string::npos; at = body.find('\n', at + 1)) {
        const std::string line = body.substr(at + 1, body.find('\n', at + 1) - at - 1);
        if (line.starts_with("veltrane_receiver_") && line.find("_total{") != std::string::npos) lines += line + "\n";
    }
    return lines;
}

TEST(WatchProcess, PrometheusSeesBothReceiversUpThenTheStoppedOneDown)
{
    if (const std::optional<std::string> missing = PrometheusServer::missing()) GTEST_SKIP() << *missing;
    auto stopped = std::make_unique<Child>(std::vector<std::string>{VELTRANE_SIM, "--baud", "9600"});
    Child running({VELTRANE_SIM, "--baud", "115200"});
    const std::string a = stopped->firstLine();
    const std::string b = running.firstLine();
    Child watch({VELTRANE_CLI, "watch", "--port", a, "--port", b + "@115200", "--listen", "127.0.0.1:0"});
    const std::string target = servedAt(watch);
    ASSERT_FALSE(target.empty()) << everything(watch);
    PrometheusServer prometheus({target});
    ASSERT_TRUE(prometheus.ready());

    EXPECT_TRUE(eventually([&] { return prometheus.query("veltrane_receiver_up") == Values{{a, 1}, {b, 1}}; }))
        << everything(watch);
    stopped.reset();
    EXPECT_TRUE(eventually([&] { return prometheus.query("veltrane_receiver_up") == Values{{a, 0}, {b, 1}}; }))
        << everything(watch);
    EXPECT_EQ(watch.stop(SIGTERM), 0);
    const std::string output = everything(watch);
    for (const std::string& line : {a + ": found at 9600 baud\n", b + ": found at 115200 baud\n", b + ": fix: quality 1, GNSS\n",
                                    a + ": lost; reopening when it comes back\n"})
        EXPECT_NE(output.find(line), std::string::npos) << line << "in\n" << output;
}

// Unplugged and plugged in again under the same name, as a USB receiver's
// /dev/serial/by-id link is: socat makes the pair, the simulator writes to
// its other end. The watch starts before the device exists at all.
TEST(WatchProcess, AReceiverPluggedInAgainIsBackWithItsReopeningCounted)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("veltrane-watch-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string gps = (folder / "gps").string();
    const std::string receiver = (folder / "receiver").string();
    std::unique_ptr<Child> pair;
    std::unique_ptr<Child> sim;
    const auto plugIn = [&] {
        pair = std::make_unique<Child>(std::vector<std::string>{"/usr/bin/socat", "pty,raw,echo=0,link=" + receiver,
                                                                "pty,raw,echo=0,link=" + gps});
        ASSERT_TRUE(eventually([&] { return fs::exists(receiver) && fs::exists(gps); }));
        sim = std::make_unique<Child>(std::vector<std::string>{VELTRANE_SIM, "--baud", "9600", "--device", receiver});
    };

    Child watch({VELTRANE_CLI, "watch", "--port", gps + "@9600", "--listen", "127.0.0.1:0"});
    const std::string url = "http://" + servedAt(watch) + "/metrics";
    EXPECT_TRUE(shows(watch, gps + ": no receiver: " + gps + " does not exist"));
    plugIn();
    EXPECT_TRUE(shows(watch, gps + ": found at 9600 baud\n"));
    sim.reset();
    pair.reset();
    EXPECT_TRUE(shows(watch, gps + ": lost; reopening when it comes back\n"));

    // Nothing arrives while it is away: a request that is no scrape shows as
    // a change of no count, and is not served as a scrape.
    HttpClient client;
    const std::string before = client.get(url).body;
    const struct {
        const char* method;
        const char* path;
        long status;
    } kOthers[] = {{"POST", "/metrics", 405}, {"DELETE", "/metrics", 405}, {"GET", "/", 404}, {"GET", "/metrics/x", 404}};
    for (const auto& other : kOthers)
        EXPECT_EQ(client.request(other.method, url.substr(0, url.rfind('/')) + other.path).status, other.status)
            << other.method << " " << other.path;
    const std::string after = client.get(url).body;
    EXPECT_EQ(counters(after), counters(before));
    EXPECT_EQ(seriesValue(after, "exposer_scrapes_total"), seriesValue(before, "exposer_scrapes_total") + 1);
    EXPECT_EQ(seriesValue(after, "veltrane_receiver_reopenings_total{port=\"" + gps + "\"}"), 0);

    plugIn();
    EXPECT_TRUE(shows(watch, gps + ": back at 9600 baud after "));
    const std::string bytes = "veltrane_receiver_bytes_total{port=\"" + gps + "\"}";
    EXPECT_TRUE(eventually([&] {
        const std::string back = client.get(url).body;
        return seriesValue(back, "veltrane_receiver_reopenings_total{port=\"" + gps + "\"}") == 1 &&
               seriesValue(back, bytes) > seriesValue(after, bytes);
    })) << client.get(url).body;
    EXPECT_EQ(watch.stop(SIGINT), 0);
    sim.reset();
    pair.reset();
    fs::remove_all(folder);
}

}  // namespace
}  // namespace veltrane
