// SPDX-License-Identifier: BSD-2-Clause
#include "health_analysis.h"

#include <cmath>

#include "fix_quality.h"
#include "gsv_sentence.h"
#include "nmea_sentence.h"
#include "sentence_interpreter.h"
#include "sentence_pieces.h"

namespace veltrane::health {

namespace {

// A GGA is read up to field 8, the HDOP.
static_assert(SentencePieces::kRead > 8);

// ddmm.mmmm (or dddmm.mmmm) and its hemisphere as signed decimal degrees; none
// for an angle no place on Earth has, which would swamp the mean and the
// scatter (a latitude of 308 nines makes them infinite).
std::optional<double> degrees(std::string_view field, std::string_view hemisphere, double limit)
{
    if (hemisphere != "N" && hemisphere != "S" && hemisphere != "E" && hemisphere != "W") return std::nullopt;
    const std::optional<double> x = plainNumber(field);
    // Past `limit` degrees; also keeps numbers near the largest double out of
    // the arithmetic below, where rounding could make an infinity of them.
    if (!x || *x > 100 * limit) return std::nullopt;
    const double whole = std::floor(*x / 100);
    const double minutes = *x - 100 * whole;
    if (minutes >= 60) return std::nullopt;
    const double value = whole + minutes / 60;
    return hemisphere == "S" || hemisphere == "W" ? -value : value;
}

template <class Value>
Value& entry(ByText<Value>& map, std::string_view key)
{
    auto found = map.find(key);
    if (found == map.end()) found = map.emplace(std::string(key), Value{}).first;
    return found->second;
}

class NoClock final : public Clock {
public:
    LocalTime now() const override { return {}; }
};

}  // namespace

std::uint64_t HealthFigures::sentenceCount() const
{
    std::uint64_t total = 0;
    for (const auto& [address, counts] : sentences) total += counts.count;
    return total;
}

std::uint64_t HealthFigures::checksumInvalidCount() const
{
    std::uint64_t total = 0;
    for (const auto& [address, counts] : sentences) total += counts.checksumInvalid;
    return total;
}

std::uint64_t HealthFigures::damagedCount() const
{
    return checksumInvalidCount() + cutSentences + malformedSentences;
}

std::optional<double> HealthFigures::damagedShare() const
{
    if (allSentenceCount() == 0) return std::nullopt;
    return static_cast<double>(damagedCount()) / static_cast<double>(allSentenceCount());
}

// Whether the window's indicator would read "Yes": the window's own
// interpreter, handed each "$" sentence until it first says so.
struct HealthAnalysis::WindowCheck {
    // Only the indicator counts: a receiver the window never recognises would
    // otherwise have every sentence it sends kept in a log.
    WindowCheck() : interpreter(fields, log, clock) { log.keepNoRows(); }

    void offer(std::string_view sentence)
    {
        if (recognised || sentence.front() != '$') return;
        text.assign(sentence);
        interpreter.ProcessSentence(text);
        recognised = fields.reads(Field::lblIsGPS, kYes);
    }

