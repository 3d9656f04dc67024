// SPDX-License-Identifier: BSD-2-Clause
#include "sentence_readers.h"

#include <optional>
#include <string>

#include "decimal.h"

namespace veltrane {

namespace {

// hhmmss.ss: characters 1-2, 3-4 and 5-6 with ":" between, then "." and
// characters 8-9; the sentence's own point (character 7) is skipped.
std::string utcTimeText(std::string_view piece)
{
    auto part = [piece](std::size_t from, std::size_t count) {
        return from < piece.size() ? piece.substr(from, count) : std::string_view();
    };
    std::string text;
    text.append(part(0, 2)).append(":").append(part(2, 2)).append(":").append(part(4, 2));
    text.append(".").append(part(7, 2));
    return text;
}

std::string_view qualityText(std::string_view piece)
{
    if (piece == "0") return "No Fix Acquired";
    if (piece == "1") return "Non-Differential Fix Acquired";
    if (piece == "2") return "Differential Fix Acquired";
    return "Invalid Response from GPS";
}

std::optional<std::string> fixedText(std::optional<std::string_view> piece, int decimals)
{
    if (!piece) return std::nullopt;
    const std::optional<DecimalText> value = parseDecimal(*piece);
    if (!value) return std::nullopt;
    std::string text;
    appendFixed(text, *value, decimals);
    return text;
}

std::optional<std::string> satellitesText(std::optional<std::string_view> piece)
{
    if (!piece) return std::nullopt;
    const std::optional<DecimalText> value = parseDecimal(*piece);
    if (!value) return std::nullopt;
    const std::optional<int> count = roundToInt16(*value);
    if (!count) return std::nullopt;
    return std::to_string(*count) + " satellites";
}

}  // namespace

bool readGga(const SentencePieces& pieces, StatusFields& fields)
{
    const std::optional<std::string_view> time = pieces[1];
    if (!time) return false;
    fields.set(Field::UtcTime, utcTimeText(*time));

    const std::optional<std::string> latitude = fixedText(pieces[2], 4);
    const std::optional<std::string_view> north = pieces[3];
    if (!latitude || !north) return false;
    fields.set(Field::Latitude, *latitude + " " + std::string(*north));

    const std::optional<std::string> longitude = fixedText(pieces[4], 4);
    const std::optional<std::string_view> east = pieces[5];
    if (!longitude || !east) return false;
    fields.set(Field::Longitude, *longitude + " " + std::string(*east));

    const std::optional<std::string_view> quality = pieces[6];
    if (!quality) return false;
    fields.set(Field::Quality, qualityText(*quality));

    const std::optional<std::string> satellites = satellitesText(pieces[7]);
    if (!satellites) return false;
    fields.set(Field::Satellites, *satellites);

    const std::optional<std::string> hdop = fixedText(pieces[8], 1);
    if (!hdop) return false;
    fields.set(Field::Hdop, *hdop + " m");

    const std::optional<std::string> altitude = fixedText(pieces[9], 1);
    if (!altitude) return false;
    fields.set(Field::Altitude, *altitude + " m");
    return true;
}

bool readGsv(const SentencePieces& pieces, StatusFields& fields)
{
    const std::optional<std::string> inView = satellitesText(pieces[3]);
    if (!inView) return false;
    fields.set(Field::InView, *inView);
    return true;
}

}  // namespace veltrane
