// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

namespace veltrane::testing {

struct HttpReply {
    long status = 0;  // 0 when no answer came
    std::string body;
    std::string allow;  // the Allow header
    std::string error;  // why no answer came
};

// Plain HTTP requests to a server on this machine, one connection kept open
// between them as a scraper keeps it.
class HttpClient {
public:
    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    HttpReply request(const std::string& method, const std::string& url);
    HttpReply get(const std::string& url) { return request("GET", url); }
    // `text` as it may stand in a URL's query.
    std::string escaped(const std::string& text);

private:
    void* curl_;
};

}  // namespace veltrane::testing
