// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstddef>

// Heap bytes handed out and not yet returned, as the allocator sized them:
// the whole binary's allocations go through the counting operators.
std::size_t liveHeapBytes();
