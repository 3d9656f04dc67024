// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace veltrane::cli {

// A recorded capture opened for reading: a file by name, or standard input
// for "-". A directory opens fine on some systems and fails only at the
// first read, so it is refused here, before any output.
class CaptureFile {
public:
    explicit CaptureFile(const std::string& name);

    bool readable() const { return problem_.empty(); }
    // Why it cannot be read, as the system words it.
    const std::string& problem() const { return problem_; }
    // The name as a message shows it: quoted and safe for a terminal.
    const std::string& shownName() const { return shownName_; }
    // Hands the capture to `take` in blocks of up to 1 MiB until it ends, a
    // read fails or `take` returns false. The errno of a failed read, else 0.
    int readBlocks(const std::function<bool(std::string_view block)>& take) const;

private:
    std::FILE* file_ = nullptr;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> opened_{nullptr, &std::fclose};
    std::string problem_;
    std::string shownName_;
};

}  // namespace veltrane::cli
