// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>

namespace veltrane {

// Why a system call failed, worded to follow "cannot ... X: ".
std::string errorReason(int error);

}  // namespace veltrane
