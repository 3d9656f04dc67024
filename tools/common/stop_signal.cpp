// SPDX-License-Identifier: BSD-2-Clause
#include "stop_signal.h"

namespace veltrane {

bool takeStopSignal(int signal, const struct sigaction& action, struct sigaction& before)
{
    if (::sigaction(signal, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) return false;
    return ::sigaction(signal, &action, nullptr) == 0;
}

}  // namespace veltrane
