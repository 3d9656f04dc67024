// SPDX-License-Identifier: BSD-2-Clause
// What watching costs: 16 receivers at 115200 baud read into their sliding
// windows, each sampled and published once a second as `watch` does, in
// processor time per second of line time, and the heap over ten minutes.
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "captures.h"
#include "heap_counter.h"
#include "live_health.h"
#include "metrics_board.h"
#include "receiver_sample.h"

namespace {

using namespace veltrane;

constexpr int kReceivers = 16;
constexpr std::size_t kBytesPerSecond = 11520;  // 115200 baud, 10 bits a byte
constexpr int kReadsPerSecond = 10;             // the tick of the event loop

// A multi-GNSS receiver with UBX frames, played over and over at line speed.
class Line {
public:
    Line() : capture_(testing::contentsOf(testing::projectCaptures() / "sim-gn-ubx-9600.log")) {}

    std::string_view next(std::size_t bytes)
    {
        if (at_ + bytes > capture_.size()) at_ = 0;
        const std::string_view chunk = std::string_view(capture_).substr(at_, bytes);
        at_ += bytes;
        return chunk;
    }

private:
    std::string capture_;
    std::size_t at_ = 0;
};

struct Fleet {
    Fleet()
    {
        for (int i = 0; i < kReceivers; ++i) receivers.push_back(std::make_unique<health::LiveHealth>(60, 0.0));
    }

    // One second of line time on every receiver.
    void second()
    {
        for (int read = 0; read < kReadsPerSecond; ++read) {
            now += 1.0 / kReadsPerSecond;
            for (auto& receiver : receivers) receiver->add(line.next(kBytesPerSecond / kReadsPerSecond), now);
        }
        for (int i = 0; i < kReceivers; ++i)
            board.publish(watch::sampleOf("/dev/ttyUSB" + std::to_string(i), *receivers[i], {true, 0}, now, 1.8e9 + now));
    }

    Line line;
    std::vector<std::unique_ptr<health::LiveHealth>> receivers;
    watch::MetricsBoard board;
    double now = 0;
};

void BM_WatchSixteenReceivers(benchmark::State& state)
{
    Fleet fleet;
    for (int i = 0; i < 60; ++i) fleet.second();  // a full window first
    const std::clock_t start = std::clock();
    for (auto _ : state) fleet.second();
    // Processor time per second of line time, as a share of one core.
    const double cpuSeconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    state.counters["core_percent"] = 100 * cpuSeconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_WatchSixteenReceivers)->Unit(benchmark::kMillisecond);

// The heap after one window and after ten minutes of line time: it must not grow.
void BM_WatchHeapOverTenMinutes(benchmark::State& state)
{
    for (auto _ : state) {
        const std::size_t before = liveHeapBytes();
        Fleet fleet;
        for (int i = 0; i < 60; ++i) fleet.second();
        const std::size_t afterOneMinute = liveHeapBytes() - before;
        for (int i = 60; i < 600; ++i) fleet.second();
        const std::size_t afterTenMinutes = liveHeapBytes() - before;
        state.counters["heap_kib_at_1_min"] = static_cast<double>(afterOneMinute) / 1024;
        state.counters["heap_kib_at_10_min"] = static_cast<double>(afterTenMinutes) / 1024;
    }
}
BENCHMARK(BM_WatchHeapOverTenMinutes)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
