// SPDX-License-Identifier: BSD-2-Clause
// What one wait of "Auto Detect" costs with no events arriving: how far past
// its deadline it ends, and how much processor time it burns while it waits.
// A spinning wait would show CPU time close to the real time.
// Run: build/bench/detection_bench
#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "qt_detection_loop.h"

namespace veltrane {
namespace {

void BM_WaitUntilDeadline(benchmark::State& state)
{
    QtDetectionLoop loop;
    const double wait = static_cast<double>(state.range(0)) / 1000;
    double overshootTotal = 0;
    double overshootMax = 0;
    for (auto _ : state) {
        const std::chrono::duration<double> deadline(loop.timeOfDay().count() + wait);
        while (loop.timeOfDay() < deadline) loop.runPendingUntil(deadline);
        const double overshoot = (loop.timeOfDay() - deadline).count() * 1000;
        overshootTotal += overshoot;
        overshootMax = std::max(overshootMax, overshoot);
    }
    state.counters["overshoot_ms_mean"] = overshootTotal / static_cast<double>(state.iterations());
    state.counters["overshoot_ms_max"] = overshootMax;
}
BENCHMARK(BM_WaitUntilDeadline)->Arg(1000)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace veltrane

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
