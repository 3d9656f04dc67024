// SPDX-License-Identifier: BSD-2-Clause
// The sentence log's two costs: heap bytes per row beyond the sentence's own
// characters, and the time of an insertion at the top as the log grows.

#include <benchmark/benchmark.h>

#include <string_view>

#include "heap_counter.h"
#include "sentence_log.h"

namespace {

constexpr veltrane::LocalTime kTime{2026, 12, 7, 14, 3, 59};

// Typical lengths, from a GSA of 40 characters to a GGA of 70.
constexpr std::string_view kSentences[] = {
    "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
    "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A",
    "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39",
    "GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48",
};

void BM_BytesPerRow(benchmark::State& state)
{
    const auto rows = static_cast<std::size_t>(state.range(0));
    double overhead = 0;
    for (auto _ : state) {
        const std::size_t before = liveHeapBytes();
        std::size_t textBytes = 0;
        veltrane::SentenceLog log;
        for (std::size_t i = 0; i < rows; ++i) {
            const std::string_view sentence = kSentences[i % std::size(kSentences)];
            log.insertFirst(kTime, sentence);
            textBytes += sentence.size();
        }
        overhead = static_cast<double>(liveHeapBytes() - before - textBytes) / static_cast<double>(rows);
    }
    state.counters["bytes_per_row_beyond_text"] = overhead;
}
BENCHMARK(BM_BytesPerRow)->ArgName("rows")->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

// A fixed number of insertions, so the log holds about the same number of
// rows throughout, whatever the speed of the machine.
void BM_InsertAtTop(benchmark::State& state)
{
    veltrane::SentenceLog log;
    for (std::int64_t i = 0; i < state.range(0); ++i) log.insertFirst(kTime, kSentences[0]);
    for (auto _ : state) log.insertFirst(kTime, kSentences[1]);
    benchmark::DoNotOptimize(log.row(0));
}
BENCHMARK(BM_InsertAtTop)->ArgName("rows_already")->Arg(10)->Arg(1'000'000)->Arg(10'000'000)->Iterations(100'000)->Repetitions(3);

}  // namespace
