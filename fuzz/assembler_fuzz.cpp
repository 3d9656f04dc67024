// SPDX-License-Identifier: BSD-2-Clause
// The assembler fed arbitrary chunks, with passes that run several chunks at
// a time, yields at any spacing and ticks that fall due during a yield: no
// crash, no undefined behaviour, the sentence buffer and read index stay
// within their bounds, and a ring that never overruns never reports a chunk
// lost.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "chunk_replay.h"
#include "fixed_clock.h"
#include "monitor.h"

namespace {

// Runs a nested tick on the yields that the input picks.
class NestingPump final : public veltrane::EventPump {
public:
    void runPending() override
    {
        if (assembler == nullptr || nested_ || (++calls_ & mask) != 0) return;
        nested_ = true;
        assembler->tick();
        nested_ = false;
    }

    veltrane::SentenceAssembler* assembler = nullptr;
    std::uint32_t mask = 0xffffffff;

private:
    std::uint32_t calls_ = 0;
    bool nested_ = false;
};

void require(bool rule)
{
    if (!rule) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    veltrane::testing::FixedClock clock;
    NestingPump pump;
    veltrane::Monitor monitor(clock, pump);
    pump.assembler = &monitor.assembler;
    pump.mask = (1u << input.ConsumeIntegralInRange(0, 8)) - 1;
    monitor.assembler.setCharactersPerYield(input.ConsumeIntegralInRange<std::size_t>(1, 1024));
    const int storesPerTick = input.ConsumeIntegralInRange(1, 4);

    veltrane::testing::ChunkInput port;
    for (int store = 1; input.remaining_bytes() > 0; ++store) {
        const auto length = input.ConsumeIntegralInRange<std::size_t>(0, 300);
        port.store(monitor.ring, input.ConsumeBytesAsString(length));
        if (store % storesPerTick == 0) monitor.assembler.tick();

        const std::string& sentence = monitor.assembler.sentence();
        require(sentence.size() <= veltrane::SentenceAssembler::kSentenceLimit);
        require(monitor.assembler.readIndex() >= 0 && monitor.assembler.readIndex() <= 10000);
        require(!monitor.assembler.passInProgress());
        require(monitor.assembler.lostChunks() == 0);
    }
    return 0;
}
