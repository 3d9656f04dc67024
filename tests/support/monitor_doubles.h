// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "event_pump.h"
#include "sentence_log.h"
#include "status_fields.h"

namespace veltrane::testing {

// Runs a callback on every yield, so a test can play the events that fall due
// while a pass is paused.
class ScriptedPump final : public EventPump {
public:
    void runPending() override
    {
        ++calls;
        if (onYield) onYield(calls);
    }

    int calls = 0;
    std::function<void(int call)> onYield;
};

// Every write in order, also the ones that leave the text as it was.
class FieldRecorder final : public FieldObserver {
public:
    void fieldWritten(Field field, const std::string& text) override { writes.emplace_back(field, text); }

    std::size_t count(Field field) const
    {
        std::size_t n = 0;
        for (const auto& write : writes) n += write.first == field ? 1 : 0;
        return n;
    }

    std::vector<std::pair<Field, std::string>> writes;
};

// The log's texts, oldest first, so that expectations read in arrival order.
inline std::vector<std::string> rowsOldestFirst(const SentenceLog& log)
{
    std::vector<std::string> rows;
    for (std::size_t i = log.size(); i > 0; --i) rows.emplace_back(log.row(i - 1).data);
    return rows;
}

}  // namespace veltrane::testing
