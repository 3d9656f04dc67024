// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include "clock.h"
#include "event_pump.h"
#include "receive_ring.h"
#include "sentence_assembler.h"
#include "sentence_interpreter.h"
#include "sentence_log.h"
#include "status_fields.h"

namespace veltrane {

// The whole monitor state that the window (or a headless tool) owns, wired together.
struct Monitor {
    Monitor(const Clock& clock, EventPump& pump)
        : ring(fields), interpreter(fields, log, clock), assembler(ring, interpreter, fields, pump)
    {
    }

    StatusFields fields;
    SentenceLog log;
    ReceiveRing ring;
    SentenceInterpreter interpreter;
    SentenceAssembler assembler;
};

}  // namespace veltrane
