// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

#include "comm_map.h"
#include "given_ports.h"
#include "output.h"

namespace veltrane::cli {

inline constexpr int kMaxWindowSeconds = 3600;

struct WatchOptions : PortArguments {
    std::string listen = "127.0.0.1:9727";
    int windowSeconds = 60;
};

// Watches receivers until a signal stops it, printing a line at each change
// of a receiver's state and serving their health to Prometheus.
int runWatch(const WatchOptions& options, const CommMap& map, Output& out, Output& err);

}  // namespace veltrane::cli
