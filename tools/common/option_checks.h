// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <CLI/CLI.hpp>

#include <initializer_list>
#include <string>
#include <vector>

namespace veltrane::tools {

// Value checks whose messages name what is allowed, for example
// "--comm: must be a whole number from 1 to 15, not '16'".
CLI::Validator wholeNumberFrom(long long lowest, long long highest);
CLI::Validator secondsUpTo(double highest);
CLI::Validator numberFrom(double lowest, double highest);
CLI::Validator oneOf(std::initializer_list<const char*> allowed);
CLI::Validator oneOf(std::vector<std::string> allowed);
// A comma-separated list, each item checked by `check`.
CLI::Validator eachOf(CLI::Validator check);
// The items of such a list, empty ones included.
std::vector<std::string> listItems(const std::string& list);

}  // namespace veltrane::tools
