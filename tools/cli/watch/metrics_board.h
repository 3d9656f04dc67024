// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <prometheus/collectable.h>

#include "receiver_sample.h"

namespace veltrane::watch {

// Where the thread that reads the ports leaves each receiver's latest sample
// and the server's threads take them. A sample is swapped in and copied out
// whole under one lock, so a scrape never shows half of one update; the lock
// is held for a copy only, so a scrape never keeps the reading waiting.
class MetricsBoard final : public prometheus::Collectable {
public:
    void publish(ReceiverSample sample);
    std::vector<ReceiverSample> samples() const;
    std::vector<prometheus::MetricFamily> Collect() const override;

private:
    mutable std::mutex mutex_;
    std::map<std::string, ReceiverSample> samples_;  // by port
};

}  // namespace veltrane::watch
