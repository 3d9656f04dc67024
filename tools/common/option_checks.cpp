// SPDX-License-Identifier: BSD-2-Clause
#include "option_checks.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "device_text.h"

namespace veltrane::tools {

namespace {

std::string plain(double value)
{
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
}

bool parseNumber(const std::string& value, double& number)
{
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number, std::chars_format::fixed);
    return !value.empty() && error == std::errc() && stop == end && std::isfinite(number);
}

}  // namespace

CLI::Validator wholeNumberFrom(long long lowest, long long highest)
{
    const std::string range = std::to_string(lowest) + " to " + std::to_string(highest);
    return CLI::Validator(
        [=](std::string& value) -> std::string {
            long long number = 0;
            const char* end = value.data() + value.size();
            const auto [stop, error] = std::from_chars(value.data(), end, number);
            if (value.empty() || error != std::errc() || stop != end || number < lowest || number > highest)
                return "must be a whole number from " + range + ", not " + quotedUserText(value);
            return {};
        },
        "");
}

CLI::Validator secondsUpTo(double highest)
{
    const std::string range = "above 0, at most " + plain(highest);
    return CLI::Validator(
        [=](std::string& value) -> std::string {
            double number = 0;
            if (!parseNumber(value, number) || !(number > 0) || number > highest)
                return "must be a number of seconds " + range + ", not " + quotedUserText(value);
            return {};
        },
        "");
}

CLI::Validator numberFrom(double lowest, double highest)
{
    const std::string range = plain(lowest) + " to " + plain(highest);
    return CLI::Validator(
        [=](std::string& value) -> std::string {
            double number = 0;
            if (!parseNumber(value, number) || number < lowest || number > highest)
                return "must be a number from " + range + ", not " + quotedUserText(value);
            return {};
        },
        "");
}

CLI::Validator oneOf(std::initializer_list<const char*> allowed)
{
    return oneOf(std::vector<std::string>(allowed.begin(), allowed.end()));
}

CLI::Validator oneOf(std::vector<std::string> choices)
{
    std::string list;
    for (std::size_t i = 0; i < choices.size(); ++i)
        list += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + choices[i];
    return CLI::Validator(
        [=](std::string& value) -> std::string {
            for (const std::string& choice : choices)
                if (value == choice) return {};
            return "must be " + list + ", not " + quotedUserText(value);
        },
        "");
}

CLI::Validator eachOf(CLI::Validator check)
{
    return CLI::Validator(
        [=](std::string& value) -> std::string {
            for (std::string& item : listItems(value))
                if (std::string why = check(item); !why.empty()) return why;
            return {};
        },
        "");
}

std::vector<std::string> listItems(const std::string& list)
{
    std::vector<std::string> items;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = list.find(',', start);
        items.push_back(list.substr(start, end == std::string::npos ? end : end - start));
    }
    return items;
}

}  // namespace veltrane::tools
