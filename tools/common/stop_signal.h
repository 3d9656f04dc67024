// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <signal.h>

namespace veltrane {

// The signals that ask a tool to stop: an interrupt, a termination, a hang-up.
inline constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Hands `signal` to `action`, unless it was ignored when we started (nohup, a
// shell's `trap '' HUP`): then it stays ignored, as the caller asked. What it
// did before is left in `before`. True when it was taken.
bool takeStopSignal(int signal, const struct sigaction& action, struct sigaction& before);

}  // namespace veltrane
