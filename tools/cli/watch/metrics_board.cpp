// SPDX-License-Identifier: BSD-2-Clause
#include "metrics_board.h"

#include "receiver_metrics.h"

namespace veltrane::watch {

void MetricsBoard::publish(ReceiverSample sample)
{
    const std::string port = sample.port;
    // The old sample is destroyed after the lock is let go.
    ReceiverSample old = std::move(sample);
    const std::lock_guard lock(mutex_);
    std::swap(samples_[port], old);
}

std::vector<ReceiverSample> MetricsBoard::samples() const
{
    std::vector<ReceiverSample> copy;
    const std::lock_guard lock(mutex_);
    copy.reserve(samples_.size());
    for (const auto& [port, sample] : samples_) copy.push_back(sample);
    return copy;
}

std::vector<prometheus::MetricFamily> MetricsBoard::Collect() const { return metricFamilies(samples()); }

}  // namespace veltrane::watch
