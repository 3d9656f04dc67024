// SPDX-License-Identifier: BSD-2-Clause
// Any text handed to the interpreter: no crash, no undefined behaviour, and
// the rules that hold for every sentence still hold.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fixed_clock.h"
#include "sentence_interpreter.h"

namespace {

void require(bool rule)
{
    if (!rule) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using veltrane::Field;
    veltrane::StatusFields fields;
    veltrane::SentenceLog log;
    const veltrane::testing::FixedClock clock;
    veltrane::SentenceInterpreter interpreter(fields, log, clock);

    const std::string received(reinterpret_cast<const char*>(data), size);
    std::string sentence = received;
    interpreter.process(sentence);

    const bool interpretable = !received.empty() && received.front() == '$' && received != "$";
    if (!interpretable) {
        require(sentence == received);
        require(fields.read(Field::IsGps) == "No" && fields.read(Field::Updated).empty());
    }
    const std::string& isGps = fields.read(Field::IsGps);
    require(isGps == "Yes" || isGps == "No");
    require(log.size() <= 1);
    if (log.size() == 1) {
        require(isGps == "Yes");
        require(log.row(0).data == std::string_view(received).substr(1));
        require(fields.read(Field::Updated) == "07/12/2026 14:03:59");
    }
    return 0;
}