    StatusFields fields;
    SentenceLog log;
    NoClock clock;
    SentenceInterpreter interpreter;
    std::string text;
    bool recognised = false;
};

HealthAnalysis::HealthAnalysis(std::optional<double> opened)
    : opened_(opened), window_(std::make_unique<WindowCheck>())
{
}

HealthAnalysis::~HealthAnalysis() = default;

void HealthAnalysis::add(std::string_view bytes, std::optional<double> arrival)
{
    figures_.bytes += bytes.size();
    if (arrival) chunks_.push_back({figures_.bytes, *arrival});
    framing_.add(bytes);
    while (!chunks_.empty() && chunks_.front().end <= framing_.undecidedFrom()) chunks_.pop_front();
}

// A sentence arrived with the byte that completed it, though the framing may
// have held it back behind a frame that was still arriving.
std::optional<double> HealthAnalysis::arrivalOf(std::uint64_t offset)
{
    while (!chunks_.empty() && chunks_.front().end <= offset) chunks_.pop_front();
    if (chunks_.empty()) return std::nullopt;
    return chunks_.front().arrival;
}

void HealthAnalysis::sentence(std::string_view text, std::uint64_t lineEnd)
{
    const Sentence read = readSentence(text);
    if (!isAddress(read.address)) {
        ++figures_.malformedSentences;
        return;
    }
    SentenceCounts& counts = entry(figures_.sentences, read.address);
    ++counts.count;
    if (read.checksum == Checksum::Invalid) ++counts.checksumInvalid;
    if (read.checksum == Checksum::Absent) ++counts.checksumAbsent;
    if (!read.talker.empty()) ++entry(figures_.talkers, read.talker);
    window_->offer(text);
    if (read.talker.empty() || read.checksum == Checksum::Invalid) return;
    if (read.address.ends_with("GGA")) gga(read.body, arrivalOf(lineEnd));
    if (read.address.ends_with("GSV")) gsv(read.talker, read.body);
}

void HealthAnalysis::ubxFrame(std::uint8_t messageClass, std::uint8_t id)
{
    constexpr char kHex[] = "0123456789abcdef";
    const char key[] = {kHex[messageClass >> 4], kHex[messageClass & 15], '-', kHex[id >> 4], kHex[id & 15]};
    ++entry(figures_.ubxFrames, std::string_view(key, sizeof key));
}

void HealthAnalysis::rtcm3Frame(unsigned messageNumber) { ++entry(figures_.rtcm3Frames, std::to_string(messageNumber)); }

void HealthAnalysis::gga(std::string_view body, std::optional<double> arrival)
{
    const SentencePieces fields(body);
    const auto at = [&](std::size_t number) { return fields[number].value_or(std::string_view()); };

    ++figures_.ggaCount;
    if (arrival) {
        if (lastGga_) ggaIntervals_.push_back(*arrival - *lastGga_);
        lastGga_ = arrival;
    }
    const std::string_view quality = at(6);
    ++entry(figures_.quality, quality);
    lastGgaFix_ = isFix(quality);
    // Until the first fix a receiver reports no satellites and no HDOP worth judging.
    if (!*lastGgaFix_) return;
    ++figures_.fixes;
    if (!figures_.ttffSeconds && opened_ && arrival) figures_.ttffSeconds = *arrival - *opened_;
    const std::optional<double> latitude = degrees(at(2), at(3), 90);
    const std::optional<double> longitude = degrees(at(4), at(5), 180);
    if (latitude && longitude) {
        latitudes_.push_back(*latitude);
        longitudes_.push_back(*longitude);
    }
    if (const std::optional<double> satellites = plainNumber(at(7))) satellites_.add(*satellites);
    if (const std::optional<double> hdop = plainNumber(at(8))) hdops_.add(*hdop);
}

void HealthAnalysis::gsv(std::string_view talker, std::string_view body)
{
    const GsvSentence read = readGsv(body);
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

Progress HealthAnalysis::progress() const
{
    return {lastGgaFix_, satellites_.nearestRank(50), cn0_.nearestRank(50), figures_.ttffSeconds,
            figures_.damagedShare()};
}

HealthFigures HealthAnalysis::finish()
{
    framing_.finish();
    chunks_.clear();
    HealthFigures result = figures_;
    result.positionCount = latitudes_.size();
    result.scatter = scatterOf(latitudes_, longitudes_);
    result.satellitesUsed = satellites_.spread();
    result.hdop = hdops_.spread();
    for (const auto& [talker, signals] : signals_)
        for (const auto& [id, signal] : signals)
            result.gsv[talker][id] = {signal.inView.spread(), signal.cn0.spread(), signal.prns.size()};
    result.cn0 = cn0_.spread();
    result.ggaIntervalSeconds = nearestRank(ggaIntervals_, 50);
    result.windowRecognises = window_->recognised;
    return result;
}

}  // namespace veltrane::health
