// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string_view>

namespace veltrane::health {

enum class Checksum { Valid, Invalid, Absent };

// A sentence the framing found whole: "$" or "!" and the text up to its line end.
struct Sentence {
    std::string_view address;  // after the first character, up to the first "," or "*"
    std::string_view talker;   // the first two characters of a standard address, else empty
    Checksum checksum = Checksum::Absent;
    std::string_view body;     // without its first character, and without a valid checksum suffix
};

Sentence readSentence(std::string_view text);

// 1 to 24 characters from A-Z and 0-9: anything else is no address a
// receiver sends (the longest proprietary ones run to 17).
bool isAddress(std::string_view text);

// A standard sentence: an address of five characters that does not start with "P".
bool isStandard(std::string_view address);

// A plain number: digits, optionally "." and more digits.
std::optional<double> plainNumber(std::string_view text);
// A plain number that is whole ("7", "7.0") and at most `highest`.
std::optional<unsigned> wholeNumber(std::string_view text, unsigned highest);

}  // namespace veltrane::health
