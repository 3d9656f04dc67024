// SPDX-License-Identifier: BSD-2-Clause
#include "prometheus_server.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <fstream>
#include <stdexcept>

namespace veltrane::testing {

namespace fs = std::filesystem;

int freeLoopbackPort()
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(socket);
    if (!bound) throw std::runtime_error("no free port on 127.0.0.1");
    return ntohs(address.sin_port);
}

std::optional<std::string> PrometheusServer::missing()
{
    if (::access(VELTRANE_PROMETHEUS, X_OK) == 0) return std::nullopt;
    return std::string("prometheus is not installed (Debian package prometheus) at ") + VELTRANE_PROMETHEUS;
}

PrometheusServer::PrometheusServer(const std::vector<std::string>& targets)
    : folder_(fs::temp_directory_path() / ("veltrane-prometheus-" + std::to_string(::getpid()) + "-" +
                                           std::to_string(freeLoopbackPort()))),
      port_(freeLoopbackPort())
{
    fs::create_directories(folder_ / "data");
    std::ofstream config(folder_ / "prometheus.yml");
    config << "global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\n"
              "scrape_configs:\n  - job_name: veltrane\n    static_configs:\n      - targets: [";
    for (std::size_t i = 0; i < targets.size(); ++i) config << (i > 0 ? ", '" : "'") << targets[i] << "'";
    config << "]\n";
    config.close();
    server_ = std::make_unique<Child>(std::vector<std::string>{
        VELTRANE_PROMETHEUS, "--config.file=" + (folder_ / "prometheus.yml").string(),
        "--storage.tsdb.path=" + (folder_ / "data").string(), "--web.listen-address=127.0.0.1:" + std::to_string(port_),
        "--log.level=warn"});
}

PrometheusServer::~PrometheusServer()
{
    server_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::string PrometheusServer::url() const { return "http://127.0.0.1:" + std::to_string(port_); }

bool PrometheusServer::ready()
{
    return eventually([&] { return client_.get(url() + "/-/ready").status == 200; });
}

std::map<std::string, double> PrometheusServer::query(const std::string& expression, const std::string& label)
{
    const HttpReply reply = client_.get(url() + "/api/v1/query?query=" + client_.escaped(expression));
    std::map<std::string, double> values;
    if (reply.status != 200) return values;
    const nlohmann::json answer = nlohmann::json::parse(reply.body, nullptr, false);
    if (answer.is_discarded() || answer.value("status", "") != "success") return values;
    for (const auto& series : answer["data"]["result"])
        values[series["metric"].value(label, "")] = std::stod(series["value"][1].get<std::string>());
    return values;
}

}  // namespace veltrane::testing
