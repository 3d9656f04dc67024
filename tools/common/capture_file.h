// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace veltrane {

// A recorded capture opened for reading, by veltrane-cli and veltrane-sim
// alike: a file by name, or standard input for "-". A directory opens fine on
// some systems and fails only at the first read, so it is refused here,
// before any output.
class CaptureFile {
public:
    explicit CaptureFile(const std::string& name);

    bool readable() const { return openError_ == 0; }
    // "cannot read 'bench.log': it is a directory": why it did not open, or
    // with the error readBlocks() returned, why a read failed.
    std::string failure() const { return failure(openError_); }
    std::string failure(int readError) const;
    // The name as a message shows it: quoted and safe for a terminal.
    const std::string& shownName() const { return shownName_; }
    // Hands the capture to `take` in blocks of up to 1 MiB until it ends, a
    // read fails or `take` returns false. The errno of a failed read, else 0.
    int readBlocks(const std::function<bool(std::string_view block)>& take) const;

private:
    std::FILE* file_ = nullptr;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> opened_{nullptr, &std::fclose};
    int openError_ = 0;
    std::string shownName_;
};

}  // namespace veltrane
