// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "output.h"

namespace veltrane::cli {

// A file a command writes besides its output: a recording of every byte
// read from the port, a JUnit report. Created or truncated when opened, before
// any port is, so that nothing is watched for an hour to be lost; a write that
// fails is remembered, as for any output.
class OutputFile {
public:
    explicit OutputFile(const std::string& name);

    bool open();
    void write(std::string_view bytes) { output_->write(bytes); }
    void flush() { output_->flush(); }

    const std::string& shownName() const { return shownName_; }
    bool failed() const { return openError_ != 0 || (output_ && output_->failed()); }
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
