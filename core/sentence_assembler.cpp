// SPDX-License-Identifier: BSD-2-Clause
#include "sentence_assembler.h"

#include <algorithm>
#include <exception>

namespace veltrane {

SentenceAssembler::SentenceAssembler(const ReceiveRing& ring, SentenceInterpreter& interpreter,
                                     StatusFields& fields, EventPump& pump)
    : ring_(ring), interpreter_(interpreter), fields_(fields), pump_(pump)
{
}

SentenceAssembler::~SentenceAssembler() { *alive_ = false; }

void SentenceAssembler::beginPass()
{
    const std::int32_t first = readIndex_;
    std::int32_t last = ring_.writeIndex();
    // The writer has wrapped past the top slot since the previous pass. Up to
    // ten slots below the read index is not taken as a wrap: idle is one below.
    if (last + 10 < first) last = ReceiveRing::kLastSlot;
    // Caught up after a pass through the top slot: taken literally, the range
    // 0..10000 would read the whole previous lap again on every idle tick.
    if (first == 0 && last == ReceiveRing::kLastSlot) last = -1;
    pass_ = Pass{nextPassId_++, last, first, nextSequence_, false, false, {}, 0, 0};
}

void SentenceAssembler::finishPass()
{
    if (pass_->last == ReceiveRing::kLastSlot)
        readIndex_ = 0;
    else if (pass_->readAny)
        readIndex_ = pass_->last + 1;
    nextSequence_ = pass_->expected;
    pass_.reset();
    ++passesFinished_;
}

// Whether the current slot holds the chunk to read next. A chunk stored later
// than expected means the ones between were overwritten unread; one stored
// earlier was read already, or the slot was never written.
bool SentenceAssembler::admit(Pass& pass)
{
    const std::uint64_t stored = ring_.sequence(pass.current);
    if (stored < pass.expected) return false;
    if (stored > pass.expected) chunksLost(pass.expected, stored);
    pass.expected = stored + 1;
    return true;
}

void SentenceAssembler::chunksLost(std::uint64_t first, std::uint64_t next)
{
    sentence_.clear();
    dropping_ = true;
    // A failed pass is read again and finds the same gap.
    first = std::max(first, countedBelow_);
    if (next <= first) return;
    countedBelow_ = next;
    lostChunks_ += next - first;
    if (onChunksLost) onChunksLost(next - first);
}

void SentenceAssembler::append(std::string_view text)
{
    if (dropping_ || sentence_.size() >= kSentenceLimit) return;
    sentence_.append(text.substr(0, kSentenceLimit - sentence_.size()));
}

// Cuts a stretch of a chunk that holds "$" as taking it a character at a time
// would: line ends are left out, and every "$" hands on what was collected.
void SentenceAssembler::scan(std::string_view text)
{
    for (;;) {
        const std::size_t dollar = text.find('$');
        if (!dropping_) keepWithoutLineEnds(text.substr(0, dollar));
        if (dollar == std::string_view::npos) return;
        text.remove_prefix(dollar + 1);
        if (dropping_) {
            dropping_ = false;
            sentence_.assign(1, '$');
        } else if (!sentence_.empty()) {
            interpreter_.process(sentence_);
            // assign(1, '$') rather than = "$": g++ 12 at -O2 warns falsely (-Wrestrict) on the latter.
            sentence_.assign(1, '$');
        }
    }
}

// Each kind of line end is searched for on from where it was last found, so a
// stretch is read once however many line ends it holds.
void SentenceAssembler::keepWithoutLineEnds(std::string_view text)
{
    std::size_t cr = text.find('\r');
    std::size_t lf = text.find('\n');
    for (std::size_t at = 0;;) {
        const std::size_t lineEnd = std::min(cr, lf);
        append(text.substr(at, lineEnd - at));
        if (lineEnd == std::string_view::npos) return;
        at = lineEnd + 1;
        if (lineEnd == cr)
            cr = text.find('\r', at);
        else
            lf = text.find('\n', at);
    }
}

void SentenceAssembler::runPass()
{
    const std::shared_ptr<bool> alive = alive_;
    if (!*alive) return;
    const auto started = std::chrono::steady_clock::now();
    try {
        if (!pass_) beginPass();
        const std::uint64_t id = pass_->id;
        for (;;) {
            Pass& pass = *pass_;
            if (!pass.scanning) {
                if (pass.current > pass.last) {
                    finishPass();
                    return;
                }
                pass.readAny = true;
                if (!admit(pass)) {
                    ++pass.current;
                    continue;
                }
                const std::string& slot = ring_.slot(pass.current);
                if (slot.find('$') == std::string::npos) {
                    append(slot);
                    ++pass.current;
                    continue;
                }
                pass.chunk = slot;
                pass.position = 0;
                pass.scanning = true;
            }
            if (pass.position == pass.chunk.size()) {
                pass.scanning = false;
                ++pass.current;
                continue;
            }
            const std::size_t stretch =
                std::min(charactersPerYield_ - pass.scannedSinceYield, pass.chunk.size() - pass.position);
            scan(std::string_view(pass.chunk).substr(pass.position, stretch));
            pass.position += stretch;
            pass.scannedSinceYield += stretch;
            if (pass.scannedSinceYield < charactersPerYield_) continue;
            pass.scannedSinceYield = 0;
            pump_.runPending();
            if (!*alive) return;
            // A nested tick carried this pass to its end while we were paused.
            if (!pass_ || pass_->id != id) return;
            if (budget_ && std::chrono::steady_clock::now() - started >= *budget_) return;
        }
    } catch (const std::exception& failure) {
        if (!*alive) return;
        // The read index stays: the next pass reads the same slots again.
        pass_.reset();
        fields_.set(Field::Quality, failure.what());
    }
}

}  // namespace veltrane
