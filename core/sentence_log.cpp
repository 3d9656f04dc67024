// SPDX-License-Identifier: BSD-2-Clause
#include "sentence_log.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "failure.h"

namespace veltrane {

namespace {

constexpr std::size_t kBlockBytes = 1u << 20;
constexpr std::size_t kFirstBlockBytes = 1u << 16;

std::uint64_t packTime(const LocalTime& t)
{
    auto field = [](int value, int bits) {
        return static_cast<std::uint64_t>(value) & ((std::uint64_t{1} << bits) - 1);
    };
    return field(t.year, 20) << 36 | field(t.month, 4) << 32 | field(t.day, 5) << 27 |
           field(t.hour, 5) << 22 | field(t.minute, 6) << 16 | field(t.second, 6) << 10;
}

LocalTime unpackTime(std::uint64_t p)
{
    auto field = [p](int shift, int bits) {
        return static_cast<int>((p >> shift) & ((std::uint64_t{1} << bits) - 1));
    };
    return {field(36, 20), field(32, 4), field(27, 5), field(22, 5), field(16, 6), field(10, 6)};
}

}  // namespace

const char* SentenceLog::store(std::string_view data)
{
    if (data.empty()) return nullptr;
    if (data.size() > kBlockBytes / 4) {
        // A long text gets a block of its own, so that it wastes no room in the shared ones.
        auto block = std::make_unique_for_overwrite<char[]>(data.size());
        std::memcpy(block.get(), data.data(), data.size());
        const char* stored = block.get();
        blocks_.insert(blocks_.end() - (blocks_.empty() ? 0 : 1), std::move(block));
        return stored;
    }
    if (blocks_.empty() || blockSize_ - blockUsed_ < data.size()) {
        // Blocks start small and double: a log that only ever holds a few rows
        // (a short replay, a test) need not cost a megabyte.
        blockSize_ = std::max({std::min(blockSize_ * 2, kBlockBytes), kFirstBlockBytes, data.size()});
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize_));
        blockUsed_ = 0;
    }
    char* target = blocks_.back().get() + blockUsed_;
    std::memcpy(target, data.data(), data.size());
    blockUsed_ += data.size();
    return target;
}

void SentenceLog::insertFirst(const LocalTime& time, std::string_view data)
{
    if (data.size() > std::numeric_limits<std::uint32_t>::max())
        throw Failure(kRuntimeFailure, "sentence too long for the log");
    if (!keeping_) {
        for (LogObserver* observer : observers_) observer->rowInserted(LogRow{time, data});
        return;
    }
    rows_.push_back(Row{store(data), static_cast<std::uint32_t>(data.size()), packTime(time)});
    if (observers_.empty()) return;
    const LogRow inserted = row(0);
    for (LogObserver* observer : observers_) observer->rowInserted(inserted);
}

void SentenceLog::clear()
{
    std::deque<Row>().swap(rows_);
    blocks_.clear();
    blockUsed_ = blockSize_ = 0;
    for (LogObserver* observer : observers_) observer->cleared();
}

void SentenceLog::keepNoRows()
{
    keeping_ = false;
    clear();
}

LogRow SentenceLog::row(std::size_t index) const
{
    const Row& stored = rows_[rows_.size() - 1 - index];
    return {unpackTime(stored.time), std::string_view(stored.data, stored.length)};
}

void SentenceLog::addObserver(LogObserver* observer) { observers_.push_back(observer); }

void SentenceLog::removeObserver(LogObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

}  // namespace veltrane
