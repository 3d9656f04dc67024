// SPDX-License-Identifier: BSD-2-Clause
#include "gsv_sets.h"

#include "nmea_sentence.h"

namespace veltrane::health {

namespace {

// A message count or number: 1 to 99, as receivers send them.
std::optional<unsigned> messageCount(std::string_view text)
{
    const std::optional<unsigned> number = wholeNumber(text, 99);
    return number == 0u ? std::nullopt : number;
}

}  // namespace

void GsvSets::add(std::string_view talker, const GsvSentence& gsv, double at)
{
    Signal& signal = entry(entry(signals_, talker), gsv.signalId);
    signal.lastHeard = at;

    const std::optional<unsigned> total = messageCount(gsv.totalMessages);
    const std::optional<unsigned> number = messageCount(gsv.messageNumber);
    const std::optional<double> inView = plainNumber(gsv.inView);
    if (total && number == 1u && inView) {
        signal.total = *total;
        signal.next = 1;
        signal.openedInView = *inView;
    }
    if (!total || signal.total != *total || number != signal.next) {
        signal.total = 0;
        return;
    }
    if (*number < *total) {
        ++signal.next;
        return;
    }
    signal.inView = signal.openedInView;
    signal.total = 0;
}

void GsvSets::forget(double time)
{
    for (auto talker = signals_.begin(); talker != signals_.end();) {
        std::erase_if(talker->second, [&](const auto& entry) { return entry.second.lastHeard < time; });
        talker = talker->second.empty() ? signals_.erase(talker) : std::next(talker);
    }
}

ByText<ByText<double>> GsvSets::inView() const
{
    ByText<ByText<double>> result;
    for (const auto& [talker, signals] : signals_)
        for (const auto& [id, signal] : signals)
            if (signal.inView) result[talker][id] = *signal.inView;
    return result;
}

}  // namespace veltrane::health
