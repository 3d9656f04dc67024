// SPDX-License-Identifier: BSD-2-Clause
#include "output.h"

#include <cerrno>

#include "error_reason.h"

namespace veltrane::cli {

void Output::write(std::string_view text)
{
    if (failed() || text.empty()) return;
    if (const int error = put(text); error != 0) fail(error);
}

void Output::line(std::string_view text)
{
    write(text);
    write("\n");
}

void Output::flush()
{
    if (failed()) return;
    if (const int error = sync(); error != 0) fail(error);
}

bool Output::readerGone() const { return error_ == EPIPE; }

std::string Output::failureText() const { return errorReason(error_); }

void Output::fail(int error)
{
    error_ = error;
    if (onFailure) onFailure();
}

int FileOutput::put(std::string_view text)
{
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) == text.size()) return 0;
    const int error = errno != 0 ? errno : EIO;
    std::clearerr(file_);
    return error;
}

int FileOutput::sync()
{
    errno = 0;
    if (std::fflush(file_) == 0) return 0;
    const int error = errno != 0 ? errno : EIO;
    std::clearerr(file_);
    return error;
}

int StringOutput::put(std::string_view text)
{
    text_.append(text);
    return 0;
}

}  // namespace veltrane::cli
