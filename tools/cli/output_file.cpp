// SPDX-License-Identifier: BSD-2-Clause
#include "output_file.h"

#include <cerrno>

#include "device_text.h"
#include "error_reason.h"

namespace veltrane::cli {

OutputFile::OutputFile(const std::string& name) : name_(name), shownName_(quotedUserText(name)) {}

bool OutputFile::open()
{
    file_.reset(std::fopen(name_.c_str(), "wb"));
    if (!file_) {
        openError_ = errno;
        return false;
    }
    output_ = std::make_unique<FileOutput>(file_.get());
    output_->onFailure = [this] {
        if (onFailure) onFailure();
    };
    return true;
}

std::string OutputFile::problem() const
{
    if (openError_ != 0) return errorReason(openError_);
    return output_ ? output_->failureText() : std::string();
}

}  // namespace veltrane::cli
