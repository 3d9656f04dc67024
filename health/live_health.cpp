// SPDX-License-Identifier: BSD-2-Clause
#include "live_health.h"

#include <cmath>

namespace veltrane::health {

namespace {

long long secondOf(double time) { return static_cast<long long>(std::floor(time)); }

// Any code a receiver may send, and no more than an int holds.
std::optional<int> qualityCode(std::string_view text)
{
    const std::optional<unsigned> code = wholeNumber(text, 1000000000);
    if (!code) return std::nullopt;
    return static_cast<int>(*code);
}

}  // namespace

LiveHealth::LiveHealth(int windowSeconds, double opened)
    : window_(windowSeconds), opened_(opened), reading_(std::make_unique<StreamReading>(static_cast<ReadingObserver&>(*this)))
{
}

LiveHealth::~LiveHealth() = default;

void LiveHealth::portClosed()
{
    if (readingEnded_) return;
    reading_->finish();
    readingEnded_ = true;
}

void LiveHealth::reopen(double at)
{
    portClosed();
    readingEnded_ = false;
    recognised_ = recognised_ || reading_->windowRecognises();
    reading_ = std::make_unique<StreamReading>(static_cast<ReadingObserver&>(*this));
    opened_ = at;
    ttff_.reset();
    fix_.reset();
}

void LiveHealth::add(std::string_view bytes, double arrival)
{
    evict(secondOf(arrival));
    lastArrival_ = arrival;
    counts_.bytes += bytes.size();
    tallyAt(arrival).addBytes(bytes.size());
    reading_->add(bytes, arrival);
}

// Arrivals never go back, but a sentence the framing held behind a frame
// still arriving may be dated a second before the newest: it joins the newest.
FigureTally& LiveHealth::tallyAt(Arrival at)
{
    const long long second = secondOf(at.value_or(lastArrival_.value_or(opened_)));
    if (seconds_.empty() || seconds_.back().second < second) {
        // A second that is over joins the window's figures once each second it stays in it.
        if (!seconds_.empty()) seconds_.back().tally.settle();
        seconds_.push_back({second, {}});
    }
    return seconds_.back().tally;
}

void LiveHealth::evict(long long now)
{
    const long long oldest = now - window_ + 1;
    while (!seconds_.empty() && seconds_.front().second < oldest) seconds_.pop_front();
    gsvSets_.forget(static_cast<double>(oldest));
}

const HealthFigures& LiveHealth::windowFigures(double now)
{
    const long long second = secondOf(now);
    evict(second);
    if (figuresSecond_ == second) return figures_;
    FigureTally window;
    for (const Second& each : seconds_) window.append(each.tally);
    figures_ = window.figures();
    figures_.ttffSeconds = ttff_;
    figures_.windowRecognises = recognised_ || reading_->windowRecognises();
    figuresSecond_ = second;
    return figures_;
}

ByText<ByText<double>> LiveHealth::satellitesInView(double now)
{
    evict(secondOf(now));
    return gsvSets_.inView();
}

void LiveHealth::noise(std::uint64_t bytes, Arrival at)
{
    counts_.noiseBytes += bytes;
    tallyAt(at).noise(bytes, at);
}

void LiveHealth::cutSentence(Arrival at)
{
    ++counts_.cutSentences;
    tallyAt(at).cutSentence(at);
}

void LiveHealth::malformedSentence(Arrival at)
{
    ++counts_.malformedSentences;
    tallyAt(at).malformedSentence(at);
}

void LiveHealth::sentence(const Sentence& read, Arrival at)
{
    const auto counted = counts_.sentences.find(read.address);
    if (counted != counts_.sentences.end())
        ++counted->second;
    else if (counts_.sentences.size() < kCountedAddresses)
        counts_.sentences.emplace(std::string(read.address), 1);
    else
        ++counts_.otherSentences;
    if (read.checksum == Checksum::Invalid) ++counts_.checksumErrors;
    tallyAt(at).sentence(read, at);
}

void LiveHealth::gga(const GgaReading& read, Arrival at)
{
    fixQuality_ = qualityCode(read.quality);
    fix_ = read.fix;
    if (read.fix && at) {
        satellitesUsed_ = read.satellitesUsed;
        hdop_ = read.hdop;
        lastFix_ = at;
        if (!ttff_) ttff_ = *at - opened_;
    }
    tallyAt(at).gga(read, at);
}

void LiveHealth::gsv(std::string_view talker, const GsvSentence& read, Arrival at)
{
    gsvSets_.add(talker, read, at.value_or(lastArrival_.value_or(opened_)));
    tallyAt(at).gsv(talker, read, at);
}

void LiveHealth::ubxFrame(std::string_view classAndId, Arrival at)
{
    ++counts_.ubxFrames;
    tallyAt(at).ubxFrame(classAndId, at);
}

void LiveHealth::rtcm3Frame(std::string_view messageNumber, Arrival at)
{
    ++counts_.rtcm3Frames;
    tallyAt(at).rtcm3Frame(messageNumber, at);
}

}  // namespace veltrane::health
