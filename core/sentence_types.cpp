// SPDX-License-Identifier: BSD-2-Clause
#include "sentence_types.h"

#include <algorithm>
#include <array>

#include "sentence_readers.h"

namespace veltrane {

namespace {
constexpr std::array kSentenceTypes = {
    SentenceType{"GPRMC", true, nullptr},
    SentenceType{"GPRMB", true, nullptr},
    SentenceType{"GPVTG", true, nullptr},
    SentenceType{"GPGSA", true, nullptr},
    SentenceType{"GPGSV", false, readGsv},
    SentenceType{"GPGGA", true, readGga},
};
}  // namespace

const SentenceType* findSentenceType(std::string_view identifier)
{
    const auto found = std::find_if(kSentenceTypes.begin(), kSentenceTypes.end(),
                                    [identifier](const SentenceType& type) { return type.identifier == identifier; });
    return found == kSentenceTypes.end() ? nullptr : &*found;
}

}  // namespace veltrane
