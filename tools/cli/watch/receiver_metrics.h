// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <prometheus/metric_family.h>

#include "receiver_sample.h"

namespace veltrane::watch {

// At most this many talker and signal pairs per receiver get series of their
// own, so that made-up signal IDs cannot blow up the label set.
inline constexpr std::size_t kLabelledSignals = 64;

// The receivers' metrics, each family once with every receiver's series in
// it. Label values from a device are escaped as everywhere else it is shown.
std::vector<prometheus::MetricFamily> metricFamilies(const std::vector<ReceiverSample>& samples);

// The Prometheus text exposition format of those families.
std::string exposition(const std::vector<prometheus::MetricFamily>& families);

}  // namespace veltrane::watch
