// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "statistics.h"

namespace veltrane::health {

struct SentenceCounts {
    std::uint64_t count = 0;
    std::uint64_t checksumInvalid = 0;
    std::uint64_t checksumAbsent = 0;
};

// What one talker's GSV sentences show of one signal.
struct SignalFigures {
    std::optional<Spread> inView;  // from the first message of each set
    std::optional<Spread> cn0;     // dB-Hz
    std::uint64_t satellites = 0;  // distinct PRNs
};

// Keyed by device text (bytes read as Latin-1), compared as bytes.
template <class Value>
using ByText = std::map<std::string, Value, std::less<>>;

// The value under `key`, added when missing: the key is copied only then,
// which matters at a sentence's pace.
template <class Value>
Value& entry(ByText<Value>& map, std::string_view key)
{
    auto found = map.find(key);
    if (found == map.end()) found = map.emplace(std::string(key), Value{}).first;
    return found->second;
}

// What a stretch of a receiver's output shows, by the health check's definitions.
struct HealthFigures {
    std::uint64_t bytes = 0;
    std::uint64_t noiseBytes = 0;
    ByText<SentenceCounts> sentences;  // by address
    std::uint64_t cutSentences = 0;
    std::uint64_t malformedSentences = 0;
    ByText<std::uint64_t> ubxFrames;    // by class and id, "01-07"
    ByText<std::uint64_t> rtcm3Frames;  // by message number
    ByText<std::uint64_t> talkers;
    std::uint64_t ggaCount = 0;
    std::uint64_t fixes = 0;
    ByText<std::uint64_t> quality;  // by quality text as sent
    std::uint64_t positionCount = 0;
    std::optional<Scatter> scatter;
    std::optional<Spread> satellitesUsed;  // over the fixes
    std::optional<Spread> hdop;            // over the fixes
    ByText<ByText<SignalFigures>> gsv;     // by talker, then signal ID
    std::optional<Spread> cn0;             // of every GSV
    std::optional<double> ttffSeconds;         // live only
    std::optional<double> ggaIntervalSeconds;  // live only
    bool windowRecognises = false;

    std::uint64_t sentenceCount() const;
    std::uint64_t checksumInvalidCount() const;
    // Sentences with an invalid checksum, cut short or malformed.
    std::uint64_t damagedCount() const;
    // Every sentence, the cut short and malformed ones too.
    std::uint64_t allSentenceCount() const { return sentenceCount() + cutSentences + malformedSentences; }
    // The damaged among all sentences; none when there is no sentence.
    std::optional<double> damagedShare() const;
};

}  // namespace veltrane::health
