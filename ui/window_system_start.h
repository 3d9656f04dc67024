// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QtGlobal>
#include <string>

namespace veltrane {

// "no display to show the window on (WHY); veltrane-cli works without one"
std::string noDisplayText(const std::string& why);

// Qt ends a program whose window system does not start with an abort and
// advice to reinstall it. While this watch lives, such a failure instead
// prints the cause, in the program's own words, and exits with status 1.
// The platform plugin's warnings say why it failed, so they are held back
// meanwhile; after a start that succeeded they are passed on.
class WindowSystemStartWatch {
public:
    WindowSystemStartWatch();
    ~WindowSystemStartWatch();
    WindowSystemStartWatch(const WindowSystemStartWatch&) = delete;
    WindowSystemStartWatch& operator=(const WindowSystemStartWatch&) = delete;
};

}  // namespace veltrane
