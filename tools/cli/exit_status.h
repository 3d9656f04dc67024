// SPDX-License-Identifier: BSD-2-Clause
#pragma once

namespace veltrane::cli {

// What every veltrane-cli command returns; the help texts and the README
// carry the same table.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;     // output or input unusable, memory exhausted, a check failed
inline constexpr int kExitUsage = 2;       // a bad option or value
inline constexpr int kExitNoReceiver = 3;  // the port could not be opened, or no receiver was found
inline constexpr int kExitDisconnected = 4;
// The reader of standard output went away (`| head -1`): 128 + SIGPIPE, as a
// shell reports the coreutils that the closed pipe ended.
inline constexpr int kExitReaderGone = 141;

// A command ended by a signal exits as a shell reports a program killed by it.
constexpr int exitStatusForSignal(int signal) { return 128 + signal; }

}  // namespace veltrane::cli
