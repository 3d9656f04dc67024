// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace veltrane::testing {

// The captures the project carries; every checkout has them.
std::filesystem::path projectCaptures();
// The corpus of real captures beside the project. It is optional: callers
// check that it exists and say so when it does not.
std::filesystem::path corpusFolder();

// Every ".log" file below `folder`, in path order, so runs are repeatable.
std::vector<std::filesystem::path> capturesUnder(const std::filesystem::path& folder);
// A file's bytes as they are, line ends and NUL included.
std::string contentsOf(const std::filesystem::path& path);

}  // namespace veltrane::testing
