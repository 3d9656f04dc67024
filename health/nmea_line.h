// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string_view>

namespace veltrane::health {

enum class Checksum { Valid, Invalid, Absent };

// One line of a capture as the health check reads it: the sentence is the
// part from the line's first "$" or "!" on; what stands before it is noise.
struct NmeaLine {
    std::string_view noise;     // the bytes before the sentence, or the whole line when it holds none
    std::string_view sentence;  // from "$" or "!" on; empty when the line holds none
    std::string_view address;   // after the first character, up to the first "," or "*"
    std::string_view talker;    // the first two characters of a standard address, else empty
    Checksum checksum = Checksum::Absent;
    std::string_view body;      // the sentence without its first character and its checksum suffix
};

// `line` without its line end.
NmeaLine readNmeaLine(std::string_view line);

// A standard sentence: an address of five characters that does not start with "P".
bool isStandard(std::string_view address);

// A plain number: digits, optionally "." and more digits.
std::optional<double> plainNumber(std::string_view text);

}  // namespace veltrane::health
