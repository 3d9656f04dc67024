// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <chrono>
#include <functional>

namespace veltrane::testing {

// Runs the event loop until `done` holds or `limit` passes; returns `done()`.
bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5));

void runFor(std::chrono::milliseconds duration);

// How often the event loop woke up during `duration`: a port that keeps
// reporting errors wakes it thousands of times, an idle one a handful.
int wakeUpsDuring(std::chrono::milliseconds duration);

}  // namespace veltrane::testing
