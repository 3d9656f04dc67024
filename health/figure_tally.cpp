// SPDX-License-Identifier: BSD-2-Clause
#include "figure_tally.h"

namespace veltrane::health {

SentenceCounts& operator+=(SentenceCounts& to, const SentenceCounts& from)
{
    to.count += from.count;
    to.checksumInvalid += from.checksumInvalid;
    to.checksumAbsent += from.checksumAbsent;
    return to;
}

namespace {

template <class Value>
void addCounts(ByText<Value>& to, const ByText<Value>& from)
{
    for (const auto& [key, count] : from) entry(to, key) += count;
}

void append(std::vector<double>& to, const std::vector<double>& from) { to.insert(to.end(), from.begin(), from.end()); }

}  // namespace

void FigureTally::sentence(const Sentence& read, Arrival)
{
    SentenceCounts& counts = entry(counts_.sentences, read.address);
    ++counts.count;
    if (read.checksum == Checksum::Invalid) ++counts.checksumInvalid;
    if (read.checksum == Checksum::Absent) ++counts.checksumAbsent;
    if (!read.talker.empty()) ++entry(counts_.talkers, read.talker);
}

void FigureTally::gga(const GgaReading& read, Arrival at)
{
    ++counts_.ggaCount;
    if (at) ggaArrivals_.push_back(*at);
    ++entry(counts_.quality, read.quality);
    lastGgaFix_ = read.fix;
    if (!read.fix) return;
    ++counts_.fixes;
    if (!firstFix_ && at) firstFix_ = at;
    if (read.latitude && read.longitude) {
        latitudes_.push_back(*read.latitude);
        longitudes_.push_back(*read.longitude);
    }
    if (read.satellitesUsed) satellites_.add(*read.satellitesUsed);
    if (read.hdop) hdops_.add(*read.hdop);
}

void FigureTally::gsv(std::string_view talker, const GsvSentence& read, Arrival)
{
    Signal& signal = entry(entry(signals_, talker), read.signalId);
    if (read.messageNumber == "1")
        if (const std::optional<double> inView = plainNumber(read.inView)) signal.inView.add(*inView);
    for (const std::string_view prn : read.prns)
        if (!prn.empty() && signal.prns.find(prn) == signal.prns.end()) signal.prns.emplace(prn);
    for (const std::string_view text : read.cn0s) {
        if (const std::optional<double> cn0 = plainNumber(text)) {
            signal.cn0.add(*cn0);
            cn0_.add(*cn0);
        }
    }
}

void FigureTally::ubxFrame(std::string_view classAndId, Arrival) { ++entry(counts_.ubxFrames, classAndId); }

void FigureTally::rtcm3Frame(std::string_view messageNumber, Arrival) { ++entry(counts_.rtcm3Frames, messageNumber); }

void FigureTally::append(const FigureTally& later)
{
    const HealthFigures& from = later.counts_;
    counts_.bytes += from.bytes;
    counts_.noiseBytes += from.noiseBytes;
    addCounts(counts_.sentences, from.sentences);
    counts_.cutSentences += from.cutSentences;
    counts_.malformedSentences += from.malformedSentences;
    addCounts(counts_.ubxFrames, from.ubxFrames);
    addCounts(counts_.rtcm3Frames, from.rtcm3Frames);
    addCounts(counts_.talkers, from.talkers);
    counts_.ggaCount += from.ggaCount;
    counts_.fixes += from.fixes;
    addCounts(counts_.quality, from.quality);
    health::append(latitudes_, later.latitudes_);
    health::append(longitudes_, later.longitudes_);
    satellites_.add(later.satellites_);
    hdops_.add(later.hdops_);
    health::append(ggaArrivals_, later.ggaArrivals_);
    if (!firstFix_) firstFix_ = later.firstFix_;
    if (later.lastGgaFix_) lastGgaFix_ = later.lastGgaFix_;
    cn0_.add(later.cn0_);
    for (const auto& [talker, signals] : later.signals_) {
        for (const auto& [id, signal] : signals) {
            Signal& to = entry(entry(signals_, talker), id);
            to.inView.add(signal.inView);
            to.cn0.add(signal.cn0);
            to.prns.insert(signal.prns.begin(), signal.prns.end());
        }
    }
}

void FigureTally::settle()
{
    satellites_.compact();
    hdops_.compact();
    cn0_.compact();
    for (auto& [talker, signals] : signals_) {
        for (auto& [id, signal] : signals) {
            signal.inView.compact();
            signal.cn0.compact();
        }
    }
}

HealthFigures FigureTally::figures() const
{
    HealthFigures result = counts_;
    result.positionCount = latitudes_.size();
    result.scatter = scatterOf(latitudes_, longitudes_);
    result.satellitesUsed = satellites_.spread();
    result.hdop = hdops_.spread();
    for (const auto& [talker, signals] : signals_)
        for (const auto& [id, signal] : signals)
            result.gsv[talker][id] = {signal.inView.spread(), signal.cn0.spread(), signal.prns.size()};
    result.cn0 = cn0_.spread();
    std::vector<double> intervals;
    for (std::size_t i = 1; i < ggaArrivals_.size(); ++i) intervals.push_back(ggaArrivals_[i] - ggaArrivals_[i - 1]);
    result.ggaIntervalSeconds = nearestRank(intervals, 50);
    return result;
}

}  // namespace veltrane::health
