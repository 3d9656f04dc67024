#include "sentence_interpreter.h"

#include <array>
#include <optional>

#include "decimal.h"

namespace veltrane {

namespace {

// The pieces of a sentence split at every ",", empty ones included; field 0
// holds the identifier and the checksum stays on the last piece. Split once,
// and only as far as any sentence type reads.
class Fields {
public:
    static constexpr std::size_t kRead = 10;  // fields 0 to 9

    explicit Fields(std::string_view text)
    {
        for (;;) {
            const std::size_t comma = text.find(',');
            pieces_[count_++] = text.substr(0, comma);
            if (comma == std::string_view::npos || count_ == kRead) break;
            text.remove_prefix(comma + 1);
        }
    }

    // Nothing when the sentence has fewer pieces.
    std::optional<std::string_view> operator[](std::size_t number) const
    {
        if (number >= count_) return std::nullopt;
        return pieces_[number];
    }

private:
    std::array<std::string_view, kRead> pieces_{};
    std::size_t count_ = 0;
};

std::string identifierOf(std::string_view text)
{
    std::string id(text.substr(0, 5));
    for (char& c : id)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return id;
}

// hhmmss.ss: characters 1-2, 3-4 and 5-6 with ":" between, then "." and
// characters 8-9; the sentence's own point (character 7) is skipped.
std::string utcTimeText(std::string_view field)
{
    auto piece = [field](std::size_t from, std::size_t count) {
        return from < field.size() ? field.substr(from, count) : std::string_view();
    };
    std::string text;
    text.append(piece(0, 2)).append(":").append(piece(2, 2)).append(":").append(piece(4, 2));
    text.append(".").append(piece(7, 2));
    return text;
}

std::string_view qualityText(std::string_view field)
{
    if (field == "0") return "No Fix Acquired";
    if (field == "1") return "Non-Differential Fix Acquired";
    if (field == "2") return "Differential Fix Acquired";
    return "Invalid Response from GPS";
}

std::optional<std::string> fixedText(std::optional<std::string_view> field, int decimals)
{
    if (!field) return std::nullopt;
    const std::optional<DecimalText> value = parseDecimal(*field);
    if (!value) return std::nullopt;
    std::string text;
    appendFixed(text, *value, decimals);
    return text;
}

std::optional<std::string> satellitesText(std::optional<std::string_view> field)
{
    if (!field) return std::nullopt;
    const std::optional<DecimalText> value = parseDecimal(*field);
    if (!value) return std::nullopt;
    const std::optional<int> count = roundToInt16(*value);
    if (!count) return std::nullopt;
    return std::to_string(*count) + " satellites";
}

}  // namespace

void SentenceInterpreter::ProcessSentence(std::string& sentence)
{
    if (sentence.empty() || sentence.front() != '$' || sentence == "$") return;
    sentence.erase(0, 1);
    try {
        if (!interpret(sentence)) fields_.set(Field::lblIsGPS, kNo);
    } catch (...) {
        fields_.set(Field::lblIsGPS, kNo);
    }
}

bool SentenceInterpreter::interpret(std::string_view text)
{
    const std::string id = identifierOf(text);
    bool recognised = false;
    if (id == "GPRMC" || id == "GPRMB" || id == "GPVTG" || id == "GPGSA") {
        recognised = true;
    } else if (id == "GPGSV") {
        const std::optional<std::string> inView = satellitesText(Fields(text)[3]);
        if (!inView) return false;
        fields_.set(Field::lblInView, *inView);
    } else if (id == "GPGGA") {
        recognised = true;
        if (!interpretGga(text)) return false;
    }

    if (recognised) {
        fields_.set(Field::lblIsGPS, kYes);
        log_.insertFirst(clock_.now(), text);
    }
    fields_.set(Field::lblUpdated, formatTimestamp(clock_.now()));
    return true;
}

// Each text is composed whole before it is written, so a field that fails
// leaves its label as it was and the labels before it written.
bool SentenceInterpreter::interpretGga(std::string_view text)
{
    const Fields field(text);

    const std::optional<std::string_view> time = field[1];
    if (!time) return false;
    fields_.set(Field::lblUTCTime, utcTimeText(*time));

    const std::optional<std::string> latitude = fixedText(field[2], 4);
    const std::optional<std::string_view> north = field[3];
    if (!latitude || !north) return false;
    fields_.set(Field::lblLatitude, *latitude + " " + std::string(*north));

    const std::optional<std::string> longitude = fixedText(field[4], 4);
    const std::optional<std::string_view> east = field[5];
    if (!longitude || !east) return false;
    fields_.set(Field::lblLongitude, *longitude + " " + std::string(*east));

    const std::optional<std::string_view> quality = field[6];
    if (!quality) return false;
    fields_.set(Field::lblQuality, qualityText(*quality));

    const std::optional<std::string> satellites = satellitesText(field[7]);
    if (!satellites) return false;
    fields_.set(Field::lblSatellites, *satellites);

    const std::optional<std::string> hdop = fixedText(field[8], 1);
    if (!hdop) return false;
    fields_.set(Field::lblHDOP, *hdop + " m");

    const std::optional<std::string> altitude = fixedText(field[9], 1);
    if (!altitude) return false;
    fields_.set(Field::lblAltitude, *altitude + " m");
    return true;
}

}  // namespace veltrane
