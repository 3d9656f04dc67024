// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QString>
#include <exception>

namespace veltrane {

// A failure that no handler trapped, as the person at the screen sees it.
struct FailureReport {
    int number;
    QString description;
};

FailureReport describeFailure(std::exception_ptr failure);
QString failureMessage(const FailureReport& report);

// The top level: shows the failure's number and description and ends the
// program. A half-done handler may have left the window in any state, so
// nothing else of it runs; the system closes the port.
[[noreturn]] void reportFailureAndExit(std::exception_ptr failure);

// Runs a handler that traps nothing of its own. No exception may escape into
// Qt's event loop, so a failure stops here, at the top level.
template <class Handler>
void runUntrapped(Handler&& handler)
{
    try {
        handler();
    } catch (...) {
        reportFailureAndExit(std::current_exception());
    }
}

}  // namespace veltrane
