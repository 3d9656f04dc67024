// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "clock.h"

namespace veltrane {

struct LogRow {
    LocalTime time;
    std::string_view data;  // the sentence without its "$", as received
};

class LogObserver {
public:
    virtual ~LogObserver() = default;
    virtual void rowInserted(const LogRow& row) = 0;
    virtual void cleared() = 0;
};

// The sentence log, newest row first, with no upper limit. A receiver left
// running for days adds millions of rows, so a row is kept compact: its text
// lives in large shared blocks and the row itself is a pointer, a length and a
// packed time. Rows are appended in arrival order and indexed from the end, so
// putting a row at the top never moves the others.
class SentenceLog {
public:
    SentenceLog() = default;
    SentenceLog(const SentenceLog&) = delete;
    SentenceLog& operator=(const SentenceLog&) = delete;

    void insertFirst(const LocalTime& time, std::string_view data);
    void clear();
    // A log nobody reads back (a health check, a watch over weeks) keeps no
    // rows from now on; its observers are still told of each.
    void keepNoRows();

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    // Index 0 is the newest row. The view stays valid until the log is cleared.
    LogRow row(std::size_t index) const;

    void addObserver(LogObserver* observer);
    void removeObserver(LogObserver* observer);

private:
    struct Row {
        const char* data;
        std::uint32_t length;
        std::uint64_t time;
    };

    const char* store(std::string_view data);

    std::deque<Row> rows_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockUsed_ = 0;
    std::size_t blockSize_ = 0;
    std::vector<LogObserver*> observers_;
    bool keeping_ = true;
};

}  // namespace veltrane
