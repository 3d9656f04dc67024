// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace prometheus {
class Exposer;
}

namespace veltrane::watch {

class MetricsBoard;

// "ADDR:PORT": an IPv4 address and a port from 0 to 65535. Only these: the
// server's own syntax gives other texts meanings of their own (a port alone
// listens on every address; a trailing "s" asks for TLS), and Debian builds
// it without IPv6.
bool isListenAddress(std::string_view text);
inline constexpr const char* kListenAddressRule =
    "must be ADDR:PORT, ADDR an IPv4 address and PORT from 0 to 65535";

// Serves a board at http://ADDR:PORT/metrics from threads of its own, so
// that scrapes never wait on the thread that reads the ports, nor it on
// them. Any other path is 404 and any other method 405.
class MetricsServer {
public:
    // `listen`: "ADDR:PORT"; port 0 takes a
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
