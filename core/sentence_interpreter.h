// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

#include "clock.h"
#include "sentence_log.h"
#include "status_fields.h"

namespace veltrane {

// Gives meaning to one NMEA sentence: readout fields from GGA and GSV, the
// recognised flag, a log row for each recognised sentence, the update stamp.
class SentenceInterpreter {
public:
    SentenceInterpreter(StatusFields& fields, SentenceLog& log, const Clock& clock)
        : fields_(fields), log_(log), clock_(clock) {}

    // Removes the leading "$" of a sentence it interprets; traps every failure.
    void process(std::string& sentence);

private:
    // False when the sentence cannot be interpreted.
    bool interpret(std::string_view text);

    StatusFields& fields_;
    SentenceLog& log_;
    const Clock& clock_;
};

}  // namespace veltrane
