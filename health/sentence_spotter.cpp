// SPDX-License-Identifier: BSD-2-Clause
#include "sentence_spotter.h"

#include "nmea_sentence.h"

namespace veltrane::health {

void SentenceSpotter::add(std::string_view bytes)
{
    if (!spotted_) framing_.add(bytes);
}

void SentenceSpotter::sentence(std::string_view text, std::uint64_t)
{
    const Sentence read = readSentence(text);
    spotted_ = spotted_ || (read.checksum == Checksum::Valid && isAddress(read.address));
}

}  // namespace veltrane::health
