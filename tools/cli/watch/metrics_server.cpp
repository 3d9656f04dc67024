// SPDX-License-Identifier: BSD-2-Clause
#include "metrics_server.h"

#include <CivetServer.h>
#include <arpa/inet.h>
#include <prometheus/exposer.h>

#include <charconv>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "metrics_board.h"

namespace veltrane::watch {

namespace {

int answer(mg_connection* connection, int status, const char* allow, std::string_view text)
{
    mg_response_header_start(connection, status);
    mg_response_header_add(connection, "Content-Type", "text/plain; charset=utf-8", -1);
    if (allow != nullptr) mg_response_header_add(connection, "Allow", allow, -1);
    mg_response_header_add(connection, "Content-Length", std::to_string(text.size()).c_str(), -1);
    mg_response_header_send(connection);
    // An answer to HEAD has no body; one sent anyway would be read as the start of the next answer.
    if (std::strcmp(mg_get_request_info(connection)->request_method, "HEAD") != 0)
        mg_write(connection, text.data(), text.size());
    return status;
}

// The library answers any path that begins with "/metrics", and some methods
// with its own defaults: only a GET of /metrics itself gets through.
int onlyGetOfMetrics(mg_connection* connection)
{
    const mg_request_info* request = mg_get_request_info(connection);
    if (request->local_uri == nullptr || std::strcmp(request->local_uri, "/metrics") != 0)
        return answer(connection, 404, nullptr, "Not found: the metrics are at /metrics\n");
    if (std::strcmp(request->request_method, "GET") != 0)
        return answer(connection, 405, "GET", "Method not allowed: /metrics answers GET only\n");
    return 0;
}

// civetweb says why it cannot listen only in its log, on the thread that
// starts it, cause first; it logs nothing else worth keeping.
thread_local std::string startError;

int keepStartError(const mg_connection*, const char* message)
{
    if (startError.empty()) startError = message;
    return 1;
}

}  // namespace

bool isListenAddress(std::string_view text)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view port = text.substr(colon + 1);
    unsigned number = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (port.empty() || error != std::errc() || end != port.data() + port.size() || number > 65535) return false;
    in_addr address{};
    return ::inet_pton(AF_INET, std::string(text.substr(0, colon)).c_str(), &address) == 1;
}

MetricsServer::MetricsServer(const std::string& listen, std::shared_ptr<MetricsBoard> board)
    : board_(std::move(board))
{
    CivetCallbacks callbacks;
    callbacks.begin_request = onlyGetOfMetrics;
    callbacks.log_message = keepStartError;
    startError.clear();
    try {
        // The library's answers say nothing of the connection, which HTTP/1.1
        // takes as kept open: a server that closed it anyway would fail the
        // scraper's next request on it now and then. On a kept connection the
        // answer's headers and body, written apart, wait 40 ms for a delayed
        // acknowledgement unless Nagle's algorithm is off.
        exposer_ = std::make_unique<prometheus::Exposer>(
            std::vector<std::string>{"listening_ports", listen, "num_threads", "4", "enable_keep_alive", "yes",
                                     "tcp_nodelay", "1"},
            &callbacks);
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot serve metrics on " + listen + ": " +
                                 (startError.empty() ? std::string(error.what()) : startError));
    }
    exposer_->RegisterCollectable(board_);
}

MetricsServer::~MetricsServer() = default;

int MetricsServer::port() const { return exposer_->GetListeningPorts().at(0); }

}  // namespace veltrane::watch
