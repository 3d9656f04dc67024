// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrane {

// A decimal number kept as the digit text it was received as, so that rounding
// is exact and a field of any length neither overflows nor slows down.
struct DecimalText {
    bool negative = false;        // a "-" sign and at least one digit that is not 0
    std::string_view integer;     // digits before the point, leading zeros removed
    std::string_view fraction;    // digits after the point
};

// A number is an optional sign ("-" or "+"), digits and an optional point with
// more digits, at least one digit in all; "5." and ".5" count. Blanks and
// exponents are refused: receivers never send them, and an exponent would let
// a single field ask for millions of zeros.
std::optional<DecimalText> parseDecimal(std::string_view text);

// The value rounded to `decimals` places, exact halves away from zero, written
// with at least one integer digit, no grouping, and "-" before a negative value
// even when it rounds to zero ("-0.04" with one place gives "-0.0").
void appendFixed(std::string& out, const DecimalText& value, int decimals);

// The value rounded to a whole number, an exact half to the even neighbour;
// nothing when it lies outside -32768..32767.
std::optional<int> roundToInt16(const DecimalText& value);

}  // namespace veltrane
