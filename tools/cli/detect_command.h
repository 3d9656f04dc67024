#pragma once

#include "output.h"

namespace veltrane::cli {

struct DetectOptions {
    bool json = false;
};

// "Auto Detect", headless: the window's search over every Comm number and baud rate.
int runDetect(const DetectOptions& options, Output& out, Output& err);

}  // namespace veltrane::cli
