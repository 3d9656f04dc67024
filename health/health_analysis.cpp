// SPDX-License-Identifier: BSD-2-Clause
#include "health_analysis.h"

#include <cmath>

#include "nmea_line.h"
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

// Whether the window's indicator would read "Yes": the window's own
// interpreter, handed each "$" sentence until it first says so.
struct HealthAnalysis::WindowCheck {
    WindowCheck() : interpreter(fields, log, clock) {}

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
    lastArrival_ = arrival;
    for (;;) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) break;
        std::string_view text = bytes.substr(0, end);
        if (!partial_.empty()) {
            partial_.append(text);
            text = partial_;
        }
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        line(text, arrival);
        partial_.clear();
        bytes.remove_prefix(end + 1);
    }
    partial_.append(bytes);
}

void HealthAnalysis::line(std::string_view text, std::optional<double> arrival)
{
    const NmeaLine read = readNmeaLine(text);
    figures_.noiseBytes += read.noise.size();
    if (read.sentence.empty()) return;

    auto counts = figures_.sentences.find(read.address);
    if (counts == figures_.sentences.end()) counts = figures_.sentences.emplace(read.address, SentenceCounts{}).first;
    ++counts->second.count;
    if (read.checksum == Checksum::Invalid) ++counts->second.checksumInvalid;
    if (read.checksum == Checksum::Absent) ++counts->second.checksumAbsent;
    if (!read.talker.empty()) {
        auto talker = figures_.talkers.find(read.talker);
        if (talker == figures_.talkers.end()) talker = figures_.talkers.emplace(read.talker, 0).first;
        ++talker->second;
    }
    window_->offer(read.sentence);
    if (!read.talker.empty() && read.address.ends_with("GGA") && read.checksum != Checksum::Invalid)
        gga(read.body, arrival);
}

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
    auto counted = figures_.quality.find(quality);
    if (counted == figures_.quality.end()) counted = figures_.quality.emplace(quality, 0).first;
    ++counted->second;

    const std::optional<double> qualityNumber = plainNumber(quality);
    if (qualityNumber && *qualityNumber >= 1) {
        ++figures_.fixes;
        if (!figures_.ttffSeconds && opened_ && arrival) figures_.ttffSeconds = *arrival - *opened_;
        const std::optional<double> latitude = degrees(at(2), at(3), 90);
        const std::optional<double> longitude = degrees(at(4), at(5), 180);
        if (latitude && longitude) {
            latitudes_.push_back(*latitude);
            longitudes_.push_back(*longitude);
        }
    }
    if (const std::optional<double> satellites = plainNumber(at(7))) satellites_.push_back(*satellites);
    if (const std::optional<double> hdop = plainNumber(at(8))) hdops_.push_back(*hdop);
}

// The stop, not the receiver, cut that line off; read as a line it would count
// a sentence with an invalid checksum, or a GGA with fields missing, that the
// receiver never sent. Its bytes were received, so they stay in `bytes`, but
// they are neither a sentence nor noise.
HealthFigures HealthAnalysis::finishListening()
{
    partial_.clear();
    return finish();
}

HealthFigures HealthAnalysis::finish()
{
    if (!partial_.empty()) line(partial_, lastArrival_);
    partial_.clear();
    HealthFigures result = figures_;
    result.positionCount = latitudes_.size();
    result.scatter = scatterOf(latitudes_, longitudes_);
    result.satellitesUsed = spreadOf(satellites_);
    result.hdop = spreadOf(hdops_);
    result.ggaIntervalSeconds = nearestRank(ggaIntervals_, 50);
    result.windowRecognises = window_->recognised;
    return result;
}

}  // namespace veltrane::health
