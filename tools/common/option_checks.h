// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <CLI/CLI.hpp>

#include <initializer_list>
#include <string>

namespace veltrane::tools {

// Value checks whose messages name what is allowed, for example
// "--comm: must be a whole number from 1 to 15, not '16'".
CLI::Validator wholeNumberFrom(long long lowest, long long highest);
CLI::Validator secondsUpTo(double highest);
CLI::Validator numberFrom(double lowest, double highest);
CLI::Validator oneOf(std::initializer_list<const char*> allowed);

}  // namespace veltrane::tools
