// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QWidget>
#include <string>
#include <vector>

namespace veltrane {

// Tells the person at the window which VELTRANE_PORTS entries were ignored:
// a terminal they may never look at is not enough. Also written to standard
// error, for whoever started the program from one.
void showPortMapProblems(QWidget& window, const std::vector<std::string>& problems);

}  // namespace veltrane
