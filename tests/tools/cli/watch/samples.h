// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

#include "captures.h"
#include "live_health.h"
#include "receiver_sample.h"

namespace veltrane::watch::testing {

// A receiver of today (GN sentences, GSV with signal IDs, UBX frames) heard
// for a minute through a port opened twice: a sample with every metric.
inline ReceiverSample liveSample(const std::string& port)
{
    const std::string capture =
        veltrane::testing::contentsOf(veltrane::testing::projectCaptures() / "sim-gn-ubx-9600.log");
    health::LiveHealth live(60, 100.0);
    for (std::size_t at = 0; at < capture.size(); at += 256)
        live.add(std::string_view(capture).substr(at, 256), 100.0 + 50.0 * static_cast<double>(at) / static_cast<double>(capture.size()));
    return sampleOf(port, live, {true, 1}, 151.0, 1.8e9);
}

// Every label value a device or a path can make hard, and more addresses
// than get a label of their own.
inline ReceiverSample hostileSample()
{
    ReceiverSample sample;
    sample.port = "/dev/tty\xff\"\\\n}";
    sample.satellitesInView["GA"]["a\"b\\c},d=\x7f"] = 3;
    sample.cn0["GA"]["a\"b\\c},d=\x7f"] = {20, 30, 40};
    for (int i = 0; i < 64; ++i) sample.counts.sentences["P" + std::to_string(i)] = 1;
    sample.counts.otherSentences = 7;
    return sample;
}

}  // namespace veltrane::watch::testing
