// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "http_client.h"

namespace veltrane::testing {

// A free TCP port on the loopback address, for a server that must be told
// its port before it starts.
int freeLoopbackPort();

// A real Prometheus server of the test's own: on a free loopback port, with
// a configuration of its own that scrapes `targets` ("127.0.0.1:PORT") every
// second and a storage folder of its own, both removed when it ends.
class PrometheusServer {
public:
    // Whether the `prometheus` program is installed; the reason when not.
    static std::optional<std::string> missing();

    explicit PrometheusServer(const std::vector<std::string>& targets);
    ~PrometheusServer();
    PrometheusServer(const PrometheusServer&) = delete;
    PrometheusServer& operator=(const PrometheusServer&) = delete;

    // Waits until it answers as ready.
    bool ready();
    // An instant query through the HTTP API: each series' value by its
    // `label`; empty when the query fails or finds nothing.
    std::map<std::string, double> query(const std::string& expression, const std::string& label = "port");
    std::string url() const;

private:
    std::filesystem::path folder_;
    int port_;
    HttpClient client_;
    std::unique_ptr<Child> server_;
};

}  // namespace veltrane::testing
