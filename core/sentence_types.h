// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string_view>

#include "sentence_pieces.h"
#include "status_fields.h"

namespace veltrane {

// Writes the readout fields a sentence carries; false when the sentence
// cannot be interpreted (a piece missing, empty or not a number).
using SentenceReader = bool (*)(const SentencePieces& pieces, StatusFields& fields);

// A sentence type the interpreter knows, by its five-letter identifier. A
// recognised type turns the GPS indicator to "Yes" and is logged.
struct SentenceType {
    std::string_view identifier;
    bool recognised;
    SentenceReader read;  // nullptr: nothing is read
};

// The type of an identifier already upper-cased; nullptr for one the
// interpreter does not know, which changes only the update stamp.
const SentenceType* findSentenceType(std::string_view identifier);

}  // namespace veltrane
