// SPDX-License-Identifier: BSD-2-Clause
// 1,000 scrapes a second for 10 s against the metrics server while a reader
// thread plays 16 receivers at 115200 baud on a 10 ms tick, as the serial
// event loop does: how late the reader's ticks come with and without the
// scrapes, how fast the scrapes are answered, and whether a scrape changed
// any count (every receiver's bytes must equal what was fed to it).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "captures.h"
#include "http_client.h"
#include "live_health.h"
#include "metrics_board.h"
#include "metrics_server.h"
#include "percentile.h"
#include "receiver_sample.h"

namespace {

using namespace veltrane;
using bench::percentile;
using Clock = std::chrono::steady_clock;

constexpr int kReceivers = 16;
constexpr std::size_t kBytesPerTick = 115;  // 11520 bytes a second in ticks of 10 ms
constexpr auto kTick = std::chrono::milliseconds(10);

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The serial side: feeds every receiver each tick, publishes once a second,
// and notes how late each tick began.
class Reader {
public:
    explicit Reader(watch::MetricsBoard& board)
        : board_(board), capture_(testing::contentsOf(testing::projectCaptures() / "sim-gn-ubx-9600.log"))
    {
        for (int i = 0; i < kReceivers; ++i) receivers_.push_back(std::make_unique<health::LiveHealth>(60, 0.0));
    }

    // Runs for `length`; returns each tick's lateness in milliseconds.
    std::vector<double> run(Clock::duration length)
    {
        std::vector<double> late;
        const Clock::time_point end = Clock::now() + length;
        Clock::time_point due = Clock::now();
        for (int tick = 0; due < end; ++tick) {
            std::this_thread::sleep_until(due);
            late.push_back(1000 * seconds(Clock::now() - due));
            const double now = seconds(Clock::now().time_since_epoch());
            for (auto& receiver : receivers_) {
                if (at_ + kBytesPerTick > capture_.size()) at_ = 0;
                receiver->add(std::string_view(capture_).substr(at_, kBytesPerTick), now);
            }
            at_ += kBytesPerTick;
            fed_ += kBytesPerTick;
            if (tick % 100 == 0) publish(now);
            due += kTick;
        }
        publish(seconds(Clock::now().time_since_epoch()));
        return late;
    }

    std::uint64_t fed() const { return fed_; }

private:
    void publish(double now)
    {
        for (int i = 0; i < kReceivers; ++i)
            board_.publish(watch::sampleOf("/dev/ttyUSB" + std::to_string(i), *receivers_[i], {true, 0}, now, now));
    }

    watch::MetricsBoard& board_;
    std::string capture_;
    std::size_t at_ = 0;
    std::uint64_t fed_ = 0;
    std::vector<std::unique_ptr<health::LiveHealth>> receivers_;
};

void report(const char* what, const std::vector<double>& late)
{
    std::printf("%-28s ticks %zu, late p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", what, late.size(), percentile(late, 50),
                percentile(late, 99), late.empty() ? 0.0 : *std::max_element(late.begin(), late.end()));
}

}  // namespace

int main()
{
    auto board = std::make_shared<watch::MetricsBoard>();
    const watch::MetricsServer server("127.0.0.1:0", board);
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/metrics";
    Reader reader(*board);
    report("reader alone, 10 s:", reader.run(std::chrono::seconds(10)));

    std::atomic<bool> scraping = true;
    std::vector<double> latencies;
    int failed = 0;
    std::thread scraper([&] {
        testing::HttpClient client;
        Clock::time_point due = Clock::now();
        while (scraping) {
            std::this_thread::sleep_until(due);
            const Clock::time_point start = Clock::now();
            if (client.get(url).status != 200) ++failed;
            latencies.push_back(1000 * seconds(Clock::now() - start));
            due += std::chrono::milliseconds(1);
        }
    });
    const Clock::time_point start = Clock::now();
    const std::vector<double> late = reader.run(std::chrono::seconds(10));
    scraping = false;
    scraper.join();
    const double took = seconds(Clock::now() - start);
    report("reader under scrapes, 10 s:", late);
    std::printf("scrapes: %zu in %.1f s (%.0f a second), %d failed, answered in p50 %.3f ms, p99 %.3f ms\n",
                latencies.size(), took, static_cast<double>(latencies.size()) / took, failed, percentile(latencies, 50),
                percentile(latencies, 99));

    int wrong = 0;
    for (const watch::ReceiverSample& sample : board->samples()) wrong += sample.counts.bytes != reader.fed();
    std::printf("counts: %d of %d receivers differ from the %llu bytes fed to each\n", wrong, kReceivers,
                static_cast<unsigned long long>(reader.fed()));
    return wrong == 0 && failed == 0 ? 0 : 1;
}
