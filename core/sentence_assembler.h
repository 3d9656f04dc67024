// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "event_pump.h"
#include "receive_ring.h"
#include "sentence_interpreter.h"
#include "status_fields.h"

namespace veltrane {

// Cuts the text in the ring into sentences at every "$" on each tick.
//
// A pass yields to the event loop after every character it scans, so a tick,
// a port change or a whole automatic detection can run in the middle of it.
// A yield costs the window a system call where a character costs nanoseconds,
// so a caller may have the pass yield after every n-th character instead,
// counted afresh in each pass.
// Passes must never overlap (both would append to the one sentence), yet a
// tick that falls due meanwhile must not be lost: a nested call therefore
// continues the paused pass from where it stands, and the paused frame, once
// it gets control back, finds the pass finished and returns.
//
// Fed faster than it scans, a pass can run for many seconds, and whoever waits
// in the event loop below it (a deadline, a signal, the search) only gets
// control back when it returns. With a time budget, a frame that has worked
// longer returns after its next yield, leaving the pass paused there for the
// next call to continue.
//
// Chunks the writer overwrote before they were read are counted, and the
// sentence they belonged to is dropped up to the next "$": completing it with
// the tail of a later sentence would show a sentence nobody sent.
class SentenceAssembler {
public:
    // A device that never sends "$" must not grow memory without bound.
    static constexpr std::size_t kSentenceLimit = std::size_t{1} << 20;

    SentenceAssembler(const ReceiveRing& ring, SentenceInterpreter& interpreter,
                      StatusFields& fields, EventPump& pump);
    ~SentenceAssembler();
    SentenceAssembler(const SentenceAssembler&) = delete;
    SentenceAssembler& operator=(const SentenceAssembler&) = delete;

    void tick() { runPass(); }
    void runPass();

    // Ends a paused pass at its next step without touching anything; no pass runs afterwards.
    void shutdown() { *alive_ = false; }
    // No budget unless set: a frame then runs its pass to the end.
    void setTimeBudget(std::chrono::steady_clock::duration budget) { budget_ = budget; }
    // One unless set; the budget is looked at only when the pass yields.
    void setCharactersPerYield(std::size_t characters) { charactersPerYield_ = std::max<std::size_t>(characters, 1); }

    const std::string& sentence() const { return sentence_; }
    std::int32_t readIndex() const { return readIndex_; }
    bool passInProgress() const { return pass_.has_value(); }
    std::uint64_t passesFinished() const { return passesFinished_; }
    std::uint64_t lostChunks() const { return lostChunks_; }

    // Told of every loss as it is found, with the number of chunks lost.
    std::function<void(std::uint64_t chunks)> onChunksLost;

private:
    struct Pass {
        std::uint64_t id;
        std::int32_t last;
        std::int32_t current;
        std::uint64_t expected;  // the store this pass reads next
        bool readAny;
        bool scanning;        // inside a chunk that holds "$"
        std::string chunk;    // a copy: the slot may be overwritten during a yield
        std::size_t position;
        std::size_t scannedSinceYield;
    };

    void beginPass();
    void finishPass();
    bool admit(Pass& pass);
    void chunksLost(std::uint64_t first, std::uint64_t next);
    void append(std::string_view text);
    void scan(std::string_view text);
    void keepWithoutLineEnds(std::string_view text);

    const ReceiveRing& ring_;
    SentenceInterpreter& interpreter_;
    StatusFields& fields_;
    EventPump& pump_;

    std::string sentence_;
    std::int32_t readIndex_ = 0;
    // Like readIndex_, moved on only when a pass finishes: a failed pass is read again.
    std::uint64_t nextSequence_ = 1;
    std::optional<Pass> pass_;
    std::uint64_t nextPassId_ = 0;
    std::uint64_t passesFinished_ = 0;
    std::optional<std::chrono::steady_clock::duration> budget_;
    std::size_t charactersPerYield_ = 1;
    bool dropping_ = false;  // until the next "$", after a loss
    std::uint64_t lostChunks_ = 0;
    std::uint64_t countedBelow_ = 0;  // stores below this one were counted already
    // Shared with every running frame, so a frame resumed after the assembler
    // is gone can still tell that it must stop.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace veltrane
