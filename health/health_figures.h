// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "statistics.h"

namespace veltrane::health {

struct SentenceCounts {
    std::uint64_t count = 0;
    std::uint64_t checksumInvalid = 0;
    std::uint64_t checksumAbsent = 0;
};

// Keyed by device text (bytes read as Latin-1), compared as bytes.
template <class Value>
using ByText = std::map<std::string, Value, std::less<>>;

// What a stretch of a receiver's output shows, by the health check's definitions.
struct HealthFigures {
    std::uint64_t bytes = 0;
    std::uint64_t noiseBytes = 0;
    ByText<SentenceCounts> sentences;  // by address
    ByText<std::uint64_t> talkers;
    std::uint64_t ggaCount = 0;
    std::uint64_t fixes = 0;
    ByText<std::uint64_t> quality;  // by quality text as sent
    std::uint64_t positionCount = 0;
    std::optional<Scatter> scatter;
    std::optional<Spread> satellitesUsed;
    std::optional<Spread> hdop;
    std::optional<double> ttffSeconds;         // live only
    std::optional<double> ggaIntervalSeconds;  // live only
    bool windowRecognises = false;

    std::uint64_t sentenceCount() const;
    std::uint64_t checksumInvalidCount() const;
};

}  // namespace veltrane::health
