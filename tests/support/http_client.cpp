// SPDX-License-Identifier: BSD-2-Clause
#include "http_client.h"

#include <curl/curl.h>

#include <stdexcept>
#include <string_view>

namespace veltrane::testing {

namespace {

std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* body)
{
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

std::size_t keepAllow(char* data, std::size_t size, std::size_t count, void* allow)
{
    std::string_view line(data, size * count);
    constexpr std::string_view kName = "allow:";
    if (line.size() > kName.size()) {
        std::string name(line.substr(0, kName.size()));
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name == kName) {
            line.remove_prefix(kName.size());
            while (!line.empty() && (line.front() == ' ' || line.back() == '\n' || line.back() == '\r'))
                line.front() == ' ' ? line.remove_prefix(1) : line.remove_suffix(1);
            *static_cast<std::string*>(allow) = line;
        }
    }
    return size * count;
}

}  // namespace

HttpClient::HttpClient() : curl_(curl_easy_init())
{
    if (curl_ == nullptr) throw std::runtime_error("curl_easy_init failed");
}

HttpClient::~HttpClient() { curl_easy_cleanup(static_cast<CURL*>(curl_)); }

std::string HttpClient::escaped(const std::string& text)
{
    char* escaped = curl_easy_escape(static_cast<CURL*>(curl_), text.data(), static_cast<int>(text.size()));
    std::string result = escaped != nullptr ? escaped : "";
    curl_free(escaped);
    return result;
}

HttpReply HttpClient::request(const std::string& method, const std::string& url)
{
    CURL* curl = static_cast<CURL*>(curl_);
    HttpReply reply;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
    curl_easy_setopt(curl, CURLOPT_NOBODY, method == "HEAD" ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, keepAllow);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reply.allow);
    const CURLcode result = curl_easy_perform(curl);
    if (result == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
    else
        reply.error = curl_easy_strerror(result);
    return reply;
}

}  // namespace veltrane::testing
