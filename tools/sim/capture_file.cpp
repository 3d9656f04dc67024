// SPDX-License-Identifier: BSD-2-Clause
#include "capture_file.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

#include "device_text.h"
#include "error_reason.h"

namespace veltrane::sim {

std::string readCapture(const std::string& path)
{
    const auto failure = [&](const std::string& reason) {
        return std::runtime_error("cannot read the capture " + quotedUserText(path) + ": " + reason);
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw failure(errorReason(errno));
    std::string bytes;
    char buffer[65536];
    ssize_t n = 0;
    // A directory opens like a file; only reading it tells.
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) bytes.append(buffer, static_cast<std::size_t>(n));
    const int readError = errno;
    ::close(fd);
    if (n < 0) throw failure(errorReason(readError));
    if (bytes.empty()) throw failure("it is empty, so there is nothing to play");
    return bytes;
}

}  // namespace veltrane::sim
