// SPDX-License-Identifier: BSD-2-Clause
#include "receiver_sample.h"

#include "verdict.h"

namespace veltrane::watch {

ReceiverSample sampleOf(const std::string& port, health::LiveHealth& health, const PortState& state,
                        double steadyNow, double unixNow)
{
    const health::HealthFigures& window = health.windowFigures(steadyNow);
    ReceiverSample sample;
    sample.port = port;
    sample.up = state.open && health.lastArrival() && steadyNow - *health.lastArrival() <= kUpSeconds;
    sample.healthy = health::judge(window, {}).pass;
    sample.fixQuality = health.fixQuality().value_or(-1);
    sample.satellitesUsed = health.satellitesUsed();
    sample.hdop = health.hdop();
    sample.satellitesInView = health.satellitesInView(steadyNow);
    for (const auto& [talker, signals] : window.gsv)
        for (const auto& [id, signal] : signals)
            if (signal.cn0) sample.cn0[talker][id] = *signal.cn0;
    sample.counts = health.counts();
    sample.ttffSeconds = health.ttffSeconds();
    if (health.lastFix()) sample.lastFixUnixSeconds = unixNow - (steadyNow - *health.lastFix());
    sample.reopenings = state.reopenings;
    return sample;
}

}  // namespace veltrane::watch
