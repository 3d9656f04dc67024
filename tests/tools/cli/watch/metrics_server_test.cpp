// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <set>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>

#include "http_client.h"
#include "metrics_board.h"
#include "metrics_server.h"
#include "samples.h"

namespace veltrane::watch {
namespace {

using veltrane::testing::HttpClient;

std::string urlOf(const MetricsServer& server, const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(server.port()) + path;
}

std::string scrapes(const std::string& body)
{
    std::smatch match;
    return std::regex_search(body, match, std::regex("\nexposer_scrapes_total ([0-9]+)")) ? match[1].str() : "none";
}

TEST(MetricsServer, AnswersAGetOfMetricsAndNothingElse)
{
    auto board = std::make_shared<MetricsBoard>();
    board->publish(testing::liveSample("/dev/ttyUSB0"));
    const MetricsServer server("127.0.0.1:0", board);
    HttpClient client;

    const auto first = client.get(urlOf(server, "/metrics"));
    ASSERT_EQ(first.status, 200);
    EXPECT_NE(first.body.find("veltrane_receiver_up{port=\"/dev/ttyUSB0\"} 1\n"), std::string::npos);
    struct Case {
        const char* method;
        const char* path;
        long status;
    };
    const Case kCases[] = {
        {"POST", "/metrics", 405},   {"PUT", "/metrics", 405},  {"DELETE", "/metrics", 405},
        {"HEAD", "/metrics", 405},   {"OPTIONS", "/metrics", 405}, {"GET", "/metricsx", 404},
        {"GET", "/metrics/x", 404},  {"GET", "/", 404},         {"POST", "/", 404},
        {"HEAD", "/", 404},
    };
    for (const Case& c : kCases) {
        const auto reply = client.request(c.method, urlOf(server, c.path));
        EXPECT_EQ(reply.status, c.status) << c.method << " " << c.path;
        if (c.status == 405) {
            EXPECT_EQ(reply.allow, "GET") << c.method;
        }
    }
    const auto second = client.get(urlOf(server, "/metrics?x=1"));
    ASSERT_EQ(second.status, 200);
    EXPECT_EQ(scrapes(second.body), "1") << "only the first GET was served as a scrape";
    const auto withoutServerLines = [](std::string body) { return body.substr(body.find("# HELP veltrane_")); };
    EXPECT_EQ(withoutServerLines(second.body), withoutServerLines(first.body));
}

// Every figure of a published sample is the same number; a scrape that showed
// half of one update would show two numbers for one port.
TEST(MetricsServer, AScrapeShowsEachReceiverAsOneUpdateLeftIt)
{
    auto board = std::make_shared<MetricsBoard>();
    const MetricsServer server("127.0.0.1:0", board);
    std::atomic<bool> stop = false;
    std::thread publisher([&] {
        for (std::uint64_t n = 1; !stop; ++n) {
            for (const char* port : {"a", "b", "c"}) {
                ReceiverSample sample;
                sample.port = port;
                sample.counts = {n, n, {{"GPGGA", n}}, n, n, n, n, n, n};
                sample.reopenings = n;
                board->publish(sample);
            }
            std::this_thread::yield();
        }
    });
    while (board->samples().size() < 3) std::this_thread::yield();
    HttpClient client;
    const std::regex series(R"re(\nveltrane_receiver_\w+\{port="(\w)"[^}]*\} ([0-9]+)(?=\n))re");
    int torn = 0;
    int incomplete = 0;
    for (int i = 0; i < 200; ++i) {
        const auto reply = client.get(urlOf(server, "/metrics"));
        const std::string& body = reply.body;
        std::map<std::string, std::set<std::string>> valuesByPort;
        for (auto it = std::sregex_iterator(body.begin(), body.end(), series); it != std::sregex_iterator(); ++it) {
            const std::string name = it->str(0);
            if (name.find("_up{") != std::string::npos || name.find("_healthy{") != std::string::npos ||
                name.find("fix_quality{") != std::string::npos)
                continue;
            valuesByPort[it->str(1)].insert(it->str(2));
        }
        if (valuesByPort.size() != 3 && ++incomplete == 1) ADD_FAILURE() << reply.status << " " << reply.error << "\n" << body;
        for (const auto& [port, values] : valuesByPort) torn += values.size() != 1;
    }
    stop = true;
    publisher.join();
    EXPECT_EQ(incomplete, 0);
    EXPECT_EQ(torn, 0);
}

// Texts the server's own syntax reads otherwise, or not at all, are refused
// before it sees them; what passes, it listens on.
TEST(MetricsServer, ListensOnAnIpv4AddressAndPortOnly)
{
    for (const char* good : {"127.0.0.1:0", "0.0.0.0:0"}) {
        EXPECT_TRUE(isListenAddress(good)) << good;
        EXPECT_NO_THROW(MetricsServer(good, std::make_shared<MetricsBoard>())) << good;
    }
    EXPECT_TRUE(isListenAddress("192.168.1.20:65535"));
    for (const char* bad : {"9727", "localhost:9727", "127.0.0.1:9727s", "127.0.0.1:9727r", "127.0.0.1:65536",
                            "127.0.0.1:", ":9727", "127.0.0.1:-1", "127.0.0.1:+80", "1.2.3:80", "127.0.0.1:80,8080",
                            "[::1]:9727", "::1:9727", "127.0.0.1:9727 "})
        EXPECT_FALSE(isListenAddress(bad)) << bad;
}

TEST(MetricsServer, SaysWhyItCannotListen)
{
    auto board = std::make_shared<MetricsBoard>();
    const MetricsServer first("127.0.0.1:0", board);
    const std::string taken = "127.0.0.1:" + std::to_string(first.port());
    try {
        const MetricsServer second(taken, board);
        FAIL() << "a second server on " << taken;
    } catch (const std::runtime_error& error) {
        const std::string text = error.what();
        EXPECT_TRUE(text.starts_with("cannot serve metrics on " + taken + ": ")) << text;
        EXPECT_NE(text.find("in use"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace veltrane::watch
