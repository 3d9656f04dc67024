// SPDX-License-Identifier: BSD-2-Clause
#include "watch_command.h"

#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

#include "device_text.h"
#include "exit_status.h"
#include "live_watch.h"
#include "metrics_board.h"
#include "metrics_server.h"
#include "watched_receiver.h"

namespace veltrane::cli {

namespace {

// Within the second that "at least once a second" allows, and no sooner: a
// window's figures are worked out at most once a second anyway.
constexpr int kSampleMilliseconds = 500;

double unixNow() { return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count(); }

// Metrics name a port by its device: a Comm number's is looked up once, at the start.
std::string metricPortOf(const PortName& port, const CommMap& map)
{
    if (port.comm == 0) return port.device;
    const std::string device = map.device(port.comm);
    return device.empty() ? port.label() : device;
}

std::string urlOf(const std::string& listen, int port)
{
    return "http://" + listen.substr(0, listen.rfind(':')) + ":" + std::to_string(port) + "/metrics";
}

}  // namespace

int runWatch(const WatchOptions& options, const CommMap& map, Output& out, Output& err)
{
    LiveWatch watch("watch", map, out, err);
    if (!watch.ready()) return kExitFailure;
    const auto tell = [&](const std::string& text) {
        out.line(formatTimestamp(watch.clock().now()) + " " + text);
        out.flush();
    };

    std::vector<std::pair<GivenPort, std::string>> ports;
    std::set<std::string> named;
    for (const GivenPort& given : givenPorts(options, map)) {
        const std::string metricPort = metricPortOf(given.port, map);
        if (named.insert(metricPort).second)
            ports.emplace_back(given, metricPort);
        else
            watch.complain(escapeDeviceText(given.port.label()) + " is named twice; it is watched once");
    }
    if (ports.empty()) {
        watch.complain(kNoPortFound);
        return kExitNoReceiver;
    }

    auto board = std::make_shared<watch::MetricsBoard>();
    std::optional<watch::MetricsServer> server;
    try {
        server.emplace(options.listen, board);
    } catch (const std::runtime_error& failure) {
        watch.complain(failure.what());
        return kExitFailure;
    }
    tell("serving the metrics at " + urlOf(options.listen, server->port()));

    std::vector<std::unique_ptr<WatchedReceiver>> receivers;
    for (const auto& [given, metricPort] : ports) {
        const std::string label = escapeDeviceText(given.port.label());
        receivers.push_back(std::make_unique<WatchedReceiver>(
            watch, given, options.bauds, options.windowSeconds, metricPort,
            [&tell, label](const std::string& text) { tell(label + ": " + text); }));
    }
    const auto publish = [&] {
        const double steady = LiveWatch::now();
        const double unix = unixNow();
        for (const auto& receiver : receivers) board->publish(receiver->sample(steady, unix));
    };
    publish();
    QTimer sampling;
    QObject::connect(&sampling, &QTimer::timeout, publish);
    sampling.start(kSampleMilliseconds);
    for (const auto& receiver : receivers) receiver->start();
    watch.run();
    sampling.stop();
    // Ended by a signal: the only way a watch ends when its output is fine.
    return out.failed() ? kExitFailure : kExitSuccess;
}

}  // namespace veltrane::cli
