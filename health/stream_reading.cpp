// SPDX-License-Identifier: BSD-2-Clause
#include "stream_reading.h"

#include <cmath>

#include "fix_quality.h"
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

// Whether the window's indicator would read "Yes": the window's own
// interpreter, handed each "$" sentence until it first says so.
struct StreamReading::WindowCheck {
    // Only the indicator counts: a receiver the window never recognises would
    // otherwise have every sentence it sends kept in a log.
    WindowCheck() : interpreter(fields, log, clock) { log.keepNoRows(); }

    void offer(std::string_view sentence)
    {
        if (recognised || sentence.front() != '$') return;
        text.assign(sentence);
        interpreter.process(text);
        recognised = fields.reads(Field::IsGps, kYes);
    }

    StatusFields fields;
    SentenceLog log;
    NoClock clock;
    SentenceInterpreter interpreter;
    std::string text;
    bool recognised = false;
};

StreamReading::StreamReading(ReadingObserver& observer)
    : observer_(observer), window_(std::make_unique<WindowCheck>())
{
}

StreamReading::~StreamReading() = default;

bool StreamReading::windowRecognises() const { return window_->recognised; }

void StreamReading::add(std::string_view bytes, std::optional<double> arrival)
{
    bytes_ += bytes.size();
    latest_ = arrival;
    if (arrival) chunks_.push_back({bytes_, *arrival});
    framing_.add(bytes);
    while (!chunks_.empty() && chunks_.front().end <= framing_.undecidedFrom()) chunks_.pop_front();
}

void StreamReading::finish()
{
    framing_.finish();
    chunks_.clear();
}

// A sentence arrived with the byte that completed it, though the framing may
// have held it back behind a frame that was still arriving.
std::optional<double> StreamReading::arrivalOf(std::uint64_t offset)
{
    while (!chunks_.empty() && chunks_.front().end <= offset) chunks_.pop_front();
    if (chunks_.empty()) return std::nullopt;
    return chunks_.front().arrival;
}

void StreamReading::sentence(std::string_view text, std::uint64_t lineEnd)
{
    const std::optional<double> arrival = arrivalOf(lineEnd);
    const Sentence read = readSentence(text);
    if (!isAddress(read.address)) {
        observer_.malformedSentence(arrival);
        return;
    }
    observer_.sentence(read, arrival);
    window_->offer(text);
    if (read.talker.empty() || read.checksum == Checksum::Invalid) return;
    if (read.address.ends_with("GGA")) gga(read.body, arrival);
    if (read.address.ends_with("GSV")) observer_.gsv(read.talker, readGsv(read.body), arrival);
}

void StreamReading::ubxFrame(std::uint8_t messageClass, std::uint8_t id)
{
    constexpr char kHex[] = "0123456789abcdef";
    const char key[] = {kHex[messageClass >> 4], kHex[messageClass & 15], '-', kHex[id >> 4], kHex[id & 15]};
    observer_.ubxFrame(std::string_view(key, sizeof key), latest_);
}

void StreamReading::rtcm3Frame(unsigned messageNumber) { observer_.rtcm3Frame(std::to_string(messageNumber), latest_); }

void StreamReading::gga(std::string_view body, std::optional<double> arrival)
{
    const SentencePieces fields(body);
    const auto at = [&](std::size_t number) { return fields[number].value_or(std::string_view()); };

    GgaReading read;
    read.quality = at(6);
    read.fix = isFix(read.quality);
    if (read.fix) {
        const std::optional<double> latitude = degrees(at(2), at(3), 90);
        const std::optional<double> longitude = degrees(at(4), at(5), 180);
        if (latitude && longitude) {
            read.latitude = latitude;
            read.longitude = longitude;
        }
        read.satellitesUsed = plainNumber(at(7));
        read.hdop = plainNumber(at(8));
    }
    observer_.gga(read, arrival);
}

}  // namespace veltrane::health
