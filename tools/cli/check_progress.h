// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QTimer>

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "checked_receiver.h"
#include "output.h"

namespace veltrane::cli {

using Receivers = std::vector<std::unique_ptr<CheckedReceiver>>;

// What a receiver's state column and lines call it: "searching", "passed"...
std::string stateText(const CheckedReceiver& receiver);

// One row a receiver, under a heading, each line at most `width` characters
// and at most `height` lines in all.
std::string progressTable(const Receivers& receivers, std::size_t width, std::size_t height);

// The line that says what a receiver has just become, for output that is no
// terminal: "/dev/ttyUSB0: listening at 115200 baud for 60 s".
std::string changeLine(const CheckedReceiver& receiver, double seconds);

// How a check shows its receivers while it runs: on a terminal the table,
// redrawn in place at most four times a second; elsewhere one line for each
// change of a receiver's state.
class CheckProgress {
public:
    CheckProgress(const Receivers& receivers, double seconds, Output& err);
    // A receiver's state changed.
    void changed(const CheckedReceiver& receiver);
    // Draws the table a last time, as everything ended.
    void finish();

private:
    void draw();

    const Receivers& receivers_;
    double seconds_;
    Output& err_;
    std::FILE* terminal_;
    QTimer redraw_;
    std::size_t drawnLines_ = 0;
};

}  // namespace veltrane::cli
