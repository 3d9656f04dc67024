// SPDX-License-Identifier: BSD-2-Clause
// Scrapes a running `veltrane-cli watch` RATE times a second for SECONDS, as
// scripts/bench-watch.sh runs it, and prints how the scrapes were answered
// and whether the serial reading kept its pace meanwhile. The watch reads
// its ports and publishes their figures on one event loop, twice a second:
// the moments a receiver's byte count changes in the scrapes show each
// publication to within a scrape's interval, so late reading shows as gaps
// longer than half a second, and as fewer bytes than the line carried.
//
// Usage: scrape_watch URL SECONDS RATE
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "http_client.h"
#include "percentile.h"

namespace {

using Clock = std::chrono::steady_clock;
using veltrane::bench::percentile;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Each receiver's veltrane_receiver_bytes_total, by port label.
std::map<std::string, double> bytesByPort(const std::string& body)
{
    static const std::string kSeries = "\nveltrane_receiver_bytes_total{port=\"";
    std::map<std::string, double> bytes;
    for (std::size_t at = body.find(kSeries); at != std::string::npos; at = body.find(kSeries, at + 1)) {
        const std::size_t port = at + kSeries.size();
        const std::size_t close = body.find("\"} ", port);
        if (close == std::string::npos) break;
        bytes[body.substr(port, close - port)] = std::strtod(body.c_str() + close + 3, nullptr);
    }
    return bytes;
}

struct Seen {
    double bytes = -1;
    double at = 0;
    double firstBytes = -1;
    double firstAt = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: scrape_watch URL SECONDS RATE\n");
        return 2;
    }
    const std::string url = argv[1];
    const double length = std::atof(argv[2]);
    const auto interval = std::chrono::nanoseconds(static_cast<long long>(1e9 / std::atof(argv[3])));

    veltrane::testing::HttpClient client;
    std::vector<double> latencies;
    std::vector<double> gaps;
    std::map<std::string, Seen> seen;
    int failed = 0;
    const Clock::time_point start = Clock::now();
    for (Clock::time_point due = start; due < start + std::chrono::duration<double>(length); due += interval) {
        std::this_thread::sleep_until(due);
        const Clock::time_point asked = Clock::now();
        const veltrane::testing::HttpReply reply = client.get(url);
        const double now = seconds(Clock::now() - start);
        latencies.push_back(1000 * seconds(Clock::now() - asked));
        if (reply.status != 200) {
            ++failed;
            continue;
        }
        for (const auto& [port, bytes] : bytesByPort(reply.body)) {
            Seen& s = seen[port];
            if (bytes == s.bytes) continue;
            // Timed from the first change seen: the first value may have been published long before.
            if (s.bytes >= 0) gaps.push_back(1000 * (now - s.at));
            if (s.bytes >= 0 && s.firstBytes < 0) s.firstBytes = bytes, s.firstAt = now;
            s.bytes = bytes;
            s.at = now;
        }
    }
    const double took = seconds(Clock::now() - start);

    std::printf("  scrapes: %zu in %.1f s (%.0f a second), %d failed, answered in p50 %.2f ms, p99 %.2f ms\n",
                latencies.size(), took, static_cast<double>(latencies.size()) / took, failed,
                percentile(latencies, 50), percentile(latencies, 99));
    std::printf("  publications seen: %zu, apart by p50 %.0f ms, p99 %.0f ms, max %.0f ms (due every 500 ms)\n",
                gaps.size(), percentile(gaps, 50), percentile(gaps, 99), percentile(gaps, 100));
    std::vector<double> rates;
    for (const auto& [port, s] : seen)
        if (s.at > s.firstAt) rates.push_back((s.bytes - s.firstBytes) / (s.at - s.firstAt));
    std::printf("  bytes read meanwhile: %.0f to %.0f a second per receiver, over %zu receivers\n",
                percentile(rates, 0), percentile(rates, 100), rates.size());
    return failed == 0 ? 0 : 1;
}
