// SPDX-License-Identifier: BSD-2-Clause
// Ring, assembler (with a pump that does nothing), interpreter and log over
// the whole corpus concatenated, in MB/s of capture. The corpus is optional:
// without it the figure is skipped, with the reason.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "captures.h"
#include "chunk_replay.h"
#include "fixed_clock.h"
#include "monitor.h"

namespace {

using namespace veltrane::testing;

const std::string& corpus()
{
    static const std::string text = [] {
        std::string all;
        for (const auto& path : capturesUnder(corpusFolder())) all += contentsOf(path);
        return all;
    }();
    return text;
}

void BM_CorePath(benchmark::State& state)
{
    if (!std::filesystem::is_directory(corpusFolder())) {
        state.SkipWithError((corpusFolder().string() + " not found: the corpus of real captures is optional").c_str());
        return;
    }
    const std::string& text = corpus();
    const auto chunkBytes = static_cast<std::size_t>(state.range(0));
    FixedClock clock;
    veltrane::NoEventPump pump;
    std::size_t rows = 0;
    for (auto _ : state) {
        veltrane::Monitor monitor(clock, pump);
        replayInChunks(monitor, text, chunkBytes);
        rows = monitor.log.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_CorePath)->ArgName("chunk_bytes")->Arg(1)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);

}  // namespace
