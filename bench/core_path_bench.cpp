// SPDX-License-Identifier: BSD-2-Clause
// Ring, assembler (with a pump that does nothing), interpreter and log over
// the whole corpus concatenated, in MB/s of capture, by chunk size and by how
// often a pass yields. The corpus is optional: without it the figure is
// skipped, with the reason.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <limits>
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
    const auto charactersPerYield =
        state.range(1) == 0 ? std::numeric_limits<std::size_t>::max() : static_cast<std::size_t>(state.range(1));
    FixedClock clock;
    veltrane::NoEventPump pump;
    std::size_t rows = 0;
    for (auto _ : state) {
        veltrane::Monitor monitor(clock, pump);
        monitor.assembler.setCharactersPerYield(charactersPerYield);
        replayInChunks(monitor, text, chunkBytes);
        rows = monitor.log.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["rows"] = static_cast<double>(rows);
}
// A yield after every character (the default), every 64 (the window), or
// never (0: replay, where nothing waits for the event loop).
BENCHMARK(BM_CorePath)
    ->ArgNames({"chunk_bytes", "per_yield"})
    ->ArgsProduct({{1, 64, 4096}, {1, 64, 0}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
