// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <memory>
#include <string>

namespace prometheus {
class Exposer;
}

namespace veltrane::watch {

class MetricsBoard;

// Serves a board at http://ADDRESS:PORT/metrics from threads of its own, so
// that scrapes never wait on the thread that reads the ports, nor it on
// them. Any other path is 404 and any other method 405.
class MetricsServer {
public:
    // `listen`: "ADDRESS:PORT" ("[ADDRESS]:PORT" for IPv6); port 0 takes a
    // free one. Throws std::runtime_error saying why it cannot listen there.
    MetricsServer(const std::string& listen, std::shared_ptr<MetricsBoard> board);
    ~MetricsServer();
    MetricsServer(const MetricsServer&) = delete;
    MetricsServer& operator=(const MetricsServer&) = delete;

    int port() const;

private:
    std::shared_ptr<MetricsBoard> board_;
    std::unique_ptr<prometheus::Exposer> exposer_;
};

}  // namespace veltrane::watch
