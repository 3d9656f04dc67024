// SPDX-License-Identifier: BSD-2-Clause
#include "capture_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "device_text.h"

namespace veltrane::cli {

CaptureFile::CaptureFile(const std::string& name)
{
    if (name == "-") {
        file_ = stdin;
        shownName_ = "standard input";
        return;
    }
    shownName_ = quotedUserText(name);
    std::error_code error;
    if (std::filesystem::is_directory(name, error)) {
        problem_ = std::strerror(EISDIR);
        return;
    }
    opened_.reset(std::fopen(name.c_str(), "rb"));
    file_ = opened_.get();
    if (!file_) problem_ = std::strerror(errno);
}

int CaptureFile::readBlocks(const std::function<bool(std::string_view)>& take) const
{
    constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
    const auto block = std::make_unique<char[]>(kBlockBytes);
    for (;;) {
        errno = 0;
        const std::size_t got = std::fread(block.get(), 1, kBlockBytes, file_);
        // Kept before `take` runs: what it does may set errno again.
        const int error = got < kBlockBytes && std::ferror(file_) ? (errno != 0 ? errno : EIO) : 0;
        if ((got > 0 && !take(std::string_view(block.get(), got))) || got < kBlockBytes) return error;
    }
}

}  // namespace veltrane::cli
