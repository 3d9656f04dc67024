// SPDX-License-Identifier: BSD-2-Clause
#include "error_reason.h"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace veltrane {

std::string errorReason(int error)
{
    if (error == EISDIR) return "it is a directory";
    std::string reason = std::strerror(error);
    if (!reason.empty()) reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    return reason;
}

}  // namespace veltrane
