// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include "failure.h"
#include "selection_box.h"

namespace veltrane::cli {

// Choosing the port before any baud rate opens it without line settings, and
// that opening always fails: it says nothing about the port.
inline bool isStartUpOpeningFailure(const Failure& failure, const PortSelection& selection)
{
    return failure.number() == kInvalidSettings && selection.cboBaud.selectedIndex() < 0;
}

}  // namespace veltrane::cli
