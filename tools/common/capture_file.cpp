// SPDX-License-Identifier: BSD-2-Clause
#include "capture_file.h"

#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>

#include "device_text.h"
#include "error_reason.h"

namespace veltrane {

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
        openError_ = EISDIR;
        return;
    }
    opened_.reset(std::fopen(name.c_str(), "rb"));
    file_ = opened_.get();
    if (!file_) openError_ = errno != 0 ? errno : EIO;
}

std::string CaptureFile::failure(int readError) const
{
    return "cannot read " + shownName_ + ": " + errorReason(readError);
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
        if (got > 0 && !take(std::string_view(block.get(), got))) return error;
        // A stop signal caught without SA_RESTART cuts a read short; the
        // caller looks at its stop flag between blocks, not here.
        if (error == EINTR) {
            std::clearerr(file_);
            continue;
        }
        if (got < kBlockBytes) return error;
    }
}

}  // namespace veltrane
