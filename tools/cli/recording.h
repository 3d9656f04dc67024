// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "output.h"

namespace veltrane::cli {

// A file that receives every byte read from the port, unchanged, so that a
// field problem can be replayed or played again at home. Created or
// truncated when opened; a write that fails is remembered, as for any output.
class Recording {
public:
    explicit Recording(const std::string& name);

    bool open();
    void write(std::string_view bytes) { output_->write(bytes); }
    void flush() { output_->flush(); }

    const std::string& shownName() const { return shownName_; }
    // Why it could not be opened or written, as the system words it.
    std::string problem() const;

    std::function<void()> onFailure;

private:
    std::string name_;
    std::string shownName_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
    int openError_ = 0;
    std::unique_ptr<FileOutput> output_;
};

}  // namespace veltrane::cli
