// SPDX-License-Identifier: BSD-2-Clause
#include "heap_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {
std::size_t liveBytes = 0;
}  // namespace

std::size_t liveHeapBytes() { return liveBytes; }

void* operator new(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    liveBytes += malloc_usable_size(block);
    return block;
}

void operator delete(void* block) noexcept
{
    if (block == nullptr) return;
    liveBytes -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
