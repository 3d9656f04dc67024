// Ring, assembler (with a pump that does nothing), interpreter and log over
// the whole corpus concatenated, in MB/s of capture. The corpus is optional:
// without it the figure is skipped, with the reason.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "monitor.h"

namespace {

class FixedClock final : public veltrane::Clock {
public:
    veltrane::LocalTime now() const override { return {2026, 12, 7, 14, 3, 59}; }
};

const std::string& corpus()
{
    static const std::string text = [] {
        std::vector<std::filesystem::path> paths;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(VELTRANE_CORPUS_DIR))
            if (entry.path().extension() == ".log") paths.push_back(entry.path());
        std::sort(paths.begin(), paths.end());
        std::string all;
        for (const auto& path : paths) {
            std::ifstream in(path, std::ios::binary);
            all.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return all;
    }();
    return text;
}

void BM_CorePath(benchmark::State& state)
{
    if (!std::filesystem::is_directory(VELTRANE_CORPUS_DIR)) {
        state.SkipWithError(VELTRANE_CORPUS_DIR " not found: the corpus of real captures is optional");
        return;
    }
    const std::string& text = corpus();
    const auto chunkBytes = static_cast<std::size_t>(state.range(0));
    FixedClock clock;
    veltrane::NoEventPump pump;
    std::size_t rows = 0;
    for (auto _ : state) {
        veltrane::Monitor monitor(clock, pump);
        for (std::size_t at = 0; at < text.size(); at += chunkBytes) {
            veltrane::ChunkInput chunk(text.substr(at, chunkBytes));
            monitor.ring.objComm_OnComm(chunk);
            monitor.assembler.ProcessReceivedData();
        }
        rows = monitor.log.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_CorePath)->ArgName("chunk_bytes")->Arg(1)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);

}  // namespace
