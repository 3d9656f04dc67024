// SPDX-License-Identifier: BSD-2-Clause
#include "captures.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace veltrane::testing {

std::filesystem::path projectCaptures() { return VELTRANE_CAPTURES_DIR; }

std::filesystem::path corpusFolder() { return VELTRANE_CORPUS_DIR; }

std::vector<std::filesystem::path> capturesUnder(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".log") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::string contentsOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace veltrane::testing
