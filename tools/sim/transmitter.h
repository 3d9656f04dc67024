// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <csignal>

#include "byte_source.h"
#include "pseudo_terminal.h"

namespace veltrane::sim {

// Sends the source's bytes at the pace of `baud` until `stopRequested` is
// set, as a receiver on a real line would: nothing kept for a port that
// nobody holds, and garbled bytes for a monitor set to another speed.
void transmit(SerialLine& line, ByteSource& source, int baud, const volatile std::sig_atomic_t& stopRequested);

}  // namespace veltrane::sim
